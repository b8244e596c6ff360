#ifndef TALVERO_CHARTS_PREPARE_PLOT_LAYOUT_H
#define TALVERO_CHARTS_PREPARE_PLOT_LAYOUT_H

// The room around the plot: each shown axis takes its labels' extent, a line
// unit and (off the 3D box) a tick length in the margin of its side; the plot
// then takes its percentages of what is left, centred.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

void ReserveAxisLabels(ChartCanvas& canvas);

// The plot's width and height (never below 0) in the slot less the margins;
// a plot percentage below 100 widens the margins on both sides alike.
void PlotSize(ChartCanvas& canvas, const PixelRect& slot, int32_t* width, int32_t* height);

#endif
