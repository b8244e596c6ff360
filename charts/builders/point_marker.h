#ifndef TALVERO_CHARTS_BUILDERS_POINT_MARKER_H
#define TALVERO_CHARTS_BUILDERS_POINT_MARKER_H

// The marker of a data point, in the legend and on scatter and XY plots:
// a pixel, square, diamond, circle, star or cross of a size set by its kind
// and the zoom, with optional error bars, drawn in the current pen and
// brush.

#include <cstdint>

#include "view/painting/paint_surface.h"

// Error bar lengths in pixels (0: none) and the directions whose bar ends in
// an arrowhead rather than a cap.
struct MarkerErrorBars {
  int32_t left;
  int32_t right;
  int32_t down;
  int32_t up;
  uint8_t arrows;  // kArrowLeft, kArrowRight, kArrowUp, kArrowDown
};

constexpr uint8_t kArrowLeft = 1;
constexpr uint8_t kArrowRight = 2;
constexpr uint8_t kArrowUp = 4;
constexpr uint8_t kArrowDown = 8;

// The base size of a marker kind: 1 for a pixel, 3, 5, 7 or 9.
int32_t MarkerSizeCode(uint8_t kind);

// The marker centred at (x, y): its size is 2 ((code div 2) zoom / 100) + 1,
// always odd. Error bars first, those shorter than half the size left out;
// on a printer a circle is an ellipse, on the screen a nine-point polygon.
void DrawMarker(const PaintSurface& surface, int32_t x, int32_t y, uint8_t kind, const MarkerErrorBars& bars,
                uint16_t zoom);

#endif
