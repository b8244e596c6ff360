#ifndef TALVERO_TESTS_VIEW_RECORDING_SURFACE_H
#define TALVERO_TESTS_VIEW_RECORDING_SURFACE_H

// A paint surface that records what the painters ask for and keeps a small
// canvas on which fills land as on a device: PATCOPY paints the brush
// colour, PATINVERT XORs it, DSTINVERT inverts, all within the clip. Texts
// are placed by the drawing context's own placement and recorded run by run.

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/fake_text_measurer.h"
#include "view/draw_context/text_placement.h"
#include "view/painting/paint_surface.h"

struct RecordedOp {
  char kind;  // 'f' fill, 'F' framed fill, 'l' polyline, 'p' polygon, 't' text run, 'h' heading label,
             // '?' an operation the grid painters never ask for
  PixelRect rect;
  uint32_t rop;
  uint32_t colour;  // brush colour of fills, pen colour of lines
  std::string text;
  PixelRect clip;
};

class RecordingSurface {
 public:
  RecordingSurface(int32_t width, int32_t height) : pixels(width * height, 0xFFFFFF), width_(width), height_(height) {
    surface_ = {&kOps, this, fake.Measurer()};
    clips_.push_back({-1000000, -1000000, 1000000, 1000000});
  }
  const PaintSurface& Surface() const { return surface_; }

  std::vector<RecordedOp> ops;
  FakeTextMeasurer fake;
  std::vector<uint32_t> pixels;
  uint32_t brush = 0;
  uint32_t pen = 0;
  int horizontal = kAlignLeft;
  int vertical = kAlignTop;

  uint32_t Pixel(int32_t x, int32_t y) const { return pixels[y * width_ + x]; }
  std::vector<RecordedOp> Of(char kind) const {
    std::vector<RecordedOp> out;
    for (const RecordedOp& op : ops)
      if (op.kind == kind)
        out.push_back(op);
    return out;
  }

