#ifndef TALVERO_VIEW_CONTAINER_PLACEMENT_H
#define TALVERO_VIEW_CONTAINER_PLACEMENT_H

// Where a container anchored to a cell lies on a painted area, and moving its
// anchor so that its top-left corner lies at a pixel. The area's left and top
// are the first column's and the first row's grid lines.

#include <cstdint>

#include "core/model/container_record.h"
#include "view/painting/paint_surface.h"

class CWorkSheet;

// The container's rectangle at the zoom pair; false when it lies wholly
// before the area or starts past its right or bottom edge.
bool GetColumnRangeRect(const PixelRect& cellArea, CWorkSheet* sheet, uint32_t firstRow, uint16_t firstColumn,
                        const ContainerRecord& container, PixelRect* rect, uint16_t zoomX, uint16_t zoomY);

// Re-anchors the container at the cell under the point, keeping its size.
void PlaceContainerAt(const PixelPoint& origin, CWorkSheet* sheet, uint32_t firstRow, uint16_t firstColumn,
                      ContainerRecord* container, const PixelPoint& point, uint16_t zoomX, uint16_t zoomY);

#endif
