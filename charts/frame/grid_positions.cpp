#include "charts/frame/grid_positions.h"

#include <cmath>

#include "charts/series/axis_scale.h"

namespace {

// Category i * step / count: the group boundaries of the labels.
bool CategoryPosition(const ChartRecord& chart, int series, double i, float* position) {
  const double count = chart.seriesLists[series].categories.Count();
  return ToRepresentableFloat(i * chart.series[series].divisor / count, position);
}

// Visits the positions at(i) for first <= i < end, which move one way
// along the axis as i grows, leaving out each that falls in the slot of
// the one visited last (lastSlot, carried from walk to walk). A run of
// positions in one slot is passed over by doubling steps and then halving
// them, so a walk costs about a visit per slot, however many positions
// there are. A position at() cannot give is left out.
template <class At>
bool VisitPerSlot(uint32_t first, uint32_t end, uint32_t slots, At at, PositionVisitor visit, void* context,
                  int64_t* lastSlot) {
  const auto slotOf = [&](float position) { return int64_t(std::floor(double(position) * slots + 0.5)); };
  uint32_t i = first;
  while (i < end) {
    float position;
    if (!at(i, &position)) {
      ++i;
      continue;
    }
    if (slots == 0 || slotOf(position) != *lastSlot) {
      if (!visit(context, position))
        return false;
      *lastSlot = slots ? slotOf(position) : *lastSlot;
      ++i;
      continue;
    }
    // The positions from i on share its slot up to some index: the first
    // one past them is found by doubling and then halving the step.
    const auto sameSlot = [&](uint32_t index) {
      float other;
      return at(index, &other) && slotOf(other) == *lastSlot;
    };
    uint32_t inside = i;
    uint32_t step = 1;
    while (step < end - inside && sameSlot(inside + step)) {
      inside += step;
      step *= 2;
    }
    for (step /= 2; step > 0; step /= 2)
      if (step < end - inside && sameSlot(inside + step)) inside += step;
    i = inside + 1;
  }
  return true;
}

}  // namespace

bool VisitMajorPositions(const ChartRecord& chart, int series, uint32_t slots, PositionVisitor visit, void* context) {
  const SeriesRecord& s = chart.series[series];
  int64_t lastSlot = -1;
  if (IsValueAxis(s)) {
    return VisitPerSlot(1, s.periods, slots,
                        [&](uint32_t i, float* position) { return ValueToAxis(s, DivisionValue(s, i), position); },
                        visit, context, &lastSlot);
  }
  if (s.role != kSeriesCategories)
    return true;
  return VisitPerSlot(1, s.periods, slots,
                      [&](uint32_t i, float* position) { return CategoryPosition(chart, series, i, position); },
                      visit, context, &lastSlot);
}

bool VisitMinorPositions(const ChartRecord& chart, int series, uint32_t slots, PositionVisitor visit, void* context) {
  const SeriesRecord& s = chart.series[series];
  if (!IsValueAxis(s) || s.periods == 0)
    return true;
  const bool log = IsLogScale(s.scale);
  double m;
  double big;
  AxisUnitsRange(s, &m, &big);
  const double q = (big - m) / s.periods;
  int64_t lastSlot = -1;
  for (uint32_t k = 0; k < s.periods; ++k) {
    // On a log axis the subdivisions are even in value, not in log units.
    const double low = log ? ScalePower(s.scale, m + k * q) : 0;
    const double high = log ? ScalePower(s.scale, m + (k + 1) * q) : 0;
    const auto at = [&](uint32_t j, float* position) {
      const double value = log ? AxisLogOf(s.scale, low + j * (high - low) / s.subperiods)
                               : m + k * q + j * q / s.subperiods;
      return ValueToAxis(s, value, position);
    };
    if (!VisitPerSlot(1, s.subperiods, slots, at, visit, context, &lastSlot))
      return false;
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
