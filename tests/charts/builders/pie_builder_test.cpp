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

// A 200 x 200 plot around (100, 100).
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

// The brush lines of the slices, one per slice drawn.
std::vector<std::string> SliceBrushes(const PlotCanvas& plot) { return plot.Of("brush"); }

TEST(PieBuilder, OneUsableValueIsAFullDiscOf110Steps) {
  Pie pie({kGap, 4, kGap}, 0);
  auto plot = pie.Build();
  EXPECT_EQ(plot->Of("polygon").size(), 110u);
  EXPECT_EQ(SliceBrushes(*plot).size(), 1u);
}

TEST(PieBuilder, ZeroSlicesDrawNothingButKeepTheirLabels) {
  Pie pie({0, 5, 0}, 2);
  auto plot = pie.Build();
  EXPECT_EQ(plot->Of("polygon").size(), 110u);
  // The zero slices stand at the top, where the disc begins and ends; the
  // whole slice's label hangs below it.
  EXPECT_EQ(plot->Labels(), (std::vector<std::string>{"100,12 2/7 0", "100,187 2/4 5", "100,12 2/7 0"}));
}

TEST(PieBuilder, TwoEqualSlicesLabelLevelWithTheirMiddles) {
  Pie pie({1, 1}, 2);
  auto plot = pie.Build();
  const std::vector<std::string> labels = plot->Labels();
  ASSERT_EQ(labels.size(), 2u);
  // Straight right and straight left of the slices' centres: beside the
  // rim, not centred over it.
  EXPECT_NE(labels[0].find(" 1/5 "), std::string::npos) << labels[0];
  EXPECT_NE(labels[1].find(" 3/5 "), std::string::npos) << labels[1];
}

TEST(PieBuilder, OnlyTheSignMetFirstIsShown) {
  struct Case {
    std::vector<double> values;
    size_t cut;
  };
  const Case cases[] = {{{3, -2, 1}, 1}, {{-3, 2, -1}, 1}, {{0, -2, 5}, 2}};
  for (const Case& c : cases) {
    Pie pie(c.values, 2);
    auto plot = pie.Build();
    EXPECT_EQ(plot->Labels().size(), 2u);
    const SeriesPoint* cut = PointAt(pie.chart->seriesLists[0], static_cast<uint32_t>(c.cut));
    EXPECT_TRUE(cut->flags & kPointCut) << "value " << c.values[c.cut];
  }
}

TEST(PieBuilder, SlicesTakeTheirFillsInTurn) {
  struct Case {
    uint8_t sliceCount;
    size_t repeatsAt;
  };
  // A count outside 1..16, as a file may hold, counts as 16.
  const Case cases[] = {{16, 16}, {4, 4}, {0, 16}, {200, 16}};
  for (const Case& c : cases) {
    Pie pie(std::vector<double>(17, 1.0), 0);
    SeriesRecord& s = pie.chart->series[0];
    s.sliceCount = c.sliceCount;
    for (int k = 0; k < kSeriesSliceCount; ++k) s.sliceFills[k].patternColor = 0x010101u * (k + 1);
    auto plot = pie.Build();
    const std::vector<std::string> brushes = SliceBrushes(*plot);
    ASSERT_EQ(brushes.size(), 17u) << int(c.sliceCount);
    EXPECT_EQ(brushes[c.repeatsAt], brushes[0]) << int(c.sliceCount);
    EXPECT_NE(brushes[c.repeatsAt - 1], brushes[0]) << int(c.sliceCount);
  }
}

TEST(PieBuilder, ASmallOrFullySplitPieKeepsTenPixels) {
  // 20 x 20 pixels: too small for any radius; split 100 pushes the slice
  // out by its whole radius of 10.
  Pie pie({4}, 0);
  pie.chart->options.pieSplit = 100;
  auto plot = pie.Build({-1, 21}, {21, -1});
  const std::vector<std::string> polygons = plot->Of("polygon");
  ASSERT_EQ(polygons.size(), 110u);
  EXPECT_EQ(polygons[0].substr(0, 20), "polygon 10,20 10,10 ");
}

TEST(PieBuilder, NothingToShowDrawsNothing) {
  for (const std::vector<double>& values : {std::vector<double>{0, 0}, std::vector<double>{kGap}}) {
    Pie pie(values, 2);
    auto plot = pie.Build();
    EXPECT_TRUE(plot->Surface().Lines().empty());
  }
}

}  // namespace
