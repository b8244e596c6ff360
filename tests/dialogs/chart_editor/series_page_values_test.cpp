// The Data and Style pages' rules: the range values in the regional
// separator, the names they trim, what a categories series keeps, the pie
// slices and the advanced percents.

#include "dialogs/chart_editor/series_page_values.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dialogs/chart_editor/chart_page_values.h"

namespace {

ChartRecord* WithSeries(ChartRecord* chart, std::initializer_list<uint8_t> roles) {
  int i = 0;
  for (uint8_t role : roles) {
    chart->series[i].SetDefaults(chart->Kind(), uint32_t(i));
    chart->series[i].role = role;
    ++i;
  }
  chart->options.seriesCount = uint8_t(i);
  return chart;
}

TEST(DataPage, RangeValuesTakeTheRegionalSeparatorOnly) {
  const struct {
    char separator;
    const char* text;
    bool stored;
    double value;
  } cases[] = {
      {',', "1,5", true, 1.5},  {',', "1.5", false, 0}, {',', " -2 ", true, -2},
      {'.', "1.5", true, 1.5},  {'.', "1,5", false, 0}, {'.', "", false, 0},
      {'.', "1e400", false, 0}, {'.', "abc", false, 0},
  };
  for (const auto& c : cases) {
    ChartRecord chart(kChart2D);
    WithSeries(&chart, {kSeriesData});
    chart.series[0].fromValue = 7;
    DataPageValues values;
    LoadDataPage(chart, 0, c.separator, &values);
    ASSERT_TRUE(values.enabled);
    values.fromSet = true;
    std::snprintf(values.fromText, sizeof values.fromText, "%s", c.text);
    EXPECT_EQ(StoreDataPage(values, c.separator, &chart, 0), c.stored ? kPageStored : kDataFromField) << c.text;
    EXPECT_EQ(double(chart.series[0].fromValue), c.stored ? c.value : 7.0) << c.text;
    EXPECT_EQ((chart.series[0].flags & kSeriesFromValueSet) != 0, c.stored) << c.text;
  }
}

TEST(DataPage, UncheckedBoxesKeepTheNumbersAndNamesLoseTrailingBlanks) {
  ChartRecord chart(kChartXY);
  WithSeries(&chart, {kSeriesData, kSeriesXValues});
  SeriesRecord& s = chart.series[0];
  s.flags = kSeriesFromValueSet | kSeriesToValueSet;
  s.fromValue = 1.25;
  s.toValue = 9;
  DataPageValues values;
  LoadDataPage(chart, 0, ',', &values);
  EXPECT_STREQ(values.fromText, "1,25");
  EXPECT_TRUE(values.xDomainEnabled && values.errorBarsEnabled);
  values.fromSet = values.toSet = false;
  std::snprintf(values.relatedX, sizeof values.relatedX, "x values \t ");
  ASSERT_EQ(StoreDataPage(values, ',', &chart, 0), kPageStored);
  EXPECT_EQ(s.flags & (kSeriesFromValueSet | kSeriesToValueSet), 0);
  EXPECT_EQ(double(s.fromValue), 1.25);
  EXPECT_EQ(double(s.toValue), 9.0);
  EXPECT_STREQ(s.relatedX, "x values");
  // The X-values series has no domain of its own.
  LoadDataPage(chart, 1, ',', &values);
  EXPECT_TRUE(values.enabled);
  EXPECT_FALSE(values.xDomainEnabled);
}

TEST(SeriesPages, ACategoriesSeriesLoadsDisabledAndStoresNothing) {
  ChartRecord chart(kChart2D);
  WithSeries(&chart, {kSeriesCategories});
  std::vector<uint8_t> before(reinterpret_cast<uint8_t*>(&chart.series[0]),
                              reinterpret_cast<uint8_t*>(&chart.series[0]) + sizeof(SeriesRecord));
  DataPageValues data;
  LoadDataPage(chart, 0, '.', &data);
  EXPECT_FALSE(data.enabled);
  data.fromSet = true;
  std::snprintf(data.fromText, sizeof data.fromText, "3");
  EXPECT_EQ(StoreDataPage(data, '.', &chart, 0), kPageStored);
  StylePageValues style;
  LoadStylePage(chart, 0, &style);
  EXPECT_FALSE(style.enabled);
  style.visible = false;
  StoreStylePage(style, 0, &chart, 0);
  EXPECT_EQ(std::memcmp(before.data(), &chart.series[0], before.size()), 0);
  // No series at all: nothing is stored either.
  EXPECT_EQ(StoreDataPage(data, '.', &chart, -1), kPageStored);
  EXPECT_EQ(StoreDataPage(data, '.', &chart, 5), kPageStored);
}

TEST(StylePage, PieSlicesStayWithinTheSixteen) {
  const struct {
    int slice, delta, next;
  } cases[] = {{0, -1, 0}, {0, 1, 1}, {15, 1, 15}, {15, -1, 14}, {7, 0, 7}, {3, 5000, 4}};
  for (const auto& c : cases) EXPECT_EQ(StepPieSlice(c.slice, c.delta), c.next) << c.slice << " " << c.delta;
}

TEST(StylePage, TheFillGoesIntoTheSeriesAndTheShownSlice) {
  ChartRecord chart(kChart2D);
  WithSeries(&chart, {kSeriesData});
  chart.series[0].viewType = kViewPie;
  StylePageValues values;
  LoadStylePage(chart, 0, &values);
  values.fill.pattern = 7;
  values.slices[2].pattern = 9;  // as the spin left it
  StoreStylePage(values, 5, &chart, 0);
  EXPECT_EQ(chart.series[0].fill.pattern, 7);
  EXPECT_EQ(chart.series[0].sliceFills[5].pattern, 7);
  EXPECT_EQ(chart.series[0].sliceFills[2].pattern, 9);
}

TEST(StylePage, ScatterPointsUnconnectedKeepTheirLineColour) {
  ChartRecord chart(kChartXY);
  WithSeries(&chart, {kSeriesData});
  StylePageValues values;
  LoadStylePage(chart, 0, &values);
  values.line = BorderLine{3, 1, {}, 0x123456};
  values.connectPoints = false;
  values.symbol = 9;
  StoreStylePage(values, 0, &chart, 0);
  EXPECT_EQ(chart.series[0].connectingLine.style, 0);
  EXPECT_EQ(uint32_t(chart.series[0].connectingLine.color), 0x123456u);
  EXPECT_EQ(chart.series[0].symbol, 9);
  LoadStylePage(chart, 0, &values);
  EXPECT_FALSE(values.connectPoints);
}

TEST(StylePage, AdvancedPercentsRefuseAZeroSizeButTakeAZeroSplit) {
  const struct {
    int field;
    const char* text;
    bool accepted;
  } cases[] = {
      {0, "0", false}, {0, "1", true},  {0, "100", true}, {0, "101", false}, {1, "0", false},
      {kPieSplitPercent, "0", true}, {kPieSplitPercent, "100", true}, {kPieSplitPercent, "-1", false},
      {3, "0", false}, {4, "0", false}, {4, "50", true}, {5, "50", false},
  };
  for (const auto& c : cases) {
    uint8_t value = 77;
    EXPECT_EQ(ParseAdvancedPercent(c.field, c.text, &value), c.accepted) << c.field << " " << c.text;
    EXPECT_EQ(value, c.accepted ? std::atoi(c.text) : 77);
  }
}

TEST(StylePage, ControlsFollowTheChartKindAndViewType) {
  EXPECT_EQ(StyleControlsOf(kChart3D, kViewColumn3D), kStyleVisible | kStyleFill);
  EXPECT_TRUE(StyleControlsOf(kChart3D, kViewPie3D) & kStylePieSlices);
  EXPECT_TRUE(StyleControlsOf(kChart3D, kViewPie3D) & kStyleLabels);
  EXPECT_TRUE(StyleControlsOf(kChartXY, kViewScatter) & kStyleSymbol);
  EXPECT_TRUE(StyleControlsOf(kChart2D, kViewLine) & kStyleLine);
  EXPECT_FALSE(StyleControlsOf(kChart2D, kViewColumn) & kStyleLine);
}

}  // namespace
