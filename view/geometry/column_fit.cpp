#include "view/geometry/column_fit.h"

#include <cstring>

#include "core/edit/cell_display_text.h"
#include "core/styles/style_table.h"
#include "core/workbook/worksheet.h"

namespace {

constexpr int32_t kMaxWidth = 4095;

}  // namespace

uint16_t ColumnFitWidth(const TextMeasurer& measurer, const StyleTable& styles, CWorkSheet* sheet, uint16_t column) {
  int32_t widest = 0;
  CellCursor walk = sheet->cells.StartRangeWalk(0);
  CellCursor styleCursor;
  char text[kCellTextCapacity];
  while (const CellRecord* cell = walk.NextInRange(column, column, 0, kMaxRow)) {
    const StyleRecord& style = styles.StyleAt(sheet->format.CellStyle(cell->Row(), column, &styleCursor));
    if (style.alignment.wrapText)
      continue;
    FormatCellDisplayText(*cell, style.numFormat, text, sizeof text);
    int32_t width = 0;
    int32_t height = 0;
    if (!measurer.SelectFont(styles.FontAt(style.fontIndex), 0, 100) ||
        !TextExtent(measurer, text, std::strlen(text), &width, &height))
      continue;
    int32_t candidate = width + 2 * style.alignment.horizontalIndent + 2;
    if (candidate > kMaxWidth)
      candidate = kMaxWidth;
    if (candidate > widest)
      widest = candidate;
  }
  return static_cast<uint16_t>(widest);
}

void AutoFitColumnWidths(const TextMeasurer& measurer, const StyleTable& styles, CWorkSheet* sheet,
                         uint16_t firstColumn, uint16_t lastColumn) {
  for (uint32_t column = firstColumn; column <= lastColumn && column <= kMaxColumn; ++column) {
    ColumnRecord& record = sheet->format.columns[column];
    const uint16_t fit = ColumnFitWidth(measurer, styles, sheet, static_cast<uint16_t>(column));
    if (fit == 0)
      record.SetWidth(0, false);
    else if (!record.WidthFixed() || record.Width() != fit)
      record.SetWidth(fit, true);
  }
}
