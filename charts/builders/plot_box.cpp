#include "charts/builders/plot_box.h"

#include <cmath>

namespace {

PlotAxis AxisBetween(float from, float to) {
  return {from, std::fabs(to - from), from <= to ? 1.0f : -1.0f};
}

// A corner moved one pixel towards the opposite one.
float Inwards(float value, float opposite) {
  return value < opposite ? value + 1 : value > opposite ? value - 1 : value;
}

}  // namespace

bool LoadPlotBox(const ChartCanvas& canvas, PlotBox* box) {
  const PlaneRecord& wall = canvas.layout.planes[kPlaneXY];
  if (!wall.present)
    return false;
  const VertexRecord* first = VertexAt(canvas.chart, wall.firstVertex);
  const VertexRecord* third = VertexAt(canvas.chart, wall.firstVertex + 2);
  if (!first || !third)
    return false;
  box->x0 = Inwards(first->viewX, third->viewX);
  box->y0 = Inwards(first->viewY, third->viewY);
  box->x1 = Inwards(third->viewX, first->viewX);
  box->y1 = Inwards(third->viewY, first->viewY);
  box->x = AxisBetween(box->x0, box->x1);
  box->y = AxisBetween(box->y0, box->y1);
  return true;
}
