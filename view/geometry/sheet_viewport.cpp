#include "view/geometry/sheet_viewport.h"

#include "core/model/worksheet_view_state.h"
#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

SheetViewport MakeSheetViewport(CWorkSheet* sheet, const TextMeasurer& measurer, int32_t clientWidth,
                                int32_t clientHeight, uint16_t zoomX, uint16_t zoomY) {
  SheetViewport view = {};
  view.sheet = sheet;
  view.clientWidth = clientWidth;
  view.clientHeight = clientHeight;
  view.zoomX = zoomX;
  view.zoomY = zoomY;
  view.columnHeaderHeight = GetColumnHeaderHeight(measurer, 100);
  static const uint32_t kRowOfDigits[8] = {0, 0, 0, 100, 1000, 10000, 100000, 1000000};
  for (int digits = 2; digits <= 7; ++digits)
    view.rowHeaderWidths[digits] = GetRowHeaderWidth(measurer, kRowOfDigits[digits], 100);
  return view;
}

FrozenPanes GetFrozenPanes(const CWorkSheet* sheet) {
  const ViewCorner& frozen = ViewStateOf(&sheet->viewFormat)->frozen;
  FrozenPanes panes;
  panes.row = (frozen.flags & kCornerRowGiven) != 0 && frozen.row <= kMaxRow;
  panes.column = (frozen.flags & kCornerColumnGiven) != 0 && frozen.column <= kMaxColumn;
  panes.frozenRow = frozen.row;
  panes.frozenColumn = frozen.column;
  return panes;
}

int64_t AvailableHeight(const SheetViewport& view) {
  int64_t height = static_cast<int64_t>(view.clientHeight) + 1 - view.columnHeaderHeight;
  const FrozenPanes panes = GetFrozenPanes(view.sheet);
  if (panes.row)
    height -= GetRowHeight(view.sheet, panes.frozenRow, view.zoomY) + 1;
  return height < 0 ? 0 : height;
}

int64_t AvailableWidthForLastRow(const SheetViewport& view, uint32_t lastRow) {
  int64_t width = static_cast<int64_t>(view.clientWidth) + 1 - view.rowHeaderWidths[RowHeaderDigits(lastRow)];
  const FrozenPanes panes = GetFrozenPanes(view.sheet);
  if (panes.column)
    width -= GetColumnWidth(view.sheet, panes.frozenColumn, view.zoomX) + 1;
  return width < 0 ? 0 : width;
}

int64_t AvailableWidth(const SheetViewport& view, uint32_t firstRow) {
  return AvailableWidthForLastRow(view,
                                  LastVisibleRow(view.sheet, AvailableHeight(view), firstRow, view.zoomY, false));
}
