#include "charts/builders/builders_3d.h"
#include "charts/builders/solids_3d.h"

namespace {

// One segment of an area between two neighbouring points a and b: at each
// end the height the series starts from (its base line, or the total of the
// series before it) and the height of its value there.
struct AreaSegment {
  float xa;
  float xb;
  float zF;
  float zB;
  float fromA;
  float toA;
  float fromB;
  float toB;
  uint8_t flagsA;
  uint8_t flagsB;
  bool startCap;  // no usable point before a
  bool endCap;    // no usable point after b
  uint32_t reference;
  uint32_t colour;
};

constexpr uint8_t kAboveBase = kPointPositive | kPointZero;

// The prism of the segment's part above its base line (or below it): an
// end whose point belongs to the other part stays at the base.
bool AppendAreaPart(ChartRecord& chart, const AreaSegment& g, bool above, uint32_t* first) {
  const uint8_t part = above ? kAboveBase : kPointNegative;
  const float endA = (g.flagsA & part) ? g.toA : g.fromA;
  const float endB = (g.flagsB & part) ? g.toB : g.fromB;
  PrismCorners prism = {{g.xa, g.xa, g.xb, g.xb}, {g.fromA, endA, endB, g.fromB}, g.zB, g.zF};
  if (!above)
    prism = {{g.xa, g.xa, g.xb, g.xb}, {endA, g.fromA, g.fromB, endB}, g.zB, g.zF};
  return AppendPrism(chart, prism, first) &&
         AppendFaces(chart, *first, kPrismFaces + kPrismFront, 4, g.reference, g.colour) &&
         (!g.startCap || AppendPrismSide(chart, *first, kPrismLeft, g.reference, g.colour)) &&
         (!g.endCap || AppendPrismSide(chart, *first, kPrismRight, g.reference, g.colour));
}

// The part above, the part below, then the top of the first part made and
// the bottom of the last one, so that the segment is closed along both its
// value edges.
bool AppendAreaSegment(ChartRecord& chart, const AreaSegment& g) {
  uint32_t upper = 0;
  uint32_t lower = 0;
  bool made = false;
  if ((g.flagsA | g.flagsB) & kAboveBase) {
    if (!AppendAreaPart(chart, g, true, &upper))
      return false;
    lower = upper;
    made = true;
  }
  if ((g.flagsA | g.flagsB) & kPointNegative) {
    if (!AppendAreaPart(chart, g, false, &lower))
      return false;
    if (!made)
      upper = lower;
    made = true;
  }
  return !made || (AppendPrismSide(chart, upper, kPrismTop, g.reference, g.colour) &&
                   AppendPrismSide(chart, lower, kPrismBottom, g.reference, g.colour));
}

// The reference vertex on the floor under the segment's middle.
bool AppendSegmentReference(ChartRecord& chart, const SceneBox& box, AreaSegment* g) {
  const ScenePoint r = {(g->xa + g->xb) / 2, box.y0, (g->zF + g->zB) / 2};
  return AppendPoints(chart, &r, 1, &g->reference);
}

bool IsUsable(const ChartRecord& chart, int series, int64_t j) {
  return j >= 0 && UsablePoint(chart, series, static_cast<uint32_t>(j)) != nullptr;
}

}  // namespace

bool BuildAreas3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& f) {
  ChartRecord& chart = canvas.chart;
  const SceneBox& box = f.box;
  const float e = RibbonDepth(chart, box, series.count);
  for (int k = 0; k < series.count; ++k) {
    const int s = series.index[k];
    float base;
    if (!SeriesBase(chart.series[s], &base))
      continue;
    const uint32_t count = chart.seriesLists[s].points.Count();
    for (uint32_t j = 0; j + 1 < count; ++j) {
      const SeriesPoint* a = UsablePoint(chart, s, j);
      const SeriesPoint* b = UsablePoint(chart, s, j + 1);
      if (!a || !b)
        continue;
      AreaSegment g;
      g.xa = SegmentStart(f, j);
      g.xb = g.xa + f.slot;
      CentreInDepthSlot(box, k, series.count, e, &g.zB, &g.zF);
      g.fromA = g.fromB = base * box.height;
      g.toA = a->position * box.height;
      g.toB = b->position * box.height;
      g.flagsA = a->flags;
      g.flagsB = b->flags;
      g.startCap = !IsUsable(chart, s, static_cast<int64_t>(j) - 1);
      g.endCap = j + 2 == count || !IsUsable(chart, s, j + 2);
      g.colour = SeriesColour(chart, s);
      if (!AppendSegmentReference(chart, box, &g) || !AppendAreaSegment(chart, g))
        return false;
    }
  }
  return true;
}

bool BuildStackedAreas3D(ChartCanvas& canvas, const SeriesList& series, const BuildFrame& f) {
  ChartRecord& chart = canvas.chart;
  float base;
  if (!StackBase(chart, series, &base))
    return false;
  const SceneBox& box = f.box;
  const float e = RibbonDepth(chart, box, 1);
  for (uint32_t j = 1; j < f.count; ++j) {
    AreaSegment g;
    g.xa = SegmentStart(f, j - 1);
    g.xb = g.xa + f.slot;
    CentreInDepthSlot(box, 0, 1, e, &g.zB, &g.zF);
    if (!AppendSegmentReference(chart, box, &g))
      return false;
    float totalA = base * box.height;
    float totalB = totalA;
    for (int k = 0; k < series.count; ++k) {
      const int s = series.index[k];
      const uint32_t count = chart.seriesLists[s].points.Count();
      const SeriesPoint* a = UsablePoint(chart, s, j - 1);
      const SeriesPoint* b = UsablePoint(chart, s, j);
      // A gap in one series leaves nothing above it to stand on.
      if (!a || !b)
        break;
      g.fromA = totalA;
      g.fromB = totalB;
      g.toA = totalA + (a->position - base) * box.height;
      g.toB = totalB + (b->position - base) * box.height;
      g.flagsA = a->flags;
      g.flagsB = b->flags;
      g.startCap = !IsUsable(chart, s, static_cast<int64_t>(j) - 2);
      g.endCap = j + 1 == count || !IsUsable(chart, s, j + 1);
      g.colour = SeriesColour(chart, s);
      if (!AppendAreaSegment(chart, g))
        return false;
      totalA = g.toA;
      totalB = g.toB;
    }
  }
  return true;
}
