#ifndef TALVERO_VIEW_PRINT_GEOMETRY_H
#define TALVERO_VIEW_PRINT_GEOMETRY_H

// What printing takes from the printer: the print zoom from the printer's
// and the screen's pixel densities and the worksheet's print scale, and the
// page frame in printer pixels from the paper's size, its unprintable edges
// and the worksheet's margins and header and footer distances. Plain
// arithmetic, tested everywhere.

#include <cstdint>

#include "core/model/page_settings.h"
#include "view/printing/print_frame.h"

// The device capabilities of a printer device context.
struct PrinterMetrics {
  int32_t physicalWidth;   // PHYSICALWIDTH, pixels
  int32_t physicalHeight;  // PHYSICALHEIGHT
  int32_t offsetX;         // PHYSICALOFFSETX: the unprintable left edge
  int32_t offsetY;         // PHYSICALOFFSETY: the unprintable top edge
  int32_t widthMm;         // HORZSIZE
  int32_t heightMm;        // VERTSIZE
  int32_t pixelsPerInchX;  // LOGPIXELSX
  int32_t pixelsPerInchY;  // LOGPIXELSY
};

// Printer pixels per screen pixel x 100, times the scale / 100; false when a
// density is not positive.
bool ComputePrintZoom(const PrinterMetrics& printer, int32_t screenPixelsX, int32_t screenPixelsY, uint16_t scale,
                      PrintZoom* zoom);

// The page from the printable origin to the paper's right and bottom edges,
// the margins and the header and footer lines: lengths across the paper by
// its width, lengths down by its height. A length longer than any paper, or
// one that is not a number, stops at a bound far beyond the paper, where
// its margin leaves no room to print. False when the paper has no size.
bool ComputePrintFrame(const PrinterMetrics& printer, const PageSettings& settings, PrintFrame* frame);

#endif
