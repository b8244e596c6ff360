#ifndef TALVERO_CHARTS_BUILDERS_BUILDERS_2D_H
#define TALVERO_CHARTS_BUILDERS_BUILDERS_2D_H

// The 2D builders, each drawing the series of its group straight onto the
// chart's surface in device pixels and then their data-point labels. All
// fail when the chart has no XY wall or a label finds no room; the stacked
// ones also when their base has no position on the axis.

#include "charts/frame/chart_canvas.h"
#include "charts/series/series_selection.h"

// Columns (bars: the same turned, categories up the plot, values across):
// the visible series side by side in each category's slot, a series' slot
// kept when it is hidden; zero values draw no column but keep their label.
bool BuildColumns(ChartCanvas& canvas, const SeriesList& list, bool bars);

// Stacked columns or bars: per category the positive values stack upwards
// and the negative ones downwards from the base; hidden series still lift
// the ones above them.
bool BuildStackedColumns(ChartCanvas& canvas, const SeriesList& list, bool bars);

// Stacked areas: bands between running totals from one category's centre to
// the next; a pair of categories stacks up to the first series missing
// either point.
bool BuildStackedAreas(ChartCanvas& canvas, const SeriesList& list);

// The pie of the list's first series: a slice per value of the sign met
// first, clockwise from the top, labels outside the rim.
bool BuildPie(ChartCanvas& canvas, const SeriesList& list);

// Lines through each series' points at the category centres, broken at
// points that are not usable.
bool BuildLines(ChartCanvas& canvas, const SeriesList& list);

// Point markers with error bars, optionally joined: at the category
// centres, or (xy) at the values of each series' X-values series.
bool BuildScatter(ChartCanvas& canvas, const SeriesList& list, bool xy);

#endif
