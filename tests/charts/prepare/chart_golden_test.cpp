// Whole charts drawn onto the display-list surface and compared with the
// committed lists in tests/charts/golden (TALVERO_UPDATE_GOLDEN=1 rewrites
// them): the legend in its eight positions, and axes of every kind, at zoom
// 100 and 150.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "charts/frame/axis_labels.h"
#include "charts/prepare/chart_prepare.h"
#include "charts/series/axis_scale.h"
#include "tests/charts/support/chart_golden.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/charts/support/display_list_surface.h"

namespace {

const PixelRect kSlot = {0, 0, 399, 299};

// "== name ==", then what preparing and drawing the chart drew.
std::string Section(const char* name, ChartRecord& chart, uint16_t zoom) {
  DisplayListSurface surface;
  const PixelRect slot = {kSlot.left, kSlot.top, kSlot.right * zoom / 100, kSlot.bottom * zoom / 100};
  std::string out = std::string("== ") + name + " ==\n";
  if (!Prepare(chart, surface.Surface(), slot, zoom, zoom))
    return out + "(not prepared, error " + std::to_string(chart.error) + ")\n";
  surface.Clear();
  Draw(chart, slot, surface.Surface());
  return out + surface.Text();
}

void Title(ChartRecord& chart, const char* title, const char* subtitle) {
  std::strcpy(chart.options.titleText, title);
  std::strcpy(chart.options.subtitleText, subtitle);
}

void AxisTitle(SeriesRecord& s, const char* text) { std::strcpy(s.axisTitleText, text); }

// Three series of different view types and markers, categories beneath.
std::unique_ptr<ChartRecord> LegendChart(uint8_t position, TestArrays& arrays) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn).axisType = 1;
  SetName(SetSeries(*chart, 1, kSeriesData, kViewColumn), "Columns");
  SeriesRecord& line = SetSeries(*chart, 2, kSeriesData, kViewLine);
  SetName(line, "A line");
  line.symbol = 9;
  SeriesRecord& scatter = SetSeries(*chart, 3, kSeriesData, kViewScatter);
  SetName(scatter, "Scatter points");
  scatter.symbol = 6;
  chart->series[1].axisType = 1;
  chart->series[1].periods = 4;
  chart->options.legend = position;
  Title(*chart, "&cQuarterly", "");
  arrays.AddTexts({"Q1", "Q2", "Q3", "Q4"});
  arrays.AddNumbers({3, 5, 2, 7});
  arrays.AddNumbers({4, 1, 6, 2});
  arrays.AddNumbers({2, 2, 3, 3});
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

TEST(ChartGolden, LegendPositions) {
#ifdef _WIN32
  GTEST_SKIP() << "display lists are compared in the native build";
#endif
  for (uint16_t zoom : {100, 150}) {
    std::string drawn;
    for (uint8_t position = 1; position <= 8; ++position) {
      TestArrays arrays;
      auto chart = LegendChart(position, arrays);
      drawn += Section(("legend " + std::to_string(position)).c_str(), *chart, zoom);
    }
    ExpectDisplayListGolden("legend_zoom" + std::to_string(zoom), drawn);
  }
}

// A value axis 0 .. 10 in five divisions with minor and user grid lines,
// categories below, titles on both axes.
std::unique_ptr<ChartRecord> LinearAxes(TestArrays& arrays) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& categories = SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  categories.axisType = 1;
  categories.axisFlags = kAxisLabelsHorizontal | kAxisTitleHorizontal | kAxisMajorTicks;
  AxisTitle(categories, "Region");
  SeriesRecord& values = SetSeries(*chart, 1, kSeriesData, kViewColumn);
  values.axisType = 1;
  values.axisFlags = kAxisLabelsHorizontal | kAxisTitleVertical | kAxisMajorTicks | kAxisMinorTicks;
  values.periods = 5;
  values.subperiods = 2;
  values.minorGrid.style = 2;
  values.userGridCount = 1;
  values.userGridValues[0] = 5;
  values.userGridLines[0] = {3, 1, {0, 0}, 0x0000FF};
  AxisTitle(values, "Sales");
  Title(*chart, "Sales by region", "&c2024");
  arrays.AddTexts({"North", "South", "East", "West"});
  arrays.AddNumbers({0.5, 3.7, 9.2, 6});
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

