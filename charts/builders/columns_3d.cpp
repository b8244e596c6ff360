#include <algorithm>

#include "charts/builders/builders_3d.h"
#include "charts/builders/solids_3d.h"

namespace {

// Categories stand in their order along x, as the category axis counts
// them, bars too: the quarter turn that lays bars on their side takes x = 0
// to the top, beside the axis' first label.
float CategoryLeft(const SceneBox& box, uint32_t j, float slot, float width) {
  return box.x0 + j * slot + (slot - width) / 2;
}

// The reference vertex at the bottom centre of a column's footprint.
bool AppendReference(ChartRecord& chart, float xL, float xR, float y0, float zF, float zB, uint32_t* index) {
  const ScenePoint r = {(xL + xR) / 2, y0, (zF + zB) / 2};
  return AppendPoints(chart, &r, 1, index);
}

bool AppendColumn(ChartRecord& chart, float xL, float xR, float yL, float yU, float zF, float zB, uint32_t* first) {
  const PrismCorners prism = {{xL, xL, xR, xR}, {yL, yU, yU, yL}, zB, zF};
  return AppendPrism(chart, prism, first);
}

}  // namespace

bool BuildColumns3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& f) {
  ChartRecord& chart = canvas.chart;
  const SceneBox& box = f.box;
  const float slot = f.slot;
  const float d = box.depth / series.count;
  const float width = std::min(slot * chart.options.barSize / 100, d * chart.options.barSize / 100);
  for (int k = 0; k < series.count; ++k) {
    const int s = series.index[k];
    float base;
    // A hidden series keeps its depth slot empty.
    if (!chart.series[s].visible || !SeriesBase(chart.series[s], &base))
      continue;
    float zB;
    float zF;
    CentreInDepthSlot(box, k, series.count, width, &zB, &zF);
    const uint32_t count = chart.seriesLists[s].points.Count();
    for (uint32_t j = 0; j < count; ++j) {
      const SeriesPoint* point = UsablePoint(chart, s, j);
      if (!point)
        continue;
      const float xL = CategoryLeft(box, j, slot, width);
      const float xR = xL + width;
      const float yBase = base * box.height;
      const float yValue = point->position * box.height;
      const bool below = IsNegativePoint(*point);
      uint32_t reference;
      uint32_t first;
      if (!AppendReference(chart, xL, xR, box.y0, zF, zB, &reference) ||
          !AppendColumn(chart, xL, xR, below ? yValue : yBase, below ? yBase : yValue, zF, zB, &first) ||
          !AppendFaces(chart, first, kPrismFaces, kPrismFaceCount, reference, SeriesColour(chart, s)))
        return false;
    }
  }
  return true;
}

bool BuildStackedColumns3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& f) {
  ChartRecord& chart = canvas.chart;
  float base;
  if (!StackBase(chart, series, &base))
    return false;
  const SceneBox& box = f.box;
  const float slot = f.slot;
  const float width =
      std::min(slot * chart.options.stackBarSize / 100, box.depth * chart.options.stackBarSize / 100);
  float zB;
  float zF;
  CentreInDepthSlot(box, 0, 1, width, &zB, &zF);
  const uint32_t firstColour = SeriesColour(chart, series.index[0]);
  for (uint32_t j = 0; j < f.count; ++j) {
    const float xL = CategoryLeft(box, j, slot, width);
    const float xR = xL + width;
    uint32_t reference;
    if (!AppendReference(chart, xL, xR, box.y0, zF, zB, &reference))
      return false;
    // The segments that close the stack: the last one upwards and the last
    // one downwards, or, on a side without any, the first segment of all.
    struct Segment {
      uint32_t first;
      uint32_t colour;
    };
    Segment firstSegment = {0, 0};
    Segment top = {0, 0};
    Segment bottom = {0, 0};
    bool anyUp = false;
    bool anyDown = false;
    float up = base * box.height;
    float down = up;
    for (int k = 0; k < series.count; ++k) {
      const int s = series.index[k];
      const SeriesPoint* point = UsablePoint(chart, s, j);
      if (!point)
        continue;
      const bool below = IsNegativePoint(*point);
      float& total = below ? down : up;
      const float from = total;
      total += (point->position - base) * box.height;
      const uint32_t colour = SeriesColour(chart, s);
      uint32_t first;
      // The four sides; only the outermost segments get a top or a bottom.
      if (!AppendColumn(chart, xL, xR, std::min(from, total), std::max(from, total), zF, zB, &first) ||
          !AppendFaces(chart, first, kPrismFaces, kPrismTop, reference, colour))
        return false;
      const Segment made = {first, colour};
      if (!anyUp && !anyDown)
        firstSegment = made;
      if (below) {
        bottom = made;
        anyDown = true;
      } else {
        top = made;
        anyUp = true;
      }
    }
    if (!anyUp && !anyDown)
      continue;
    if (!anyUp)
      top = {firstSegment.first, firstColour};
    if (!anyDown)
      bottom = {firstSegment.first, firstColour};
    if (!AppendPrismSide(chart, top.first, kPrismTop, reference, top.colour) ||
        !AppendPrismSide(chart, bottom.first, kPrismBottom, reference, bottom.colour))
      return false;
  }
  return true;
}
