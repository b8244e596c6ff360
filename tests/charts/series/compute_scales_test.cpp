#include "charts/series/compute_scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "charts/series/axis_scale.h"
#include "charts/series/series_points.h"
#include "tests/charts/support/chart_test_data.h"
#include "tests/test_seed.h"

namespace {

TEST(ComputeScales, RelativeStacksBecomeFractionsOfTheirTotal) {
  auto chart = NewChart(kChart2D);
  for (int i = 0; i < 2; ++i) {
    SeriesRecord& s = SetSeries(*chart, i, kSeriesData, kViewColumn);
    s.stacked = 1;
    s.relative = 1;
    s.periods = 5;
  }
  TestArrays arrays;
  arrays.AddNumbers({1, 2});
  arrays.AddNumbers({3, 6});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  EXPECT_DOUBLE_EQ(+PointAt(chart->seriesLists[0], 0)->value, 0.25);
  EXPECT_DOUBLE_EQ(+PointAt(chart->seriesLists[1], 0)->value, 0.75);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(+chart->series[i].limits.minimum, 0);
    EXPECT_EQ(+chart->series[i].limits.maximum, 1);
    EXPECT_TRUE(chart->series[i].flags & kSeriesFixedLimits);
  }
  EXPECT_FLOAT_EQ(+PointAt(chart->seriesLists[1], 1)->position, 0.75f);
}

TEST(ComputeScales, StackedSeriesShareTheLimitsOfTheirSums) {
  auto chart = NewChart(kChart2D);
  for (int i = 0; i < 3; ++i) {
    SeriesRecord& s = SetSeries(*chart, i, kSeriesData, kViewArea);
    s.stacked = 1;
    s.periods = i == 0 ? 4 : 1;  // the first series' divisions serve the group
  }
  TestArrays arrays;
  arrays.AddNumbers({2, 5, -1});
  arrays.AddNumbers({3, 1});
  arrays.AddNumbers({-4, 2, -2});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  // Sums: +5 / -4, +8, -3: limits -4 .. 8 on the group's four divisions.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(+chart->series[i].periods, 4);
    EXPECT_DOUBLE_EQ(+chart->series[i].limits.minimum, -5);
    EXPECT_DOUBLE_EQ(+chart->series[i].limits.maximum, 15);
    EXPECT_EQ(chart->series[i].limits.state & kStateSigns, kStatePositive | kStateNegative);
  }
}

TEST(ComputeScales, AStackBeyondTheDataRangeIsCutInEverySeries) {
  auto chart = NewChart(kChart2D);
  for (int i = 0; i < 2; ++i) {
    SeriesRecord& s = SetSeries(*chart, i, kSeriesData, kViewColumn);
    s.stacked = 1;
    s.flags = kSeriesToValueSet;
    s.toValue = 10;
  }
  TestArrays arrays;
  arrays.AddNumbers({4, 6});
  arrays.AddNumbers({5, 5});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(PointAt(chart->seriesLists[i], 0)->flags & kPointCut);
    EXPECT_TRUE(PointAt(chart->seriesLists[i], 1)->flags & kPointCut);
  }
  EXPECT_EQ(+chart->series[0].limits.maximum, 10);
}

TEST(ComputeScales, SeriesOutsideStackedGroupsAreScaledAlone) {
  auto chart = NewChart(kChart2D);
  SetSeries(*chart, 0, kSeriesData, kViewArea).periods = 5;  // an unstacked area
  SetSeries(*chart, 1, kSeriesXValues, kViewScatter).periods = 2;
  TestArrays arrays;
  arrays.AddNumbers({0.5, 3.7, 9.2});
  arrays.AddNumbers({-7, -2.5});
  ASSERT_TRUE(arrays.LoadInto(*chart));
  EXPECT_EQ(+chart->series[0].limits.minimum, 0);
  EXPECT_EQ(+chart->series[0].limits.maximum, 10);
  // Two divisions of 5 below the largest value.
  EXPECT_EQ(+chart->series[1].limits.minimum, -10);
  EXPECT_EQ(+chart->series[1].limits.maximum, 0);
  EXPECT_TRUE(chart->series[1].limits.scaled);
}

// Any two values on any scale and number of divisions: the axis holds them,
// a range across 0 gets at least two divisions, every usable point lies on
// the axis and ValueToAxis agrees with the points' positions.
TEST(AxisLimits, RandomSeriesFitTheirAxes) {
  const uint32_t seed = TestSeed(2024);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> exponent(-4, 7);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> periods(0, 12);
  std::uniform_int_distribution<int> scales(0, 3);
  for (int round = 0; round < 1000; ++round) {
    const uint8_t scale = static_cast<uint8_t>(scales(random));
    const double magnitude = std::pow(10.0, exponent(random));
    double a = unit(random) * magnitude;
    double b = unit(random) * magnitude;
    if (IsLogScale(scale)) {
      a = std::fabs(a) + 1e-3;
      b = std::fabs(b) + 1e-3;
    }
    auto chart = NewChart(kChart2D);
    SeriesRecord& s = SetSeries(*chart, 0, kSeriesData, kViewLine);
    s.scale = scale;
    s.periods = static_cast<uint16_t>(periods(random));
    SCOPED_TRACE(::testing::Message() << "round " << round << ": " << a << ", " << b << " scale "
                                      << int(scale) << " periods " << s.periods);
    TestArrays arrays;
    arrays.AddNumbers({a, b});
    ASSERT_TRUE(arrays.LoadInto(*chart));
    double low;
    double high;
    AxisUnitsRange(s, &low, &high);
    const double la = ScaleLog(scale, a);
    const double lb = ScaleLog(scale, b);
    const double slack = 1e-9 * (std::fabs(low) + std::fabs(high));
    EXPECT_LE(low, std::fmin(la, lb) + slack);
    EXPECT_GE(high, std::fmax(la, lb) - slack);
    if (std::fmin(la, lb) < 0 && std::fmax(la, lb) > 0) {
      EXPECT_GE(+s.periods, 2);
    }
    for (uint32_t j = 0; j < 2; ++j) {
      const SeriesPoint* p = PointAt(chart->seriesLists[0], j);
      ASSERT_TRUE(IsUsablePoint(*p));
      EXPECT_GE(+p->position, -1e-5f);
      EXPECT_LE(+p->position, 1 + 1e-5f);
      float position;
      ASSERT_TRUE(ValueToAxis(s, j == 0 ? la : lb, &position));
      EXPECT_NEAR(position, +p->position, 1e-5);
    }
  }
}

}  // namespace
