#include "dialogs/zoom/zoom_track.h"

namespace {

constexpr int32_t kLowestZoom = 40;
constexpr int32_t kZoomStep = 10;
constexpr int32_t kPopupGap = 2;

}  // namespace

int ZoomTrackPosition(uint32_t zoomPercent) {
  const int64_t zoom = zoomPercent;
  if (zoom < kLowestZoom) return kZoomTrackLast;
  const int64_t position = kZoomTrackLast - (zoom - kLowestZoom) / kZoomStep;
  return position < 0 ? 0 : static_cast<int>(position);
}

uint32_t ZoomOfTrackPosition(int position) {
  if (position < 0) position = 0;
  if (position > kZoomTrackLast) position = kZoomTrackLast;
  return static_cast<uint32_t>(kLowestZoom + (kZoomTrackLast - position) * kZoomStep);
}

UiRect PlaceZoomPopup(int32_t pointX, int32_t pointY, int32_t width, int32_t height, const UiRect& workArea) {
  UiRect r{pointX - kPopupGap - width, pointY - kPopupGap - height, pointX - kPopupGap, pointY - kPopupGap};
  if (r.right > workArea.right) {
    r.left -= r.right - workArea.right;
    r.right = workArea.right;
  }
  if (r.bottom > workArea.bottom) {
    r.top -= r.bottom - workArea.bottom;
    r.bottom = workArea.bottom;
  }
  return r;
}
