#ifndef TALVERO_CHARTS_FRAME_AXIS_RECORDS_H
#define TALVERO_CHARTS_FRAME_AXIS_RECORDS_H

// One axis record per shown axis of a series: the axis line one tick length
// and a label gap outside the plot (further out behind the axes already on
// that side), with a stub towards the plot at each end, and its major and
// minor tick pairs, each pair's first vertex on the line and its second a
// tick (or half a tick) towards the plot.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

// All axis records, in series order, the first axis before the second;
// false at the first that cannot be built.
bool BuildAxes(ChartCanvas& canvas, int32_t width, int32_t height);

// The record of the series' axis at the position code; false when the table
// is full, the code is none of the seven, or (error 27) the vertex list
// cannot grow.
bool BuildAxis(ChartCanvas& canvas, uint8_t code, int32_t width, int32_t height, int series);

// The vertices at which the axis starts (its labels' position 0) and ends.
uint32_t AxisStartVertex(const AxisRecord& axis);
uint32_t AxisEndVertex(const AxisRecord& axis);

#endif
