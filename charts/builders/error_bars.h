#ifndef TALVERO_CHARTS_BUILDERS_ERROR_BARS_H
#define TALVERO_CHARTS_BUILDERS_ERROR_BARS_H

// The error bars of a scatter or XY point: from the point to its value less
// and plus the error, as far as the plot reaches.

#include <cstdint>

#include "charts/builders/plot_box.h"
#include "core/model/chart_record.h"

struct ErrorBarPair {
  int32_t lower;  // pixels towards the smaller value; 0 for no bar
  int32_t upper;
  uint8_t arrows;  // the given arrow of each bar that was cut at the edge
};

// The error of point i read from the series (kNoSeries for none); false
// when it has no value there.
bool PointError(const ChartRecord& chart, int errorSeries, uint32_t i, double* error);

// The bars of a value drawn at `at` along the axis, on the series' axis: an
// end that a logarithmic axis cannot take (not above 0) or that has no
// position has no bar; one beyond the plot's edge ends at the edge and gets
// its arrow.
ErrorBarPair MeasureErrorBars(const SeriesRecord& series, double value, double error, const PlotAxis& axis,
                              float at, uint8_t lowerArrow, uint8_t upperArrow);

#endif
