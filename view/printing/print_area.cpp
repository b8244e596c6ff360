// The extent of a worksheet printed whole: from A1 to the last row and column
// that hold a cell, a container or a formatted (filled or bordered) run.

#include "core/workbook/workbook.h"
#include "view/geometry/sheet_sizes.h"
#include "view/printing/print_frame.h"

namespace {

// The last index from first whose sizes (each + 1) cover extent pixels.
template <class SizeOf>
uint32_t LastCovering(uint32_t first, uint32_t last, int64_t extent, SizeOf sizeOf) {
  int64_t sum = 0;
  uint32_t i = first;
  for (; i < last; ++i) {
    sum += sizeOf(i) + 1;
    if (sum >= extent)
      return i;
  }
  return last;
}

int64_t ScaledOffset(int32_t offset, uint16_t zoom) { return static_cast<int64_t>(offset) * zoom / 100; }

}  // namespace

void CWorkBook::GetPrintArea(CWorkSheet* sheet, uint32_t* lastRow, uint16_t* lastColumn, const PrintZoom& zoom) {
  uint32_t rows = 0;
  uint16_t columns = 0;
  uint16_t usedLastColumn = 0;
  uint32_t usedLastRow = 0;
  if (sheet->cells.GetUsedRange(nullptr, &usedLastColumn, nullptr, &usedLastRow)) {
    rows = usedLastRow;
    columns = usedLastColumn;
  }

  // A container reaches as far as the rows and columns under its bottom and
  // right edges, measured from the top-left corner of its anchor cell.
  for (const ContainerRecord* c = sheet->containers; c; c = c->next) {
    const ContainerHeader& h = c->header;
    const uint32_t anchorRow = h.anchor.row > kMaxRow ? kMaxRow : h.anchor.row;
    const uint32_t anchorColumn = h.anchor.column > kMaxColumn ? kMaxColumn : h.anchor.column;
    const uint32_t bottomRow = LastCovering(anchorRow, kMaxRow, ScaledOffset(h.rect.bottom, zoom.y) + 1,
                                            [&](uint32_t r) { return GetRowHeight(sheet, r, zoom.y); });
    const uint32_t rightColumn = LastCovering(anchorColumn, kMaxColumn, ScaledOffset(h.rect.right, zoom.x) + 1,
                                              [&](uint32_t k) { return GetColumnWidth(sheet, k, zoom.x); });
    if (bottomRow > rows)
      rows = bottomRow;
    if (rightColumn > columns)
      columns = static_cast<uint16_t>(rightColumn);
  }

  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  while (const StyleRun* run = sheet->format.runs.FindFirstInRect(&walk, 0, kMaxColumn, 0, kMaxRow)) {
    const StyleRecord& style = styles.StyleAt(run->style);
    if (style.interior.pattern != 0 || style.borders.line.style != 0) {
      if (run->row > rows)
        rows = run->row;
      if (run->lastColumn > columns)
        columns = run->lastColumn;
    }
  }
  *lastRow = rows > kMaxRow ? kMaxRow : rows;
  *lastColumn = columns > kMaxColumn ? kMaxColumn : columns;
}
