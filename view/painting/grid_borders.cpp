#include "view/painting/grid_painter.h"

void GridPainter::DrawBorders(const PaintSurface& surface, const BorderQueue& queue, uint16_t zoom) {
  const uint32_t count = queue.Count();
  for (uint32_t i = 0; i < count; ++i) {
    BorderEntry e;
    if (!queue.At(i, &e))
      break;
    surface.SelectBorderPen(e.line, zoom);
    // Sides in a fixed order: left, top, right, bottom, then the diagonals.
    const struct {
      uint32_t bit;
      PixelPoint from;
      PixelPoint to;
    } sides[] = {
        {4, {e.left, e.top}, {e.left, e.bottom}},   {1, {e.left, e.top}, {e.right, e.top}},
        {8, {e.right, e.top}, {e.right, e.bottom}}, {2, {e.left, e.bottom}, {e.right, e.bottom}},
        {16, {e.left, e.top}, {e.right, e.bottom}}, {32, {e.right, e.top}, {e.left, e.bottom}},
    };
    for (const auto& side : sides) {
      if (e.sides & side.bit) {
        const PixelPoint points[2] = {side.from, side.to};
        surface.Polyline(points, 2);
      }
    }
  }
}

void GridPainter::DrawCellMarker(const PaintSurface& surface, const PixelRect& box, uint32_t colour, int corner,
                                 uint16_t zoomX, uint16_t zoomY) {
  if (hideCellMarkers)
    return;
  const int32_t sx = zoomX * 8 / 100;
  const int32_t sy = zoomY * 8 / 100;
  PixelPoint points[4];
  switch (corner) {
    case kCornerTopLeft:
      points[0] = {box.left, box.top}, points[1] = {box.left + sx, box.top}, points[2] = {box.left, box.top + sy};
      break;
    case kCornerTopRight:
      points[0] = {box.right, box.top}, points[1] = {box.right, box.top + sy},
      points[2] = {box.right - sx, box.top};
      break;
    case kCornerBottomRight:
      points[0] = {box.right, box.bottom}, points[1] = {box.right - sx, box.bottom},
      points[2] = {box.right, box.bottom - sy};
      break;
    default:
      points[0] = {box.left, box.bottom}, points[1] = {box.left, box.bottom - sy},
      points[2] = {box.left + sx, box.bottom};
      break;
  }
  points[3] = points[0];
  surface.SelectBrush(1, colour, colour);
  surface.SelectPen(1, colour, 100);
  surface.Polygon(points, 4);
}
