#include "charts/series/compute_scales.h"

#include <initializer_list>

#include "charts/series/axis_scale.h"
#include "charts/series/chart_errors.h"
#include "charts/series/nice_limits.h"
#include "charts/series/series_points.h"
#include "core/base/result_check.h"

namespace {

constexpr uint16_t kDataRangeFlags = kSeriesFromValueSet | kSeriesToValueSet;

struct StackedGroup {
  uint8_t viewType;
  bool relative;
};

// The order in which stacked groups are scaled.
constexpr StackedGroup kStackedGroups[] = {
    {kViewArea, false},     {kViewArea, true},     {kViewBar, false},     {kViewBar, true},
    {kViewColumn, false},   {kViewColumn, true},   {kViewArea3D, false},  {kViewArea3D, true},
    {kViewColumn3D, false}, {kViewColumn3D, true}, {kViewBar3D, false},   {kViewBar3D, true},
};

bool Fail(ChartRecord& chart, uint8_t code) {
  chart.error = code;
  return false;
}

bool ScaleGroup(ChartRecord& chart, const SeriesList& group) {
  return AxisLimits(chart, group) && NormalizePoints(chart, group);
}

bool SameDataRange(const SeriesRecord& a, const SeriesRecord& b) {
  if (a.scale != b.scale || (a.flags & kDataRangeFlags) != (b.flags & kDataRangeFlags))
    return false;
  if ((a.flags & kSeriesFromValueSet) && a.fromValue != b.fromValue)
    return false;
  return !(a.flags & kSeriesToValueSet) || a.toValue == b.toValue;
}

}  // namespace

bool ComputeScales(ChartRecord& chart) {
  if (chart.error != kChartNoError)
    return false;
  chart.flags = static_cast<uint8_t>(chart.flags & ~kChartDataLoaded);
  for (const StackedGroup& g : kStackedGroups) {
    SeriesList group;
    if (SelectSeries(chart, &group, g.viewType, true, g.relative) > 0 &&
        (!StackGroup(chart, group) || !ScaleGroup(chart, group)))
      return false;
  }
  for (uint8_t role : {kSeriesXValues, kSeriesData}) {
    for (int i = 0; i < chart.UsedSeriesCount(); ++i) {
      if (chart.series[i].role != role || chart.series[i].limits.scaled)
        continue;
      const SeriesList alone = {1, {static_cast<uint8_t>(i)}};
      if (!ScaleGroup(chart, alone))
        return false;
    }
  }
  chart.flags = static_cast<uint8_t>(chart.flags | kChartDataLoaded);
  return true;
}

bool StackGroup(ChartRecord& chart, const SeriesList& group) {
  const SeriesRecord& first = chart.series[group.index[0]];
  const bool relative = first.relative != 0;
  uint32_t longest = 0;
  uint8_t state = 0;
  for (int k = 0; k < group.count; ++k) {
    const uint32_t count = chart.seriesLists[group.index[k]].points.Count();
    if (count > longest) longest = count;
    state |= chart.series[group.index[k]].limits.state;
  }
  double largestPositive = 0;
  double smallestNegative = 0;
  for (uint32_t j = 0; j < longest; ++j) {
    double positive = 0;
    double negative = 0;
    for (int k = 0; k < group.count; ++k) {
      const SeriesPoint* point = PointAt(chart.seriesLists[group.index[k]], j);
      if (!point || !IsUsablePoint(*point))
        continue;
      if (point->value > 0) positive += point->value;
      if (point->value < 0) negative += point->value;
    }
    if (((first.flags & kSeriesFromValueSet) && negative < first.fromValue) ||
        ((first.flags & kSeriesToValueSet) && positive > first.toValue)) {
      for (int k = 0; k < group.count; ++k) {
        SeriesPoint* point = PointAt(chart.seriesLists[group.index[k]], j);
        if (!point)
          continue;
        point->flags |= kPointCut;
        state |= kStateSomeCut;
      }
      continue;
    }
    if (positive > largestPositive) largestPositive = positive;
    if (negative < smallestNegative) smallestNegative = negative;
    if (!relative)
      continue;
    for (int k = 0; k < group.count; ++k) {
      SeriesPoint* point = PointAt(chart.seriesLists[group.index[k]], j);
      if (!point || !IsUsablePoint(*point))
        continue;
      if (point->value > 0) point->value /= positive;
      if (point->value < 0) point->value = -(point->value / negative);
    }
  }
  for (int k = 0; k < group.count; ++k) {
    SeriesRecord& s = chart.series[group.index[k]];
    s.limits.state = state;
    if (relative) {
      s.fixedMinimum = s.limits.minimum = (state & kStateNegative) ? -1 : 0;
      s.fixedMaximum = s.limits.maximum = (state & kStatePositive) ? 1 : 0;
      s.flags = static_cast<uint16_t>(s.flags | kSeriesFixedLimits);
    } else {
      s.limits.minimum = smallestNegative;
      s.limits.maximum = largestPositive;
    }
  }
  return true;
}

