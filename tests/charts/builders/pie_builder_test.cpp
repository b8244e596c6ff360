// The 2D pie: slices clockwise from the top in their fills, the sign met
// first deciding which values show, and labels outside the rim.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/builders/builders_2d.h"
#include "charts/series/series_points.h"
#include "tests/charts/support/builder_chart.h"

namespace {

const double kGap = std::nan("");

// A pie series on a 200 x 200 plot around (100, 100), or the plot given.
struct Pie {
  TestArrays arrays;
  std::unique_ptr<ChartRecord> chart;

  Pie(const std::vector<double>& values, uint8_t labelKind)
      : chart(LoadedChart(arrays, kChart2D, kViewPie, false, {{values}}, -100, 100, labelKind)) {}

  std::unique_ptr<PlotCanvas> Build(PlotPoint first = {-1, 201}, PlotPoint third = {201, -1}) {
    auto plot = std::make_unique<PlotCanvas>(*chart, first, third);
    EXPECT_TRUE(BuildPie(plot->Canvas(), DataSeries(*chart)));
    return plot;
  }
};

TEST(PieBuilder, ASingleSliceIsAFullDiscOf110Steps) {
  // The zero slices stand at the top, where the disc begins and ends; the
  // whole slice's label hangs below it. A missing value has no slice.
  Pie labelled({0, 5, kGap, 0}, 2);
  auto plot = labelled.Build();
  EXPECT_EQ(plot->Of("polygon").size(), 110u);
  EXPECT_EQ(plot->Of("brush").size(), 3u);
  EXPECT_EQ(plot->Labels(), (std::vector<std::string>{"100,12 2/7 0", "100,187 2/4 5", "100,12 2/7 0"}));

  // Too small for any radius: 10 pixels; split 100 pushes the slice out by
  // its whole radius.
  Pie small({4}, 0);
  small.chart->options.pieSplit = 100;
  plot = small.Build({-1, 21}, {21, -1});
  const std::vector<std::string> polygons = plot->Of("polygon");
  ASSERT_EQ(polygons.size(), 110u);
  EXPECT_EQ(polygons[0].substr(0, 20), "polygon 10,20 10,10 ");
}

TEST(PieBuilder, TwoEqualSlicesLabelLevelWithTheirMiddles) {
  // Straight right and straight left of the slices' centres: beside the
  // rim, not centred over it.
  Pie pie({1, 1}, 2);
  auto plot = pie.Build();
  const std::vector<std::string> labels = plot->Labels();
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_NE(labels[0].find(" 1/5 "), std::string::npos) << labels[0];
  EXPECT_NE(labels[1].find(" 3/5 "), std::string::npos) << labels[1];
}

TEST(PieBuilder, OnlyTheSignMetFirstIsShown) {
  const struct {
    std::vector<double> values;
    uint32_t cut;
  } cases[] = {{{3, -2, 1}, 1}, {{-3, 2, -1}, 1}, {{0, -2, 5}, 2}};
  for (const auto& c : cases) {
    Pie pie(c.values, 2);
    auto plot = pie.Build();
    EXPECT_EQ(plot->Labels().size(), 2u);
    EXPECT_TRUE(PointAt(pie.chart->seriesLists[0], c.cut)->flags & kPointCut) << "value " << c.values[c.cut];
  }
  Pie none({0, 0}, 2);
  EXPECT_TRUE(none.Build()->Surface().Lines().empty());
}

TEST(PieBuilder, SlicesTakeTheirFillsInTurn) {
  // A count outside 1..16, as a file may hold, counts as 16.
  const struct {
    uint8_t sliceCount;
    size_t repeatsAt;
  } cases[] = {{16, 16}, {4, 4}, {0, 16}, {200, 16}};
  for (const auto& c : cases) {
    Pie pie(std::vector<double>(17, 1.0), 0);
    SeriesRecord& s = pie.chart->series[0];
    s.sliceCount = c.sliceCount;
    for (int k = 0; k < kSeriesSliceCount; ++k) s.sliceFills[k].patternColor = 0x010101u * (k + 1);
    auto plot = pie.Build();
    const std::vector<std::string> brushes = plot->Of("brush");
    ASSERT_EQ(brushes.size(), 17u) << int(c.sliceCount);
    EXPECT_EQ(brushes[c.repeatsAt], brushes[0]) << int(c.sliceCount);
    EXPECT_NE(brushes[c.repeatsAt - 1], brushes[0]) << int(c.sliceCount);
  }
}

}  // namespace
