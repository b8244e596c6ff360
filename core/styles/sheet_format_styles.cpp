// The styles a rectangle's cells take, compared for the format dialog.

#include <cstring>

#include "core/styles/sheet_format.h"
#include "core/styles/style_table.h"

void SheetFormat::CompareStylesInRange(const StyleTable& table, uint16_t firstColumn, uint16_t lastColumn,
                                       uint32_t firstRow, uint32_t lastRow, StyleRecord* style, FontRecord* font,
                                       uint8_t* marks) const {
  if (lastColumn > kMaxColumn)
    lastColumn = kMaxColumn;
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;
  auto usable = [&](uint32_t index) { return index < table.styleCount ? index : 0u; };
  const StyleRecord& reference = table.StyleAt(usable(CellStyle(firstRow, firstColumn)));
  if (style)
    *style = reference;
  if (font)
    *font = table.FontAt(reference.fontIndex);
  if (!marks)
    return;
  std::memset(marks, 0, kStyleMarkCount);
  if (firstColumn > lastColumn || firstRow > lastRow) {
    table.CompareStyleAttributes(reference, reference, marks);
    return;
  }

  // Each distinct style counts once. Runs never overlap within a row, so the
  // runs' column spans, summed per column, tell how many rows of the
  // rectangle cover each column; a column covered in fewer rows than the
  // rectangle has shows its own style somewhere.
  uint8_t seen[StyleTable::kMaxStyles] = {};
  int32_t coverChange[kColumnCount + 1] = {};
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  while (const StyleRun* run = runs.FindFirstInRect(&walk, firstColumn, lastColumn, firstRow, lastRow)) {
    seen[usable(run->style)] = 1;
    ++coverChange[run->firstColumn < firstColumn ? firstColumn : run->firstColumn];
    --coverChange[(run->lastColumn > lastColumn ? lastColumn : run->lastColumn) + 1];
  }
  const int64_t rowSpan = int64_t(lastRow) - firstRow + 1;
  int64_t covered = 0;
  for (uint32_t column = firstColumn; column <= lastColumn; ++column) {
    covered += coverChange[column];
    if (covered < rowSpan)
      seen[usable(columns[column].Style())] = 1;
  }
  for (uint32_t index = 0; index < StyleTable::kMaxStyles; ++index)
    if (seen[index])
      table.CompareStyleAttributes(reference, table.StyleAt(index), marks);
}
