#include "charts/labels/related_series.h"

#include <cstring>

#include "core/base/text_compare.h"

namespace {

int FindSeriesNamed(const ChartRecord& chart, const char* name, size_t size) {
  const size_t length = strnlen(name, size);
  if (length == 0)
    return kNoSeries;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
    const char* other = chart.series[i].name;
    if (CompareTextIgnoringCase(name, length, other, strnlen(other, sizeof chart.series[i].name)) == 0)
      return i;
  }
  return kNoSeries;
}

}  // namespace

int FindRelatedX(const ChartRecord& chart, int series) {
  const SeriesRecord& s = chart.series[series];
  return FindSeriesNamed(chart, s.relatedX, sizeof s.relatedX);
}

int FindRelatedSigma(const ChartRecord& chart, int series) {
  const SeriesRecord& s = chart.series[series];
  return FindSeriesNamed(chart, s.relatedSigma, sizeof s.relatedSigma);
}
