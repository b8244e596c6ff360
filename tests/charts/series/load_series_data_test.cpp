#include "charts/series/load_series_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/series/axis_scale.h"
#include "charts/series/chart_errors.h"
#include "charts/series/series_points.h"
#include "tests/charts/support/chart_test_data.h"

namespace {

const double kNone = std::nan("");

TEST(LoadSeriesData, NumbersBecomePointsWithTheirSigns) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesData, kViewLine).periods = 5;
  TestArrays arrays;
  arrays.AddNumbers({2, kNone, -3, 0, 4}, 1);
  ASSERT_TRUE(arrays.LoadInto(*chart));
  EXPECT_TRUE(chart->flags & kChartDataLoaded);
  const SeriesLists& lists = chart->seriesLists[0];
  ASSERT_EQ(lists.points.Count(), 5u);
  const uint8_t flags[] = {kPointPositive, kPointMissing, kPointNegative, kPointZero, kPointPositive};
  for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(PointAt(lists, i)->flags, flags[i]) << "point " << i;
  EXPECT_EQ(chart->series[0].limits.state & kStateSigns, kStateSigns);
  // -3 .. 4 in five steps of 2 from -4; the base line 0 at 0.4 of the axis.
  EXPECT_EQ(+chart->series[0].limits.minimum, -4);
  EXPECT_EQ(+chart->series[0].limits.maximum, 6);
  EXPECT_FLOAT_EQ(+PointAt(lists, 3)->position, 0.4f);
  EXPECT_FLOAT_EQ(+PointAt(lists, 0)->position, 0.6f);
  EXPECT_FLOAT_EQ(+chart->series[0].limits.offset, -0.4f);
}

TEST(LoadSeriesData, RecordsHowValuesLieAgainstTheFirst) {
  struct Case {
    std::vector<double> values;
    uint8_t bits;
  };
  const Case cases[] = {
      {{3, 1, 4}, 0},
      {{1, 5, 3}, kStateNoneBelowFirst},
      {{5, 1, 3}, kStateNoneAboveFirst},
      {{}, kStateNoneBelowFirst},
  };
  for (const Case& c : cases) {
    auto chart = NewChart(kChart2D);
    SetSeries(*chart, 0, kSeriesData, kViewColumn);
    TestArrays arrays;
    arrays.AddNumbers(c.values);
    ASSERT_TRUE(arrays.LoadInto(*chart));
    EXPECT_EQ(chart->series[0].limits.state & (kStateNoneBelowFirst | kStateNoneAboveFirst), c.bits)
        << c.values.size() << " values";
  }
}

TEST(LoadSeriesData, LogarithmicAxesSkipValuesNotAboveZero) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& s = SetSeries(*chart, 0, kSeriesData, kViewLine);
  s.scale = kScaleLog10;
  s.periods = 2;
  TestArrays arrays;
  arrays.AddNumbers({10, 0, -5, 1000});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  const SeriesLists& lists = chart->seriesLists[0];
  EXPECT_EQ(PointAt(lists, 1)->flags, kPointMissing);
  EXPECT_EQ(PointAt(lists, 2)->flags, kPointMissing);
  EXPECT_DOUBLE_EQ(+s.limits.logMinimum, 1);
  EXPECT_DOUBLE_EQ(+s.limits.logMaximum, 3);
  EXPECT_FLOAT_EQ(+PointAt(lists, 0)->position, 0);
  EXPECT_FLOAT_EQ(+PointAt(lists, 3)->position, 1);
}

TEST(LoadSeriesData, ValuesOutsideTheDataRangeAreCutAndTheRangeIsTheAxis) {
  auto chart = NewChart(kChart2D);
  SeriesRecord& s = SetSeries(*chart, 0, kSeriesData, kViewLine);
  s.flags = kSeriesFromValueSet | kSeriesToValueSet;
  s.fromValue = 2;
  s.toValue = 8;
  s.periods = 5;
  TestArrays arrays;
  arrays.AddNumbers({1, 5, 9});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  const SeriesLists& lists = chart->seriesLists[0];
  EXPECT_EQ(PointAt(lists, 0)->flags, kPointCut);
  EXPECT_EQ(+PointAt(lists, 0)->value, 1);
  EXPECT_EQ(PointAt(lists, 2)->flags, kPointCut);
  EXPECT_TRUE(s.limits.state & kStateSomeCut);
  EXPECT_EQ(+s.limits.minimum, 2);  // not rounded
  EXPECT_EQ(+s.limits.maximum, 8);
  EXPECT_FLOAT_EQ(+PointAt(lists, 1)->position, 0.5f);
}

