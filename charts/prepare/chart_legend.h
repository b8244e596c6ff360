#ifndef TALVERO_CHARTS_PREPARE_CHART_LEGEND_H
#define TALVERO_CHARTS_PREPARE_CHART_LEGEND_H

// The legend: an entry per visible data series, its marker and its name, in
// a column (odd positions) or a row (even positions) at the left, top, right
// or bottom of the slot.

#include "charts/frame/chart_canvas.h"

// Legend positions: 1 and 2 left, 3 and 4 top, 5 and 6 right, 7 and 8
// bottom; odd ones stack the entries in a column, even ones set them in a row.
constexpr uint8_t kLegendPositions = 8;

// Measures the legend and reserves its room (its extent and two line units)
// in the margin of its side; unless measureOnly it is then drawn, centred on
// that side within the slot less the margins as they were on entry. No
// legend, nothing.
void LayoutLegend(ChartCanvas& canvas, const PixelRect& slot, bool measureOnly);

#endif
