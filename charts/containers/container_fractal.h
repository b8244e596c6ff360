#ifndef TALVERO_CHARTS_CONTAINERS_CONTAINER_FRACTAL_H
#define TALVERO_CHARTS_CONTAINERS_CONTAINER_FRACTAL_H

// A container's fractal background: rendered once at the size of the
// rectangle it is first painted in (at most kMaxFractalPixels, stretched
// beyond), kept in the container and stretched at every later paint. On
// the screen at 100 percent it is shown band by band while it is rendered.

#include <cstdint>

#include "core/model/container_record.h"
#include "view/painting/paint_surface.h"

// About 4 million pixels: 12 MB of picture, however far a print zooms.
constexpr uint64_t kMaxFractalPixels = uint64_t{1} << 22;

struct FractalSize {
  uint32_t width;
  uint32_t height;
};

// The picture's size for a rectangle of width x height pixels: the same,
// or scaled down evenly to at most kMaxFractalPixels (at least 1 x 1).
FractalSize FractalRenderSize(uint32_t width, uint32_t height);

// False when the picture could not be rendered (nothing is drawn then).
bool DrawFractalBackground(ContainerRecord& container, const PaintSurface& surface, const PixelRect& rect,
                           uint16_t zoomX, uint16_t zoomY);

#endif
