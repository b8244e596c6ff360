#include "view/geometry/cell_at_point.h"

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

namespace {

// The index whose span from start holds the point, walking from first while
// the spans begin inside the client extent.
template <class SizeOf>
bool Walk(int64_t start, int32_t point, int32_t clientExtent, uint32_t first, uint32_t last, SizeOf sizeOf,
          uint32_t* found) {
  for (uint32_t i = first; i <= last && start <= clientExtent; ++i) {
    const int64_t size = sizeOf(i);
    if (point >= start && point <= start + size) {
      *found = i;
      return true;
    }
    start += size + 1;
  }
  return false;
}

}  // namespace

bool CellAtPoint(const SheetViewport& view, uint32_t firstRow, uint16_t firstColumn, int32_t x, int32_t y,
                 uint32_t* row, uint16_t* column) {
  if (x < 0 || y < 0 || x > view.clientWidth || y > view.clientHeight)
    return false;
  const FrozenPanes panes = GetFrozenPanes(view.sheet);
  const uint32_t lastRow = LastVisibleRow(view.sheet, AvailableHeight(view), firstRow, view.zoomY, false);
  int64_t left = view.rowHeaderWidths[RowHeaderDigits(lastRow)] + 1;
  if (panes.column)
    left += GetColumnWidth(view.sheet, panes.frozenColumn, view.zoomX) + 1;
  int64_t top = view.columnHeaderHeight + 1;
  if (panes.row)
    top += GetRowHeight(view.sheet, panes.frozenRow, view.zoomY) + 1;
  uint32_t foundColumn = 0;
  const bool inColumn = Walk(left, x, view.clientWidth, firstColumn, kMaxColumn,
                             [&](uint32_t c) { return GetColumnWidth(view.sheet, c, view.zoomX); }, &foundColumn);
  if (!inColumn ||
      !Walk(top, y, view.clientHeight, firstRow, kMaxRow,
            [&](uint32_t r) { return GetRowHeight(view.sheet, r, view.zoomY); }, row))
    return false;
  *column = static_cast<uint16_t>(foundColumn);
  return true;
}
