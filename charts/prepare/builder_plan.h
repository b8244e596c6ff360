#ifndef TALVERO_CHARTS_PREPARE_BUILDER_PLAN_H
#define TALVERO_CHARTS_PREPARE_BUILDER_PLAN_H

// Which builders draw a chart's series, with which series, in which order.
// A data series whose view type and flags match no group is drawn by none:
// an unstacked area, a relative column or bar that is not stacked, a pie,
// line or scatter series with either flag set.

#include <cstdint>

#include "charts/series/series_selection.h"
#include "core/model/chart_record.h"

struct BuilderStep {
  uint8_t builder;  // Builder2D or Builder3D
  SeriesList series;
};

// Pie, stacked areas (absolute, then relative), stacked bars (relative, then
// absolute), stacked columns likewise, bars, columns, lines, scatter (the XY
// builder in an XY chart): the groups that have series.
constexpr int kMaxBuilderSteps2D = 11;
int PlanBuilders2D(const ChartRecord& chart, BuilderStep (&steps)[kMaxBuilderSteps2D]);

// The one builder of a 3D chart, chosen by its first data series; false when
// nothing is to be built (no data series, no visible pie series, or a view
// type that is not 3D).
bool PlanBuilder3D(const ChartRecord& chart, BuilderStep* step);

#endif
