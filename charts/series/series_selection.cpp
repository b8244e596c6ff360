#include "charts/series/series_selection.h"

int CollectSeries(const ChartRecord& chart, SeriesList* list, uint8_t role) {
  list->count = 0;
  const int used = chart.UsedSeriesCount();
  for (int i = 0; i < used; ++i)
    if (chart.series[i].role == role)
      list->index[list->count++] = static_cast<uint8_t>(i);
  return list->count;
}

int SelectSeries(const ChartRecord& chart, SeriesList* list, uint8_t viewType, bool stacked, bool relative) {
  list->count = 0;
  const int used = chart.UsedSeriesCount();
  for (int i = 0; i < used; ++i) {
    const SeriesRecord& s = chart.series[i];
    if (s.role == kSeriesData && s.viewType == viewType && (s.stacked != 0) == stacked &&
        (s.relative != 0) == relative)
      list->index[list->count++] = static_cast<uint8_t>(i);
  }
  return list->count;
}

bool HasDataSeriesOfType(const ChartRecord& chart, uint8_t viewType, uint8_t otherViewType) {
  const int used = chart.UsedSeriesCount();
  for (int i = 0; i < used; ++i) {
    const SeriesRecord& s = chart.series[i];
    if (s.role == kSeriesData && (s.viewType == viewType || s.viewType == otherViewType))
      return true;
  }
  return false;
}

uint32_t LargestDataPointCount(const ChartRecord& chart) {
  uint32_t largest = 0;
  const int used = chart.UsedSeriesCount();
  for (int i = 0; i < used; ++i)
    if (chart.series[i].role == kSeriesData && chart.seriesLists[i].points.Count() > largest)
      largest = chart.seriesLists[i].points.Count();
  return largest;
}
