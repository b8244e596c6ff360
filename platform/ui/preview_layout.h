#ifndef TALVERO_PLATFORM_UI_PREVIEW_LAYOUT_H
#define TALVERO_PLATFORM_UI_PREVIEW_LAYOUT_H

// Where the print preview shows its sheet of paper: at zoom 1.0 the whole
// sheet fits the window with a border around it, keeping the paper's
// proportions; zoomed in, the sheet grows and the window scrolls over it.
// Plain arithmetic, tested everywhere.

#include <cstdint>

constexpr int32_t kPreviewBorder = 8;
constexpr double kPreviewMinZoom = 1.0;
constexpr double kPreviewMaxZoom = 8.0;
// Each wheel notch or zoom-in click multiplies or divides the zoom by this.
constexpr double kPreviewZoomStep = 1.25;

struct PreviewPaper {
  int32_t left;  // in window pixels
  int32_t top;
  int32_t width;
  int32_t height;
  int32_t scrollRangeX;  // how far the window can scroll; 0 when it all shows
  int32_t scrollRangeY;
};

// The paper of widthUnits by heightUnits (any one unit, such as
// millimetres x 100) in a window of clientWidth by clientHeight at the zoom,
// scrolled by scrollX and scrollY (clamped to the ranges).
PreviewPaper LayOutPreviewPaper(int32_t clientWidth, int32_t clientHeight, int32_t widthUnits, int32_t heightUnits,
                                double zoom, int32_t scrollX, int32_t scrollY);

// The zoom after notches of the wheel (positive in, negative out), within
// kPreviewMinZoom and kPreviewMaxZoom.
double StepPreviewZoom(double zoom, int notches);

// The scroll position that keeps the paper's point under the window pixel
// (x, y) in place when the zoom changes from before to after.
int32_t ScrollKeepingPoint(int32_t scroll, int32_t pixel, int32_t paperOrigin, double before, double after);

#endif
