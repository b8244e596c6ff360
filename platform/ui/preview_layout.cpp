#include "platform/ui/preview_layout.h"

namespace {

int32_t Clamp(int32_t value, int32_t lowest, int32_t highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

}  // namespace

PreviewPaper LayOutPreviewPaper(int32_t clientWidth, int32_t clientHeight, int32_t widthUnits, int32_t heightUnits,
                                double zoom, int32_t scrollX, int32_t scrollY) {
  PreviewPaper paper = {};
  const int32_t roomX = clientWidth - 2 * kPreviewBorder;
  const int32_t roomY = clientHeight - 2 * kPreviewBorder;
  if (roomX <= 0 || roomY <= 0 || widthUnits <= 0 || heightUnits <= 0) return paper;
  // The whole paper at zoom 1.0: as wide as the room allows unless that
  // makes it too tall.
  double fitWidth = roomX;
  double fitHeight = static_cast<double>(roomX) * heightUnits / widthUnits;
  if (fitHeight > roomY) {
    fitHeight = roomY;
    fitWidth = static_cast<double>(roomY) * widthUnits / heightUnits;
  }
  paper.width = static_cast<int32_t>(fitWidth * zoom);
  paper.height = static_cast<int32_t>(fitHeight * zoom);
  if (paper.width < 1) paper.width = 1;
  if (paper.height < 1) paper.height = 1;
  const int32_t extentX = paper.width + 2 * kPreviewBorder;
  const int32_t extentY = paper.height + 2 * kPreviewBorder;
  paper.scrollRangeX = extentX > clientWidth ? extentX - clientWidth : 0;
  paper.scrollRangeY = extentY > clientHeight ? extentY - clientHeight : 0;
  paper.left = paper.scrollRangeX > 0 ? kPreviewBorder - Clamp(scrollX, 0, paper.scrollRangeX)
                                      : (clientWidth - paper.width) / 2;
  paper.top = paper.scrollRangeY > 0 ? kPreviewBorder - Clamp(scrollY, 0, paper.scrollRangeY)
                                     : (clientHeight - paper.height) / 2;
  return paper;
}

double StepPreviewZoom(double zoom, int notches) {
  for (; notches > 0; --notches) zoom *= kPreviewZoomStep;
  for (; notches < 0; ++notches) zoom /= kPreviewZoomStep;
  // Steps that come back to the start end exactly there.
  if (zoom < kPreviewMinZoom * 1.0001) return kPreviewMinZoom;
  return zoom > kPreviewMaxZoom ? kPreviewMaxZoom : zoom;
}

int32_t ScrollKeepingPoint(int32_t scroll, int32_t pixel, int32_t paperOrigin, double before, double after) {
  const double onPaper = (pixel - paperOrigin) / before;
  return static_cast<int32_t>(scroll + onPaper * (after - before));
}
