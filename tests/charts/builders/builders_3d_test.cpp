// The 3D builders on the planes of a plot: what they append (vertices in
// model coordinates and triangles) for hand-picked and random series.

#include "charts/builders/builders_3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "charts/3d/scene_faces.h"
#include "charts/builders/chart_builders.h"
#include "charts/builders/pie_layout.h"
#include "charts/builders/slice_fill.h"
#include "charts/frame/chart_planes.h"
#include "charts/labels/label_record.h"
#include "charts/prepare/builder_plan.h"
#include "charts/prepare/chart_prepare.h"
#include "charts/series/series_points.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"
#include "tests/test_seed.h"

namespace {

constexpr int32_t kPlotWidth = 300;
constexpr int32_t kPlotHeight = 200;
const double kMissing = std::nan("");

struct Point {
  double x;
  double y;
  double z;
};

// A 3D chart of data series of one view type, loaded, its planes built for
// the plot, then its builder run.
struct Scene {
  std::unique_ptr<ChartRecord> chart = NewChart(kChart3D);
  DisplayListSurface surface;
  uint32_t firstVertex = 0;
  bool built = false;

  Scene(uint8_t viewType, bool stacked, const std::vector<std::vector<double>>& series,
        const std::vector<bool>& visible = {}) {
    TestArrays arrays;
    for (size_t k = 0; k < series.size(); ++k) {
      SeriesRecord& s = SetSeries(*chart, static_cast<int>(k), kSeriesData, viewType);
      s.stacked = stacked;
      s.visible = k < visible.size() ? visible[k] : 1;
      arrays.AddNumbers(series[k]);
    }
    EXPECT_TRUE(arrays.LoadInto(*chart)) << int(chart->error);
  }

  void Build() {
    ChartCanvas canvas = {*chart, surface.Surface(), {}, {}};
    ASSERT_TRUE(BuildPlaneXY(canvas, kPlotWidth, kPlotHeight) && BuildPlaneYZ(canvas, kPlotWidth, kPlotHeight) &&
                BuildPlaneXZ(canvas, kPlotWidth, kPlotHeight));
    firstVertex = chart->vertices.Count();
    BuilderStep step;
    built = !PlanBuilder3D(*chart, &step) || RunBuilder3D(canvas, step.builder, step.series);
  }