bool AxisLimits(ChartRecord& chart, const SeriesList& group) {
  SeriesRecord& first = chart.series[group.index[0]];
  for (int k = 1; k < group.count; ++k) {
    SeriesRecord& s = chart.series[group.index[k]];
    if (!SameDataRange(first, s))
      return Fail(chart, kChartStackMismatch);
    s.periods = first.periods;
    s.subperiods = first.subperiods;
  }
  double low;
  double high;
  if (first.flags & kSeriesFixedLimits) {
    low = first.fixedMinimum;
    high = first.fixedMaximum;
  } else if (first.flags & kDataRangeFlags) {
    low = (first.flags & kSeriesFromValueSet) ? first.fromValue : first.limits.minimum;
    high = (first.flags & kSeriesToValueSet) ? first.toValue : first.limits.maximum;
  } else {
    low = first.limits.minimum;
    high = first.limits.maximum;
    for (int k = 1; k < group.count; ++k) {
      const SeriesRecord& s = chart.series[group.index[k]];
      if (!HasValues(s))
        continue;
      if (s.limits.minimum < low) low = s.limits.minimum;
      if (s.limits.maximum > high) high = s.limits.maximum;
    }
  }
  const bool log = IsLogScale(first.scale);
  if (log) {
    low = AxisLogOf(first.scale, low);
    high = AxisLogOf(first.scale, high);
  }
  if (IsBadNumber(low) || IsBadNumber(high))
    return Fail(chart, kChartInvalidLimits);
  if (!(first.flags & (kDataRangeFlags | kSeriesFixedLimits))) {
    if (low < 0 && high > 0 && first.periods < 2) {
      uint16_t periods = 2;
      for (int k = 0; k < group.count; ++k)
        if (chart.series[group.index[k]].periods > periods) periods = chart.series[group.index[k]].periods;
      for (int k = 0; k < group.count; ++k) chart.series[group.index[k]].periods = periods;
    }
    if (!NiceLimits(&low, &high, first.periods, first.scale))
      return Fail(chart, kChartInvalidLimits);
  }
  for (int k = 0; k < group.count; ++k) {
    SeriesLimits& limits = chart.series[group.index[k]].limits;
    limits.scaled = 1;
    if (log) {
      limits.logMinimum = low;
      limits.logMaximum = high;
      limits.minimum = ScalePower(first.scale, low);
      limits.maximum = ScalePower(first.scale, high);
    } else {
      limits.minimum = low;
      limits.maximum = high;
    }
  }
  return true;
}

bool NormalizePoints(ChartRecord& chart, const SeriesList& group) {
  for (int k = 0; k < group.count; ++k) {
    SeriesRecord& s = chart.series[group.index[k]];
    if (!HasValues(s))
      continue;
    SeriesLists& lists = chart.seriesLists[group.index[k]];
    double m;
    double big;
    AxisUnitsRange(s, &m, &big);
    const double base = 0.0 < m ? m : 0.0 > big ? big : 0.0;
    const double range = big - m;
    const bool log = IsLogScale(s.scale);
    const uint32_t count = lists.points.Count();
    for (uint32_t j = 0; j < count; ++j) {
      SeriesPoint* point = PointAt(lists, j);
      if (!IsUsablePoint(*point))
        continue;
      const double v = log ? ScaleLog(s.scale, point->value) : point->value;
      float position;
      if (!ToRepresentableFloat(range == 0 ? 0.0 : (v - base) / range, &position)) {
        point->flags |= kPointMissing;
        continue;
      }
      point->position = position;
      const uint8_t sign = point->value > 0 ? kPointPositive : point->value < 0 ? kPointNegative : kPointZero;
      point->flags = static_cast<uint8_t>((point->flags & ~kPointSigns) | sign);
      s.limits.state |= sign;
    }
    float low = 0;
    float high = 0;
    if (range != 0 && (!ToRepresentableFloat((m - base) / range, &low) ||
                       !ToRepresentableFloat((big - base) / range, &high)))
      return Fail(chart, kChartInvalidLimits);
    s.limits.offset = 0;
    if (low < 0) {
      s.limits.offset = low;
      for (uint32_t j = 0; j < count; ++j) {
        SeriesPoint* point = PointAt(lists, j);
        if (IsUsablePoint(*point))
          point->position -= low;
      }
      high -= low;
      low = 0;
    }
    s.limits.low = low;
    s.limits.high = high;
  }
  return true;
}
