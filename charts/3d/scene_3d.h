#ifndef TALVERO_CHARTS_3D_SCENE_3D_H
#define TALVERO_CHARTS_3D_SCENE_3D_H

// The scene of a 3D chart: after its planes, axes and faces are built and
// centred, the preparation projects, lights and orders it; the drawing
// paints the planes and axes turned towards the viewer, then the faces from
// the farthest to the nearest, then the planes and axes turned away.

#include "charts/frame/chart_canvas.h"

// Projection through the view matrix, the light, the shading normals, the
// perspective, the view normals and the depth sort; nothing for a chart
// without data series. Never fails.
bool PrepareScene3D(ChartCanvas& canvas);

// Paints the prepared scene, and a pie's data-point labels over it; the
// view values are device pixels meanwhile.
// A face is painted when its view normal is not turned away (a NaN normal
// is painted) and all its corners are finite.
void Draw3D(ChartCanvas& canvas);

// Whether the chart is drawn as a pie: its first data series is a 3D pie.
bool IsPieScene(const ChartRecord& chart);

#endif
