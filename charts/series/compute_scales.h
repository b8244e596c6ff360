#ifndef TALVERO_CHARTS_SERIES_COMPUTE_SCALES_H
#define TALVERO_CHARTS_SERIES_COMPUTE_SCALES_H

// From loaded points to positions on the axes: the series of each stacked
// view type are stacked together (a relative group as fractions of each
// category's total), every axis gets its limits (rounded to a step unless a
// data range or fixed limits are set), and every point its normalised
// position between 0 (the axis minimum) and 1 (its maximum).

#include "charts/series/series_selection.h"
#include "core/model/chart_record.h"

// Stacked groups first, then each X-values series and each data series not
// yet scaled, alone. Sets the loaded flag; false with the chart's error code
// set (an error already set fails at once).
bool ComputeScales(ChartRecord& chart);

// Per point index, the sums of the group's positive and negative values: an
// index whose sums leave the first series' data range is cut in every series;
// the others give the group's limits (and, relative, divide the values by
// their sum's magnitude). Every series gets the group's state bits.
bool StackGroup(ChartRecord& chart, const SeriesList& group);

// The limits of the group's axis: fixed limits, the data range where one is
// set, else the values' range rounded by NiceLimits; log limits on a
// logarithmic scale. Error 29 when a stacked group's series differ in scale
// or data range, 30 when the limits are no finite numbers.
bool AxisLimits(ChartRecord& chart, const SeriesList& group);

// Each usable point's position; a position that is no representable float
// makes the point missing. Error 30 when the axis ends are not representable.
bool NormalizePoints(ChartRecord& chart, const SeriesList& group);

#endif
