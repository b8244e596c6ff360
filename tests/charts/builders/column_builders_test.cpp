// Columns and bars, plain and stacked, on a plot of known corners: where
// each shape and label lands.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/builders/builders_2d.h"
#include "tests/charts/support/builder_chart.h"

namespace {

// Wall corners giving x0 = 0 and y0 = 256, and x1 = 300, 200 or 256, y1 = 0.
constexpr PlotPoint kFirst = {-1, 257};
constexpr PlotPoint k300 = {301, -1};
constexpr PlotPoint k200 = {201, -1};
constexpr PlotPoint k256 = {257, -1};

struct ColumnCase {
  const char* name;
  bool bars;
  std::vector<TestSeries> series;
  double from;  // the axis range; 256 pixels
  double to;
  PlotPoint first;
  PlotPoint third;
  std::vector<std::string> polygons;
  std::vector<std::string> labels;  // of the values
};

void ExpectColumns(const ColumnCase& c, bool stacked) {
  SCOPED_TRACE(c.name);
  TestArrays arrays;
  auto chart = LoadedChart(arrays, kChart2D, c.bars ? kViewBar : kViewColumn, stacked, c.series, c.from, c.to, 2);
  PlotCanvas plot(*chart, c.first, c.third);
  const SeriesList list = DataSeries(*chart);
  ASSERT_TRUE(stacked ? BuildStackedColumns(plot.Canvas(), list, c.bars) : BuildColumns(plot.Canvas(), list, c.bars));
  EXPECT_EQ(plot.Of("polygon"), c.polygons);
  EXPECT_EQ(plot.Labels(), c.labels);
}

TEST(ColumnBuilder, ShapesAndLabelsLandWhereTheValuesSay) {
  const ColumnCase cases[] = {
      // Slot 100, sub-slot 50, BarSize 70: the first column spans 32.5 to
      // 67.5 before truncation; a zero draws no column but keeps its label.
      {"columns of 2, 0 and 8", false, {{{2, 0, 8}}}, 0, 8, kFirst, k300,
       {"polygon 32,192 67,192 67,256 32,256 32,192", "polygon 232,0 267,0 267,256 232,256 232,0"},
       {"50,188 2/7 2", "150,252 2/7 0", "250,-4 2/7 8"}},
      {"mixed signs rise from the zero line", false, {{{4, -4}}}, -8, 8, kFirst, k200,
       {"polygon 32,64 67,64 67,128 32,128 32,64", "polygon 132,128 167,128 167,192 132,192 132,128"},
       {"50,60 2/7 4", "150,196 2/4 -4"}},
      {"a hidden series keeps its empty slot", false, {{{8, 8, 8}, false}, {{2, 4, 8}}}, 0, 8, kFirst, k300,
       {"polygon 55,192 78,192 78,256 55,256 55,192", "polygon 155,128 178,128 178,256 155,256 155,128",
        "polygon 255,0 278,0 278,256 255,256 255,0"},
       {"66,188 2/7 2", "166,124 2/7 4", "266,-4 2/7 8"}},
      {"mirrored axes count from x0 leftwards and y0 downwards", false, {{{2}}}, 0, 8, {301, -1}, {-1, 257},
       {"polygon 202,64 97,64 97,0 202,0 202,64"}, {"150,68 2/7 2"}},
      {"bars lie along the categories going up", true, {{{2, 8}}}, 0, 8, kFirst, k256,
       {"polygon 64,214 64,170 0,170 0,214 64,214", "polygon 256,86 256,42 0,42 0,86 256,86"},
       {"68,192 1/5 2", "260,64 1/5 8"}},
      {"negative values alone hang from the axis end", true, {{{-4}}}, -8, 8, kFirst, k256,
       {"polygon 256,172 256,83 64,83 64,172 256,172"}, {"60,128 3/5 -4"}},
  };
  for (const ColumnCase& c : cases) ExpectColumns(c, false);
}

TEST(ColumnBuilder, StacksGrowFromTheBaseEachSignWithItsOwnTotal) {
  // StackBarSize 70 of a slot of 100; the axis -8..8 puts the base at 128.
  const ColumnCase cases[] = {
      {"positive values stack upwards, negative ones downwards", false, {{{4, -2}}, {{4, -6}}}, -8, 8, kFirst,
       k200,
       {"polygon 15,128 85,128 85,64 15,64 15,128", "polygon 15,64 85,64 85,0 15,0 15,64",
        "polygon 115,128 185,128 185,160 115,160 115,128", "polygon 115,160 185,160 185,256 115,256 115,160"},
       {"50,96 2/5 4", "150,144 2/5 -2", "50,32 2/5 4", "150,208 2/5 -6"}},
      {"a series without the category is passed over", false, {{{4, -2}}, {{4}}}, -8, 8, kFirst, k200,
       {"polygon 15,128 85,128 85,64 15,64 15,128", "polygon 15,64 85,64 85,0 15,0 15,64",
        "polygon 115,128 185,128 185,160 115,160 115,128"},
       {"50,96 2/5 4", "150,144 2/5 -2", "50,32 2/5 4"}},
      {"a hidden series still lifts the ones above it", false, {{{4, -2}, false}, {{4, -6}}}, -8, 8, kFirst, k200,
       {"polygon 15,64 85,64 85,0 15,0 15,64", "polygon 115,160 185,160 185,256 115,256 115,160"},
       {"50,32 2/5 4", "150,208 2/5 -6"}},
      {"stacked bars lie end to end", true, {{{4}}, {{2}}}, 0, 8, kFirst, k256,
       {"polygon 0,217 0,38 128,38 128,217 0,217", "polygon 128,217 128,38 192,38 192,217 128,217"},
       {"64,128 2/5 4", "160,128 2/5 2"}},
  };
  for (const ColumnCase& c : cases) ExpectColumns(c, true);
}

TEST(ColumnBuilder, ColumnsHaveNoOutlineOnAPrinter) {
  for (bool printing : {false, true}) {
    for (bool stacked : {false, true}) {
      TestArrays arrays;
      auto chart = LoadedChart(arrays, kChart2D, kViewColumn, stacked, {{{2, 4}}}, 0, 8, 0);
      chart->series[0].fill.patternColor = 0x336699;
      PlotCanvas plot(*chart, kFirst, k200, printing);
      ASSERT_TRUE(stacked ? BuildStackedColumns(plot.Canvas(), DataSeries(*chart), false)
                          : BuildColumns(plot.Canvas(), DataSeries(*chart), false));
      for (const std::string& pen : plot.Of("pen"))
        EXPECT_EQ(pen, printing ? "pen style 0 #996633 zoom 100" : "pen style 1 #996633 zoom 100");
    }
  }
}

TEST(ColumnBuilder, AChartWithoutAWallFails) {
  TestArrays arrays;
  auto chart = LoadedChart(arrays, kChart2D, kViewColumn, false, {{{2}}}, 0, 8, 2);
  DisplayListSurface surface;
  ChartCanvas bare = {*chart, surface.Surface(), {}, {}};
  EXPECT_FALSE(BuildColumns(bare, DataSeries(*chart), false));
  EXPECT_FALSE(BuildStackedColumns(bare, DataSeries(*chart), false));
}

}  // namespace
