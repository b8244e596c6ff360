// The frame in model coordinates (pixels of the plot, y up, before the scene
// is centred): planes and their grid lines, axis lines and ticks, labels.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/frame/axis_labels.h"
#include "charts/frame/axis_records.h"
#include "charts/frame/chart_planes.h"
#include "charts/frame/draw_frame.h"
#include "charts/frame/grid_positions.h"
#include "charts/series/axis_scale.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

struct Point {
  float x;
  float y;
  float z;
  bool operator==(const Point& o) const { return x == o.x && y == o.y && z == o.z; }
};

std::ostream& operator<<(std::ostream& out, const Point& p) {
  return out << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

Point Model(const ChartRecord& chart, uint32_t i) {
  const VertexRecord* v = VertexAt(chart, i);
  return v ? Point{v->modelX, v->modelY, v->modelZ} : Point{-1e9f, -1e9f, -1e9f};
}

// A chart prepared by hand: its zoom words as a preparation sets them.
struct Frame {
  std::unique_ptr<ChartRecord> chart;
  DisplayListSurface surface;
  ChartCanvas canvas;

  explicit Frame(uint8_t kind) : chart(NewChart(kind)), canvas{*chart, surface.Surface(), {}, {}} {
    chart->lineUnit = 4;
  }
};

std::vector<std::string> Labels(const ChartRecord& chart, int series) {
  std::vector<std::string> out;
  for (uint32_t i = 0; i < AxisLabelCount(chart.series[series]); ++i) {
    char text[kAxisLabelSize];
    out.push_back(AxisLabelText(chart, series, i, text, sizeof text) ? text : "(none)");
  }
  return out;
}

TEST(ChartFrame, FirstLeftAxisStandsATickAndAGapOutside) {
  Frame f(kChart2D);
  SeriesRecord& s = SetSeries(*f.chart, 0, kSeriesData, kViewColumn);
  s.axisType = 1;
  s.axisFlags = kAxisMajorTicks | kAxisMinorTicks;  // no labels: no extent
  s.periods = 5;
  s.subperiods = 2;
  TestArrays arrays;
  arrays.AddNumbers({0.5, 9.2});
  ASSERT_TRUE(arrays.LoadInto(*f.chart));
  const float h = 200;
  ASSERT_TRUE(BuildAxes(f.canvas, 300, 200));
  ASSERT_EQ(f.canvas.axes.count, 1);
  const AxisRecord& axis = f.canvas.axes.records[0];
  EXPECT_EQ(axis.position, kAxisLeft);
  EXPECT_EQ(Model(*f.chart, axis.firstVertex + 0), (Point{-3, h, 0}));
  EXPECT_EQ(Model(*f.chart, axis.firstVertex + 1), (Point{-13, h, 0}));
  EXPECT_EQ(Model(*f.chart, axis.firstVertex + 2), (Point{-13, 0, 0}));
  EXPECT_EQ(Model(*f.chart, axis.firstVertex + 3), (Point{-3, 0, 0}));
  EXPECT_EQ(AxisStartVertex(axis), axis.firstVertex + 2);
  ASSERT_EQ(+axis.majorTicks, 4u);  // at 2, 4, 6 and 8 of 0 .. 10
  ASSERT_EQ(+axis.minorTicks, 5u);
  EXPECT_EQ(Model(*f.chart, axis.firstVertex + 4), (Point{-13, 0.2f * h, 0}));
  EXPECT_EQ(Model(*f.chart, axis.firstVertex + 5), (Point{-3, 0.2f * h, 0}));
  const uint32_t minor = axis.firstVertex + 4 + 2 * 4;
  EXPECT_EQ(Model(*f.chart, minor), (Point{-13, 0.1f * h, 0}));
  EXPECT_EQ(Model(*f.chart, minor + 1), (Point{-8, 0.1f * h, 0}));
}

TEST(ChartFrame, LaterAxesOnTheSameSideStandFurtherOut) {
  Frame f(kChart2D);
  for (int i = 0; i < 2; ++i) {
    SeriesRecord& s = SetSeries(*f.chart, i, kSeriesData, kViewLine);
    s.axisType = 1;
    s.axisFlags = kAxisLabelsHorizontal | kAxisMajorTicks;
    s.periods = 5;
  }
  TestArrays arrays;
  arrays.AddNumbers({0.5, 9.2});
  arrays.AddNumbers({100, 300});
  ASSERT_TRUE(arrays.LoadInto(*f.chart));
  ASSERT_TRUE(BuildAxes(f.canvas, 300, 200));
  ASSERT_EQ(f.canvas.axes.count, 2);
  const AxisRecord& first = f.canvas.axes.records[0];
  const AxisRecord& second = f.canvas.axes.records[1];
  // The widest label "10" in 10-point Arial is 14 pixels, and a line unit.
  EXPECT_EQ(+first.extent, 14u + 4);
  EXPECT_EQ(Model(*f.chart, second.firstVertex + 1).x, -13 - (13 + 18.0f));

  // Box axes of the same code step out by 1.4 times as much.
  Frame box(kChart3D);
  SetSeries(*box.chart, 0, kSeriesXValues, kViewColumn3D).axisFlags = kAxisLabelsHorizontal;
  TestArrays values;
  values.AddNumbers({1, 2});
  ASSERT_TRUE(values.LoadInto(*box.chart));
  ASSERT_TRUE(BuildAxis(box.canvas, kAxisBottom3D, 300, 200, 0));
  ASSERT_TRUE(BuildAxis(box.canvas, kAxisBottom3D, 300, 200, 0));
  const float d = DepthSlots(*box.chart, 300, 200, 1);
  const float e = static_cast<float>(box.canvas.axes.records[0].extent);
  EXPECT_EQ(Model(*box.chart, box.canvas.axes.records[0].firstVertex + 1).z, d + 13);
  EXPECT_FLOAT_EQ(Model(*box.chart, box.canvas.axes.records[1].firstVertex + 1).z, d + 13 + 1.4f * (13 + e));
}

TEST(ChartFrame, AxisBuilderRefusesUnknownPositionsAndAFullTable) {
  Frame f(kChart2D);
  SetSeries(*f.chart, 0, kSeriesErrorBars, kViewScatter).axisType = 1;
  EXPECT_FALSE(BuildAxes(f.canvas, 100, 100));
  EXPECT_FALSE(BuildAxis(f.canvas, 64, 100, 100, 0));
  EXPECT_EQ(f.canvas.axes.count, 0);
  SetSeries(*f.chart, 0, kSeriesData, kViewColumn);
  for (int i = 0; i < kMaxAxisRecords; ++i) ASSERT_TRUE(BuildAxis(f.canvas, kAxisLeft, 100, 100, 0));
  EXPECT_FALSE(BuildAxis(f.canvas, kAxisLeft, 100, 100, 0));
}

TEST(ChartFrame, ValueAxesLabelTheirDivisions) {
  struct Case {
    const char* what;
    uint8_t scale;
    uint16_t periods;
    std::vector<double> values;
    uint8_t category;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {"linear", kScaleLinear, 5, {0.5, 3.7, 9.2}, kNumFormatDefault, {"0", "2", "4", "6", "8", "10"}},
      {"base 2", kScaleLog2, 4, {1, 16}, kNumFormatDefault, {"2^0", "2^1", "2^2", "2^3", "2^4"}},
      {"below 1 in base e", kScaleLogE, 2, {0.2, 1}, kNumFormatDefault, {"e^-2", "e^-1", "e^0"}},
      {"base 10", kScaleLog10, 2, {10, 1000}, kNumFormatDefault, {"10", "100", "1000"}},
      {"percent", kScaleLinear, 2, {0.25, 1}, kNumFormatPercent, {"0%", "50%", "100%"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto chart = NewChart(kChart2D);
    SeriesRecord& s = SetSeries(*chart, 0, kSeriesData, kViewLine);
    s.scale = c.scale;
    s.periods = c.periods;
    s.numberFormat.category = c.category;
    s.numberFormat.options.number.fixedDecimals = 1;
    TestArrays arrays;
    arrays.AddNumbers(c.values);
    ASSERT_TRUE(arrays.LoadInto(*chart));
    EXPECT_EQ(Labels(*chart, 0), c.labels);
  }
}

TEST(ChartFrame, CategoryAxesLabelEachGroupByItsMiddle) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& s = SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  s.divisor = 10;
  std::vector<std::string> names;
  for (int i = 1; i <= 100; ++i) names.push_back("c" + std::to_string(i));
  names[15] = "";  // an empty label is still a label
  TestArrays arrays;
  arrays.AddTexts(names);
  ASSERT_TRUE(arrays.LoadInto(*chart));
  const std::vector<std::string> labels = Labels(*chart, 0);
  ASSERT_EQ(labels.size(), 10u);
  EXPECT_EQ(labels[0], "c6");
  EXPECT_EQ(labels[1], "");
  EXPECT_EQ(labels[9], "c96");
}

// Grid records of the XY wall by series, as (first, second) points.
std::vector<std::pair<Point, Point>> Lines(const ChartRecord& chart, uint32_t first, uint32_t count) {
  std::vector<std::pair<Point, Point>> out;
  for (uint32_t k = 0; k < count; ++k) out.push_back({Model(chart, first + 2 * k), Model(chart, first + 2 * k + 1)});
  return out;
}

TEST(ChartFrame, GridLinesStandAtTheDivisionsAndMinorOnesStopShort) {
  Frame f(kChart2D);
  SeriesRecord& s = SetSeries(*f.chart, 0, kSeriesData, kViewColumn);
  s.periods = 5;
  s.subperiods = 2;
  s.userGridCount = 2;
  s.userGridValues[0] = 5;
  s.userGridValues[1] = 11;  // off the axis
  TestArrays arrays;
  arrays.AddNumbers({0.5, 9.2});
  ASSERT_TRUE(arrays.LoadInto(*f.chart));
  ASSERT_TRUE(BuildPlaneXY(f.canvas, 100, 50));
  ASSERT_EQ(f.canvas.layout.gridCount, 1);
  const GridRecord& grid = f.canvas.layout.grids[0];
  EXPECT_EQ(grid.wall, kWallXY);
  ASSERT_EQ(+grid.majorLines, 4u);
  ASSERT_EQ(+grid.minorLines, 5u);
  EXPECT_EQ(+grid.userLines, 1u);
  const auto major = Lines(*f.chart, grid.firstVertex, 4);
  EXPECT_EQ(major[0].first, (Point{0, 10, 0}));
  EXPECT_EQ(major[0].second, (Point{100, 10, 0}));
  EXPECT_EQ(major[3].first, (Point{0, 40, 0}));
  const auto minor = Lines(*f.chart, grid.firstVertex + 8, 5);
  EXPECT_EQ(minor[0].first, (Point{1, 5, 0}));
  EXPECT_EQ(minor[0].second, (Point{99, 5, 0}));
  const auto user = Lines(*f.chart, grid.firstVertex + 18, 1);
  EXPECT_EQ(user[0].first, (Point{0, 25, 0}));
  EXPECT_EQ(user[0].second, (Point{100, 25, 0}));

  // Without major lines there are no minor ones either; user lines stay.
  Frame plain(kChart2D);
  SeriesRecord& t = SetSeries(*plain.chart, 0, kSeriesData, kViewColumn);
  t = s;
  t.majorGrid.style = 0;
  TestArrays again;
  again.AddNumbers({0.5, 9.2});
  ASSERT_TRUE(again.LoadInto(*plain.chart));
  ASSERT_TRUE(BuildPlaneXY(plain.canvas, 100, 50));
  EXPECT_EQ(+plain.canvas.layout.grids[0].majorLines, 0u);
  EXPECT_EQ(+plain.canvas.layout.grids[0].minorLines, 0u);
  EXPECT_EQ(+plain.canvas.layout.grids[0].userLines, 1u);
}

TEST(ChartFrame, UserGridLinesStandOnlyWithinTheirAxis) {
  struct Case {
    const char* what;
    uint8_t role;
    uint8_t scale;
    double line;
    bool laid;
    float position;
  };
  const Case cases[] = {
      {"category 3 of 10", kSeriesCategories, kScaleLinear, 3, true, 0.3f},
      {"category 0.5", kSeriesCategories, kScaleLinear, 0.5, false, 0},
      {"category 10", kSeriesCategories, kScaleLinear, 10, false, 0},
      {"log value 0 within -1 .. 2", kSeriesData, kScaleLog10, 0, true, 1 / 3.0f},
      {"log value 1 within -1 .. 2", kSeriesData, kScaleLog10, 10, true, 2 / 3.0f},
      {"log value 1000 beyond", kSeriesData, kScaleLog10, 1000, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto chart = NewChart(kChart2D);
    SeriesRecord& s = SetSeries(*chart, 0, c.role, kViewColumn);
    s.scale = c.scale;
    s.userGridValues[0] = c.line;
    TestArrays arrays;
    if (c.role == kSeriesCategories) {
      arrays.AddCounting(10);
    } else {
      s.flags = kSeriesFromValueSet | kSeriesToValueSet;  // log limits -1 .. 2, kept
      s.fromValue = 0.1;
      s.toValue = 100;
      arrays.AddNumbers({1, 50});
    }
    ASSERT_TRUE(arrays.LoadInto(*chart));
    float position = -1;
    EXPECT_EQ(UserLinePosition(*chart, 0, 0, &position), c.laid);
    if (c.laid) {
      EXPECT_NEAR(position, c.position, 1e-6);
    }
  }
}

TEST(ChartFrame, TheBoxSeparatesUnstackedSeriesInDepth) {
  Frame f(kChart3D);
  for (int i = 0; i < 3; ++i) SetSeries(*f.chart, i, kSeriesData, kViewColumn3D).stacked = i == 1;
  f.chart->series[0].userGridCount = 1;
  f.chart->series[0].userGridValues[0] = 2;
  TestArrays arrays;
  for (int i = 0; i < 3; ++i) arrays.AddNumbers({1, 2, 3, 4});
  ASSERT_TRUE(arrays.LoadInto(*f.chart));
  const float d = DepthSlots(*f.chart, 300, 200, 1);
  EXPECT_FLOAT_EQ(d, 3 * (300 / 4.0f));  // two unstacked series and one slot more
  ASSERT_TRUE(BuildPlaneXY(f.canvas, 300, 200));
  ASSERT_TRUE(BuildPlaneYZ(f.canvas, 300, 200));
  ASSERT_TRUE(BuildPlaneXZ(f.canvas, 300, 200));
  const PlaneRecord& side = f.canvas.layout.planes[kPlaneYZ];
  const PlaneRecord& floor = f.canvas.layout.planes[kPlaneXZ];
  ASSERT_EQ(+side.extraLines, 1u);
  ASSERT_EQ(+floor.extraLines, 1u);
  EXPECT_EQ(Model(*f.chart, side.firstVertex + 4), (Point{0, 0, 2 * d / 3}));
  EXPECT_EQ(Model(*f.chart, side.firstVertex + 5), (Point{0, 200, 2 * d / 3}));
  EXPECT_EQ(Model(*f.chart, floor.firstVertex + 5), (Point{300, 0, 2 * d / 3}));
  // The YZ wall carries the data series' grids; user lines stop short in depth.
  int found = 0;
  for (int g = 0; g < f.canvas.layout.gridCount; ++g) {
    const GridRecord& grid = f.canvas.layout.grids[g];
    if (grid.wall != kWallYZ || grid.series != 0)
      continue;
    ++found;
    ASSERT_EQ(+grid.userLines, 1u);
    const uint32_t user = grid.firstVertex + 2 * (grid.majorLines + grid.minorLines);
    EXPECT_EQ(Model(*f.chart, user).z, 1);
    EXPECT_EQ(Model(*f.chart, user + 1).z, d - 1);
  }
  EXPECT_EQ(found, 1);

  // A 3D bar series puts the side wall at the plot's right.
  Frame bars(kChart3D);
  SetSeries(*bars.chart, 0, kSeriesData, kViewBar3D);
  TestArrays values;
  values.AddNumbers({1, 2});
  ASSERT_TRUE(values.LoadInto(*bars.chart));
  ASSERT_TRUE(BuildPlaneYZ(bars.canvas, 300, 200));
  EXPECT_EQ(Model(*bars.chart, bars.canvas.layout.planes[kPlaneYZ].firstVertex).x, 300);
}

TEST(ChartFrame, AxisLinesDrawTheTicksTheirFlagsAskFor) {
  struct Case {
    uint16_t flags;
    size_t lines;
  };
  // Five divisions of two subdivisions: 4 major and 5 minor ticks.
  const Case cases[] = {{kAxisMajorTicks | kAxisMinorTicks, 9}, {kAxisMinorTicks, 5}, {kAxisMajorTicks, 4}, {0, 0}};
  for (const Case& c : cases) {
    Frame f(kChart2D);
    SeriesRecord& s = SetSeries(*f.chart, 0, kSeriesData, kViewColumn);
    s.axisType = 1;
    s.axisFlags = c.flags;
    s.periods = 5;
    s.subperiods = 2;
    TestArrays arrays;
    arrays.AddNumbers({0.5, 9.2});
    ASSERT_TRUE(arrays.LoadInto(*f.chart));
    ASSERT_TRUE(BuildAxes(f.canvas, 100, 100));
    CopyModelToView(*f.chart);
    DrawAxisLine(f.canvas, f.canvas.axes.records[0]);
    EXPECT_EQ(f.surface.Of("polyline").size(), 1u);
    EXPECT_EQ(f.surface.Of("line").size(), c.lines) << "flags " << c.flags;
  }
}

}  // namespace

namespace {

// A value axis whose divisions and subdivisions outnumber its pixels lays
// out a line at most once a half pixel, where the lines would all coincide
// anyway: every slot the full count reaches, and no more.
TEST(ChartFrame, DivisionsFinerThanPixelsAreLaidOutOncePerPixel) {
  Frame f(kChart2D);
  SeriesRecord& s = SetSeries(*f.chart, 0, kSeriesData, kViewColumn);
  s.periods = 65534;
  s.subperiods = 65534;
  s.flags |= kSeriesFromValueSet | kSeriesToValueSet;
  s.fromValue = 0;
  s.toValue = 1;
  TestArrays arrays;
  arrays.AddNumbers({0.5, 0.7});
  ASSERT_TRUE(arrays.LoadInto(*f.chart));
  ASSERT_TRUE(BuildPlaneXY(f.canvas, 100, 50));
  const GridRecord& grid = f.canvas.layout.grids[0];
  const uint32_t slots = AxisSlots(100, 50, 0);
  EXPECT_GE(+grid.majorLines, slots - 2);
  EXPECT_LE(+grid.majorLines, slots + 1);
  EXPECT_LE(+grid.minorLines, slots + 1);
  // Lines stay in order along the axis, one per slot.
  const auto major = Lines(*f.chart, grid.firstVertex, grid.majorLines);
  for (size_t k = 1; k < major.size(); ++k) EXPECT_GT(major[k].first.y, major[k - 1].first.y);
  // Five divisions lay out exactly their four lines, as before.
  s.periods = 5;
  s.subperiods = 2;
  Frame few(kChart2D);
  SetSeries(*few.chart, 0, kSeriesData, kViewColumn) = s;
  TestArrays again;
  again.AddNumbers({0.5, 0.7});
  ASSERT_TRUE(again.LoadInto(*few.chart));
  ASSERT_TRUE(BuildPlaneXY(few.canvas, 100, 50));
  EXPECT_EQ(+few.canvas.layout.grids[0].majorLines, 4u);
  EXPECT_EQ(+few.canvas.layout.grids[0].minorLines, 5u);
}

// The category step follows the categories loaded last: 100,000 of them
// are labelled every thousand, four of them each.
TEST(ChartFrame, CategoryStepFollowsTheCategoriesLoadedLast) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  std::vector<double> many(100000, 1.0);
  TestArrays arrays;
  arrays.AddNumbers(many);
  ASSERT_TRUE(arrays.LoadInto(*chart));
  uint32_t divisor = chart->series[0].divisor;  // a packed field
  EXPECT_EQ(divisor, 1000u);
  EXPECT_EQ(Labels(*chart, 0).size(), 100u);
  TestArrays four;
  four.AddTexts({"a", "b", "c", "d"});
  ASSERT_TRUE(four.LoadInto(*chart));
  divisor = chart->series[0].divisor;
  EXPECT_EQ(divisor, 1u);
  EXPECT_EQ(Labels(*chart, 0), (std::vector<std::string>{"a", "b", "c", "d"}));
}

}  // namespace
