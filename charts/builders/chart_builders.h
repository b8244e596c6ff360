#ifndef TALVERO_CHARTS_BUILDERS_CHART_BUILDERS_H
#define TALVERO_CHARTS_BUILDERS_CHART_BUILDERS_H

// The builders that draw a chart's series: the 2D ones straight onto the
// surface in device pixels, the 3D ones as faces of the scene. Each gets the
// series of its group in series order.

#include <cstdint>

#include "charts/frame/chart_canvas.h"
#include "charts/series/series_selection.h"

enum Builder2D : uint8_t {
  kBuildPie,  // the first pie series alone
  kBuildStackedAreas,
  kBuildStackedBars,
  kBuildStackedColumns,
  kBuildBars,
  kBuildColumns,
  kBuildLines,
  kBuildScatter,
  kBuildXY,  // the scatter series of an XY chart
};

enum Builder3D : uint8_t {
  kBuildColumns3D,  // 3D columns and bars
  kBuildStackedColumns3D,
  kBuildLines3D,
  kBuildAreas3D,
  kBuildStackedAreas3D,
  kBuildPie3D,  // the first visible pie series alone
};

// False when the builder fails; the drawing of the chart then stops.
bool RunBuilder2D(ChartCanvas& canvas, uint8_t builder, const SeriesList& series, bool outline);
// Appends the builder's vertices and faces; false with error 27 when they
// find no room.
bool RunBuilder3D(ChartCanvas& canvas, uint8_t builder, const SeriesList& series);

#endif
