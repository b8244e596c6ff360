#include "charts/prepare/chart_prepare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "charts/builders/chart_builders.h"
#include "charts/builders/point_marker.h"
#include "charts/frame/axis_labels.h"
#include "charts/prepare/builder_plan.h"
#include "charts/series/chart_errors.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

const PixelRect kSlot = {10, 20, 509, 319};  // 500 x 300

// A column chart of two series with a category axis and a value axis.
std::unique_ptr<ChartRecord> ColumnChart(TestArrays& arrays) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& categories = SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  categories.axisType = 1;
  SeriesRecord& values = SetSeries(*chart, 1, kSeriesData, kViewColumn);
  values.axisType = 1;
  values.periods = 5;
  SetName(values, "Sales");
  arrays.AddTexts({"North", "South", "East"});
  arrays.AddNumbers({0.5, 3.7, 9.2});
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

ChartLayout PreparedLayout(const ChartRecord& chart) {
  ChartLayout layout;
  AxisTable axes;
  LoadLayout(chart, &layout, &axes);
  return layout;
}

TEST(ChartPrepare, ZoomSetsTheLineUnitAndTickLength) {
  struct Case {
    uint16_t zoomX;
    uint16_t zoomY;
    uint32_t lineUnit;
    int32_t tick;
  };
  const Case cases[] = {{100, 100, 4, 10}, {150, 100, 6, 15}, {100, 150, 6, 15}, {50, 75, 3, 7}, {10, 10, 0, 1}};
  for (const Case& c : cases) {
    TestArrays arrays;
    auto chart = ColumnChart(arrays);
    DisplayListSurface surface;
    ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, c.zoomX, c.zoomY));
    EXPECT_EQ(chart->lineUnit, c.lineUnit) << c.zoomX << " x " << c.zoomY;
    EXPECT_EQ(TickLength(*chart), c.tick) << c.zoomX << " x " << c.zoomY;
  }
}

TEST(ChartPrepare, PlotPercentagesWidenBothMargins) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesData, kViewColumn);
  chart->options.viewWidth = 80;
  chart->options.viewHeight = 50;
  TestArrays arrays;
  arrays.AddNumbers({1, 2});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  const ChartLayout layout = PreparedLayout(*chart);
  EXPECT_EQ(+layout.margins.left, 50);
  EXPECT_EQ(+layout.margins.right, 50);
  EXPECT_EQ(+layout.plotWidth, 400);
  EXPECT_EQ(+layout.margins.top, 75);
  EXPECT_EQ(+layout.margins.bottom, 75);
  EXPECT_EQ(+layout.plotHeight, 150);
}

TEST(ChartPrepare, AxesTakeRoomForTicksLabelsAndALineUnit) {
  TestArrays arrays;
  auto chart = ColumnChart(arrays);
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  const ChartLayout layout = PreparedLayout(*chart);
  // Left: "10" (14 wide) and a unit, a unit and a tick; bottom: a label's
  // height (15) and a unit, a unit and a tick.
  EXPECT_EQ(+layout.margins.left, 14 + 4 + 4 + 10);
  EXPECT_EQ(+layout.margins.bottom, 15 + 4 + 4 + 10);
  EXPECT_EQ(+layout.plotWidth, 500 - 32);
}

TEST(ChartPrepare, AChartWithoutDataIsNeitherPreparedNorDrawn) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesData, kViewColumn);
  chart->error = 28;
  DisplayListSurface surface;
  EXPECT_FALSE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  EXPECT_EQ(chart->error, 28);
  Draw(*chart, kSlot, surface.Surface());
  EXPECT_TRUE(surface.Lines().empty());
}

TEST(ChartPrepare, APreparationServesTheSameSlotSizeZoomAndDeviceOnly) {
  TestArrays arrays;
  auto chart = ColumnChart(arrays);
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  const PixelRect moved = {110, 220, 609, 519};
  surface.Clear();
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), moved, 100, 100));
  EXPECT_TRUE(surface.Lines().empty()) << "the same size elsewhere is not measured again";

  // Drawn into an image at another size or zoom, or on a printer, the chart
  // is laid out anew rather than clipped to the view's layout.
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), {0, 0, 799, 299}, 100, 100));
  EXPECT_EQ(+PreparedLayout(*chart).slotWidth, 800);
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), {0, 0, 799, 299}, 150, 150));
  EXPECT_EQ(chart->lineUnit, 6u);
  surface.SetPrinting(true);
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), {0, 0, 799, 299}, 150, 150));
  EXPECT_EQ(PreparedLayout(*chart).printing, 1);
}

