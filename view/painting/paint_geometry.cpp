#include "view/painting/paint_geometry.h"

#include "view/geometry/sheet_sizes.h"

PaintGeometry ComputePaintGeometry(const TextMeasurer& measurer, const PixelRect& area, CWorkSheet* sheet,
                                   uint32_t firstRow, uint16_t firstColumn, uint16_t zoomX, uint16_t zoomY) {
  PaintGeometry g = {};
  g.panes = GetFrozenPanes(sheet);
  if (g.panes.row)
    g.frozenHeight = GetRowHeight(sheet, g.panes.frozenRow, zoomY) + 1;
  if (g.panes.column)
    g.frozenWidth = GetColumnWidth(sheet, g.panes.frozenColumn, zoomX) + 1;
  const int64_t height = static_cast<int64_t>(area.bottom) - area.top + 1 - g.frozenHeight;
  const int64_t width = static_cast<int64_t>(area.right) - area.left + 1 - g.frozenWidth;
  g.columnHeaderHeight = GetColumnHeaderHeight(measurer, 100);
  if (g.columnHeaderHeight < 0)
    g.columnHeaderHeight = 0;
  const int64_t rowsHeight = height - g.columnHeaderHeight;
  g.lastRow = LastVisibleRow(sheet, rowsHeight < 0 ? 0 : rowsHeight, firstRow, zoomY, false);
  g.rowHeaderWidth = GetRowHeaderWidth(measurer, g.lastRow, 100);
  if (g.rowHeaderWidth < 0)
    g.rowHeaderWidth = 0;
  const int64_t columnsWidth = width - g.rowHeaderWidth;
  g.lastColumn = static_cast<uint16_t>(
      LastVisibleColumn(sheet, columnsWidth < 0 ? 0 : columnsWidth, firstColumn, zoomX, false));
  return g;
}
