#ifndef TALVERO_VIEW_PRINT_FRAME_H
#define TALVERO_VIEW_PRINT_FRAME_H

// What the print commands hand to pagination and page rendering: the page
// geometry of the printer in device pixels and the print zoom pair, and the
// places that several pages share on one sheet of paper.

#include <cstdint>

#include "view/draw_context/rect_margins.h"

// All in device pixels: the printable rectangle (inclusive), the margins
// taken off it, the top of the header and the line the footer ends on.
struct PrintFrame {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  int32_t marginLeft;
  int32_t marginTop;
  int32_t marginRight;
  int32_t marginBottom;
  int32_t headerLine;
  int32_t footerLine;
};

// Device pixels per screen pixel x 100, times the scale / 100: horizontal for
// widths, vertical for heights and fonts. Pagination lowers both in place.
struct PrintZoom {
  uint16_t x;
  uint16_t y;
};

// False when the margins of an axis meet or pass each other: shrinking would
// leave that axis no width to print on.
bool PrintFrameHasRoom(const PrintFrame& frame);
// The printable rectangle less the margins.
PixelRect PageRectOf(const PrintFrame& frame);
// The same rectangle as a frame without margins, for the steps of pagination.
PrintFrame PageFrameOf(const PrintFrame& frame);

// The gaps around each page when several share a sheet: none for one page
// per sheet, else at least 4 (2 vertically) pixels, growing with the zoom.
int32_t HorizontalPageGap(uint8_t rows, uint8_t columns, uint16_t zoomX);
int32_t VerticalPageGap(uint8_t rows, uint8_t columns, uint16_t zoomY);

#endif