TEST(ChartPrepare, EveryNonEmptyTitleIsLaidOutInOrder) {
  struct Case {
    const char* title;
    const char* subtitle;
    std::vector<std::string> drawn;
  };
  const Case cases[] = {
      {"Sales", "", {"\"Sales\""}},
      {"", "by region", {"\"by region\""}},  // once laid out as the empty title
      {"Sales", "by region", {"\"Sales\"", "\"by region\""}},
      {"", "", {}},
  };
  for (const Case& c : cases) {
    auto chart = NewChart(kChart2D);
    SetSeries(*chart, 0, kSeriesData, kViewColumn);
    std::strcpy(chart->options.titleText, c.title);
    std::strcpy(chart->options.subtitleText, c.subtitle);
    TestArrays arrays;
    arrays.AddNumbers({1});
    ASSERT_TRUE(arrays.LoadInto(*chart));
    DisplayListSurface surface;
    ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
    // Each title is 15 pixels high, one more for its bottom row, then a unit.
    EXPECT_EQ(+PreparedLayout(*chart).margins.top, c.drawn.empty() ? 0 : 16 * int(c.drawn.size()) + 4);
    surface.Clear();
    Draw(*chart, kSlot, surface.Surface());
    std::vector<std::string> texts;
    for (const std::string& line : surface.Of("text")) texts.push_back(line.substr(line.rfind(" \"") + 1));
    EXPECT_EQ(texts, c.drawn) << "'" << c.title << "' and '" << c.subtitle << "'";
  }
}

TEST(ChartPrepare, ARowLegendAtTheRightIsCentredVertically) {
  auto chart = NewChart(kChart2D);
  const char* names[] = {"A", "B", "C"};
  for (int i = 0; i < 3; ++i) SetName(SetSeries(*chart, i, kSeriesData, kViewColumn), names[i]);
  chart->options.legend = 6;
  TestArrays arrays;
  for (int i = 0; i < 3; ++i) arrays.AddNumbers({1.0 + i});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  // Each entry: its name (9 wide), three units and a marker of 7.
  const int32_t width = 3 * (9 + 12 + 7);
  EXPECT_EQ(+PreparedLayout(*chart).margins.right, width + 8);
  surface.Clear();
  Draw(*chart, kSlot, surface.Surface());
  const std::vector<std::string> texts = surface.Of("text");
  ASSERT_EQ(texts.size(), 3u);
  // Height: the larger of a text (15) and a marker (7), from the middle down.
  const int32_t y = (kSlot.top + kSlot.bottom) / 2 - 15 / 2;
  int32_t x = kSlot.right - width - 4;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].substr(0, texts[i].find(" align")),
              "text " + std::to_string(x + 7 + 4) + "," + std::to_string(y));
    x += 9 + 8 + 7;
  }
}

struct MarkerCase {
  uint8_t kind;
  uint16_t zoom;
  bool printing;
  const char* drawn;
};

TEST(DrawMarker, KindsAndSizes) {
  const MarkerCase cases[] = {
      {1, 100, false, "pixel 50,50 #000000\n"},
      {4, 100, false, "polygon 47,47 53,47 53,53 47,53\n"},  // side 7
      {2, 200, false, "polygon 48,48 52,48 52,52 48,52\n"},
      {6, 100, false, "polygon 50,48 52,50 50,52 48,50\n"},
      {9, 100, false, "polygon 48,51 48,49 49,48 51,48 52,49 52,51 51,52 49,52 48,51\n"},
      {9, 100, true, "ellipse 48,48 52,52\n"},
      {11, 150, false, "polygon 44,53 44,47 47,44 53,44 56,47 56,53 53,56 47,56 44,53\n"},
      {14, 100, false, "line 47,47 53,53\nline 47,53 53,47\n"},
      {12, 100, false, "line 47,50 53,50\nline 50,47 50,53\nline 47,47 53,53\nline 47,53 53,47\n"},
      {0, 100, false, ""},
  };
  for (const MarkerCase& c : cases) {
    DisplayListSurface surface(c.printing);
    DrawMarker(surface.Surface(), 50, 50, c.kind, MarkerErrorBars{}, c.zoom);
    EXPECT_EQ(surface.Text(), c.drawn) << "kind " << int(c.kind) << " at " << c.zoom;
  }
  EXPECT_EQ(MarkerSizeCode(9), 5);
  EXPECT_EQ(MarkerSizeCode(13), 9);
}

