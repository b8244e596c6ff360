#include "charts/builders/builders_3d.h"
#include "charts/builders/solids_3d.h"

namespace {

// P1 and P4 at the front, P2 and P3 at the back: one quad wound both ways,
// so that one of its sides always faces the viewer.
constexpr FaceCorners kRibbonFaces[] = {{0, 3, 2, 3}, {2, 1, 0, 3}, {0, 1, 2, 3}, {2, 3, 0, 3}};

}  // namespace

bool BuildLines3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& f) {
  ChartRecord& chart = canvas.chart;
  const SceneBox& box = f.box;
  const float e = RibbonDepth(chart, box, series.count);
  for (int k = 0; k < series.count; ++k) {
    const int s = series.index[k];
    const uint32_t colour = SeriesColour(chart, s);
    float zB;
    float zF;
    CentreInDepthSlot(box, k, series.count, e, &zB, &zF);
    const uint32_t count = chart.seriesLists[s].points.Count();
    for (uint32_t j = 0; j + 1 < count; ++j) {
      const SeriesPoint* p = UsablePoint(chart, s, j);
      const SeriesPoint* q = UsablePoint(chart, s, j + 1);
      if (!p || !q)
        continue;
      const float xa = SegmentStart(f, j);
      const float xb = xa + f.slot;
      const float ya = p->position * box.height;
      const float yb = q->position * box.height;
      const ScenePoint points[] = {
          {(xa + xb) / 2, box.y0, (zF + zB) / 2}, {xa, ya, zB}, {xa, ya, zF}, {xb, yb, zF}, {xb, yb, zB}};
      uint32_t reference;
      if (!AppendPoints(chart, points, 5, &reference) ||
          !AppendFaces(chart, reference + 1, kRibbonFaces, 4, reference, colour))
        return false;
    }
  }
  return true;
}
