#ifndef TALVERO_VIEW_DRAW_CONTEXT_SURFACE_H
#define TALVERO_VIEW_DRAW_CONTEXT_SURFACE_H

// The painters' surface over a drawing context. Clipping narrows the
// device's clip region and puts the previous one back, leaving the
// context's selected objects alone. Windows only.

#include "view/draw_context/draw_context.h"
#include "view/painting/paint_surface.h"

class DrawContextSurface {
 public:
  explicit DrawContextSurface(DrawContext* context);
  // Puts back any clip region still pushed.
  ~DrawContextSurface();
  DrawContextSurface(const DrawContextSurface&) = delete;
  DrawContextSurface& operator=(const DrawContextSurface&) = delete;

  const PaintSurface& Surface() const { return surface_; }
  DrawContext* Context() const { return context_; }

  void PushClip(const PixelRect& rect);
  void PopClip();

 private:
  static constexpr int kMaxClipDepth = 8;
  DrawContext* context_;
  PaintSurface surface_;
  HRGN saved_[kMaxClipDepth] = {};
  int depth_ = 0;
};

#endif
