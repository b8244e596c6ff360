#include "charts/frame/draw_frame.h"

#include "charts/frame/axis_labels.h"
#include "charts/frame/chart_colours.h"
#include "charts/frame/shade_color.h"

namespace {

// The closed outline of the four corners from the first vertex; false when
// a corner is not a number.
bool CornerOutline(const ChartRecord& chart, uint32_t first, PixelPoint (&points)[5]) {
  for (uint32_t k = 0; k < 4; ++k) {
    const VertexRecord* v = VertexAt(chart, first + k);
    if (!v || !DevicePoint(*v, &points[k]))
      return false;
  }
  points[4] = points[0];
  return true;
}

PixelRect Spanned(const PixelPoint& a, const PixelPoint& b) {
  return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x < b.x ? b.x : a.x, a.y < b.y ? b.y : a.y};
}

// The pairs of `count` segments from vertex `first`, in the line's pen.
uint32_t DrawPairs(ChartCanvas& canvas, uint32_t first, uint32_t count) {
  for (uint32_t k = 0; k < count; ++k) DrawSegment(canvas, first + 2 * k, first + 2 * k + 1);
  return first + 2 * count;
}

}  // namespace

void DrawSegment(ChartCanvas& canvas, uint32_t from, uint32_t to) {
  const VertexRecord* a = VertexAt(canvas.chart, from);
  const VertexRecord* b = VertexAt(canvas.chart, to);
  PixelPoint p;
  PixelPoint q;
  if (a && b && DevicePoint(*a, &p) && DevicePoint(*b, &q))
    canvas.surface.Line(p.x, p.y, q.x, q.y);
}

void DrawPlane(ChartCanvas& canvas, bool shade, const PlaneRecord& plane, uint8_t wall, bool outline) {
  if (!plane.present || !plane.visible)
    return;
  const ChartRecord& chart = canvas.chart;
  const PaintSurface& surface = canvas.surface;
  const float* light = canvas.layout.light;
  auto shaded = [&](uint32_t colour) { return shade ? ShadeColor(light, plane.normal, colour) : colour; };

  PixelPoint corners[5];
  const bool cornersDrawable = CornerOutline(chart, plane.firstVertex, corners);
  const FillRecord& fill = chart.options.wallFill;
  surface.SelectPen(chart.options.wallBorder.style, shaded(LineColour(chart.options.wallBorder)), 100);
  if (cornersDrawable) {
    if (!outline && fill.pattern != 0) {
      surface.SelectBrush(fill.pattern, shaded(FillColour1(fill)), shaded(FillColour2(fill)));
      if (shade)
        surface.Polygon(corners, 5);
      else
        surface.FillRectFramed(Spanned(corners[0], corners[2]));
    } else {
      surface.Polyline(corners, 5);
    }
  }
  DrawPairs(canvas, plane.firstVertex + 4, plane.extraLines);

  for (int g = 0; g < canvas.layout.gridCount; ++g) {
    const GridRecord& grid = canvas.layout.grids[g];
    if (grid.wall != wall)
      continue;
    const SeriesRecord& s = chart.series[grid.series];
    uint32_t next = grid.firstVertex;
    surface.SelectPen(s.majorGrid.style, shaded(LineColour(s.majorGrid)), 100);
    next = DrawPairs(canvas, next, grid.majorLines);
    surface.SelectPen(s.minorGrid.style, shaded(LineColour(s.minorGrid)), 100);
    next = DrawPairs(canvas, next, grid.minorLines);
    for (int k = 0; k < kSeriesUserGridLines; ++k) {
      if (!(grid.userLines & (1u << k)))
        continue;
      surface.SelectPen(s.userGridLines[k].style, shaded(LineColour(s.userGridLines[k])), 100);
      next = DrawPairs(canvas, next, 1);
    }
  }
}

void DrawAxisLine(ChartCanvas& canvas, const AxisRecord& axis) {
  const SeriesRecord& s = canvas.chart.series[axis.series];
  canvas.surface.SelectPen(s.axisLine.style, LineColour(s.axisLine), 100);
  PixelPoint line[4];
  bool drawable = true;
  for (uint32_t k = 0; k < 4 && drawable; ++k) {
    const VertexRecord* v = VertexAt(canvas.chart, axis.firstVertex + k);
    drawable = v && DevicePoint(*v, &line[k]);
  }
  if (drawable)
    canvas.surface.Polyline(line, 4);
  const uint32_t majorFirst = axis.firstVertex + 4;
  const uint32_t minorFirst = majorFirst + 2 * axis.majorTicks;
  if (s.axisFlags & kAxisMajorTicks)
    DrawPairs(canvas, majorFirst, axis.majorTicks);
  if (s.axisFlags & kAxisMinorTicks)
    DrawPairs(canvas, minorFirst, axis.minorTicks);
}
