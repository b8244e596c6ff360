#include "charts/labels/related_series.h"

#include <cstring>

#include "core/base/text_compare.h"

int FindSeriesNamed(const ChartRecord& chart, const char* name, size_t size, uint8_t role) {
  const size_t length = strnlen(name, size);
  if (length == 0)
    return kNoSeries;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    const SeriesRecord& other = chart.series[i];
    if (role != 0 && other.role != role)
      continue;
    if (CompareTextIgnoringCase(name, length, other.name, strnlen(other.name, sizeof other.name)) == 0)
      return i;
  }
  return kNoSeries;
}

int FindRelatedX(const ChartRecord& chart, int series) {
  const SeriesRecord& s = chart.series[series];
  return FindSeriesNamed(chart, s.relatedX, sizeof s.relatedX);
}

int FindRelatedSigma(const ChartRecord& chart, int series) {
  const SeriesRecord& s = chart.series[series];
  return FindSeriesNamed(chart, s.relatedSigma, sizeof s.relatedSigma);
}
