#include "view/grid_view/grid_frame.h"

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

GridFrame ComputeGridFrame(const SheetViewport& view, uint32_t firstRow) {
  GridFrame f = {};
  const FrozenPanes panes = GetFrozenPanes(view.sheet);
  if (panes.row)
    f.frozenHeight = GetRowHeight(view.sheet, panes.frozenRow, view.zoomY) + 1;
  if (panes.column)
    f.frozenWidth = GetColumnWidth(view.sheet, panes.frozenColumn, view.zoomX) + 1;
  f.columnHeaderHeight = view.columnHeaderHeight < 0 ? 0 : view.columnHeaderHeight;
  const uint32_t lastRow = LastVisibleRow(view.sheet, AvailableHeight(view), firstRow, view.zoomY, false);
  f.rowHeaderWidth = view.rowHeaderWidths[RowHeaderDigits(lastRow)];
  if (f.rowHeaderWidth < 0)
    f.rowHeaderWidth = 0;
  f.scrollLeft = f.rowHeaderWidth + 1 + f.frozenWidth;
  f.scrollTop = f.columnHeaderHeight + 1 + f.frozenHeight;
  return f;
}

namespace {

// One axis of GetRangeRect: sizes by index, the first visible index, where
// its first grid line lies and the client extent.
template <class SizeOf>
void RangeEdges(SizeOf sizeOf, uint32_t firstVisible, int64_t scrollStart, int64_t extent, uint32_t first,
                uint32_t last, int32_t* low, int32_t* high) {
  int64_t edge;
  if (first < firstVisible) {
    edge = 0;
    for (uint32_t i = first; i < firstVisible && -edge <= extent; ++i) edge -= sizeOf(i) + 1;
  } else {
    edge = scrollStart;
    for (uint32_t i = firstVisible; i < first && edge <= extent; ++i) edge += sizeOf(i) + 1;
  }
  *low = static_cast<int32_t>(edge);
  for (uint32_t i = first; i <= last && edge <= 2 * extent; ++i) edge += sizeOf(i) + 1;
  *high = static_cast<int32_t>(edge);
}

}  // namespace

PixelRect GetRangeRect(const SheetViewport& view, uint32_t firstRow, uint16_t firstColumn,
                       const SelectionRange& range) {
  const GridFrame f = ComputeGridFrame(view, firstRow);
  PixelRect r;
  RangeEdges([&](uint32_t c) { return GetColumnWidth(view.sheet, c, view.zoomX); }, firstColumn, f.scrollLeft,
             view.clientWidth, range.firstColumn, range.lastColumn, &r.left, &r.right);
  RangeEdges([&](uint32_t row) { return GetRowHeight(view.sheet, row, view.zoomY); }, firstRow, f.scrollTop,
             view.clientHeight, range.firstRow, range.lastRow, &r.top, &r.bottom);
  return r;
}
