#ifndef TALVERO_CHARTS_FRAME_DRAW_AXIS_LABELS_H
#define TALVERO_CHARTS_FRAME_DRAW_AXIS_LABELS_H

// The texts of an axis while the chart is drawn: the value labels at the
// axis ends and major ticks, the category labels between them, and the
// title beside the labels. Each is turned with the axis (or across it for
// vertical text) and set one line unit (half of one where it runs along the
// text) outside the axis.

#include "charts/frame/chart_canvas.h"

// The direction from vertex a to vertex b in device pixels, counter-clockwise
// with y upward, in [0, 2 pi).
double AxisAngle(const VertexRecord& a, const VertexRecord& b);

// The whole axis: its line and ticks, then its labels (those of a category
// series between the ticks, others at them), then its title.
void DrawAxis(ChartCanvas& canvas, const AxisRecord& axis);

// Labels 0 to Periods of a value axis, with axis flag 1 or 2.
void DrawAxisLabels(ChartCanvas& canvas, const AxisRecord& axis);
// The labels of a category series, each centred between its neighbouring
// ticks, with axis flag 1 or 2; the first empty label ends them.
void DrawCategoryLabels(ChartCanvas& canvas, const AxisRecord& axis);
// The series' axis title at the middle of the axis beyond its labels, with
// axis flag 4 or 8.
void DrawAxisTitle(ChartCanvas& canvas, const AxisRecord& axis);

#endif
