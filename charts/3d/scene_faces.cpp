#include "charts/3d/scene_faces.h"

#include "charts/series/chart_errors.h"

bool AppendFace(ChartRecord& chart, uint32_t a, uint32_t b, uint32_t c, uint32_t reference, uint32_t colour,
                uint16_t edges) {
  const FaceRecord face = {a, b, c, reference, colour, edges, {0, 0}, 0, {0, 0, 0}, {0, 0, 0}};
  if (chart.faces.Append(&face))
    return true;
  chart.error = kChartOutOfMemory;
  return false;
}

FaceRecord* FaceAt(ChartRecord& chart, uint32_t i) { return reinterpret_cast<FaceRecord*>(chart.faces.At(i)); }

const FaceRecord* FaceAt(const ChartRecord& chart, uint32_t i) {
  return reinterpret_cast<const FaceRecord*>(chart.faces.At(i));
}
