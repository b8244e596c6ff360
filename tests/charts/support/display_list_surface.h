#ifndef TALVERO_TESTS_CHARTS_DISPLAY_LIST_SURFACE_H
#define TALVERO_TESTS_CHARTS_DISPLAY_LIST_SURFACE_H

// A paint surface that turns what a painter draws into a display list, one
// line of text per drawing operation (fonts as they change, pens, brushes,
// fills, lines, polygons, texts with their alignment, escapement and colour,
// bitmaps, clips), so that a whole chart can be compared with a committed
// golden list. Texts are measured with the fixed Arial metrics of the
// portable measurer (an em of 13 pixels at 10 points and zoom 100), and
// header and footer codes are laid out as the drawing context lays them out,
// without file, sheet or date sources.

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/styles/style_record.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/draw_context/text_placement.h"
#include "view/painting/paint_surface.h"
#include "view/printing/header_footer_layout.h"

class DisplayListSurface {
 public:
  explicit DisplayListSurface(bool printing = false) : printing_(printing) {
    surface_ = {&kOps, this, {&SelectFont, &MeasureLine, &MeasureScreenLine, this}};
  }
  DisplayListSurface(const DisplayListSurface&) = delete;
  DisplayListSurface& operator=(const DisplayListSurface&) = delete;

  const PaintSurface& Surface() const { return surface_; }
  void SetPrinting(bool printing) { printing_ = printing; }

  // Forgets what was drawn (the selected font stays).
  void Clear() { lines_.clear(); }
  const std::vector<std::string>& Lines() const { return lines_; }
  std::string Text() const {
    std::string all;
    for (const std::string& line : lines_) all += line + "\n";
    return all;
  }
  // The lines that begin with the word.
  std::vector<std::string> Of(const char* word) const {
    std::vector<std::string> out;
    const size_t n = std::strlen(word);
    for (const std::string& line : lines_)
      if (line.compare(0, n, word) == 0 && (line.size() == n || line[n] == ' '))
        out.push_back(line);
    return out;
  }

 private:
  static DisplayListSurface* Self(void* t) { return static_cast<DisplayListSurface*>(t); }