 private:
  static RecordingSurface* Self(void* t) { return static_cast<RecordingSurface*>(t); }
  void Paint(const PixelRect& r, uint32_t rop) {
    const PixelRect& c = clips_.back();
    for (int32_t y = std::max({r.top, c.top, 0}); y <= std::min({r.bottom, c.bottom, height_ - 1}); ++y)
      for (int32_t x = std::max({r.left, c.left, 0}); x <= std::min({r.right, c.right, width_ - 1}); ++x) {
        uint32_t& p = pixels[y * width_ + x];
        p = rop == kRopPatInvert ? p ^ brush : rop == kRopDstInvert ? p ^ 0xFFFFFF : brush;
      }
  }
  void Record(char kind, const PixelRect& rect, uint32_t rop, uint32_t colour, std::string text = "") {
    ops.push_back({kind, rect, rop, colour, std::move(text), clips_.back()});
  }
  static bool Pen(void* t, uint8_t, uint32_t colour, uint16_t) { return Self(t)->pen = colour, true; }
  static bool BorderPen(void* t, const BorderLine& line, uint16_t) { return Self(t)->pen = line.color, true; }
  static bool Brush(void* t, uint8_t, uint32_t colour, uint32_t) { return Self(t)->brush = colour, true; }
  // Solid fills take the pattern colour, the window colour (white) when unset.
  static bool Fill(void* t, const FillRecord& fill) {
    return Self(t)->brush = fill.patternColorSet ? fill.patternColor : 0xFFFFFF, true;
  }
  static bool Align(void* t, int h, int v) {
    Self(t)->horizontal = h;
    Self(t)->vertical = v;
    return true;
  }
  static bool BkMode(void*, int) { return true; }
  static void TextColour(void*, uint32_t) {}
  static bool FillOp(void* t, const PixelRect& r, uint32_t rop) {
    Self(t)->Record('f', r, rop, Self(t)->brush);
    Self(t)->Paint(r, rop);
    return true;
  }
  static bool Framed(void* t, const PixelRect& r) {
    Self(t)->Record('F', r, kRopPatCopy, Self(t)->brush);
    Self(t)->Paint(r, kRopPatCopy);
    return true;
  }
  static PixelRect Bounds(const PixelPoint* p, int n) {
    PixelRect r = {p[0].x, p[0].y, p[0].x, p[0].y};
    for (int i = 1; i < n; ++i)
      r = {std::min(r.left, p[i].x), std::min(r.top, p[i].y), std::max(r.right, p[i].x), std::max(r.bottom, p[i].y)};
    return r;
  }
  static bool Line(void* t, const PixelPoint* p, int n) {
    Self(t)->Record('l', Bounds(p, n), 0, Self(t)->pen);
    return true;
  }
  static bool Shape(void* t, const PixelPoint* p, int n) {
    Self(t)->Record('p', Bounds(p, n), 0, Self(t)->pen);
    return true;
  }
  static bool Run(void* t, int32_t x, int32_t y, const char* text, size_t length) {
    int32_t w = 0, h = 0;
    Self(t)->fake.Measurer().MeasureLine(text, length, &w, &h);
    // The device aligns each run at its anchor: a right-aligned run ends on
    // the pixel before it, a centred one is centred on it.
    const int h_align = Self(t)->horizontal;
    const int32_t left = h_align == kAlignRight ? x - w : h_align == kAlignCentre ? x - w / 2 : x;
    Self(t)->Record('t', {left, y, left + w - 1, y + h - 1}, 0, 0, std::string(text, length));
    return true;
  }
  static bool CellText(void* t, int32_t x, int32_t y, const NumberFormat& tokens, int32_t width) {
    RecordingSurface* self = Self(t);
    // Runs are recorded with their top-left corner, as the fake measures them.
    return PlaceCellText(self->fake.Measurer(), {&Run, t}, x, y, tokens, width, 0, self->horizontal, kAlignTop);
  }
  static bool Label(void* t, int32_t x, int32_t y, const char* text, const char*) {
    Self(t)->Record('h', {x, y, x, y}, 0, 0, text);
    return true;
  }
  static void Push(void* t, const PixelRect& r) {
    const PixelRect& c = Self(t)->clips_.back();
    Self(t)->clips_.push_back(
        {std::max(c.left, r.left), std::max(c.top, r.top), std::min(c.right, r.right), std::min(c.bottom, r.bottom)});
  }
  static void Pop(void* t) { Self(t)->clips_.pop_back(); }
  // The grid painters draw none of these; a call shows up as an unknown kind.
  static bool Segment(void* t, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Self(t)->Record('?', {x1, y1, x2, y2}, 0, Self(t)->pen);
    return true;
  }
  static bool Oval(void* t, const PixelRect& r) { return Self(t)->Record('?', r, 0, Self(t)->pen), true; }
  static bool Dot(void* t, int32_t x, int32_t y) { return Self(t)->Record('?', {x, y, x, y}, 0, 0), true; }
  static bool Text(void* t, int32_t x, int32_t y, const char* text, size_t length, double) {
    return Self(t)->Record('?', {x, y, x, y}, 0, 0, std::string(text, length)), true;
  }
  static bool Codes(void* t, PixelRect* r, const char* codes, bool) {
    return Self(t)->Record('?', *r, 0, 0, codes), true;
  }
  static bool Picture(void* t, const PixelRect& r, const void*, int, int32_t, int32_t) {
    return Self(t)->Record('?', r, 0, 0), true;
  }
  static bool Screen(void*) { return false; }
  static constexpr PaintSurfaceOps kOps = {Pen,     BorderPen, Brush, Fill,     Align, BkMode, TextColour, FillOp,
                                           Framed,  Line,      Shape, CellText, Label, Push,   Pop,        Segment,
                                           Oval,    Dot,       Text,  Codes,    Picture, Screen};

  int32_t width_;
  int32_t height_;
  PaintSurface surface_;
  std::vector<PixelRect> clips_;
};

#endif
