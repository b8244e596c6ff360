#ifndef TALVERO_CHARTS_BUILDERS_PLOT_BOX_H
#define TALVERO_CHARTS_BUILDERS_PLOT_BOX_H

// The rectangle a 2D builder draws in, in device pixels while the chart is
// drawn: from the XY wall's first corner (x0, y0) to its third (x1, y1),
// each moved one pixel inwards. Normally x grows from x0 to x1 and y shrinks
// from y0 to y1; either may run the other way, and every position follows.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

// One direction of the box: positions run from start over length towards
// growing pixels (+1) or shrinking ones (-1).
struct PlotAxis {
  float start;
  float length;
  float direction;

  // The position a distance from the start.
  float Along(float distance) const { return direction > 0 ? start + distance : start - distance; }
  // The position of a normalised value: 0 at the start, 1 at the end.
  float Position(float scaled) const { return Along(scaled * length); }
};

struct PlotBox {
  float x0;
  float y0;
  float x1;
  float y1;
  PlotAxis x;  // from x0 towards x1
  PlotAxis y;  // from y0 towards y1
};

// False when the chart has no XY wall.
bool LoadPlotBox(const ChartCanvas& canvas, PlotBox* box);

// The middle of category slot j of a length divided into slots.
inline float SlotCentre(const PlotAxis& axis, uint32_t j, float slot) {
  return axis.Along(static_cast<float>(j) * slot + slot / 2);
}

#endif