TEST(DrawMarker, ErrorBarsEndInCapsOrArrowheads) {
  DisplayListSurface surface;
  // Kind 4: half size 3, cap half-width 2. The up bar is shorter than half
  // the marker and is left out.
  DrawMarker(surface.Surface(), 50, 50, 4, {0, 10, 8, 2, kArrowRight}, 100);
  EXPECT_EQ(surface.Text(),
            "line 50,50 50,58\nline 48,58 52,58\n"
            "line 50,50 60,50\nline 60,50 57,47\nline 60,50 57,53\n"
            "polygon 47,47 53,47 53,53 47,53\n");
}

TEST(ChartPrepare, WallsStayAwayFromAPieAlone) {
  for (bool withColumns : {false, true}) {
    auto chart = NewChart(kChart2D);
    SetSeries(*chart, 0, kSeriesData, kViewPie);
    if (withColumns)
      SetSeries(*chart, 1, kSeriesData, kViewColumn);
    TestArrays arrays;
    arrays.AddNumbers({1, 2});
    arrays.AddNumbers({3, 4});
    ASSERT_TRUE(arrays.LoadInto(*chart));
    DisplayListSurface surface;
    ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
    Draw(*chart, kSlot, surface.Surface());
    EXPECT_EQ(surface.Of("framed-fill").size(), withColumns ? 1u : 0u);
  }
}

TEST(ChartPrepare, AWallWithoutPatternIsOnlyFramed) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesData, kViewColumn);
  chart->options.wallFill.pattern = 0;
  TestArrays arrays;
  arrays.AddNumbers({1, 2});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  Draw(*chart, kSlot, surface.Surface());
  EXPECT_TRUE(surface.Of("framed-fill").empty());
  ASSERT_EQ(surface.Of("polyline").size(), 1u);
  // The wall's corners are the plot's ends, 0 and w pixels from its left.
  EXPECT_EQ(surface.Of("polyline")[0], "polyline 10,320 510,320 510,20 10,20 10,320");
}

TEST(BuilderPlan, BuildersRunInTheirFixedOrderWithTheirGroups) {
  auto chart = NewChart(kChart2D);
  struct Series {
    uint8_t viewType;
    bool stacked;
    bool relative;
  };
  // A series whose type and flags match no group is drawn by no builder.
  const Series series[] = {
      {kViewScatter, false, false}, {kViewLine, false, false}, {kViewColumn, false, false},
      {kViewBar, false, false},     {kViewColumn, true, false}, {kViewColumn, true, true},
      {kViewBar, true, false},      {kViewArea, true, true},    {kViewArea, true, false},
      {kViewPie, false, false},     {kViewPie, false, false},   {kViewArea, false, false},
      {kViewColumn, false, true},   {kViewLine, true, false},
  };
  for (int i = 0; i < 14; ++i) {
    SeriesRecord& s = SetSeries(*chart, i, kSeriesData, series[i].viewType);
    s.stacked = series[i].stacked;
    s.relative = series[i].relative;
  }
  BuilderStep steps[kMaxBuilderSteps2D];
  const int count = PlanBuilders2D(*chart, steps);
  struct Expected {
    uint8_t builder;
    std::vector<int> series;
  };
  const Expected expected[] = {{kBuildPie, {9}},           {kBuildStackedAreas, {8}},   {kBuildStackedAreas, {7}},
                               {kBuildStackedBars, {6}},   {kBuildStackedColumns, {5}}, {kBuildStackedColumns, {4}},
                               {kBuildBars, {3}},          {kBuildColumns, {2}},        {kBuildLines, {1}},
                               {kBuildScatter, {0}}};
  ASSERT_EQ(count, 10);
  for (int k = 0; k < count; ++k) {
    EXPECT_EQ(steps[k].builder, expected[k].builder) << "step " << k;
    EXPECT_EQ(std::vector<int>(steps[k].series.index, steps[k].series.index + steps[k].series.count),
              expected[k].series)
        << "step " << k;
  }
  chart->options.kind = kChartXY;
  EXPECT_EQ(steps[PlanBuilders2D(*chart, steps) - 1].builder, kBuildXY);
}

