#include "view/painting/background_cover.h"

#include "view/draw_context/dib_layout.h"

namespace {

// The picture's size modes that reach every edge of the rectangle.
constexpr uint8_t kStretchedPicture = 1;
constexpr uint8_t kTiledPicture = 2;

PixelRect Band(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  if (right < left || bottom < top)
    return {0, 0, -1, -1};
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
          static_cast<int32_t>(bottom)};
}

}  // namespace

BareBackground BackgroundLeftBare(const WorksheetViewFormat& view, const void* picture, const PixelRect& rect) {
  // The last column and row painted; before the rectangle when none is.
  int64_t right = static_cast<int64_t>(rect.left) - 1;
  int64_t bottom = static_cast<int64_t>(rect.top) - 1;
  if (view.backgroundMode == kBackgroundPattern && view.fill.pattern != 0) {
    right = rect.right;
    bottom = rect.bottom;
  } else if (view.backgroundMode == kBackgroundImage && picture) {
    int32_t width = 0;
    int32_t height = 0;
    DibPixelSize(picture, &width, &height);
    if (width > 0 && height > 0) {
      const bool whole = view.imageSizeMode == kStretchedPicture || view.imageSizeMode == kTiledPicture;
      right = whole ? rect.right : static_cast<int64_t>(rect.left) + width - 1;
      bottom = whole ? rect.bottom : static_cast<int64_t>(rect.top) + height - 1;
    }
  }
  if (right > rect.right)
    right = rect.right;
  if (bottom > rect.bottom)
    bottom = rect.bottom;
  return {Band(right + 1, rect.top, rect.right, bottom), Band(rect.left, bottom + 1, rect.right, rect.bottom)};
}
