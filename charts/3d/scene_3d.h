#ifndef TALVERO_CHARTS_3D_SCENE_3D_H
#define TALVERO_CHARTS_3D_SCENE_3D_H

// The scene of a 3D chart: its vertices projected into view coordinates at
// the end of a preparation, and the planes, axes and faces painted from them.

#include "charts/frame/chart_canvas.h"

// Gives every vertex its view values; false with error 27 on failure.
bool PrepareScene3D(ChartCanvas& canvas);

// Paints the prepared scene; the view values are device pixels meanwhile.
void Draw3D(ChartCanvas& canvas);

#endif
