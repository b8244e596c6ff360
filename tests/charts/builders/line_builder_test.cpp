// Lines join the points at the category centres, break at gaps and label a
// point above it unless the line fell to it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/builders/builders_2d.h"
#include "tests/charts/support/builder_chart.h"

namespace {

const double kGap = std::nan("");

TEST(LineBuilder, ALineBreaksAtAGapAndLabelsFollowItsDirection) {
  // Four categories over 300 pixels: centres 37.5, 112.5, 187.5, 262.5.
  TestArrays arrays;
  auto chart = LoadedChart(arrays, kChart2D, kViewLine, false, {{{2, kGap, 4, 2}}}, 0, 8, 2);
  chart->series[0].line.style = 7;
  PlotCanvas plot(*chart, {-1, 257}, {301, -1});
  ASSERT_TRUE(BuildLines(plot.Canvas(), DataSeries(*chart)));
  EXPECT_EQ(plot.Of("line"), std::vector<std::string>{"line 187,128 262,192"});
  // The first point after the gap starts a run and is labelled above.
  EXPECT_EQ(plot.Labels(), (std::vector<std::string>{"37,188 2/7 2", "187,124 2/7 4", "262,196 2/4 2"}));
  // The line builder passes a wide pen on as it is.
  ASSERT_EQ(plot.Of("pen").size(), 1u);
  EXPECT_EQ(plot.Of("pen")[0].substr(0, 11), "pen style 7");
}

TEST(LineBuilder, MirroredValuesHangLabelsTheOtherWay) {
  TestArrays arrays;
  auto chart = LoadedChart(arrays, kChart2D, kViewLine, false, {{{4, 2}}}, 0, 8, 2);
  PlotCanvas plot(*chart, {-1, -1}, {201, 257});
  ASSERT_TRUE(BuildLines(plot.Canvas(), DataSeries(*chart)));
  EXPECT_EQ(plot.Of("line"), std::vector<std::string>{"line 50,128 150,64"});
  EXPECT_EQ(plot.Labels(), (std::vector<std::string>{"50,132 2/7 4", "150,60 2/4 2"}));
}

}  // namespace
