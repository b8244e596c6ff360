#include <cmath>

#include "charts/3d/scene_faces.h"
#include "charts/builders/builders_3d.h"
#include "charts/builders/pie_layout.h"
#include "charts/builders/slice_fill.h"
#include "charts/builders/solids_3d.h"
#include "charts/frame/chart_colours.h"
#include "charts/labels/label_record.h"
#include "charts/labels/point_labels.h"
#include "charts/labels/related_series.h"

namespace {

struct Triangle {
  uint32_t a;
  uint32_t b;
  uint32_t c;
  uint16_t edges;
};

struct Slice {
  double gx;  // the slice's centre, moved out when the pie is split
  double gy;
  double a0;
  double a1;
  float zFront;
  float zBack;
  float radius;
  bool split;
  uint32_t colour;
};

ScenePoint OnRim(const Slice& s, double radius, double angle, float z) {
  return {static_cast<float>(s.gx + radius * std::sin(angle)), static_cast<float>(s.gy + radius * std::cos(angle)),
          z};
}

bool AppendTriangles(ChartRecord& chart, const Triangle* triangles, int count, uint32_t reference,
                     uint32_t colour) {
  for (int i = 0; i < count; ++i) {
    const Triangle& t = triangles[i];
    if (!AppendFace(chart, t.a, t.b, t.c, reference, colour, t.edges))
      return false;
  }
  return true;
}

// The centre A at the front and B at the back, the reference vertex on the
// back rim at the middle angle, then per step of the arc four rim points,
// its top, bottom and rim, and on a split pie the walls at both ends.
bool AppendSlice(ChartRecord& chart, const Slice& s) {
  const double middle = (s.a0 + s.a1) / 2;
  const ScenePoint centre[] = {{static_cast<float>(s.gx), static_cast<float>(s.gy), s.zFront},
                               {static_cast<float>(s.gx), static_cast<float>(s.gy), s.zBack},
                               OnRim(s, s.radius, middle, s.zBack)};
  uint32_t a;
  if (!AppendPoints(chart, centre, 3, &a))
    return false;
  const uint32_t b = a + 1;
  const uint32_t reference = a + 2;
  const uint32_t steps = ArcStepCount(s.a0, s.a1);
  for (uint32_t i = 0; i < steps; ++i) {
    const double t0 = s.a0 + i * kArcStep;
    const double t1 = i + 1 == steps ? s.a1 : t0 + kArcStep;
    const ScenePoint rim[] = {OnRim(s, s.radius, t0, s.zFront), OnRim(s, s.radius, t1, s.zFront),
                              OnRim(s, s.radius, t0, s.zBack), OnRim(s, s.radius, t1, s.zBack)};
    uint32_t p0;
    if (!AppendPoints(chart, rim, 4, &p0))
      return false;
    const uint32_t p1 = p0 + 1;
    const uint32_t p2 = p0 + 2;
    const uint32_t p3 = p0 + 3;
    const Triangle step[] = {{a, p1, p0, 2}, {b, p2, p3, 2}, {p0, p1, p3, 0}, {p3, p2, p0, 0}};
    const Triangle startWall[] = {{a, p0, p2, 3}, {p2, b, a, 1}};
    const Triangle endWall[] = {{a, b, p3, 3}, {p3, p1, a, 3}};
    if (!AppendTriangles(chart, step, 4, reference, s.colour) ||
        (s.split && i == 0 && !AppendTriangles(chart, startWall, 2, reference, s.colour)) ||
        (s.split && i + 1 == steps && !AppendTriangles(chart, endWall, 2, reference, s.colour)))
      return false;
  }
  return true;
}

// The label's anchor in the middle of the slab, and the two points it may
// be set beside, beyond the rim at the front and at the back.
bool AppendSliceLabel(ChartRecord& chart, int series, uint32_t point, const Slice& s) {
  const double middle = (s.a0 + s.a1) / 2;
  const double beyond = s.radius + 2.0 * chart.lineUnit;
  const ScenePoint points[] = {{static_cast<float>(s.gx), static_cast<float>(s.gy), (s.zFront + s.zBack) / 2},
                               OnRim(s, beyond, middle, s.zFront), OnRim(s, beyond, middle, s.zBack)};
  uint32_t first;
  return AppendPoints(chart, points, 3, &first) && AppendAutomaticLabel(chart, series, point, first);
}

}  // namespace

bool BuildPie3D(ChartCanvas& canvas, int series) {
  ChartRecord& chart = canvas.chart;
  const SeriesRecord& record = chart.series[series];
  if (!record.visible)
    return true;
  chart.seriesLists[series].labels.Clear(true);
  SceneBox box;
  if (!ReadSceneBox(canvas, &box))
    return false;
  const float thickness = box.depth * chart.options.pieTickness3D / 100;
  const double total = ClassifyPieValues(chart, series);
  if (!(total != 0))
    return true;

  int32_t labelWidth;
  int32_t labelHeight;
  MeasurePointLabels(canvas, series, FindRelatedX(chart, series), &labelWidth, &labelHeight);
  const float labelRoom = static_cast<float>(labelWidth > labelHeight ? labelWidth : labelHeight);
  const float radius = SliceRadius(box.width, box.height, chart.lineUnit, labelRoom, chart.options.pieSplit);
  const double cx = (box.x0 + (box.x0 + box.width)) / 2.0;
  const double cy = (box.y0 + (box.y0 + box.height)) / 2.0;
  const double offset = chart.options.pieSplit / 100.0 * radius;
  Slice slice = {};
  slice.zFront = box.z1 - (box.depth - thickness) / 2;
  slice.zBack = box.z0 + (box.depth - thickness) / 2;
  slice.radius = radius;
  slice.split = chart.options.pieSplit != 0;
  double sum = 0;
  double a0 = 0;
  const uint32_t count = chart.seriesLists[series].points.Count();
  for (uint32_t j = 0; j < count; ++j) {
    // The values of the other sign were cut by the classification.
    const SeriesPoint* point = UsablePoint(chart, series, j);
    if (!point)
      continue;
    sum += std::fabs(point->value);
    const double a1 = sum * (2 * kPiePi) / total;
    const double middle = (a0 + a1) / 2;
    slice.gx = cx + (slice.split ? offset * std::sin(middle) : 0);
    slice.gy = cy + (slice.split ? offset * std::cos(middle) : 0);
    slice.a0 = a0;
    slice.a1 = a1;
    slice.colour = FillColour1(record.sliceFills[SliceFillIndex(record, j)]);
    if (!AppendSlice(chart, slice) ||
        (record.labelKind != 0 && !AppendSliceLabel(chart, series, j, slice)))
      return false;
    a0 = a1;
  }
  return true;
}