  void Add(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    lines_.push_back(line);
  }
  static std::string Colour(uint32_t c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return text;
  }
  static std::string Quoted(const char* text, size_t length) {
    std::string out = "\"";
    for (size_t i = 0; i < length; ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c < 32 || c > 126) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", c);
        out += escape;
      } else {
        out += static_cast<char>(c);
      }
    }
    return out + "\"";
  }
  static std::string Points(const PixelPoint* p, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += " " + std::to_string(p[i].x) + "," + std::to_string(p[i].y);
    return out;
  }
  static std::string Rect(const PixelRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  }

  // A font is recorded when it changes, as the device creates one only then.
  static bool SelectFont(void* t, const FontRecord& font, int16_t angle, uint16_t zoom) {
    DisplayListSurface* self = Self(t);
    if (!self->fontSelected_ || std::memcmp(&self->font_, &font, sizeof font) != 0 || self->angle_ != angle ||
        self->zoom_ != zoom) {
      const size_t face = strnlen(font.faceName, sizeof font.faceName);
      self->Add("font %s %dpt weight %d italic %d escapement %d zoom %d",
                face ? Quoted(font.faceName, face).c_str() : "\"Arial\"", font.size ? font.size : 10, font.weight,
                font.italic, angle, zoom);
      self->font_ = font;
      self->angle_ = angle;
      self->zoom_ = zoom;
      self->fontSelected_ = true;
    }
    return PortableTextMeasurer::SelectFont(&self->portable_, font, angle, zoom);
  }
  static bool MeasureLine(void* t, const char* text, size_t length, int32_t* width, int32_t* height) {
    return PortableTextMeasurer::MeasureLine(&Self(t)->portable_, text, length, width, height);
  }
  static bool MeasureScreenLine(void* t, const char* text, size_t length, int32_t* width, int32_t* height) {
    return PortableTextMeasurer::MeasureScreenLine(&Self(t)->portable_, text, length, width, height);
  }

  static bool Pen(void* t, uint8_t style, uint32_t colour, uint16_t zoom) {
    Self(t)->Add("pen style %d %s zoom %d", style, Colour(colour).c_str(), zoom);
    return style < 10;
  }
  static bool BorderPen(void* t, const BorderLine& line, uint16_t zoom) {
    Self(t)->Add("pen style %d %s zoom %d", line.style, line.colorSet ? Colour(line.color).c_str() : "window-text",
                 zoom);
    return line.style < 10;
  }
  static bool Brush(void* t, uint8_t pattern, uint32_t c1, uint32_t c2) {
    Self(t)->Add("brush pattern %d %s %s", pattern, Colour(c1).c_str(), Colour(c2).c_str());
    return pattern < 23;
  }
  static bool Fill(void* t, const FillRecord& f) {
    Self(t)->Add("brush pattern %d %s %s", f.pattern, f.patternColorSet ? Colour(f.patternColor).c_str() : "window",
                 f.backgroundColorSet ? Colour(f.backgroundColor).c_str() : "window");
    return f.pattern < 23;
  }
  static bool Align(void* t, int horizontal, int vertical) {
    Self(t)->horizontal_ = horizontal;
    Self(t)->vertical_ = vertical;
    return true;
  }
  static bool BkMode(void*, int) { return true; }
  static void TextColour(void* t, uint32_t colour) { Self(t)->textColour_ = colour; }
  static bool FillOp(void* t, const PixelRect& r, uint32_t rop) {
    Self(t)->Add("fill %s rop %08X", Rect(r).c_str(), rop);
    return true;
  }
  static bool Framed(void* t, const PixelRect& r) {
    Self(t)->Add("framed-fill %s", Rect(r).c_str());
    return true;
  }
  static bool Polyline(void* t, const PixelPoint* p, int n) {
    Self(t)->Add("polyline%s", Points(p, n).c_str());
    return true;
  }
  static bool Polygon(void* t, const PixelPoint* p, int n) {
    Self(t)->Add("polygon%s", Points(p, n).c_str());
    return true;
  }
  static bool CellText(void* t, int32_t x, int32_t y, const NumberFormat& tokens, int32_t width) {
    std::string text;
    for (int i = 0; i < tokens.tokenCount; ++i) text += static_cast<char>(tokens.tokens[i].character);
    Self(t)->Add("cell-text %d,%d width %d %s", x, y, width, Quoted(text.data(), text.size()).c_str());
    return true;
  }
  static bool FormattedText(void* t, int32_t x, int32_t y, const char* text, const char* code) {
    Self(t)->Add("formatted-text %d,%d %s code %s", x, y, Quoted(text, std::strlen(text)).c_str(),
                 Quoted(code, std::strlen(code)).c_str());
    return true;
  }
  static void Push(void* t, const PixelRect& r) { Self(t)->Add("clip %s", Rect(r).c_str()); }
  static void Pop(void* t) { Self(t)->Add("unclip"); }
  static bool Line(void* t, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Self(t)->Add("line %d,%d %d,%d", x1, y1, x2, y2);
    return true;
  }
  static bool Ellipse(void* t, const PixelRect& r) {
    Self(t)->Add("ellipse %s", Rect(r).c_str());
    return true;
  }
  static bool Pixel(void* t, int32_t x, int32_t y) {
    Self(t)->Add("pixel %d,%d %s", x, y, Colour(Self(t)->textColour_).c_str());
    return true;
  }
  static bool Text(void* t, int32_t x, int32_t y, const char* text, size_t length, double angle) {
    DisplayListSurface* self = Self(t);
    const long degrees = std::lround(angle * 180 / 3.14159265358979323846);
    self->Add("text %d,%d align %d/%d escapement %d angle %ld %s %s", x, y, self->horizontal_, self->vertical_,
              self->angle_, degrees, Colour(self->textColour_).c_str(), Quoted(text, length).c_str());
    return true;
  }
  static bool HeaderRun(void* t, int horizontal, int32_t x, int32_t y, const char* text, size_t length) {
    return Align(t, horizontal, kAlignTop) && Text(t, x, y, text, length, 0);
  }
  static bool HeaderFooter(void* t, PixelRect* rect, const char* codes, bool measureOnly) {
    const HeaderRunDrawer drawer = {&HeaderRun, t};
    const HeaderFooterSources none = {};
    int32_t height = 0;
    const bool ok = PlaceHeaderFooter(Self(t)->surface_.measurer, measureOnly ? nullptr : &drawer, rect->left,
                                      rect->top, rect->right, codes, none, &height);
    rect->bottom = rect->top + height;
    return ok;
  }
  // The picture's size, depth and an FNV-1a hash of its header and rows.
  static bool Bitmap(void* t, const PixelRect& r, const void* dib, int mode, int32_t xPercent, int32_t yPercent) {
    const uint8_t* bytes = static_cast<const uint8_t*>(dib);
    uint32_t headerSize;
    int32_t width;
    int32_t height;
    uint16_t bits;
    uint32_t colours;
    std::memcpy(&headerSize, bytes, 4);
    std::memcpy(&width, bytes + 4, 4);
    std::memcpy(&height, bytes + 8, 4);
    std::memcpy(&bits, bytes + 14, 2);
    std::memcpy(&colours, bytes + 32, 4);
    const size_t table = 4 * static_cast<size_t>(bits <= 8 && colours == 0 ? 1u << bits : colours);
    const size_t rows = static_cast<size_t>(std::abs(height)) * ((static_cast<size_t>(width) * bits + 31) / 32 * 4);
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < headerSize + table + rows; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    Self(t)->Add("bitmap %s mode %d zoom %d/%d %dx%d %d bits hash %08X", Rect(r).c_str(), mode, xPercent, yPercent,
                 width, height, bits, hash);
    return true;
  }
  static bool Printing(void* t) { return Self(t)->printing_; }

  static constexpr PaintSurfaceOps kOps = {
      Pen,      BorderPen, Brush, Fill,  Align,   BkMode, TextColour, FillOp,       Framed, Polyline, Polygon,
      CellText, FormattedText, Push, Pop, Line, Ellipse, Pixel,     Text,   HeaderFooter, Bitmap,   Printing};

  PaintSurface surface_;
  PortableTextMeasurer portable_;
  std::vector<std::string> lines_;
  bool printing_;
  bool fontSelected_ = false;
  FontRecord font_ = {};
  int16_t angle_ = 0;
  uint16_t zoom_ = 0;
  int horizontal_ = kAlignLeft;
  int vertical_ = kAlignTop;
  uint32_t textColour_ = 0;
};

#endif
