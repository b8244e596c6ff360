#include "charts/3d/scene_3d.h"

// Until the scene is projected and lit, a 3D chart's vertices keep their
// model values and nothing of its plot is painted; its titles and legend
// are.

bool PrepareScene3D(ChartCanvas& canvas) {
  CopyModelToView(canvas.chart);
  return true;
}

void Draw3D(ChartCanvas&) {}
