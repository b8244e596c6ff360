#ifndef TALVERO_PLATFORM_UI_UI_RECT_H
#define TALVERO_PLATFORM_UI_UI_RECT_H

// A rectangle as the window system keeps one (right and bottom exclusive), for
// the layout code that must not depend on the window system's headers.

#include <cstdint>

struct UiRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const UiRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

#endif
