// The chart editor's series list: the type combo's items and roles, the
// 16 series a chart takes, and where the selection goes when a series is
// deleted.

#include "dialogs/chart_editor/series_slots.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(SeriesSlots, TypeItemsStandForRolesByTheChartKind) {
  const struct {
    int item;
    bool xy;
    uint8_t role;
    const char* text;
  } cases[] = {
      {0, false, kSeriesData, "Data"},           {1, false, kSeriesCategories, "Categories"},
      {2, false, kSeriesErrorBars, "Error bars"}, {0, true, kSeriesData, "Y-series"},
      {1, true, kSeriesXValues, "X-series"},      {2, true, kSeriesErrorBars, "Error bars"},
      {-1, false, kSeriesData, "Data"},  // no choice: a data series
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.item << (c.xy ? " XY" : ""));
    EXPECT_EQ(RoleOfTypeItem(c.item, c.xy), c.role);
    EXPECT_STREQ(SeriesRoleText(c.role, c.xy), c.text);
    if (c.item >= 0) {
      EXPECT_STREQ(SeriesTypeItems(c.xy)[c.item], c.text);
    }
  }
  // X values and categories share the second item; other roles have none.
  EXPECT_EQ(TypeItemOfRole(kSeriesXValues), 1);
  EXPECT_EQ(TypeItemOfRole(kSeriesCategories), 1);
  EXPECT_STREQ(SeriesRoleText(kSeriesXValues, false), "Categories");
  EXPECT_STREQ(SeriesRoleText(kSeriesCategories, true), "X-series");
  EXPECT_EQ(TypeItemOfRole(0), -1);
  EXPECT_EQ(TypeItemOfRole(9), -1);
  EXPECT_STREQ(SeriesRoleText(9, false), "");
}

TEST(SeriesSlots, AChartTakes16SeriesAndRefusesThe17th) {
  ChartRecord chart(kChartXY);
  for (int i = 0; i < kChartMaxSeries; ++i) {
    int32_t index = -1;
    ASSERT_TRUE(AddSeriesSlot(chart, &index));
    EXPECT_EQ(index, i);
    EXPECT_EQ(chart.series[i].viewType, kViewScatter);  // the kind's defaults
  }
  int32_t index = 99;
  EXPECT_FALSE(AddSeriesSlot(chart, &index));
  EXPECT_EQ(index, 99);
  EXPECT_EQ(chart.options.seriesCount, kChartMaxSeries);
  // A file may claim more than 16; the chart is full all the same.
  chart.options.seriesCount = 200;
  EXPECT_FALSE(AddSeriesSlot(chart, &index));
}

// The names of the chart's series, in order.
std::string Names(const ChartRecord& chart) {
  std::string names;
  for (int i = 0; i < chart.UsedSeriesCount(); ++i) names += std::string(chart.series[i].name) + " ";
  return names;
}

TEST(SeriesSlots, DeletingASeriesKeepsTheSelectionOnItsPlaceOrTheNewLast) {
  ChartRecord chart(kChart2D);
  for (const char* name : {"a", "b", "c"}) {
    int32_t index;
    ASSERT_TRUE(AddSeriesSlot(chart, &index));
    std::strcpy(chart.series[index].name, name);
  }
  EXPECT_EQ(DeleteSeriesSlot(chart, 0), 0);
  EXPECT_EQ(Names(chart), "b c ");
  EXPECT_EQ(DeleteSeriesSlot(chart, 1), 0);  // the last one: the new last is selected
  EXPECT_EQ(Names(chart), "b ");
  EXPECT_EQ(DeleteSeriesSlot(chart, 5), 0);  // no such series: nothing goes
  EXPECT_EQ(DeleteSeriesSlot(chart, 0), -1);
  EXPECT_EQ(chart.UsedSeriesCount(), 0);
  EXPECT_STREQ(chart.series[0].name, "");
  EXPECT_TRUE(chart.CheckInvariants());
}

}  // namespace
