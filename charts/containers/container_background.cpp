#include <cstring>

#include "charts/containers/container_fractal.h"
#include "charts/containers/container_painter.h"
#include "charts/frame/chart_colours.h"
#include "charts/images/image_cache_loading.h"
#include "view/draw_context/default_font.h"

namespace {

// Along the outermost pixels, clockwise from the top-left corner.
void DrawBorder(const ContainerHeader& h, const PaintSurface& surface, const PixelRect& r) {
  if (h.border.style == 0)
    return;
  surface.SelectBorderPen(h.border, 100);
  surface.Line(r.left, r.top, r.right, r.top);
  surface.Line(r.right, r.top, r.right, r.bottom);
  surface.Line(r.right, r.bottom, r.left, r.bottom);
  surface.Line(r.left, r.bottom, r.left, r.top);
}

// A window-coloured framed box with the image's name near its top-left
// corner (no name when the cache gave no node).
void DrawImagePlaceholder(const ContainerHeader& h, const PaintSurface& surface, const PixelRect& r,
                          const char* name) {
  surface.SelectBorderPen(h.border, 100);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  surface.SelectBrush(1, window, window);
  surface.FillRectFramed(r);
  if (!name)
    return;
  surface.SetTextColor(GetSchemeColor(kSchemeWindowText));
  surface.SetTextAlign(1, 4);
  FontRecord font;
  CopyDefaultFont(&font);
  surface.SelectFont(font, 0, 100);
  // The spacings stand for a small margin here, unscaled.
  surface.DrawText(r.left + h.verticalSpacing, r.top + h.horizontalSpacing, name, std::strlen(name), 0.0);
}

void DrawImage(const ContainerHeader& h, const PaintSurface& surface, const PixelRect& r, ImageCache* images,
               uint16_t zoomX, uint16_t zoomY) {
  char name[kContainerImageNameSize + 1];
  const size_t length = strnlen(h.imageName, kContainerImageNameSize);
  std::memcpy(name, h.imageName, length);
  name[length] = '\0';
  const ImageNode* node = images ? GetImage(*images, name) : nullptr;
  if (node && node->picture)
    surface.StretchDib(r, node->picture, h.imageView, zoomX, zoomY);
  else
    DrawImagePlaceholder(h, surface, r, node ? name : nullptr);
}

}  // namespace

bool DrawBackground(ContainerRecord& container, const PaintSurface& surface, const PixelRect& rect,
                    ImageCache* images, uint16_t zoomX, uint16_t zoomY) {
  const ContainerHeader& h = container.header;
  switch (h.backgroundKind) {
    case kBackgroundPattern:
      surface.SelectBorderPen(h.border, 100);
      surface.SelectFillRecord(h.fill);
      surface.FillRectFramed(rect);
      return true;
    case kBackgroundImage:
      DrawImage(h, surface, rect, images, zoomX, zoomY);
      break;
    case kBackgroundFractal:
      // A picture that cannot be rendered leaves the area for the next
      // paint to try again; the border stands either way.
      DrawFractalBackground(container, surface, rect, zoomX, zoomY);
      break;
    default:
      return true;
  }
  DrawBorder(h, surface, rect);
  return true;
}