TEST(BuilderPlan, ThreeDChartsBuildByTheirFirstDataSeries) {
  struct Case {
    uint8_t viewType;
    bool stacked;
    bool visible;
    bool builds;
    uint8_t builder;
  };
  const Case cases[] = {
      {kViewColumn3D, false, true, true, kBuildColumns3D}, {kViewBar3D, true, true, true, kBuildStackedColumns3D},
      {kViewLine3D, false, true, true, kBuildLines3D},     {kViewArea3D, true, true, true, kBuildStackedAreas3D},
      {kViewArea3D, false, true, true, kBuildAreas3D},     {kViewPie3D, false, true, true, kBuildPie3D},
      {kViewPie3D, false, false, false, 0},                {kViewColumn, false, true, false, 0},
  };
  for (const Case& c : cases) {
    auto chart = NewChart(kChart3D);
    SetSeries(*chart, 0, kSeriesCategories, kViewColumn3D);
    SeriesRecord& s = SetSeries(*chart, 1, kSeriesData, c.viewType);
    s.stacked = c.stacked;
    s.visible = c.visible;
    BuilderStep step;
    ASSERT_EQ(PlanBuilder3D(*chart, &step), c.builds) << int(c.viewType);
    if (c.builds) {
      EXPECT_EQ(step.builder, c.builder);
      EXPECT_EQ(step.series.index[0], 1);
    }
  }
}

bool RefuseEveryPage(size_t) { return false; }

TEST(ChartPrepare, AVertexListThatCannotGrowFailsTheLayout) {
  TestArrays arrays;
  auto chart = ColumnChart(arrays);
  DisplayListSurface surface;
  SetPagedArrayAllocationGateForTesting(RefuseEveryPage);
  const bool prepared = Prepare(*chart, surface.Surface(), kSlot, 100, 100);
  SetPagedArrayAllocationGateForTesting(nullptr);
  EXPECT_FALSE(prepared);
  EXPECT_EQ(chart->error, kChartOutOfMemory);
  EXPECT_FALSE(chart->flags & kChartPrepared);
  EXPECT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  EXPECT_EQ(chart->error, kChartNoError);
}

TEST(ChartPrepare, DeviceCoordinatesSaturateAndNaNIsNeverDrawn) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    bool drawable;
    int32_t pixel;
  };
  const Case cases[] = {{3.9, true, 3},  {-3.9, true, -3}, {1e12, true, kMaxDeviceCoordinate},
                        {-inf, true, -kMaxDeviceCoordinate}, {std::nan(""), false, 0}};
  for (const Case& c : cases) {
    int32_t pixel = 0;
    EXPECT_EQ(ToDevicePixel(c.value, &pixel), c.drawable) << c.value;
    EXPECT_EQ(pixel, c.pixel) << c.value;
  }
  // Values at the edge of the doubles give an axis of huge steps; everything
  // drawn stays within the device's range.
  auto chart = NewChart(kChart2D);
  SeriesRecord& s = SetSeries(*chart, 0, kSeriesData, kViewLine);
  s.axisType = 1;
  s.periods = 3;
  s.userGridCount = 1;
  s.userGridValues[0] = 1e300;
  TestArrays arrays;
  arrays.AddNumbers({-8e307, 8e307});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  Draw(*chart, kSlot, surface.Surface());
  for (const std::string& line : surface.Lines()) EXPECT_EQ(line.find("nan"), std::string::npos) << line;
}

TEST(ChartPrepare, AThreeDChartIsLaidOutOnItsBox) {
  auto chart = NewChart(kChart3D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn3D).axisType = 1;
  SeriesRecord& s = SetSeries(*chart, 1, kSeriesData, kViewColumn3D);
  s.axisType = 1;
  SetName(s, "Depth");
  chart->options.legend = 1;
  TestArrays arrays;
  arrays.AddTexts({"a", "b"});
  arrays.AddNumbers({1, 2});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  ChartLayout layout;
  AxisTable axes;
  LoadLayout(*chart, &layout, &axes);
  for (const PlaneRecord& plane : layout.planes) EXPECT_TRUE(plane.present);
  ASSERT_EQ(axes.count, 2);
  EXPECT_EQ(axes.records[0].position, kAxisBottom3D);
  EXPECT_EQ(axes.records[1].position, kAxisLeft3D);
  surface.Clear();
  Draw(*chart, kSlot, surface.Surface());
  // The legend's entry and both axes' labels; the columns' faces beside
  // the three planes.
  std::string texts;
  for (const std::string& line : surface.Of("text")) texts += line.substr(line.rfind(' ') + 1) + " ";
  EXPECT_NE(texts.find("\"Depth\""), std::string::npos) << texts;
  EXPECT_NE(texts.find("\"a\" \"b\""), std::string::npos) << texts;
  EXPECT_GT(surface.Of("polygon").size(), 3u);
}

}  // namespace
