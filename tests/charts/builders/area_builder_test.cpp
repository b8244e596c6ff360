// Stacked areas: bands between running totals from one category's centre to
// the next, and their labels, each point's once.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/builders/builders_2d.h"
#include "tests/charts/support/builder_chart.h"

namespace {

const double kGap = std::nan("");

struct AreaCase {
  const char* name;
  std::vector<TestSeries> series;
  std::vector<std::string> polygons;
  std::vector<std::string> labels;
};

TEST(AreaBuilder, BandsStackBetweenCategoryCentres) {
  // Plot 0..300 by 256..0, axis 0..8: centres 50, 150, 250, 32 pixels a unit.
  const AreaCase cases[] = {
      {"two series over three categories; inner points are labelled once",
       {{{2, 4, 2}}, {{2, 2, 2}}},
       {"polygon 50,256 50,192 150,256 50,256", "polygon 150,256 150,128 50,192 150,256",
        "polygon 50,192 50,128 150,128 50,192", "polygon 150,128 150,64 50,128 150,128",
        "polygon 150,256 150,128 250,256 150,256", "polygon 250,256 250,192 150,128 250,256",
        "polygon 150,128 150,64 250,192 150,128", "polygon 250,192 250,128 150,64 250,192"},
       {"50,224 2/5 2", "150,192 2/5 4", "250,224 2/5 2", "50,160 2/5 2", "150,96 2/5 2", "250,160 2/5 2"}},
      {"a pair stops at the first series missing either point",
       {{{2, 2, kGap}}, {{2, 2, 2}}},
       {"polygon 50,256 50,192 150,256 50,256", "polygon 150,256 150,192 50,192 150,256",
        "polygon 50,192 50,128 150,192 50,192", "polygon 150,192 150,128 50,128 150,192"},
       {"50,224 2/5 2", "150,224 2/5 2", "50,160 2/5 2", "150,160 2/5 2"}},
      {"a hidden series draws nothing but lifts the next",
       {{{2, 2, 2}, false}, {{2, 2, 2}}},
       {"polygon 50,192 50,128 150,192 50,192", "polygon 150,192 150,128 50,128 150,192",
        "polygon 150,192 150,128 250,192 150,192", "polygon 250,192 250,128 150,128 250,192"},
       {"50,160 2/5 2", "150,160 2/5 2", "250,160 2/5 2"}},
      {"one category has no neighbour to join", {{{2}}, {{4}}}, {}, {}},
  };
  for (const AreaCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestArrays arrays;
    auto chart = LoadedChart(arrays, kChart2D, kViewArea, true, c.series, 0, 8, 2);
    PlotCanvas plot(*chart, {-1, 257}, {301, -1});
    ASSERT_TRUE(BuildStackedAreas(plot.Canvas(), DataSeries(*chart)));
    EXPECT_EQ(plot.Of("polygon"), c.polygons);
    EXPECT_EQ(plot.Labels(), c.labels);
  }
}

TEST(AreaBuilder, AreasAreNeverOutlined) {
  TestArrays arrays;
  auto chart = LoadedChart(arrays, kChart2D, kViewArea, true, {{{2, 4}}}, 0, 8, 0);
  chart->series[0].fill.patternColor = 0x336699;
  PlotCanvas plot(*chart, {-1, 257}, {301, -1});
  ASSERT_TRUE(BuildStackedAreas(plot.Canvas(), DataSeries(*chart)));
  EXPECT_EQ(plot.Of("pen"), std::vector<std::string>{"pen style 0 #996633 zoom 100"});
}

}  // namespace