  uint32_t Vertices() const { return chart->vertices.Count() - firstVertex; }
  uint32_t Faces() const { return chart->faces.Count(); }
  Point At(uint32_t vertex) const {
    const VertexRecord* v = VertexAt(*chart, vertex);
    return {v->modelX, v->modelY, v->modelZ};
  }
  // Records lie packed in their pages: they are read out as copies.
  FaceRecord Face(uint32_t i) const { return *FaceAt(*chart, i); }
  uint32_t FillColour(const FillRecord& fill) const { return fill.patternColor; }
  const SeriesPoint* PointOf(int series, uint32_t j) const { return PointAt(chart->seriesLists[series], j); }
  bool Usable(int series, int64_t j) const {
    const SeriesPoint* p = j >= 0 ? PointOf(series, static_cast<uint32_t>(j)) : nullptr;
    return p && IsUsablePoint(*p);
  }
};

Point Minus(const Point& a, const Point& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point Cross(const Point& a, const Point& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
bool Near(const Point& a, const Point& b) {
  return std::fabs(a.x - b.x) < 1e-3 && std::fabs(a.y - b.y) < 1e-3 && std::fabs(a.z - b.z) < 1e-3;
}

// Every directed side of every triangle meets the same side running the
// other way in another triangle: the triangles close their solids and are
// all wound alike (sides of no length left aside).
::testing::AssertionResult SidesPairUp(const Scene& scene) {
  struct Side {
    Point from;
    Point to;
  };
  std::vector<Side> sides;
  for (uint32_t i = 0; i < scene.Faces(); ++i) {
    const FaceRecord& f = scene.Face(i);
    const Point p[3] = {scene.At(f.a), scene.At(f.b), scene.At(f.c)};
    for (int k = 0; k < 3; ++k)
      if (!Near(p[k], p[(k + 1) % 3]))
        sides.push_back({p[k], p[(k + 1) % 3]});
  }
  std::vector<bool> paired(sides.size(), false);
  for (size_t i = 0; i < sides.size(); ++i) {
    if (paired[i])
      continue;
    size_t j = i + 1;
    while (j < sides.size() && (paired[j] || !Near(sides[i].from, sides[j].to) || !Near(sides[i].to, sides[j].from)))
      ++j;
    if (j == sides.size())
      return ::testing::AssertionFailure() << "side (" << sides[i].from.x << ", " << sides[i].from.y << ", "
                                           << sides[i].from.z << ") to (" << sides[i].to.x << ", " << sides[i].to.y
                                           << ", " << sides[i].to.z << ") has no partner";
    paired[i] = paired[j] = true;
  }
  return ::testing::AssertionSuccess();
}

Point Normal(const Scene& scene, const FaceRecord& f) {
  const Point a = scene.At(f.a);
  const Point b = scene.At(f.b);
  return Cross(Minus(b, a), Minus(scene.At(f.c), b));
}

// Another triangle over the same corners wound the other way: a ribbon's
// back, or the other side of a part of no height.
bool HasReversedTwin(const Scene& scene, uint32_t i) {
  const FaceRecord& f = scene.Face(i);
  const Point n = Normal(scene, f);
  for (uint32_t k = 0; k < scene.Faces(); ++k) {
    const FaceRecord& g = scene.Face(k);
    bool same = true;
    for (uint32_t v : {f.a, f.b, f.c})
      same = same && (Near(scene.At(v), scene.At(g.a)) || Near(scene.At(v), scene.At(g.b)) ||
                      Near(scene.At(v), scene.At(g.c)));
    const Point m = Normal(scene, g);
    if (same && n.x * m.x + n.y * m.y + n.z * m.z < 0)
      return true;
  }
  return false;
}

// A triangle that lies in its solid's outermost plane along x, y or z
// (front, back, top, bottom, left, right) has its normal (B - A) x (C - B)
// pointing out of the solid, unless it is one side of a flat quad. Solids
// are the triangles that share a reference vertex.
::testing::AssertionResult OuterSidesFaceOutwards(const Scene& scene) {
  const uint32_t faces = scene.Faces();
  for (uint32_t i = 0; i < faces; ++i) {
    const FaceRecord& f = scene.Face(i);
    double low[3] = {1e30, 1e30, 1e30};
    double high[3] = {-1e30, -1e30, -1e30};
    for (uint32_t k = 0; k < faces; ++k) {
      const FaceRecord& g = scene.Face(k);
      if (g.reference != f.reference)
        continue;
      for (uint32_t v : {g.a, g.b, g.c}) {
        const Point p = scene.At(v);
        const double c[3] = {p.x, p.y, p.z};
        for (int axis = 0; axis < 3; ++axis) {
          low[axis] = std::min(low[axis], c[axis]);
          high[axis] = std::max(high[axis], c[axis]);
        }
      }
    }
    const Point n = Normal(scene, f);
    const double normal[3] = {n.x, n.y, n.z};
    const Point corners[3] = {scene.At(f.a), scene.At(f.b), scene.At(f.c)};
    for (int axis = 0; axis < 3; ++axis) {
      if (high[axis] - low[axis] < 1e-3)
        continue;
      bool atLow = true;
      bool atHigh = true;
      for (const Point& p : corners) {
        const double v = axis == 0 ? p.x : axis == 1 ? p.y : p.z;
        atLow = atLow && v - low[axis] < 1e-4;
        atHigh = atHigh && high[axis] - v < 1e-4;
      }
      if (((atHigh && normal[axis] < -1e-6) || (atLow && normal[axis] > 1e-6)) && !HasReversedTwin(scene, i))
        return ::testing::AssertionFailure() << "face " << i << " on the " << (atHigh ? "high" : "low")
                                             << " side of axis " << axis << " is turned inwards";
    }
  }
  return ::testing::AssertionSuccess();
}

// Every face of one solid shares its reference vertex, which lies on the
// floor of the box for everything but pies.
::testing::AssertionResult ReferencesInScene(const Scene& scene) {
  for (uint32_t i = 0; i < scene.Faces(); ++i) {
    const FaceRecord& f = scene.Face(i);
    for (uint32_t v : {f.a, f.b, f.c, f.reference})
      if (v < scene.firstVertex || v >= scene.chart->vertices.Count())
        return ::testing::AssertionFailure() << "face " << i << " refers to vertex " << v;
  }
  return ::testing::AssertionSuccess();
}

struct Counts {
  uint32_t vertices = 0;
  uint32_t faces = 0;
};

// What each builder appends, counted from the series alone.
Counts ExpectedCounts(const Scene& s, uint8_t viewType, bool stacked) {
  const ChartRecord& chart = *s.chart;
  const int n = chart.UsedSeriesCount();
  uint32_t longest = 0;
  for (int k = 0; k < n; ++k) longest = std::max(longest, chart.seriesLists[k].points.Count());
  auto count = [&](int k) { return chart.seriesLists[k].points.Count(); };
  auto negative = [&](int k, uint32_t j) { return (s.PointOf(k, j)->flags & kPointNegative) != 0; };
  // The prism parts of an area segment from point a to point b, with their
  // caps and the two closing sides.
  auto area = [&](int k, uint32_t a, uint32_t b, Counts* c) {
    const int parts = (!negative(k, a) || !negative(k, b)) + (negative(k, a) || negative(k, b));
    const int caps = !s.Usable(k, static_cast<int64_t>(a) - 1) + (b + 1 == count(k) || !s.Usable(k, b + 1));
    c->vertices += 8 * parts;
    c->faces += parts * (4 + 2 * caps) + 4;
  };
  Counts c;
  if (viewType == kViewColumn3D && !stacked) {
    for (int k = 0; k < n; ++k)
      for (uint32_t j = 0; j < count(k); ++j)
        if (chart.series[k].visible && s.Usable(k, j)) {
          c.vertices += 9;
          c.faces += 12;
        }
  } else if (viewType == kViewColumn3D) {
    for (uint32_t j = 0; j < longest; ++j) {
      uint32_t segments = 0;
      for (int k = 0; k < n; ++k) segments += s.Usable(k, j);
      c.vertices += 1 + 8 * segments;
      c.faces += 8 * segments + (segments ? 4 : 0);
    }
  } else if (viewType == kViewLine3D) {
    for (int k = 0; k < n; ++k)
      for (uint32_t j = 0; j + 1 < count(k); ++j)
        if (s.Usable(k, j) && s.Usable(k, j + 1)) {
          c.vertices += 5;
          c.faces += 4;
        }
  } else if (!stacked) {
    for (int k = 0; k < n; ++k)
      for (uint32_t j = 0; j + 1 < count(k); ++j)
        if (s.Usable(k, j) && s.Usable(k, j + 1)) {
          c.vertices += 1;
          area(k, j, j + 1, &c);
        }
  } else {
    for (uint32_t j = 1; j < longest; ++j) {
      c.vertices += 1;
      for (int k = 0; k < n && s.Usable(k, j - 1) && s.Usable(k, j); ++k) area(k, j - 1, j, &c);
    }
  }
  return c;
}

std::vector<double> RandomSeries(std::mt19937& random, int points, bool gaps, bool signs) {
  std::vector<double> values;
  for (int j = 0; j < points; ++j) {
    const int pick = std::uniform_int_distribution<int>(0, 9)(random);
    double v = std::uniform_real_distribution<double>(0.5, 9.5)(random);
    if (signs && pick < 3)
      v = -v;
    if (pick == 3)
      v = 0;
    if (gaps && pick == 4)
      v = kMissing;
    values.push_back(v);
  }
  return values;
}

// Over random series, every builder appends the vertices and triangles its
// rules give, its solids are closed and their triangles face outwards (a
// line's ribbon both ways).
TEST(Builders3D, CountsAndWindingOverRandomSeries) {
  const uint32_t seed = TestSeed(731);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const struct {
    uint8_t viewType;
    bool stacked;
  } kinds[] = {{kViewColumn3D, false}, {kViewColumn3D, true}, {kViewLine3D, false},
               {kViewArea3D, false},   {kViewArea3D, true},   {kViewBar3D, false}};
  for (int trial = 0; trial < 120; ++trial) {
    const auto& kind = kinds[trial % 6];
    const int seriesCount = std::uniform_int_distribution<int>(1, 3)(random);
    // A gap in a stacked area, or a series below that ends earlier, stops the
    // stacking there and leaves the series above open at that end: stacked
    // areas are closed only over series of one length without gaps.
    const bool closedAreas = kind.viewType == kViewArea3D && kind.stacked;
    const int length = std::uniform_int_distribution<int>(1, 6)(random);
    std::vector<std::vector<double>> series;
    std::vector<bool> visible;
    for (int k = 0; k < seriesCount; ++k) {
      const int points = closedAreas ? length : std::uniform_int_distribution<int>(1, 6)(random);
      series.push_back(RandomSeries(random, points, !closedAreas, trial % 12 < 9));
      visible.push_back(std::uniform_int_distribution<int>(0, 4)(random) != 0);
    }
    Scene scene(kind.viewType, kind.stacked, series, visible);
    scene.Build();
    SCOPED_TRACE("trial " + std::to_string(trial) + " view type " + std::to_string(kind.viewType));
    ASSERT_TRUE(scene.built);
    const uint8_t model = kind.viewType == kViewBar3D ? uint8_t{kViewColumn3D} : kind.viewType;
    const Counts expected = ExpectedCounts(scene, model, kind.stacked);
    EXPECT_EQ(scene.Vertices(), expected.vertices);
    EXPECT_EQ(scene.Faces(), expected.faces);
    EXPECT_TRUE(ReferencesInScene(scene));
    EXPECT_TRUE(SidesPairUp(scene));
    EXPECT_TRUE(OuterSidesFaceOutwards(scene));
    EXPECT_TRUE(scene.chart->CheckInvariants());
  }
}

TEST(Builders3D, ColumnsStandInTheirCategoryAndDepthSlots) {
  // Two series of three points on a 300 x 200 plot: slot 100, depth slot d
  // = D / 2 and a square footprint of 70 percent of the smaller slot. A
  // hidden series keeps its depth slot; bars are built as columns.
  for (uint8_t viewType : {kViewColumn3D, kViewBar3D}) {
    Scene scene(viewType, false, {{1, -2, 3}, {2, 2, 2}}, {false, true});
    scene.Build();
    ASSERT_TRUE(scene.built);
    ASSERT_EQ(scene.Faces(), 36u);
    const float depth = DepthSlots(*scene.chart, kPlotWidth, kPlotHeight, 1);
    const double d = depth / 2;
    const double side = std::min(100 * 0.7, d * 0.7);
    const Point r = scene.At(scene.Face(0).reference);
    const Point v1 = scene.At(scene.Face(0).a);
    EXPECT_NEAR(v1.x, (100 - side) / 2, 1e-3);
    EXPECT_NEAR(v1.z, d + (d - side) / 2 + side, 1e-3);  // the front, nearer the viewer
    EXPECT_NEAR(r.x, 50, 1e-3);
    EXPECT_NEAR(r.y, 0, 1e-6);
    EXPECT_NEAR(r.z, d + d / 2, 1e-3);
  }
}

TEST(Builders3D, BarsListTheirFirstCategoryAtTheTopBesideItsLabel) {
  for (bool stacked : {false, true}) {
    auto chart = NewChart(kChart3D);
    SetSeries(*chart, 0, kSeriesCategories, kViewBar3D).axisType = 1;
    SetSeries(*chart, 1, kSeriesData, kViewBar3D).stacked = stacked;
    TestArrays arrays;
    arrays.AddTexts({"First", "Second", "Third"});
    arrays.AddNumbers({1, 2, 3});
    ASSERT_TRUE(arrays.LoadInto(*chart));
    DisplayListSurface surface;
    const PixelRect slot = {0, 0, 399, 299};
    ASSERT_TRUE(Prepare(*chart, surface.Surface(), slot, 100, 100));
    // Each bar by the height of its reference vertex (view y grows upwards)
    // and its length across the plot.
    std::map<float, std::pair<float, float>> bars;
    for (uint32_t i = 0; i < chart->faces.Count(); ++i) {
      const FaceRecord* f = FaceAt(*chart, i);
      const float height = VertexAt(*chart, f->reference)->viewY;
      auto& extent = bars.emplace(height, std::make_pair(1e9f, -1e9f)).first->second;
      for (uint32_t v : {f->a, f->b, f->c}) {
        const float x = VertexAt(*chart, v)->viewX;
        extent.first = std::min(extent.first, x);
        extent.second = std::max(extent.second, x);
      }
    }
    ASSERT_EQ(bars.size(), 3u);
    std::vector<float> lengthsFromTop;
    for (auto it = bars.rbegin(); it != bars.rend(); ++it) lengthsFromTop.push_back(it->second.second - it->second.first);
    EXPECT_LT(lengthsFromTop[0], lengthsFromTop[1]) << stacked;
    EXPECT_LT(lengthsFromTop[1], lengthsFromTop[2]) << stacked;
    // The category labels read from the top as well.
    surface.Clear();
    Draw(*chart, slot, surface.Surface());
    std::vector<int> labelHeights;
    for (const char* name : {"\"First\"", "\"Second\"", "\"Third\""})
      for (const std::string& line : surface.Of("text"))
        if (line.find(name) != std::string::npos)
          labelHeights.push_back(std::stoi(line.substr(line.find(',') + 1)));
    ASSERT_EQ(labelHeights.size(), 3u);
    EXPECT_LT(labelHeights[0], labelHeights[1]);
    EXPECT_LT(labelHeights[1], labelHeights[2]);
  }
}

TEST(Builders3D, NeighbouringPointsMakeRibbonsAndPrisms) {
  const struct {
    uint8_t viewType;
    std::vector<double> values;
    uint32_t faces;
  } cases[] = {
      {kViewColumn3D, {4}, 12},            // one point: a column
      {kViewLine3D, {4}, 0},               // but no ribbon
      {kViewArea3D, {4}, 0},               // and no area
      {kViewLine3D, {1, 2, kMissing, 3, 4}, 8},  // a gap breaks the line
      // The gap closes both neighbouring prisms with a cap: front, back, two
      // caps and the closing sides each.
      {kViewArea3D, {1, 2, kMissing, 3, 4}, 24},
      {kViewArea3D, {1, 2, 3}, 20},        // caps at both ends only
      {kViewArea3D, {2, -2}, 20},          // one prism above, one below the base
  };
  for (const auto& c : cases) {
    Scene scene(c.viewType, false, {c.values});
    scene.Build();
    ASSERT_TRUE(scene.built);
    EXPECT_EQ(scene.Faces(), c.faces) << int(c.viewType) << " " << c.values.size();
    EXPECT_TRUE(SidesPairUp(scene));
    EXPECT_TRUE(OuterSidesFaceOutwards(scene));
  }
}

TEST(Builders3D, StackedColumnsGrowBothWaysFromTheBase) {
  // Category 0: 3 and 2 above, -1 below; category 1 only the first series.
  Scene scene(kViewColumn3D, true, {{3, 1}, {2}, {-1}});
  scene.Build();
  ASSERT_TRUE(scene.built);
  EXPECT_EQ(scene.Faces(), 3u * 8 + 4 + 8 + 4);
  EXPECT_EQ(scene.Vertices(), 2u + 8 * 4);
  EXPECT_TRUE(SidesPairUp(scene));
  // The top of the stack is the second series' segment, in its colour; the
  // bottom the third's.
  const FaceRecord top = scene.Face(24);
  const FaceRecord bottom = scene.Face(26);
  EXPECT_EQ(+top.colour, scene.FillColour(scene.chart->series[1].fill));
  EXPECT_EQ(+bottom.colour, scene.FillColour(scene.chart->series[2].fill));
  EXPECT_GT(scene.At(top.a).y, scene.At(bottom.a).y);
}

uint32_t StepsOf(const Scene& scene) {
  // Every step has its top, bottom and two rim triangles.
  uint32_t tops = 0;
  for (uint32_t i = 0; i < scene.Faces(); ++i) tops += scene.Face(i).edges == 2;
  return tops / 2;
}

TEST(Builders3D, PieSlicesWalkTheirArcsInSteps) {
  const struct {
    std::vector<double> values;
    uint8_t split;
    uint32_t steps;
    uint32_t faces;
  } cases[] = {
      {{5}, 0, 110, 440},              // a whole turn in 110 steps
      {{5}, 15, 110, 444},             // with its start and end walls
      {{1, 359}, 0, 1 + 110, 444},     // one degree in one step
      {{-1, -359}, 0, 1 + 110, 444},   // magnitudes of a negative pie
      {{1, 0, 3}, 15, 28 + 83, 444 + 8},
      {{0, 0}, 15, 0, 0},              // a total of 0 builds nothing
      {{2, -5, 2}, 0, 110, 440},       // the other sign is left out
  };
  for (const auto& c : cases) {
    Scene scene(kViewPie3D, false, {c.values});
    scene.chart->options.pieSplit = c.split;
    scene.Build();
    ASSERT_TRUE(scene.built);
    EXPECT_EQ(StepsOf(scene), c.steps) << c.values.size() << " split " << int(c.split);
    EXPECT_EQ(scene.Faces(), c.faces) << c.values.size() << " split " << int(c.split);
    EXPECT_TRUE(SidesPairUp(scene));
    EXPECT_TRUE(OuterSidesFaceOutwards(scene));
  }
  Scene mixed(kViewPie3D, false, {{2, -5, 2}});
  mixed.Build();
  EXPECT_EQ(mixed.PointOf(0, 1)->flags & kPointCut, +kPointCut);
  EXPECT_EQ(kArcStep, 0.05711986642890527);
}

// A labelled pie leaves room for its labels and places one per slice: the
// anchor in the middle of the slab at the slice's centre, the other two
// beyond the rim at the middle angle, at the front and at the back.
TEST(Builders3D, PieLabelsSitBesideTheirSlices) {
  double radius[2] = {0, 0};
  for (uint8_t labelKind : {0, 2}) {
    Scene scene(kViewPie3D, false, {{1, -2, 3}});
    scene.chart->series[0].labelKind = labelKind;
    scene.chart->lineUnit = 4;
    scene.Build();
    ASSERT_TRUE(scene.built);
    const SeriesLists& lists = scene.chart->seriesLists[0];
    const FaceRecord first = scene.Face(0);
    const Point centre = scene.At(first.a);
    const Point rim = scene.At(first.reference);
    radius[labelKind != 0] = std::hypot(rim.x - centre.x, rim.y - centre.y);
    if (labelKind == 0) {
      EXPECT_EQ(lists.labels.Count(), 0u);
      continue;
    }
    // The -2 was cut from the pie and has no label.
    ASSERT_EQ(lists.labels.Count(), 2u);
    const uint32_t points[2] = {0, 2};
    for (uint32_t i = 0; i < 2; ++i) {
      const LabelRecord label = *LabelAt(lists, i);
      EXPECT_EQ(label.point, points[i]);
      EXPECT_EQ(label.horizontal + label.vertical, 0);
      EXPECT_EQ(label.second, label.anchor + 1);
      EXPECT_EQ(label.third, label.anchor + 2);
      const Point m = scene.At(label.anchor);
      const Point front = scene.At(label.second);
      const Point back = scene.At(label.third);
      EXPECT_NEAR(front.x, back.x, 1e-4);
      EXPECT_NEAR(front.y, back.y, 1e-4);
      EXPECT_NEAR(m.z, (front.z + back.z) / 2, 1e-4);
      EXPECT_GT(front.z, back.z);
      EXPECT_NEAR(std::hypot(front.x - m.x, front.y - m.y), radius[1] + 2 * 4, 1e-3);
    }
    // The first slice (a quarter) is labelled at 45 degrees, right of the
    // top: x and y beyond its centre alike.
    const Point m = scene.At(LabelAt(lists, 0)->anchor);
    const Point q = scene.At(LabelAt(lists, 0)->second);
    EXPECT_NEAR(q.x - m.x, q.y - m.y, 1e-3);
    EXPECT_GT(q.x, m.x);
  }
  EXPECT_LT(radius[1], radius[0]);
}

TEST(Builders3D, SliceFillsRepeatAfterTheStoredCount) {
  const struct {
    uint8_t count;
    uint32_t point;
    int fill;
  } cases[] = {{16, 16, 0}, {16, 17, 1}, {3, 4, 1}, {1, 9, 0}, {0, 17, 1}, {17, 16, 0}, {255, 20, 4}};
  for (const auto& c : cases) {
    SeriesRecord s = {};
    s.sliceCount = c.count;
    EXPECT_EQ(SliceFillIndex(s, c.point), c.fill) << int(c.count) << " " << c.point;
  }
  // A stored count of 0 colours a pie with all 16 fills instead of failing.
  Scene scene(kViewPie3D, false, {{1, 1, 1}});
  scene.chart->series[0].sliceCount = 0;
  scene.Build();
  ASSERT_TRUE(scene.built);
  EXPECT_EQ(+scene.Face(0).colour, scene.FillColour(scene.chart->series[0].sliceFills[0]));
  EXPECT_EQ(+scene.Face(scene.Faces() - 1).colour, scene.FillColour(scene.chart->series[0].sliceFills[2]));
}

TEST(Builders3D, AMissingPlaneFailsTheBuilder) {
  Scene scene(kViewColumn3D, false, {{1, 2}});
  ChartCanvas canvas = {*scene.chart, scene.surface.Surface(), {}, {}};
  ASSERT_TRUE(BuildPlaneXY(canvas, kPlotWidth, kPlotHeight));
  SeriesList data;
  CollectSeries(*scene.chart, &data, kSeriesData);
  EXPECT_FALSE(RunBuilder3D(canvas, kBuildColumns3D, data));
  EXPECT_EQ(scene.chart->error, 27);
  EXPECT_EQ(scene.chart->faces.Count(), 0u);
}

}  // namespace
