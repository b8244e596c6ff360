#ifndef TALVERO_CHARTS_BUILDERS_BUILDERS_3D_H
#define TALVERO_CHARTS_BUILDERS_BUILDERS_3D_H

// The builders of a 3D chart's scene. Each takes the data series in series
// order (the pie one series) and appends vertices in model coordinates and
// triangles: every triangle of one column, stack, ribbon segment, prism or
// slice shares one reference vertex and the series' colour. True on
// success or when there is nothing to build; false with error 27 when the
// scene cannot grow or a plane of the box is missing, and (stacked columns,
// stacked areas) when 0 has no position on the first series' axis.

#include "charts/builders/solids_3d.h"
#include "charts/frame/chart_canvas.h"
#include "charts/series/series_selection.h"

// The builders of several series take the frame StartBuild read for them
// (RunBuilder3D reads it), which holds at least one point.

// A box per usable point of every visible series, one depth slot per
// series.
bool BuildColumns3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& frame);
// One stack per category in the middle of the depth, positive values
// upwards and negative ones downwards from the first series' base.
bool BuildStackedColumns3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& frame);
// A ribbon seen from both sides between neighbouring usable points.
bool BuildLines3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& frame);
// Prisms between each series' base line and its values.
bool BuildAreas3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& frame);
// Prisms between the running totals before and after each series.
bool BuildStackedAreas3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& frame);
// The slices of one series' values of one sign, exploded by PieSplit.
bool BuildPie3D(ChartCanvas& canvas, int series);

#endif
