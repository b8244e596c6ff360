#ifndef TALVERO_CHARTS_CONTAINERS_CONTAINER_PAINTER_H
#define TALVERO_CHARTS_CONTAINERS_CONTAINER_PAINTER_H

// Painting a container into a pixel rectangle of any surface (the grid
// view, a printed or previewed page, a saved image): its background and
// border, its grid of charts, each prepared and drawn in its slot, and its
// titles over them. The painter changes nothing of the container but its
// error code (a failing chart's) and its cached fractal picture.

#include <cstdint>

#include "core/model/container_record.h"
#include "core/model/image_cache.h"
#include "view/painting/paint_surface.h"

// Paints the container into the inclusive rectangle at the zoom pair
// (percent), reading its background image through the cache (none: the
// image's placeholder without its name). Drawing stays inside the
// rectangle.
void Draw(ContainerRecord& container, const PaintSurface& surface, const PixelRect& rect, ImageCache* images,
          uint16_t zoomX, uint16_t zoomY);

// The text a chart that cannot be drawn shows in its slot for its error
// code (the program hands in its error-message table at start-up). Without
// one, or for a chart without an error code, the slot stays empty.
using ChartErrorText = const char* (*)(int code);
void SetChartErrorText(ChartErrorText text);

// The background (pattern fill, image or fractal) and the border; no
// background, no border either.
bool DrawBackground(ContainerRecord& container, const PaintSurface& surface, const PixelRect& rect,
                    ImageCache* images, uint16_t zoomX, uint16_t zoomY);

// The non-empty titles (as many entries from the first on), each through
// the header and footer codes between insets of 4 pixels at the zoom, from
// 4 pixels below the top; with layoutOnly they are measured, not drawn. The
// rectangle's top ends below the titles (and the gap again).
void DrawTitles(ContainerRecord& container, const PaintSurface& surface, PixelRect* rect, uint16_t zoomX,
                uint16_t zoomY, bool layoutOnly);

// The slot of item index in the grid area: cells of whole pixels (the
// remainder at the right and bottom stays empty), less the spacing at the
// zoom and at least 1 pixel on every side. False for an index beyond the
// grid's cells.
bool ContainerSlot(const ContainerHeader& header, const PixelRect& grid, int index, uint16_t zoomX, uint16_t zoomY,
                   PixelRect* slot);

#endif
