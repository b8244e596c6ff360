#include "view/printing/print_geometry.h"

#include <cmath>

namespace {

// Lengths of the frame stay within this many pixels either way, however
// long the stored margins are (a file or a client may give 1e308 mm):
// longer than any paper, and small enough that the sums and differences
// pagination and rendering take of the frame's lengths stay inside 32 bits.
constexpr double kFrameLimit = 1 << 28;

// Pixels truncated into the frame's range; a length that is not a number
// counts as too long, so that it leaves no room rather than some room.
int32_t FramePixels(double pixels) {
  if (!(pixels < kFrameLimit)) return static_cast<int32_t>(kFrameLimit);
  if (pixels <= -kFrameLimit) return static_cast<int32_t>(-kFrameLimit);
  return static_cast<int32_t>(pixels);
}

// length x pixels / millimetres, truncated.
double Scale(int32_t pixels, double length, int32_t millimetres) {
  return std::trunc(pixels * length / millimetres);
}

uint16_t ZoomOf(int32_t printer, int32_t screen, uint16_t scale) {
  const int64_t zoom = static_cast<int64_t>(printer) * 100 / screen * scale / 100;
  return static_cast<uint16_t>(zoom < 0xFFFF ? zoom : 0xFFFF);
}

}  // namespace

bool ComputePrintZoom(const PrinterMetrics& printer, int32_t screenPixelsX, int32_t screenPixelsY, uint16_t scale,
                      PrintZoom* zoom) {
  if (printer.pixelsPerInchX <= 0 || printer.pixelsPerInchY <= 0 || screenPixelsX <= 0 || screenPixelsY <= 0)
    return false;
  zoom->x = ZoomOf(printer.pixelsPerInchX, screenPixelsX, scale);
  zoom->y = ZoomOf(printer.pixelsPerInchY, screenPixelsY, scale);
  return true;
}

bool ComputePrintFrame(const PrinterMetrics& printer, const PageSettings& settings, PrintFrame* frame) {
  if (printer.widthMm <= 0 || printer.heightMm <= 0) return false;
  const int32_t w = printer.physicalWidth;
  const int32_t h = printer.physicalHeight;
  const double x = printer.offsetX;
  const double y = printer.offsetY;
  frame->left = 0;
  frame->top = 0;
  frame->right = FramePixels(w - x);
  frame->bottom = FramePixels(h - y);
  frame->marginLeft = FramePixels(Scale(w, settings.marginLeft, printer.widthMm) - x);
  frame->marginTop = FramePixels(Scale(h, settings.marginTop, printer.heightMm) - y);
  frame->marginRight = FramePixels(Scale(w, settings.marginRight, printer.widthMm));
  frame->marginBottom = FramePixels(Scale(h, settings.marginBottom, printer.heightMm));
  // A distance down the paper, measured by the paper's height.
  frame->headerLine = FramePixels(Scale(h, settings.headerMargin, printer.heightMm) - y + frame->top);
  frame->footerLine = FramePixels(frame->bottom - Scale(h, settings.footerMargin, printer.heightMm));
  return true;
}
