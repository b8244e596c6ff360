#ifndef TALVERO_CHARTS_SERIES_SERIES_SELECTION_H
#define TALVERO_CHARTS_SERIES_SERIES_SELECTION_H

// Which of a chart's used series take part in a step: those of a role, or
// the data series of one view type with given stacked and relative flags.
// Lists hold series indices in series order.

#include <cstdint>

#include "core/model/chart_record.h"

struct SeriesList {
  uint8_t count;
  uint8_t index[kChartMaxSeries];
};

// The series of the role; returns their count.
int CollectSeries(const ChartRecord& chart, SeriesList* list, uint8_t role);

// The data series of the view type whose stacked and relative flags (as
// truth values) equal the given ones; returns their count.
int SelectSeries(const ChartRecord& chart, SeriesList* list, uint8_t viewType, bool stacked, bool relative);

// Whether some data series has one of the two view types.
bool HasDataSeriesOfType(const ChartRecord& chart, uint8_t viewType, uint8_t otherViewType);

// The largest point count among the data series.
uint32_t LargestDataPointCount(const ChartRecord& chart);

#endif
