#include "charts/builders/pie_layout.h"

#include <cmath>

#include "charts/series/series_points.h"

namespace {

constexpr double kArcHair = 1e-9;

}  // namespace

double ClassifyPieValues(ChartRecord& chart, int series) {
  SeriesLists& lists = chart.seriesLists[series];
  const uint32_t count = lists.points.Count();
  double total = 0;
  uint8_t sign = 0;
  for (uint32_t j = 0; j < count; ++j) {
    SeriesPoint* point = PointAt(lists, j);
    if (!IsUsablePoint(*point))
      continue;
    const uint8_t pointSign = point->flags & (kPointPositive | kPointNegative);
    if (pointSign == 0)
      continue;
    if (sign == 0)
      sign = pointSign;
    if (pointSign == sign)
      total += std::fabs(point->value);
    else
      point->flags = static_cast<uint8_t>(point->flags | kPointCut);
  }
  return total;
}

float SliceRadius(float width, float height, uint32_t lineUnit, float labelRoom, uint8_t pieSplit) {
  float r = (width < height ? width : height) / 2 - static_cast<float>(lineUnit) - labelRoom;
  if (!(r > 10))
    r = 10;
  const float slice = r - r * pieSplit / 100;
  return slice > 10 ? slice : 10;
}

uint32_t ArcStepCount(double a0, double a1) {
  uint32_t steps = 0;
  // Bounded: a whole turn takes 110 steps.
  while (steps < 1000 && a0 + steps * kArcStep + kArcStep < a1 - kArcHair) ++steps;
  return a1 > a0 ? steps + 1 : 0;
}
