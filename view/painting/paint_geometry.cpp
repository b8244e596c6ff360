#include "view/painting/paint_geometry.h"

#include "core/cells/cell_record.h"
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

SheetEndBands ComputeSheetEndBands(const PixelRect& area, CWorkSheet* sheet, const PaintGeometry& g,
                                   uint32_t firstRow, uint16_t firstColumn, uint16_t zoomX, uint16_t zoomY) {
  SheetEndBands bands = {{0, 0, -1, -1}, {0, 0, -1, -1}};
  int64_t bottom = area.bottom;
  if (g.lastRow == kMaxRow) {
    int64_t y = static_cast<int64_t>(area.top) + g.columnHeaderHeight + 1 + g.frozenHeight;
    for (uint32_t row = firstRow; row <= kMaxRow && y <= area.bottom; ++row) y += GetRowHeight(sheet, row, zoomY) + 1;
    if (y < area.bottom) {
      bands.below = {area.left, static_cast<int32_t>(y) + 1, area.right, area.bottom};
      bottom = y;
    }
  }
  if (g.lastColumn == kMaxColumn) {
    int64_t x = static_cast<int64_t>(area.left) + g.rowHeaderWidth + 1 + g.frozenWidth;
    for (uint32_t column = firstColumn; column <= kMaxColumn && x <= area.right; ++column)
      x += GetColumnWidth(sheet, column, zoomX) + 1;
    if (x < area.right)
      bands.right = {static_cast<int32_t>(x) + 1, area.top, area.right, static_cast<int32_t>(bottom)};
  }
  return bands;
}
