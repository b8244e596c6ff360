#ifndef TALVERO_CHARTS_FRAME_CHART_PLANES_H
#define TALVERO_CHARTS_FRAME_CHART_PLANES_H

// The chart's planes in model coordinates (pixels of the plot area, y up):
// the XY wall behind the plot and, for a 3D chart, the YZ side wall and the
// XZ floor of the box, each with the lines that separate the series in depth
// and with the grid records of the series it carries.

#include <cstdint>

#include "charts/frame/chart_canvas.h"

// The depth of the 3D box for a w x h plot, measured from the width when
// `which` is not 0 and from the height otherwise: one slot per unstacked
// data series and one more, a slot being the measure divided by the largest
// point count (at least 1); a 3D pie's box is as deep as the plot's smaller
// side; 0 for a chart that is not 3D.
float DepthSlots(const ChartRecord& chart, float width, float height, int which);

// Each appends the plane's corners, its extra lines and its grid lines to the
// vertex list and fills its plane and grid records; false with error 27
// when the vertex list cannot grow.
bool BuildPlaneXY(ChartCanvas& canvas, int32_t width, int32_t height);
bool BuildPlaneYZ(ChartCanvas& canvas, int32_t width, int32_t height);
bool BuildPlaneXZ(ChartCanvas& canvas, int32_t width, int32_t height);

#endif
