#include "core/workbook/worksheet.h"
#include "view/painting/container_placement.h"
#include "view/painting/grid_painter.h"

void GridPainter::PaintObjects(const PaintSurface& surface, const PixelRect& cellArea, CWorkSheet* sheet,
                               uint16_t firstColumn, uint32_t firstRow, uint16_t zoomX, uint16_t zoomY) {
  for (ContainerRecord* container = sheet->containers; container; container = container->next) {
    PixelRect rect;
    if (GetColumnRangeRect(cellArea, sheet, firstRow, firstColumn, *container, &rect, zoomX, zoomY) && drawContainer)
      drawContainer(surface, container, rect, zoomX, zoomY);
  }
}

void DrawContainerFrame(const PaintSurface& surface, ContainerRecord* container, const PixelRect& rect, uint16_t,
                        uint16_t) {
  const ContainerHeader& h = container->header;
  BorderLine line = h.border;
  if (line.style == 0)
    line.style = 1;
  FillRecord fill = h.fill;
  if (fill.pattern == 0)
    fill.pattern = 1;
  surface.SelectBorderPen(line, 100);
  surface.SelectFillRecord(fill);
  surface.FillRectFramed(rect);
}
