#include <cstring>

#include "core/base/scheme_colors.h"
#include "view/draw_context/draw_context.h"
#include "view/draw_context/fill_patterns.h"
#include "view/draw_context/screen_font_win32.h"

namespace {

bool SameFont(const FontRecord& a, const FontRecord& b) {
  return std::strcmp(a.faceName, b.faceName) == 0 &&
         std::memcmp(&a.family, &b.family, sizeof a - offsetof(FontRecord, family)) == 0;
}

}  // namespace

bool DrawContext::SelectFont(const FontRecord& font, int16_t angle, uint16_t zoom) {
  if (!device_)
    return false;
  if (fontCreated_ && SameFont(font, fontRecord_) && angle == fontAngle_ && zoom == fontZoom_)
    return true;

  if (fontSaved_) {
    SelectObject(device_, priorFont_);
    if (fontCreated_)
      DeleteObject(font_);
    fontCreated_ = 0;
    font_ = nullptr;
  } else {
    priorFont_ = GetCurrentObject(device_, OBJ_FONT);
    fontSaved_ = 1;
  }
  font_ = CreateScreenFont(font, angle, zoom);
  if (font_) {
    SelectObject(device_, font_);
    fontCreated_ = 1;
  }
  fontRecord_ = font;
  fontAngle_ = angle;
  fontZoom_ = zoom;
  return fontCreated_ != 0;
}

bool DrawContext::SelectPen(uint8_t style, COLORREF colour, uint16_t zoom) {
  if (!device_)
    return false;
  if (penSaved_) {
    SelectObject(device_, priorPen_);
    if (penCreated_)
      DeleteObject(pen_);
    penCreated_ = 0;
    pen_ = nullptr;
  } else {
    priorPen_ = GetCurrentObject(device_, OBJ_PEN);
    penSaved_ = 1;
  }
  static const int kDashStyles[6] = {PS_NULL, PS_SOLID, PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT};
  if (style <= 5) {
    pen_ = CreatePen(kDashStyles[style], 0, colour);
  } else if (style <= 9) {
    const int times = style == 6 ? 1 : (style == 7 ? 2 : 3);
    pen_ = CreatePen(PS_SOLID, times * zoom / 100, colour);
  } else {
    return false;
  }
  if (!pen_)
    return false;
  SelectObject(device_, pen_);
  penCreated_ = 1;
  return true;
}

bool DrawContext::SelectBorderPen(const BorderLine& line, uint16_t zoom) {
  return SelectPen(line.style, line.colorSet ? line.color : GetSchemeColor(kSchemeWindowText), zoom);
}

HBRUSH DrawContext::CreatePatternBrush(uint8_t pattern, COLORREF colour1, COLORREF colour2) {
  const uint8_t* rows = PatternRows(pattern);
  const int32_t scale = PatternScale(printing_, preview_, windows9x_, GetDeviceCaps(device_, LOGPIXELSX),
                                     GetDeviceCaps(device_, LOGPIXELSY), screenPixelsX_, screenPixelsY_);
  const int32_t side = 8 * scale;
  // A print preview draws on the screen: its bitmaps must suit the screen.
  HDC screen = nullptr;
  HDC model = device_;
  if (preview_ && !windows9x_) {
    screen = GetDC(nullptr);
    model = screen;
  }
  HBRUSH brush = nullptr;
  HDC painter = CreateCompatibleDC(model);
  HBITMAP bitmap = CreateCompatibleBitmap(model, side, side);
  if (painter && bitmap) {
    HGDIOBJ prior = SelectObject(painter, bitmap);
    HBRUSH first = CreateSolidBrush(colour1);
    HBRUSH second = CreateSolidBrush(colour2);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const RECT block = {x * scale, y * scale, (x + 1) * scale, (y + 1) * scale};
        ::FillRect(painter, &block, PatternPixelSet(rows, x, y) ? second : first);
      }
    }
    DeleteObject(first);
    DeleteObject(second);
    SelectObject(painter, prior);
    brush = ::CreatePatternBrush(bitmap);
  }
  if (bitmap)
    DeleteObject(bitmap);
  if (painter)
    DeleteDC(painter);
  if (screen)
    ReleaseDC(nullptr, screen);
  return brush;
}

bool DrawContext::SelectBrush(uint8_t pattern, COLORREF colour1, COLORREF colour2) {
  if (!device_)
    return false;
  if (brushSaved_) {
    SelectObject(device_, priorBrush_);
    if (brushCreated_)
      DeleteObject(brush_);
    brushCreated_ = 0;
    brush_ = nullptr;
  } else {
    priorBrush_ = GetCurrentObject(device_, OBJ_BRUSH);
    brushSaved_ = 1;
  }
  if (pattern >= kPatternCount)
    return false;
  if (pattern == 0) {
    LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
    brush_ = CreateBrushIndirect(&hollow);
  } else if (PatternRows(pattern)) {
    brush_ = CreatePatternBrush(pattern, colour1, colour2);
    if (!brush_)
      brush_ = CreateSolidBrush(colour1);
  } else {
    brush_ = CreateSolidBrush(colour1);
  }
  if (!brush_)
    return false;
  SelectObject(device_, brush_);
  brushCreated_ = 1;
  brushPattern_ = pattern;
  brushColour1_ = colour1;
  brushColour2_ = colour2;
  return true;
}

bool DrawContext::SelectFillRecord(const FillRecord& fill) {
  const COLORREF window = GetSchemeColor(kSchemeWindow);
  return SelectBrush(fill.pattern, fill.patternColorSet ? fill.patternColor : window,
                     fill.backgroundColorSet ? fill.backgroundColor : window);
}

bool DrawContext::CreateBitmap(const DrawContext& other, int32_t width, int32_t height) {
  if (!device_ || !other.device_)
    return false;
  if (bitmapSaved_) {
    SelectObject(device_, priorBitmap_);
    if (bitmapCreated_)
      DeleteObject(bitmap_);
    bitmapCreated_ = 0;
    bitmap_ = nullptr;
  } else {
    priorBitmap_ = GetCurrentObject(device_, OBJ_BITMAP);
    bitmapSaved_ = 1;
  }
  bitmap_ = CreateCompatibleBitmap(other.device_, width, height);
  if (!bitmap_)
    return false;
  SelectObject(device_, bitmap_);
  bitmapCreated_ = 1;
  return true;
}

bool DrawContext::GetBits(BITMAPINFOHEADER* dib, uint32_t scanLines) {
  if (!device_ || !bitmapCreated_)
    return false;
  // A bitmap may not be read while it is selected.
  SelectObject(device_, priorBitmap_);
  const int copied = GetDIBits(device_, bitmap_, 0, scanLines, reinterpret_cast<uint8_t*>(dib) + sizeof *dib,
                               reinterpret_cast<BITMAPINFO*>(dib), DIB_RGB_COLORS);
  SelectObject(device_, bitmap_);
  return copied > 0;
}
