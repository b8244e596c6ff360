#include "core/styles/column_font_heights.h"

#include "core/styles/sheet_format.h"
#include "core/styles/style_table.h"

namespace {

constexpr uint16_t kMaxSize = 4095;

bool IsAllZero(const FontRecord& font) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&font);
  for (size_t i = 0; i < sizeof font; ++i) {
    if (bytes[i] != 0)
      return false;
  }
  return true;
}

}  // namespace

bool ComputeColumnFontHeights(const TextMeasurer& measurer, const StyleTable& styles, SheetFormat* format,
                              uint32_t firstColumn, uint32_t lastColumn) {
  if (lastColumn > kMaxColumn)
    lastColumn = kMaxColumn;
  // Many columns share a few fonts: each font is measured once.
  int32_t heightOfFont[StyleTable::kMaxFonts];
  for (int32_t& height : heightOfFont) height = -1;
  bool measured = true;
  for (uint32_t column = firstColumn; column <= lastColumn; ++column) {
    ColumnRecord& record = format->columns[column];
    record.fontHeightWord = static_cast<uint16_t>(record.fontHeightWord & ~ColumnRecord::kFontHeightMask);
    const StyleRecord& style = styles.StyleAt(record.Style());
    const uint32_t fontIndex = style.fontIndex < styles.fontCount ? style.fontIndex : 0;
    const FontRecord& font = styles.FontAt(fontIndex);
    if (style.alignment.fitToCell || IsAllZero(font))
      continue;
    if (heightOfFont[fontIndex] < 0) {
      int32_t width = 0;
      int32_t height = 0;
      if (!measurer.SelectFont(font, 0, 100) || !measurer.MeasureLine("X", 1, &width, &height)) {
        measured = false;
        height = -2;  // failed: 0 for every column of this font
      } else {
        height += 2;
        if (height > kMaxSize)
          height = kMaxSize;
      }
      heightOfFont[fontIndex] = height;
    }
    if (heightOfFont[fontIndex] > 0)
      record.fontHeightWord = static_cast<uint16_t>(record.fontHeightWord | heightOfFont[fontIndex]);
  }
  format->ColumnsChanged();
  return measured;
}
