#ifndef TALVERO_VIEW_RECT_MARGINS_H
#define TALVERO_VIEW_RECT_MARGINS_H

// Growing and shrinking inclusive rectangles (anything with left, top,
// right and bottom: the system's RECT, or PixelRect where there is none).

#include <cstdint>

struct PixelRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

template <class Rect>
void InflateRectBy(Rect* rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  rect->left -= left;
  rect->top -= top;
  rect->right += right;
  rect->bottom += bottom;
}

// Each axis whose margins fit loses them; an axis whose margins do not fit
// collapses to its middle, so that nothing is drawn in it.
template <class Rect>
void ShrinkRectByMargins(Rect* rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (rect->left + left <= rect->right - right) {
    rect->left += left;
    rect->right -= right;
  } else {
    rect->left = rect->right = rect->left + (rect->right - rect->left) / 2;
  }
  if (rect->top + top <= rect->bottom - bottom) {
    rect->top += top;
    rect->bottom -= bottom;
  } else {
    rect->top = rect->bottom = rect->top + (rect->bottom - rect->top) / 2;
  }
}

#endif
