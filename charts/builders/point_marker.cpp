#include "charts/builders/point_marker.h"

namespace {

// The screen's circles: octagons closed by repeating their first point.
constexpr PixelPoint kCircle5[9] = {{-2, 1}, {-2, -1}, {-1, -2}, {1, -2}, {2, -1}, {2, 1}, {1, 2}, {-1, 2}, {-2, 1}};
constexpr PixelPoint kCircle7[9] = {{-3, 1}, {-3, -1}, {-1, -3}, {1, -3}, {3, -1}, {3, 1}, {1, 3}, {-1, 3}, {-3, 1}};
constexpr PixelPoint kCircleLarge[9] = {{-4, 2}, {-4, -2}, {-2, -4}, {2, -4}, {4, -2},
                                        {4, 2},  {2, 4},   {-2, 4},  {-4, 2}};

struct BarDirection {
  int32_t dx;
  int32_t dy;
  uint8_t arrow;
};

// The order in which the bars are drawn.
constexpr BarDirection kDown = {0, 1, kArrowDown};
constexpr BarDirection kUp = {0, -1, kArrowUp};
constexpr BarDirection kLeft = {-1, 0, kArrowLeft};
constexpr BarDirection kRight = {1, 0, kArrowRight};

void DrawErrorBar(const PaintSurface& surface, int32_t x, int32_t y, int32_t length, const BarDirection& d,
                  uint8_t arrows, int32_t half) {
  const int32_t endX = x + d.dx * length;
  const int32_t endY = y + d.dy * length;
  surface.Line(x, y, endX, endY);
  // Across the bar: a horizontal cap on a vertical bar and the other way round.
  const int32_t acrossX = d.dy != 0 ? 1 : 0;
  const int32_t acrossY = d.dx != 0 ? 1 : 0;
  if (arrows & d.arrow) {
    const int32_t back = half + 1;
    const int32_t baseX = endX - d.dx * back;
    const int32_t baseY = endY - d.dy * back;
    surface.Line(endX, endY, baseX - acrossX * back, baseY - acrossY * back);
    surface.Line(endX, endY, baseX + acrossX * back, baseY + acrossY * back);
    return;
  }
  surface.Line(endX - acrossX * half, endY - acrossY * half, endX + acrossX * half, endY + acrossY * half);
}

}  // namespace

int32_t MarkerSizeCode(uint8_t kind) {
  switch (kind) {
    case 1: return 1;
    case 2: return 3;
    case 3:
    case 6:
    case 9: return 5;
    case 5:
    case 8:
    case 11:
    case 13:
    case 15: return 9;
    default: return 7;
  }
}

void DrawMarker(const PaintSurface& surface, int32_t x, int32_t y, uint8_t kind, const MarkerErrorBars& bars,
                uint16_t zoom) {
  const int32_t size = 2 * ((MarkerSizeCode(kind) / 2) * zoom / 100) + 1;
  const int32_t r = size / 2;
  const int32_t half = r - 1 < 3 ? 2 : r - 1;
  const int32_t lengths[4] = {bars.down, bars.up, bars.left, bars.right};
  const BarDirection* directions[4] = {&kDown, &kUp, &kLeft, &kRight};
  for (int k = 0; k < 4; ++k)
    if (lengths[k] != 0 && lengths[k] >= r)
      DrawErrorBar(surface, x, y, lengths[k], *directions[k], bars.arrows, half);

  if (kind == 1) {
    surface.SetPixel(x, y);
  } else if (kind >= 2 && kind <= 5) {
    const PixelPoint square[4] = {{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}};
    surface.Polygon(square, 4);
  } else if (kind >= 6 && kind <= 8) {
    const PixelPoint diamond[4] = {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}};
    surface.Polygon(diamond, 4);
  } else if (kind >= 9 && kind <= 11) {
    if (surface.IsPrinting()) {
      surface.Ellipse({x - r, y - r, x + r, y + r});
      return;
    }
    const PixelPoint* offsets = size == 5 ? kCircle5 : size == 7 ? kCircle7 : kCircleLarge;
    PixelPoint circle[9];
    for (int k = 0; k < 9; ++k) circle[k] = {x + offsets[k].x * zoom / 100, y + offsets[k].y * zoom / 100};
    surface.Polygon(circle, 9);
  } else if (kind >= 12 && kind <= 15) {
    if (kind <= 13) {
      surface.Line(x - r, y, x + r, y);
      surface.Line(x, y - r, x, y + r);
    }
    surface.Line(x - r, y - r, x + r, y + r);
    surface.Line(x - r, y + r, x + r, y - r);
  }
}
