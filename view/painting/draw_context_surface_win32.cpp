#include "view/painting/draw_context_surface.h"

namespace {

DrawContext* Dc(void* target) { return static_cast<DrawContextSurface*>(target)->Context(); }
RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool SelectPenOp(void* t, uint8_t style, uint32_t colour, uint16_t zoom) {
  return Dc(t)->SelectPen(style, colour, zoom);
}
bool SelectBorderPenOp(void* t, const BorderLine& line, uint16_t zoom) { return Dc(t)->SelectBorderPen(line, zoom); }
bool SelectBrushOp(void* t, uint8_t pattern, uint32_t c1, uint32_t c2) { return Dc(t)->SelectBrush(pattern, c1, c2); }
bool SelectFillRecordOp(void* t, const FillRecord& fill) { return Dc(t)->SelectFillRecord(fill); }
bool SetTextAlignOp(void* t, int horizontal, int vertical) { return Dc(t)->SetTextAlign(horizontal, vertical); }
bool SetBkModeOp(void* t, int mode) { return Dc(t)->SetBkMode(mode); }
void SetTextColorOp(void* t, uint32_t colour) { Dc(t)->SetTextColor(colour); }
bool FillRectOp(void* t, const PixelRect& rect, uint32_t rop) { return Dc(t)->FillRect(ToRect(rect), rop); }
bool FillRectFramedOp(void* t, const PixelRect& rect) { return Dc(t)->FillRectFramed(ToRect(rect)); }
bool PolylineOp(void* t, const PixelPoint* points, int count) {
  static_assert(sizeof(PixelPoint) == sizeof(POINT), "points are passed as they are");
  return Dc(t)->Polyline(reinterpret_cast<const POINT*>(points), count);
}
bool PolygonOp(void* t, const PixelPoint* points, int count) {
  return Dc(t)->Polygon(reinterpret_cast<const POINT*>(points), count);
}
bool DrawCellTextOp(void* t, int32_t x, int32_t y, const NumberFormat& tokens, int32_t width) {
  return Dc(t)->DrawCellText(x, y, tokens, width, 0);
}
bool DrawFormattedTextOp(void* t, int32_t x, int32_t y, const char* text, const char* code) {
  return Dc(t)->DrawFormattedText(x, y, text, code, 0, 0);
}
void PushClipOp(void* t, const PixelRect& rect) { static_cast<DrawContextSurface*>(t)->PushClip(rect); }
void PopClipOp(void* t) { static_cast<DrawContextSurface*>(t)->PopClip(); }
bool LineOp(void* t, int32_t x1, int32_t y1, int32_t x2, int32_t y2) { return Dc(t)->Line(x1, y1, x2, y2); }
bool EllipseOp(void* t, const PixelRect& r) { return Dc(t)->Ellipse(r.left, r.top, r.right, r.bottom); }
bool SetPixelOp(void* t, int32_t x, int32_t y) { return Dc(t)->SetPixel(x, y); }
bool DrawTextOp(void* t, int32_t x, int32_t y, const char* text, size_t length, double angle) {
  return Dc(t)->DrawText(x, y, text, length, angle);
}
bool DrawHeaderFooterOp(void* t, PixelRect* rect, const char* codes, bool measureOnly) {
  RECT r = ToRect(*rect);
  const bool ok = Dc(t)->DrawHeaderFooter(&r, codes, measureOnly, nullptr, nullptr, nullptr);
  rect->bottom = r.bottom;
  return ok;
}
bool StretchDibOp(void* t, const PixelRect& r, const void* dib, int mode, int32_t xPercent, int32_t yPercent) {
  return Dc(t)->StretchDib(r.left, r.top, r.right, r.bottom, static_cast<const BITMAPINFOHEADER*>(dib), mode,
                           xPercent, yPercent);
}
bool IsPrintingOp(void* t) { return Dc(t)->IsPrinting(); }

const PaintSurfaceOps kDrawContextOps = {
    SelectPenOp,    SelectBorderPenOp, SelectBrushOp,  SelectFillRecordOp, SetTextAlignOp,
    SetBkModeOp,    SetTextColorOp,    FillRectOp,     FillRectFramedOp,   PolylineOp,
    PolygonOp,      DrawCellTextOp,    DrawFormattedTextOp, PushClipOp,    PopClipOp,
    LineOp,         EllipseOp,         SetPixelOp,     DrawTextOp,         DrawHeaderFooterOp,
    StretchDibOp,   IsPrintingOp,
};

}  // namespace

DrawContextSurface::DrawContextSurface(DrawContext* context) : context_(context) {
  surface_.ops = &kDrawContextOps;
  surface_.target = this;
  surface_.measurer = context->Measurer();
}

DrawContextSurface::~DrawContextSurface() {
  while (depth_ > 0) PopClip();
}

void DrawContextSurface::PushClip(const PixelRect& rect) {
  HDC device = context_->Device();
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  if (saved && GetClipRgn(device, saved) != 1) {
    DeleteObject(saved);
    saved = nullptr;  // no clip region: popping removes the clip again
  }
  if (depth_ < kMaxClipDepth)
    saved_[depth_] = saved;
  else if (saved)
    DeleteObject(saved);
  ++depth_;
  IntersectClipRect(device, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
}

void DrawContextSurface::PopClip() {
  if (depth_ == 0)
    return;
  --depth_;
  if (depth_ >= kMaxClipDepth)
    return;
  SelectClipRgn(context_->Device(), saved_[depth_]);
  if (saved_[depth_])
    DeleteObject(saved_[depth_]);
  saved_[depth_] = nullptr;
}
