#include "dialogs/format_cells/font_page_rules.h"

#include "resources/resource_ids.h"
#include "view/draw_context/default_font.h"

const uint8_t kFontSizes[kFontSizeCount] = {5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                            18, 20, 22, 24, 26, 28, 32, 36, 42, 48, 54, 60, 72};

int FontSizeIndex(uint8_t size) {
  if (size == 0) size = kDefaultFontSize;
  for (int i = 0; i < kFontSizeCount; ++i)
    if (kFontSizes[i] == size) return i;
  return -1;
}

int ToggleFontStyle(FontRecord* font, uint32_t command) {
  switch (command) {
    case ID_FONT_BOLD:
      font->weight = font->weight == kFontWeightBold ? kFontWeightNormal : kFontWeightBold;
      return kApplyWeight;
    case ID_FONT_ITALIC:
      font->italic = font->italic ? 0 : 1;
      return kApplySlant;
    case ID_FONT_UNDERLINE:
      font->underline = font->underline ? 0 : 1;
      return kApplyUnderline;
    case ID_FONT_STRIKEOUT:
      font->strikeOut = font->strikeOut ? 0 : 1;
      return kApplyStrikeOut;
  }
  return 0;
}

bool FontStyleSet(const FontRecord& font, uint32_t command) {
  switch (command) {
    case ID_FONT_BOLD: return font.weight == kFontWeightBold;
    case ID_FONT_ITALIC: return font.italic != 0;
    case ID_FONT_UNDERLINE: return font.underline != 0;
    case ID_FONT_STRIKEOUT: return font.strikeOut != 0;
  }
  return false;
}
