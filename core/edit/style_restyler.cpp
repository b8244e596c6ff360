#include "core/edit/style_restyler.h"

#include <cstring>

StyleRestyler::StyleRestyler(StyleTable* table, int kind, const StyleRecord& templateStyle,
                             const FontRecord& templateFont)
    : table_(table), kind_(kind), templateStyle_(templateStyle), templateFont_(templateFont) {
  std::memset(known_, 0, sizeof known_);
  std::memset(mapped_, 0, sizeof mapped_);
}

bool StyleRestyler::Map(uint16_t base, uint16_t* result) {
  if (base >= table_->styleCount)
    base = 0;
  if (known_[base]) {
    *result = mapped_[base];
    return true;
  }
  StyleRecord style = table_->StyleAt(base);
  FontRecord font = table_->FontAt(style.fontIndex);
  bool fontChanged = false;
  StyleRecord::ApplyAttribute(&style, &font, templateStyle_, templateFont_, &fontChanged, kind_);
  if (fontChanged) {
    uint8_t fontIndex = 0;
    if (!table_->FindOrAddFont(font, &fontIndex))
      return false;
    style.fontIndex = fontIndex;
  }
  if (!table_->FindOrAddStyle(style, result))
    return false;
  known_[base] = 1;
  mapped_[base] = *result;
  return true;
}
