// Scatter and XY series: markers, connecting lines, error bars cut at the
// plot's edges, and labels alternating while a series keeps its direction.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "charts/builders/builders_2d.h"
#include "charts/series/axis_scale.h"
#include "tests/charts/support/builder_chart.h"

namespace {

constexpr PlotPoint kFirst = {-1, 257};  // x0 = 0, y0 = 256
constexpr PlotPoint kThird = {301, -1};  // x1 = 300, y1 = 0

TEST(ScatterBuilder, RisingPointsAreLabelledAlternatelyAfterTheFirst) {
  // Four categories over 300 pixels; 32 pixels a unit.
  TestArrays arrays;
  auto chart = LoadedChart(arrays, kChart2D, kViewScatter, false, {{{1, 2, 3, 4}}}, 0, 8, 2);
  PlotCanvas plot(*chart, kFirst, kThird);
  ASSERT_TRUE(BuildScatter(plot.Canvas(), DataSeries(*chart), false));
  EXPECT_EQ(plot.Labels(),
            (std::vector<std::string>{"37,220 2/7 1", "112,196 2/4 2", "187,156 2/7 3", "262,132 2/4 4"}));
  EXPECT_EQ(plot.Of("polygon").size(), 4u);  // the default square markers
}

TEST(ScatterBuilder, TheConnectingLineIsOptionalAndWidePensAreSolid) {
  const struct {
    uint8_t style;
    size_t lines;
    const char* pen;
  } cases[] = {{0, 0, nullptr}, {3, 2, "pen style 3"}, {7, 2, "pen style 1"}};
  for (const auto& c : cases) {
    TestArrays arrays;
    auto chart = LoadedChart(arrays, kChart2D, kViewScatter, false, {{{1, 2, 3}}}, 0, 8, 0);
    chart->series[0].connectingLine.style = c.style;
    chart->series[0].line.style = 9;
    PlotCanvas plot(*chart, kFirst, kThird);
    ASSERT_TRUE(BuildScatter(plot.Canvas(), DataSeries(*chart), false));
    EXPECT_EQ(plot.Of("line").size(), c.lines) << int(c.style);
    const std::vector<std::string> pens = plot.Of("pen");
    ASSERT_EQ(pens.size(), c.pen ? 2u : 1u);
    EXPECT_EQ(pens[0].substr(0, 11), c.pen ? c.pen : "pen style 1");
    EXPECT_EQ(pens.back().substr(0, 11), "pen style 1") << "the markers' pen";
  }
}

// One point at category centre 150 with an error series named "err".
std::vector<std::string> ErrorBarLines(uint8_t scale, double from, double to, std::vector<double> values,
                                       std::vector<double> errors) {
  TestArrays arrays;
  auto chart = NewChart(kChart2D);
  SeriesRecord& s = SetSeries(*chart, 0, kSeriesData, kViewScatter);
  s.scale = scale;
  SetRange(s, from, to);
  std::strcpy(s.relatedSigma, "ERR");
  SetName(SetSeries(*chart, 1, kSeriesErrorBars, kViewScatter), "err");
  arrays.AddNumbers(values);
  arrays.AddNumbers(errors);
  EXPECT_TRUE(arrays.LoadInto(*chart));
  PlotCanvas plot(*chart, kFirst, kThird);
  SeriesList list = DataSeries(*chart);
  EXPECT_TRUE(BuildScatter(plot.Canvas(), list, false));
  return plot.Of("line");
}

TEST(ScatterBuilder, ErrorBarsReachTheirEndsOrEndInArrowsAtTheEdge) {
  struct Case {
    const char* name;
    uint8_t scale;
    double from;
    double to;
    std::vector<double> values;
    std::vector<double> errors;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"both bars with caps", kScaleLinear, 0, 8, {4}, {1},
       {"line 150,128 150,160", "line 148,160 152,160", "line 150,128 150,96", "line 148,96 152,96"}},
      {"an error series with fewer points leaves the later points bare", kScaleLinear, 0, 8, {4, 4}, {1},
       {"line 75,128 75,160", "line 73,160 77,160", "line 75,128 75,96", "line 73,96 77,96"}},
      {"the upper bar is cut at the top and ends in an arrow", kScaleLinear, 0, 8, {7}, {4},
       {"line 150,32 150,160", "line 148,160 152,160", "line 150,32 150,0", "line 150,0 147,3",
        "line 150,0 153,3"}},
      {"a log axis has no bar to an end at or below zero", kScaleLog10, 1, 100, {10}, {10},
       {"line 150,128 150,90", "line 148,90 152,90"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ErrorBarLines(c.scale, c.from, c.to, c.values, c.errors), c.lines) << c.name;
}

// Data series "y" against an X-values series "x" of the range 0..10.
struct XYChart {
  TestArrays arrays;
  std::unique_ptr<ChartRecord> chart = NewChart(kChartXY);

  XYChart(const char* relatedX, std::vector<double> xs, std::vector<double> xErrors) {
    SeriesRecord& y = SetSeries(*chart, 0, kSeriesData, kViewScatter);
    SetRange(y, 0, 8);
    y.labelKind = 2;
    std::strcpy(y.relatedX, relatedX);
    SeriesRecord& x = SetSeries(*chart, 1, kSeriesXValues, kViewScatter);
    SetName(x, "x");
    SetRange(x, 0, 10);
    std::strcpy(x.relatedSigma, "dx");
    SetName(SetSeries(*chart, 2, kSeriesErrorBars, kViewScatter), "dx");
    arrays.AddNumbers({2, 4, 8});
    arrays.AddNumbers(xs);
    arrays.AddNumbers(xErrors);
    EXPECT_TRUE(arrays.LoadInto(*chart));
  }
};

TEST(XYBuilder, PointsStandAtTheirXValuesWithBarsAcross) {
  // Labels of the XY builder follow the value axis: above, below, above.
  XYChart xy("X", {0, 5, 10}, {std::nan(""), 1});
  PlotCanvas plot(*xy.chart, kFirst, kThird);
  ASSERT_TRUE(BuildScatter(plot.Canvas(), DataSeries(*xy.chart), true));
  EXPECT_EQ(plot.Labels(), (std::vector<std::string>{"0,188 2/7 2", "150,132 2/4 4", "300,-4 2/7 8"}));
  EXPECT_EQ(plot.Of("line"), (std::vector<std::string>{"line 150,128 120,128", "line 120,126 120,130",
                                                       "line 150,128 180,128", "line 180,126 180,130"}));
}

TEST(XYBuilder, OnlyPointsWithAnXValueAreDrawnAndJoined) {
  XYChart xy("x", {0, std::nan(""), 10}, {});
  xy.chart->series[0].connectingLine.style = 1;
  PlotCanvas plot(*xy.chart, kFirst, kThird);
  ASSERT_TRUE(BuildScatter(plot.Canvas(), DataSeries(*xy.chart), true));
  EXPECT_EQ(plot.Of("line"), std::vector<std::string>{"line 0,192 300,0"});
  EXPECT_EQ(plot.Of("polygon").size(), 2u);

  XYChart nowhere("nowhere", {0, 5, 10}, {});
  PlotCanvas none(*nowhere.chart, kFirst, kThird);
  ASSERT_TRUE(BuildScatter(none.Canvas(), DataSeries(*nowhere.chart), true));
  EXPECT_TRUE(none.Of("polygon").empty());
  EXPECT_TRUE(none.Of("text").empty());
}

}  // namespace
