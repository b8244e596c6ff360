#include "charts/frame/axis_position.h"

#include "charts/series/series_selection.h"

bool ShowsAxis(const SeriesRecord& series, int which) {
  return series.axisType == 3 || series.axisType == which;
}

uint8_t AxisPosition(const ChartRecord& chart, const SeriesRecord& series, int which) {
  if (series.role != kSeriesData && series.role != kSeriesXValues && series.role != kSeriesCategories)
    return kAxisNone;
  const bool data = series.role == kSeriesData;
  const bool bars = HasDataSeriesOfType(chart, kViewBar, kViewBar3D);
  if (chart.Kind() == kChart3D) {
    if (which == kFirstAxis)
      return data ? (bars ? kAxisLeft : kAxisLeft3D) : kAxisBottom3D;
    return data ? (bars ? kAxisRight3D : kAxisRight) : kAxisTop;
  }
  if (which == kFirstAxis)
    return data == bars ? kAxisBottom : kAxisLeft;
  return data == bars ? kAxisTop : kAxisRight;
}
