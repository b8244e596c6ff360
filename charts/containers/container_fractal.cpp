#include "charts/containers/container_fractal.h"

#include <cmath>
#include <cstdlib>

#include "charts/fractal/fractal_renderer.h"
#include "view/draw_context/background_bands.h"

FractalSize FractalRenderSize(uint32_t width, uint32_t height) {
  const uint64_t pixels = uint64_t{width} * height;
  if (pixels <= kMaxFractalPixels)
    return {width, height};
  const double scale = std::sqrt(static_cast<double>(kMaxFractalPixels) / static_cast<double>(pixels));
  const uint32_t w = static_cast<uint32_t>(width * scale);
  const uint32_t h = static_cast<uint32_t>(height * scale);
  return {w > 0 ? w : 1, h > 0 ? h : 1};
}

bool DrawFractalBackground(ContainerRecord& container, const PaintSurface& surface, const PixelRect& rect,
                           uint16_t zoomX, uint16_t zoomY) {
  const ContainerHeader& h = container.header;
  if (container.fractalPicture)
    return surface.StretchDib(rect, container.fractalPicture, 1, 100, 100);
  if (rect.right < rect.left || rect.bottom < rect.top)
    return false;
  const uint32_t width = static_cast<uint32_t>(rect.right - rect.left) + 1;
  const uint32_t height = static_cast<uint32_t>(rect.bottom - rect.top) + 1;
  const FractalSize size = FractalRenderSize(width, height);
  uint8_t* picture = nullptr;
  uint8_t error = 0;
  // On the screen the user sees the picture grow, one band at a time.
  const bool bandByBand = zoomX == 100 && zoomY == 100 && size.width == width && size.height == height;
  const uint32_t lastRow = size.height - 1;
  for (uint32_t first = 0; first <= lastRow;) {
    const BackgroundBand band = bandByBand ? BandFrom(first, lastRow) : BackgroundBand{0, lastRow};
    if (!RenderFractal(&picture, band.first, band.last, size.width, size.height, h.palette, h.fractal, &error)) {
      std::free(picture);
      return false;
    }
    if (bandByBand)
      surface.StretchDib(rect, picture, 0, 100, 100);
    first = band.last + 1;
  }
  container.fractalPicture = picture;
  return bandByBand || surface.StretchDib(rect, picture, 1, 100, 100);
}
