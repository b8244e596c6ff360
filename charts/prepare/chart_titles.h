#ifndef TALVERO_CHARTS_PREPARE_CHART_TITLES_H
#define TALVERO_CHARTS_PREPARE_CHART_TITLES_H

// The chart's title and subtitle at the top of its slot, each through the
// header and footer codes so that "&c", dates and the like work in titles.

#include "charts/frame/chart_canvas.h"

// Each non-empty title in turn (the subtitle alone when the title is empty)
// is laid out, or with measureOnly only measured, in the slot within the
// current margins; the top margin grows by its height and, after the last,
// by one line unit.
void LayoutTitles(ChartCanvas& canvas, const PixelRect& slot, bool measureOnly);

#endif
