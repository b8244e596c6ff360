#include "view/printing/print_frame.h"

bool PrintFrameHasRoom(const PrintFrame& frame) {
  return static_cast<int64_t>(frame.left) + frame.marginLeft < static_cast<int64_t>(frame.right) - frame.marginRight &&
         static_cast<int64_t>(frame.top) + frame.marginTop < static_cast<int64_t>(frame.bottom) - frame.marginBottom;
}

PixelRect PageRectOf(const PrintFrame& frame) {
  PixelRect rect = {frame.left, frame.top, frame.right, frame.bottom};
  ShrinkRectByMargins(&rect, frame.marginLeft, frame.marginTop, frame.marginRight, frame.marginBottom);
  return rect;
}

PrintFrame PageFrameOf(const PrintFrame& frame) {
  const PixelRect rect = PageRectOf(frame);
  PrintFrame page = frame;
  page.left = rect.left;
  page.top = rect.top;
  page.right = rect.right;
  page.bottom = rect.bottom;
  page.marginLeft = page.marginTop = page.marginRight = page.marginBottom = 0;
  return page;
}

namespace {

bool SeveralPerSheet(uint8_t rows, uint8_t columns) { return rows > 1 || columns > 1; }

}  // namespace

int32_t HorizontalPageGap(uint8_t rows, uint8_t columns, uint16_t zoomX) {
  if (!SeveralPerSheet(rows, columns))
    return 0;
  const int32_t gap = static_cast<int32_t>(zoomX) * 4 / 100;
  return gap > 4 ? gap : 4;
}

int32_t VerticalPageGap(uint8_t rows, uint8_t columns, uint16_t zoomY) {
  if (!SeveralPerSheet(rows, columns))
    return 0;
  const int32_t gap = static_cast<int32_t>(zoomY) * 2 / 100;
  return gap > 2 ? gap : 2;
}
