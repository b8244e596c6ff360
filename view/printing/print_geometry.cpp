#include "view/printing/print_geometry.h"

namespace {

// length x pixels / millimetres, truncated.
int32_t Scale(int32_t pixels, double length, int32_t millimetres) {
  return static_cast<int32_t>(pixels * length / millimetres);
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
  frame->left = 0;
  frame->top = 0;
  frame->right = w - printer.offsetX;
  frame->bottom = h - printer.offsetY;
  frame->marginLeft = Scale(w, settings.marginLeft, printer.widthMm) - printer.offsetX;
  frame->marginTop = Scale(h, settings.marginTop, printer.heightMm) - printer.offsetY;
  frame->marginRight = Scale(w, settings.marginRight, printer.widthMm);
  frame->marginBottom = Scale(h, settings.marginBottom, printer.heightMm);
  // A distance down the paper, measured by the paper's height.
  frame->headerLine = Scale(h, settings.headerMargin, printer.heightMm) - printer.offsetY + frame->top;
  frame->footerLine = frame->bottom - Scale(h, settings.footerMargin, printer.heightMm);
  return true;
}
