#ifndef TALVERO_CHARTS_LABELS_RELATED_SERIES_H
#define TALVERO_CHARTS_LABELS_RELATED_SERIES_H

// A series names the series that hold its categories or X values and its
// error bars; names match without regard to letter case.

#include "core/model/chart_record.h"

constexpr int kNoSeries = -1;

// The first used series, in series order, whose name is the text (size
// bytes at most) and, unless role is 0, whose role is role; kNoSeries when
// the text is empty or matches none.
int FindSeriesNamed(const ChartRecord& chart, const char* name, size_t size, uint8_t role = 0);

// The first used series, in series order, whose name is the series'
// RelatedX (any role, the series itself included); kNoSeries when the name
// is empty or matches none.
int FindRelatedX(const ChartRecord& chart, int series);
// The same with RelatedSigma.
int FindRelatedSigma(const ChartRecord& chart, int series);

#endif
