#ifndef TALVERO_VIEW_PAINT_SURFACE_H
#define TALVERO_VIEW_PAINT_SURFACE_H

// What the cell, selection and chart painters need of a device: a table of
// drawing operations and the target they work on, in the manner of
// TextMeasurer, so that the painters build everywhere. The Windows build
// hands them a drawing context (draw_context_surface.h); native tests a
// recording.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/number_format.h"
#include "core/styles/fill_and_border_line.h"
#include "core/styles/style_record.h"
#include "core/styles/text_measurer.h"
#include "view/draw_context/rect_margins.h"  // PixelRect, inclusive: every edge pixel belongs to it


struct PixelPoint {
  int32_t x;
  int32_t y;
};

// The raster operations the painters fill with (the device's own codes).
constexpr uint32_t kRopPatCopy = 0x00F00021;
constexpr uint32_t kRopPatInvert = 0x005A0049;  // destination XOR brush
constexpr uint32_t kRopDstInvert = 0x00550009;  // destination inverted

struct PaintSurfaceOps {
  bool (*selectPen)(void* target, uint8_t style, uint32_t colour, uint16_t zoom);
  bool (*selectBorderPen)(void* target, const BorderLine& line, uint16_t zoom);
  bool (*selectBrush)(void* target, uint8_t pattern, uint32_t colour1, uint32_t colour2);
  bool (*selectFillRecord)(void* target, const FillRecord& fill);
  bool (*setTextAlign)(void* target, int horizontal, int vertical);
  bool (*setBkMode)(void* target, int mode);
  void (*setTextColor)(void* target, uint32_t colour);
  bool (*fillRect)(void* target, const PixelRect& rect, uint32_t rasterOperation);
  bool (*fillRectFramed)(void* target, const PixelRect& rect);
  bool (*polyline)(void* target, const PixelPoint* points, int count);
  bool (*polygon)(void* target, const PixelPoint* points, int count);
  bool (*drawCellText)(void* target, int32_t x, int32_t y, const NumberFormat& tokens, int32_t width);
  bool (*drawFormattedText)(void* target, int32_t x, int32_t y, const char* text, const char* formatCode);
  // Narrows drawing to the rectangle until the matching PopClip.
  void (*pushClip)(void* target, const PixelRect& rect);
  void (*popClip)(void* target);
  // One segment with the current pen.
  bool (*line)(void* target, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // In the bounding rectangle, with the current pen and brush.
  bool (*ellipse)(void* target, const PixelRect& rect);
  // In the current text colour.
  bool (*setPixel)(void* target, int32_t x, int32_t y);
  // Lines of a text from (x, y) in the selected font and the kept alignment,
  // turned by angle radians counter-clockwise.
  bool (*drawText)(void* target, int32_t x, int32_t y, const char* text, size_t length, double angle);
  // Header and footer codes (view/printing/header_footer_codes.h) laid out
  // from the rectangle's top between its left and right edges, drawn unless
  // measureOnly; the rectangle's bottom becomes its top plus the tallest
  // section's height. No file, worksheet or sheet of paper: their codes
  // insert nothing.
  bool (*drawHeaderFooter)(void* target, PixelRect* rect, const char* codes, bool measureOnly);
  // A packed device-independent bitmap (a 40, 108 or 124-byte header, the
  // colour table, the rows): mode 1 stretched to the rectangle, 2 tiled from
  // its top-left corner, other at that corner scaled by the percentages;
  // clipped to the rectangle.
  bool (*stretchDib)(void* target, const PixelRect& rect, const void* dib, int mode, int32_t xPercent,
                     int32_t yPercent);
  // True when the drawing goes to a printer or its preview.
  bool (*isPrinting)(void* target);
};

struct PaintSurface {
  const PaintSurfaceOps* ops;
  void* target;
  // Measures in the font last selected through it; selecting a font here
  // selects it for drawing too.
  TextMeasurer measurer;

  bool SelectFont(const FontRecord& font, int16_t angle, uint16_t zoom) const {
    return measurer.SelectFont(font, angle, zoom);
  }
  bool SelectPen(uint8_t style, uint32_t colour, uint16_t zoom) const {
    return ops->selectPen(target, style, colour, zoom);
  }
  bool SelectBorderPen(const BorderLine& line, uint16_t zoom) const {
    return ops->selectBorderPen(target, line, zoom);
  }
  bool SelectBrush(uint8_t pattern, uint32_t colour1, uint32_t colour2) const {
    return ops->selectBrush(target, pattern, colour1, colour2);
  }
  bool SelectFillRecord(const FillRecord& fill) const { return ops->selectFillRecord(target, fill); }
  bool SetTextAlign(int horizontal, int vertical) const { return ops->setTextAlign(target, horizontal, vertical); }
  bool SetBkMode(int mode) const { return ops->setBkMode(target, mode); }
  void SetTextColor(uint32_t colour) const { ops->setTextColor(target, colour); }
  bool FillRect(const PixelRect& rect, uint32_t rop) const { return ops->fillRect(target, rect, rop); }
  bool FillRectFramed(const PixelRect& rect) const { return ops->fillRectFramed(target, rect); }
  bool Polyline(const PixelPoint* points, int count) const { return ops->polyline(target, points, count); }
  bool Polygon(const PixelPoint* points, int count) const { return ops->polygon(target, points, count); }
  bool DrawCellText(int32_t x, int32_t y, const NumberFormat& tokens, int32_t width) const {
    return ops->drawCellText(target, x, y, tokens, width);
  }
  bool DrawFormattedText(int32_t x, int32_t y, const char* text, const char* formatCode) const {
    return ops->drawFormattedText(target, x, y, text, formatCode);
  }
  void PushClip(const PixelRect& rect) const { ops->pushClip(target, rect); }
  void PopClip() const { ops->popClip(target); }
  bool Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const { return ops->line(target, x1, y1, x2, y2); }
  bool Ellipse(const PixelRect& rect) const { return ops->ellipse(target, rect); }
  bool SetPixel(int32_t x, int32_t y) const { return ops->setPixel(target, x, y); }
  bool DrawText(int32_t x, int32_t y, const char* text, size_t length, double angle) const {
    return ops->drawText(target, x, y, text, length, angle);
  }
  bool DrawHeaderFooter(PixelRect* rect, const char* codes, bool measureOnly) const {
    return ops->drawHeaderFooter(target, rect, codes, measureOnly);
  }
  bool StretchDib(const PixelRect& rect, const void* dib, int mode, int32_t xPercent, int32_t yPercent) const {
    return ops->stretchDib(target, rect, dib, mode, xPercent, yPercent);
  }
  bool IsPrinting() const { return ops->isPrinting(target); }
};

#endif
