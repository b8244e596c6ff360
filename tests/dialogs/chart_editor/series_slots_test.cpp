// The chart editor's series list: the 16 series a chart takes, and where
// the selection goes when a series is deleted.

#include "dialogs/chart_editor/series_slots.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

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
