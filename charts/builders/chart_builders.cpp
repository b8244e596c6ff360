#include "charts/builders/chart_builders.h"

#include "charts/builders/builders_2d.h"

bool RunBuilder2D(ChartCanvas& canvas, uint8_t builder, const SeriesList& series, bool) {
  switch (builder) {
    case kBuildPie: return BuildPie(canvas, series);
    case kBuildStackedAreas: return BuildStackedAreas(canvas, series);
    case kBuildStackedBars: return BuildStackedColumns(canvas, series, true);
    case kBuildStackedColumns: return BuildStackedColumns(canvas, series, false);
    case kBuildBars: return BuildColumns(canvas, series, true);
    case kBuildColumns: return BuildColumns(canvas, series, false);
    case kBuildLines: return BuildLines(canvas, series);
    case kBuildScatter: return BuildScatter(canvas, series, false);
    case kBuildXY: return BuildScatter(canvas, series, true);
    default: return true;
  }
}