// Logarithmic axes: base 2 on the left, base 10 on a second axis at the
// right, X values along the bottom of an XY chart.
std::unique_ptr<ChartRecord> LogAxes(TestArrays& arrays) {
  auto chart = NewChart(kChartXY);
  SeriesRecord& x = SetSeries(*chart, 0, kSeriesXValues, kViewScatter);
  x.axisType = 1;
  x.periods = 4;
  SeriesRecord& base2 = SetSeries(*chart, 1, kSeriesData, kViewScatter);
  base2.axisType = 1;
  base2.scale = kScaleLog2;
  base2.periods = 4;
  SeriesRecord& base10 = SetSeries(*chart, 2, kSeriesData, kViewScatter);
  base10.axisType = 2;
  base10.scale = kScaleLog10;
  base10.periods = 2;
  base10.axisFlags = kAxisLabelsVertical | kAxisMajorTicks;
  arrays.AddNumbers({-3, 1, 5, 12});
  arrays.AddNumbers({1, 3, 16, 9});
  arrays.AddNumbers({10, 1000, 50, 200});
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

// Bars turn the plot: values along the bottom, categories up the left, a
// second value axis of a second series above; percent labels.
std::unique_ptr<ChartRecord> BarAxes(TestArrays& arrays) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& categories = SetSeries(*chart, 0, kSeriesCategories, kViewBar);
  categories.axisType = 1;
  categories.axisFlags = kAxisLabelsVertical | kAxisTitleVertical;
  AxisTitle(categories, "Team");
  SeriesRecord& share = SetSeries(*chart, 1, kSeriesData, kViewBar);
  share.axisType = 3;
  share.periods = 4;
  share.numberFormat.category = kNumFormatPercent;
  share.numberFormat.options.number.fixedDecimals = 1;
  share.axisFlags = kAxisLabelsHorizontal | kAxisTitleHorizontal | kAxisMajorTicks;
  AxisTitle(share, "Share");
  arrays.AddTexts({"Red", "Blue", "Green"});
  arrays.AddNumbers({0.2, 0.45, 0.35});
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

// Two value axes on the left, the second beyond the first's labels.
std::unique_ptr<ChartRecord> TwoLeftAxes(TestArrays& arrays) {
  auto chart = NewChart(kChart2D);
  for (int i = 0; i < 2; ++i) {
    SeriesRecord& s = SetSeries(*chart, i, kSeriesData, kViewLine);
    s.axisType = 1;
    s.periods = 2 + i;
    s.majorGrid.style = i == 0 ? 1 : 0;
  }
  chart->options.viewWidth = 90;
  arrays.AddNumbers({-30, 40});
  arrays.AddNumbers({1000, 2500});
  EXPECT_TRUE(arrays.LoadInto(*chart));
  return chart;
}

TEST(ChartGolden, AxisExamples) {
#ifdef _WIN32
  GTEST_SKIP() << "display lists are compared in the native build";
#endif
  using Builder = std::unique_ptr<ChartRecord> (*)(TestArrays&);
  const struct {
    const char* name;
    Builder build;
  } examples[] = {{"linear value and category axes", LinearAxes},
                  {"logarithmic axes", LogAxes},
                  {"bar axes", BarAxes},
                  {"two left axes", TwoLeftAxes}};
  for (uint16_t zoom : {100, 150}) {
    std::string drawn;
    for (const auto& example : examples) {
      TestArrays arrays;
      auto chart = example.build(arrays);
      drawn += Section(example.name, *chart, zoom);
    }
    ExpectDisplayListGolden("axes_zoom" + std::to_string(zoom), drawn);
  }
}

}  // namespace