TEST(LoadSeriesData, AZeroWidensTheRangeWhereverItStands) {
  // Taken from the signed extremes alone, 3 then 0 gave the axis 3 .. 8 and
  // put the zero below it, while 0 then 3 gave 0 .. 5.
  for (const std::vector<double>& values : {std::vector<double>{3, 0}, std::vector<double>{0, 3}}) {
    auto chart = NewChart(kChart2D);
    SetSeries(*chart, 0, kSeriesData, kViewLine).periods = 5;
    TestArrays arrays;
    arrays.AddNumbers(values);
    ASSERT_TRUE(arrays.LoadInto(*chart));
    EXPECT_EQ(+chart->series[0].limits.minimum, 0) << values[0];
    EXPECT_EQ(+chart->series[0].limits.maximum, 5) << values[0];
  }
}

TEST(LoadSeriesData, CategoriesTakeTheirCellsTextsCutTo42Characters) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  TestArrays arrays;
  const std::string longText(50, 'x');
  arrays.AddTexts({"North", longText, ""});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  const SeriesLists& lists = chart->seriesLists[0];
  ASSERT_EQ(lists.categories.Count(), 3u);
  EXPECT_STREQ(CategoryAt(lists, 0)->text, "North");
  EXPECT_EQ(std::string(CategoryAt(lists, 1)->text), std::string(42, 'x'));
  EXPECT_EQ(CategoryAt(lists, 1)->flags, 0);
  EXPECT_EQ(+chart->series[0].periods, 3);
  EXPECT_EQ(+chart->series[0].divisor, 1u);
}

TEST(LoadSeriesData, ManyCategoriesAreLabelledInGroups) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  TestArrays arrays;
  arrays.AddCounting(100000);
  ASSERT_TRUE(arrays.LoadInto(*chart));
  EXPECT_EQ(+chart->series[0].divisor, 1000u);
  EXPECT_EQ(+chart->series[0].periods, 100);
  EXPECT_STREQ(CategoryAt(chart->seriesLists[0], 99999)->text, "100000");
}

TEST(LoadSeriesData, FailuresLeaveNoPointsAndTheirCode) {
  struct Case {
    const char* what;
    uint8_t secondScale;
    double low;
    double high;
    uint8_t error;
  };
  const Case cases[] = {
      {"stacked series on different scales", kScaleLog10, 1, 2, kChartStackMismatch},
      {"a range too wide for any number", kScaleLinear, -1e308, 1e308, kChartInvalidLimits},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto chart = NewChart(kChart2D);
    SetSeries(*chart, 0, kSeriesData, kViewColumn).stacked = 1;
    SeriesRecord& second = SetSeries(*chart, 1, kSeriesData, kViewColumn);
    second.stacked = 1;
    second.scale = c.secondScale;
    chart->series[0].periods = 5;
    TestArrays arrays;
    arrays.AddNumbers({c.low, 3});
    arrays.AddNumbers({c.high, 4});
    EXPECT_FALSE(arrays.LoadInto(*chart));
    EXPECT_EQ(chart->error, c.error);
    EXPECT_EQ(chart->flags & (kChartDataLoaded | kChartPrepared), 0);
    EXPECT_EQ(chart->seriesLists[0].points.Count(), 0u);
    EXPECT_EQ(chart->seriesLists[1].points.Count(), 0u);
  }
}

bool RefuseEveryPage(size_t) { return false; }

TEST(LoadSeriesData, PointsWithoutRoomFailWithOutOfMemory) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesData, kViewColumn);
  TestArrays arrays;
  arrays.AddNumbers({1, 2, 3});
  SetPagedArrayAllocationGateForTesting(RefuseEveryPage);
  const bool loaded = arrays.LoadInto(*chart);
  SetPagedArrayAllocationGateForTesting(nullptr);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(chart->error, kChartOutOfMemory);
}

TEST(LoadSeriesData, ACategoryCellThatIsNoValueEndsTheLoad) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesCategories, kViewColumn);
  CellStore store;
  alignas(8) uint8_t formula[64];
  FormulaCellFields fields;
  fields.formula = "1";
  fields.formulaLength = 1;
  ASSERT_GT(BuildFormulaCell(formula, sizeof formula, 0, 0, fields), 0u);
  CellCursor cursor;
  ASSERT_TRUE(store.InsertCell(AsCellRecord(formula), &cursor));
  CellBlock* const chain = store.FirstBlock();
  const uint16_t columns = 1;
  const uint32_t rows = 1;
  EXPECT_FALSE(LoadSeriesData(*chart, &chain, &columns, &rows, 1));
  EXPECT_EQ(chart->error, kChartNeedsArray);
}

}  // namespace
