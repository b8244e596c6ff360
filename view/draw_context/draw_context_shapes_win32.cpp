#include "view/draw_context/draw_context.h"
#include "view/draw_context/dib_layout.h"
#include "view/draw_context/fill_patterns.h"

namespace {

TRIVERTEX Vertex(LONG x, LONG y, COLORREF colour) {
  TRIVERTEX v = {};
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
  return v;
}

bool GradientBand(HDC device, LONG left, LONG top, LONG right, LONG bottom, COLORREF from, COLORREF to,
                  bool vertical) {
  TRIVERTEX vertices[2] = {Vertex(left, top, from), Vertex(right, bottom, to)};
  GRADIENT_RECT rect = {0, 1};
  return GradientFill(device, vertices, 2, &rect, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H) != 0;
}

}  // namespace

bool DrawContext::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return device_ && MoveToEx(device_, x1, y1, nullptr) && LineTo(device_, x2, y2);
}

bool DrawContext::Polyline(const POINT* points, int count) { return device_ && ::Polyline(device_, points, count); }

bool DrawContext::Polygon(const POINT* points, int count) { return device_ && ::Polygon(device_, points, count); }

bool DrawContext::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return device_ && ::Ellipse(device_, left, top, right + 1, bottom + 1);
}

bool DrawContext::SetPixel(int32_t x, int32_t y) {
  return device_ && ::SetPixel(device_, x, y, GetTextColor(device_)) != CLR_INVALID;
}

bool DrawContext::Gradient(const RECT& r, bool framed) {
  // Framed fills stop at the frame; open ones reach past the inclusive edge.
  const LONG right = framed ? r.right : r.right + 1;
  const LONG bottom = framed ? r.bottom : r.bottom + 1;
  const COLORREF c1 = brushColour1_;
  const COLORREF c2 = brushColour2_;
  switch (brushPattern_) {
    case 19:
      return GradientBand(device_, r.left, r.top, right, bottom, c1, c2, true);
    case 20:
      return GradientBand(device_, r.left, r.top, right, bottom, c1, c2, false);
    case 21: {
      const LONG middle = (r.top + r.bottom) / 2;
      return GradientBand(device_, r.left, r.top, right, middle, c1, c2, true) &&
             GradientBand(device_, r.left, middle, right, bottom, c2, c1, true);
    }
    default: {
      const LONG middle = (r.left + r.right) / 2;
      return GradientBand(device_, r.left, r.top, middle, bottom, c1, c2, false) &&
             GradientBand(device_, middle, r.top, right, bottom, c2, c1, false);
    }
  }
}

bool DrawContext::FillRect(const RECT& r, DWORD rasterOperation) {
  if (!device_)
    return false;
  const bool gradient = brushCreated_ && brushPattern_ >= kFirstGradientPattern &&
                        brushPattern_ <= kLastGradientPattern && !(printing_ && windows9x_);
  if (gradient)
    return Gradient(r, false);
  return PatBlt(device_, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1,
                rasterOperation ? rasterOperation : PATCOPY) != 0;
}

bool DrawContext::FillRectFramed(const RECT& r) {
  if (!device_)
    return false;
  const bool gradient = brushCreated_ && brushPattern_ >= kFirstGradientPattern &&
                        brushPattern_ <= kLastGradientPattern && !(printing_ && windows9x_);
  const bool filled =
      gradient ? Gradient(r, true) : PatBlt(device_, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, PATCOPY) != 0;
  const POINT frame[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
  return ::Polyline(device_, frame, 5) && filled;
}

bool DrawContext::StretchDib(int32_t left, int32_t top, int32_t right, int32_t bottom, const BITMAPINFOHEADER* dib,
                             int mode, int32_t xPercent, int32_t yPercent) {
  if (!device_ || !dib)
    return false;
  const uint32_t headerSize = (dib->biSize == 108 || dib->biSize == 124) ? dib->biSize : 40;
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(dib) + headerSize +
                        DibColourTableBytes(dib->biBitCount, dib->biCompression, dib->biClrUsed, headerSize);
  const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(dib);
  const int32_t width = dib->biWidth;
  const int32_t height = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;

  HPALETTE halftone = nullptr;
  HPALETTE priorPalette = nullptr;
  const int deviceBits = GetDeviceCaps(device_, BITSPIXEL) * GetDeviceCaps(device_, PLANES);
  if (deviceBits < dib->biBitCount && dib->biBitCount >= 2) {
    halftone = CreateHalftonePalette(device_);
    if (halftone) {
      priorPalette = SelectPalette(device_, halftone, FALSE);
      RealizePalette(device_);
    }
  }
  const int priorMode =
      SetStretchBltMode(device_, dib->biBitCount == 1 ? BLACKONWHITE : (halftone ? HALFTONE : COLORONCOLOR));
  const int saved = SaveDC(device_);
  IntersectClipRect(device_, left, top, right + 1, bottom + 1);

  bool drawn = true;
  auto copy = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
    if (StretchDIBits(device_, x, y, w, h, 0, 0, width, height, bits, info, DIB_RGB_COLORS, SRCCOPY) == 0)
      drawn = false;
  };
  if (mode == 1) {
    copy(left, top, right - left + 1, bottom - top + 1);
  } else if (mode == 2) {
    for (int32_t y = top; width > 0 && height > 0 && y <= bottom; y += height)
      for (int32_t x = left; x <= right; x += width) copy(x, y, width, height);
  } else {
    copy(left, top, width * xPercent / 100, height * yPercent / 100);
  }

  RestoreDC(device_, saved);
  SetStretchBltMode(device_, priorMode);
  if (halftone) {
    SelectPalette(device_, priorPalette, FALSE);
    DeleteObject(halftone);
  }
  return drawn;
}

bool DrawContext::DrawBackground(int32_t left, int32_t top, int32_t right, int32_t bottom, BackgroundImage* holder,
                                 const FractalParameters& parameters, FractalRenderer render) {
  if (!device_ || !holder)
    return false;
  if (holder->dib)
    return StretchDib(left, top, right, bottom, static_cast<const BITMAPINFOHEADER*>(holder->dib), 1, 100, 100);
  if (!render || bottom < top || right < left)
    return false;
  const uint32_t lastRow = static_cast<uint32_t>(bottom - top);
  const int32_t width = right - left + 1;
  for (uint32_t first = 0; first <= lastRow;) {
    const BackgroundBand band = BandFrom(first, lastRow);
    if (!render(holder, band.first, band.last, width, static_cast<int32_t>(lastRow) + 1, parameters) || !holder->dib)
      return false;
    StretchDib(left, top, right, top + static_cast<int32_t>(band.last),
               static_cast<const BITMAPINFOHEADER*>(holder->dib), 0, 100, 100);
    first = band.last + 1;
  }
  return true;
}
