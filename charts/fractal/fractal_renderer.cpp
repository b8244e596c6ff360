#include "charts/fractal/fractal_renderer.h"

#include <cmath>
#include <cstring>

#include "charts/images/packed_dib.h"

namespace {

uint32_t Shade(uint32_t colour, int delta) {
  uint32_t shaded = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int channel = static_cast<int>((colour >> shift) & 0xFF) + delta;
    channel = channel < 0 ? 0 : channel > 255 ? 255 : channel;
    shaded |= static_cast<uint32_t>(channel) << shift;
  }
  return shaded;
}

// The palette entry of the point (x, y): the step at which it leaves the
// circle of radius 10, 0 when it lands exactly on it, 1023 when it stays.
int EscapeStep(double x, double y, double zr, double zi) {
  for (int n = 1;; ++n) {
    const double nx = x * x - y * y + zr;
    const double ny = 2 * x * y + zi;
    const double r = nx * nx + ny * ny;
    if (r > 100.0 || std::isnan(r))
      return n;
    if (r == 100.0)
      return 0;
    if (n == kFractalMaxIterations)
      return kFractalMaxIterations;
    x = nx;
    y = ny;
  }
}

}  // namespace

void BuildFractalPalette(const uint32_t colours[kPaletteSize], uint32_t palette[kFractalPaletteSize]) {
  for (int k = 0; k < kPaletteSize; ++k) {
    uint32_t* band = palette + 64 * k;
    for (int j = 0; j < 31; ++j) band[j] = Shade(colours[k], -4 * (31 - j));
    band[31] = colours[k] & 0xFFFFFF;
    for (int j = 0; j < 32; ++j) band[32 + j] = Shade(colours[k], 4 * j);
  }
}

bool RenderFractal(uint8_t** picture, uint32_t firstRow, uint32_t lastRow, uint32_t width, uint32_t height,
                   const uint32_t colours[kPaletteSize], const FractalParameters& plane, uint8_t* error) {
  if (!*picture) {
    *picture = NewTopDownDib(width, height, 24, error);
    if (!*picture)
      return false;
  }
  if (firstRow > lastRow)
    return true;
  if (lastRow >= height)
    lastRow = height - 1;
  BitmapInfoHeader header;
  std::memcpy(&header, *picture, sizeof header);
  const uint64_t stride = DibRowStride(uint64_t{width} * 3);
  header.biHeight = -static_cast<int32_t>(lastRow + 1);
  header.biSizeImage = static_cast<uint32_t>(stride * (lastRow + 1));
  std::memcpy(*picture, &header, sizeof header);

  uint32_t palette[kFractalPaletteSize];
  BuildFractalPalette(colours, palette);
  const double dx = (plane.maxX - plane.minX) / width;
  const double dy = (plane.maxY - plane.minY) / height;
  for (uint32_t row = firstRow; row <= lastRow; ++row) {
    uint8_t* pixel = *picture + sizeof(BitmapInfoHeader) + stride * row;
    const double y = plane.minY + row * dy;
    for (uint32_t column = 0; column < width; ++column, pixel += 3) {
      const uint32_t colour = palette[EscapeStep(plane.minX + column * dx, y, plane.zr, plane.zi)];
      pixel[0] = static_cast<uint8_t>(colour >> 16);
      pixel[1] = static_cast<uint8_t>(colour >> 8);
      pixel[2] = static_cast<uint8_t>(colour);
    }
  }
  return true;
}
