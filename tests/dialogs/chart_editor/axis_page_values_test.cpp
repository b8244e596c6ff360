// The Axes and Grid pages' rules: the tick settings kept plus one, what a
// categories axis stores, the title and label orientation and the user
// gridlines.

#include "dialogs/chart_editor/axis_page_values.h"

#include <gtest/gtest.h>

#include "dialogs/chart_editor/chart_page_values.h"

namespace {

ChartRecord* OneSeries(ChartRecord* chart, uint8_t role) {
  chart->series[0].SetDefaults(chart->Kind(), 0);
  chart->series[0].role = role;
  chart->options.seriesCount = 1;
  return chart;
}

TEST(AxesPage, TickSettingsAreKeptPlusOneWithinWhatFilesHold) {
  const struct {
    const char* text;
    int field;
    uint16_t stored;
  } cases[] = {
      {"0", kPageStored, 1},        {"5", kPageStored, 6},         {"65533", kPageStored, 65534},
      {"65534", kAxesMajorField, 0}, {"65535", kAxesMajorField, 0}, {"16776960", kAxesMajorField, 0},
      {"-1", kAxesMajorField, 0},   {"", kAxesMajorField, 0},      {"2.5", kAxesMajorField, 0},
  };
  for (const auto& c : cases) {
    ChartRecord chart(kChart2D);
    OneSeries(&chart, kSeriesData);
    chart.series[0].periods = 11;
    AxesPageValues values;
    LoadAxesPage(chart, 0, &values);
    EXPECT_STREQ(values.majorText, "10");
    std::snprintf(values.majorText, sizeof values.majorText, "%s", c.text);
    values.majorTicks = false;  // the numbers count all the same
    EXPECT_EQ(StoreAxesPage(values, &chart, 0), c.field) << c.text;
    EXPECT_EQ(chart.series[0].periods, c.field == kPageStored ? c.stored : 11) << c.text;
  }
}

TEST(AxesPage, ACategoriesAxisKeepsItsTicksAndScale) {
  ChartRecord chart(kChart2D);
  OneSeries(&chart, kSeriesCategories);
  SeriesRecord& s = chart.series[0];
  s.periods = 4;
  s.scale = 2;
  AxesPageValues values;
  LoadAxesPage(chart, 0, &values);
  ASSERT_EQ(values.mode, kAxisPageCategories);
  std::snprintf(values.majorText, sizeof values.majorText, "bad");
  values.axisType = 3;
  values.majorTicks = values.minorTicks = true;
  values.title = values.titleVertical = true;
  values.labels = true;
  values.labelsVertical = false;
  values.scale = 1;
  std::snprintf(values.name, sizeof values.name, "Months");
  ASSERT_EQ(StoreAxesPage(values, &chart, 0), kPageStored);
  EXPECT_EQ(s.axisType, 3);
  EXPECT_EQ(s.axisFlags, kAxisMajorTicks | kAxisTitleVertical | kAxisLabelsHorizontal);
  EXPECT_EQ(s.periods, 4);
  EXPECT_EQ(s.scale, 2);
  EXPECT_STREQ(s.axisTitleText, "Months");
}

TEST(AxisPages, PiesAndErrorBarsShowNoAxis) {
  ChartRecord chart(kChart2D);
  OneSeries(&chart, kSeriesData);
  chart.series[0].viewType = kViewPie;
  EXPECT_EQ(AxisPageModeOf(chart, 0), kAxisPageDisabled);
  chart.series[0].viewType = kViewColumn;
  chart.series[0].role = kSeriesErrorBars;
  EXPECT_EQ(AxisPageModeOf(chart, 0), kAxisPageDisabled);
  EXPECT_EQ(AxisPageModeOf(chart, -1), kAxisPageDisabled);
  EXPECT_EQ(AxisPageModeOf(chart, 1), kAxisPageDisabled);
}

TEST(GridPage, UserGridlinesTakeSixteenAndCloseUpOnDelete) {
  GridPageValues values = {};
  BorderLine line = {1, 0, {}, 0};
  for (int i = 0; i < kSeriesUserGridLines; ++i) EXPECT_TRUE(AddUserGridline(&values, i, line));
  EXPECT_FALSE(AddUserGridline(&values, 99, line));
  EXPECT_EQ(values.userCount, 16);
  values.userCount = 3;
  EXPECT_EQ(DeleteUserGridline(&values, 1), 1);
  ASSERT_EQ(values.userCount, 2);
  EXPECT_EQ(values.userValues[0], 0.0);
  EXPECT_EQ(values.userValues[1], 2.0);
  EXPECT_EQ(DeleteUserGridline(&values, 1), 0);  // the new last row
  EXPECT_EQ(DeleteUserGridline(&values, 5), -1);
  EXPECT_EQ(values.userCount, 1);
  EXPECT_EQ(DeleteUserGridline(&values, 0), -1);
  EXPECT_EQ(values.userCount, 0);
}

TEST(GridPage, ACategoriesAxisStoresItsLinesButNoUserGridlines) {
  ChartRecord chart(kChart2D);
  OneSeries(&chart, kSeriesCategories);
  GridPageValues values;
  LoadGridPage(chart, 0, &values);
  values.major.style = 4;
  AddUserGridline(&values, 1.5, values.major);
  StoreGridPage(values, &chart, 0);
  EXPECT_EQ(chart.series[0].majorGrid.style, 4);
  EXPECT_EQ(chart.series[0].userGridCount, 0);
}

}  // namespace
