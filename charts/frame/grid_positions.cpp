#include "charts/frame/grid_positions.h"

#include "charts/series/axis_scale.h"

namespace {

bool VisitValue(const SeriesRecord& series, double value, PositionVisitor visit, void* context) {
  float position;
  return !ValueToAxis(series, value, &position) || visit(context, position);
}

// Category i * step / count: the group boundaries of the labels.
bool CategoryPosition(const ChartRecord& chart, int series, double i, float* position) {
  const double count = chart.seriesLists[series].categories.Count();
  return ToRepresentableFloat(i * chart.series[series].divisor / count, position);
}

}  // namespace

bool VisitMajorPositions(const ChartRecord& chart, int series, PositionVisitor visit, void* context) {
  const SeriesRecord& s = chart.series[series];
  for (uint32_t i = 1; i < s.periods; ++i) {
    if (IsValueAxis(s)) {
      if (!VisitValue(s, DivisionValue(s, i), visit, context))
        return false;
    } else if (s.role == kSeriesCategories) {
      float position;
      if (CategoryPosition(chart, series, i, &position) && !visit(context, position))
        return false;
    }
  }
  return true;
}

bool VisitMinorPositions(const ChartRecord& chart, int series, PositionVisitor visit, void* context) {
  const SeriesRecord& s = chart.series[series];
  if (!IsValueAxis(s) || s.periods == 0)
    return true;
  const bool log = IsLogScale(s.scale);
  double m;
  double big;
  AxisUnitsRange(s, &m, &big);
  const double q = (big - m) / s.periods;
  for (uint32_t k = 0; k < s.periods; ++k) {
    // On a log axis the subdivisions are even in value, not in log units.
    const double low = log ? ScalePower(s.scale, m + k * q) : 0;
    const double high = log ? ScalePower(s.scale, m + (k + 1) * q) : 0;
    for (uint32_t j = 1; j < s.subperiods; ++j) {
      const double value = log ? AxisLogOf(s.scale, low + j * (high - low) / s.subperiods)
                               : m + k * q + j * q / s.subperiods;
      if (!VisitValue(s, value, visit, context))
        return false;
    }
  }
  return true;
}

bool UserLinePosition(const ChartRecord& chart, int series, int k, float* position) {
  const SeriesRecord& s = chart.series[series];
  const double v = s.userGridValues[k];
  if (s.role == kSeriesCategories) {
    const double count = chart.seriesLists[series].categories.Count();
    return v >= 1 && v < count && ToRepresentableFloat(v / count, position);
  }
  if (!IsValueAxis(s))
    return false;
  if (IsLogScale(s.scale)) {
    const double logValue = AxisLogOf(s.scale, v);
    return logValue >= s.limits.logMinimum && logValue <= s.limits.logMaximum &&
           ValueToAxis(s, logValue, position);
  }
  return v >= s.limits.minimum && v <= s.limits.maximum && ValueToAxis(s, v, position);
}
