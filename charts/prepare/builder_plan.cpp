#include "charts/prepare/builder_plan.h"

#include "charts/builders/chart_builders.h"

namespace {

struct Group2D {
  uint8_t builder;
  uint8_t viewType;
  bool stacked;
  bool relative;
};

constexpr Group2D kGroups2D[] = {
    {kBuildPie, kViewPie, false, false},
    {kBuildStackedAreas, kViewArea, true, false},
    {kBuildStackedAreas, kViewArea, true, true},
    {kBuildStackedBars, kViewBar, true, true},
    {kBuildStackedBars, kViewBar, true, false},
    {kBuildStackedColumns, kViewColumn, true, true},
    {kBuildStackedColumns, kViewColumn, true, false},
    {kBuildBars, kViewBar, false, false},
    {kBuildColumns, kViewColumn, false, false},
    {kBuildLines, kViewLine, false, false},
    {kBuildScatter, kViewScatter, false, false},
};
static_assert(sizeof kGroups2D / sizeof kGroups2D[0] == kMaxBuilderSteps2D, "one step per group");

}  // namespace

int PlanBuilders2D(const ChartRecord& chart, BuilderStep (&steps)[kMaxBuilderSteps2D]) {
  int count = 0;
  for (const Group2D& g : kGroups2D) {
    BuilderStep& step = steps[count];
    if (SelectSeries(chart, &step.series, g.viewType, g.stacked, g.relative) == 0)
      continue;
    step.builder = g.builder;
    if (g.builder == kBuildPie)
      step.series.count = 1;
    else if (g.builder == kBuildScatter && chart.Kind() == kChartXY)
      step.builder = kBuildXY;
    ++count;
  }
  return count;
}

bool PlanBuilder3D(const ChartRecord& chart, BuilderStep* step) {
  SeriesList& data = step->series;
  if (CollectSeries(chart, &data, kSeriesData) == 0)
    return false;
  const SeriesRecord& first = chart.series[data.index[0]];
  switch (first.viewType) {
    case kViewColumn3D:
    case kViewBar3D:
      step->builder = first.stacked ? kBuildStackedColumns3D : kBuildColumns3D;
      return true;
    case kViewLine3D:
      step->builder = kBuildLines3D;
      return true;
    case kViewArea3D:
      step->builder = first.stacked ? kBuildStackedAreas3D : kBuildAreas3D;
      return true;
    case kViewPie3D:
      for (int k = 0; k < data.count; ++k) {
        if (chart.series[data.index[k]].visible) {
          step->builder = kBuildPie3D;
          data.index[0] = data.index[k];
          data.count = 1;
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}
