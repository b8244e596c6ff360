#include "core/workbook/worksheet.h"
#include "view/painting/container_placement.h"
#include "view/painting/grid_painter.h"
#include "view/painting/object_painters.h"

void GridPainter::PaintObjects(const PaintSurface& surface, const PixelRect& cellArea, CWorkSheet* sheet,
                               uint16_t firstColumn, uint32_t firstRow, uint16_t zoomX, uint16_t zoomY) {
  for (ContainerRecord* container = sheet->containers; container; container = container->next) {
    PixelRect rect;
    if (GetColumnRangeRect(cellArea, sheet, firstRow, firstColumn, *container, &rect, zoomX, zoomY))
      DrawContainer(surface, container, rect, zoomX, zoomY);
  }
}

void GridPainter::DrawContainer(const PaintSurface& surface, ContainerRecord* container, const PixelRect& rect,
                                uint16_t zoomX, uint16_t zoomY) {
  const ObjectPainters* painters = InstalledObjectPainters();
  if (painters && painters->drawContainer)
    painters->drawContainer(surface, workbook_, container, rect, zoomX, zoomY);
}
