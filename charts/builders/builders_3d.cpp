#include "charts/builders/builders_3d.h"

#include "charts/builders/chart_builders.h"

bool RunBuilder3D(ChartCanvas& canvas, uint8_t builder, const SeriesList& series) {
  if (builder == kBuildPie3D)
    return series.count == 0 || BuildPie3D(canvas, series.index[0]);
  BuildFrame frame;
  bool built;
  if (!StartBuild(canvas, series, &frame, &built))
    return built;
  switch (builder) {
    case kBuildColumns3D: return BuildColumns3D(canvas, series, frame);
    case kBuildStackedColumns3D: return BuildStackedColumns3D(canvas, series, frame);
    case kBuildLines3D: return BuildLines3D(canvas, series, frame);
    case kBuildAreas3D: return BuildAreas3D(canvas, series, frame);
    case kBuildStackedAreas3D: return BuildStackedAreas3D(canvas, series, frame);
    default: return true;
  }
}
