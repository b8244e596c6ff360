// The chart pages' rules: the legend byte, the perspective slider, the lamp
// positions, the plot size and a rotation step.

#include "dialogs/chart_editor/chart_page_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

TEST(LegendPage, PositionAndExpansionMakeTheLegendByteAndBack) {
  const struct {
    LegendChoice choice;
    uint8_t legend;
  } cases[] = {
      {{0, false}, 0}, {{0, true}, 0},  // "No legend" whatever the expansion
      {{1, false}, 1}, {{1, true}, 2}, {{2, false}, 3}, {{3, false}, 5},
      {{3, true}, 6},  {{4, false}, 7}, {{4, true}, 8},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LegendByte(c.choice), c.legend) << c.choice.position << " " << c.choice.expandWidth;
    if (c.choice.position == 0 && c.choice.expandWidth)
      continue;
    const LegendChoice back = LegendChoiceOfByte(c.legend);
    EXPECT_EQ(back.position, c.choice.position);
    EXPECT_EQ(back.expandWidth, c.choice.expandWidth);
  }
  // A byte no file should hold shows no legend, grown in height.
  EXPECT_EQ(LegendChoiceOfByte(9).position, 0);
  EXPECT_FALSE(LegendChoiceOfByte(200).expandWidth);
}

TEST(OptionsPage, PerspectiveLoadsAtTheFirstStepNotBelowIt) {
  const struct {
    uint16_t perspective;
    bool on;
    int position;
    uint16_t saved;
  } cases[] = {
      {8, true, 3, 9},     {5, true, 1, 5},     {1, true, 1, 5},   {60, true, 12, 60},
      {61, true, 12, 60},  {99, true, 12, 60},  {0, false, 10, 100}, {100, false, 10, 100},
      {500, false, 10, 100}, {21, true, 8, 25},
  };
  for (const auto& c : cases) {
    ChartRecord chart(kChart3D);
    chart.options.perspective = c.perspective;
    OptionsPageValues values;
    LoadOptionsPage(chart, &values);
    EXPECT_EQ(values.perspectiveOn, c.on) << c.perspective;
    EXPECT_EQ(values.perspectivePosition, c.position) << c.perspective;
    StoreOptionsPage(values, &chart);
    EXPECT_EQ(chart.options.perspective, c.saved) << c.perspective;
  }
}

TEST(OptionsPage, LampSlidersRunAgainstTheLightDirection) {
  ChartRecord chart(kChart3D);
  OptionsPageValues values = DefaultOptionsPage();
  values.lampHorizontal = 180;  // "Right"
  values.lampVertical = 0;      // "Low"
  StoreOptionsPage(values, &chart);
  EXPECT_EQ(chart.options.lightDirectionX, 0);
  EXPECT_EQ(chart.options.lightDirectionY, 180);
  chart.options.lightDirectionX = 30;
  chart.options.lightDirectionY = 900;  // beyond what a file holds
  LoadOptionsPage(chart, &values);
  EXPECT_EQ(values.lampHorizontal, 150);
  EXPECT_EQ(values.lampVertical, 0);
}

TEST(WallsPage, PlotSizeTakesWholePercentsFromOneToAHundred) {
  const struct {
    const char* text;
    bool stored;
  } cases[] = {{"1", true}, {" 100 ", true}, {"55", true}, {"0", false},
               {"101", false}, {"-1", false}, {"5.5", false}, {"", false}, {"x", false}};
  for (const auto& c : cases) {
    ChartRecord chart(kChart2D);
    WallsPageValues values;
    LoadWallsPage(chart, &values);
    const uint8_t height = chart.options.viewHeight;
    std::snprintf(values.widthText, sizeof values.widthText, "%s", c.text);
    const int field = StoreWallsPage(values, &chart);
    EXPECT_EQ(field, c.stored ? kPageStored : kWallsWidthField) << c.text;
    EXPECT_EQ(chart.options.viewHeight, height);
    if (c.stored) {
      EXPECT_EQ(chart.options.viewWidth, std::atoi(c.text));
    }
  }
}

TEST(WallsPage, OnlyA3DChartStoresItsSideWallAndFloor) {
  for (uint8_t kind : {kChart2D, kChart3D}) {
    ChartRecord chart(kind);
    chart.options.planeYZ = 0;
    chart.options.planeXZ = 0;
    WallsPageValues values;
    LoadWallsPage(chart, &values);
    values.planeYZ = values.planeXZ = values.planeXY = true;
    ASSERT_EQ(StoreWallsPage(values, &chart), kPageStored);
    EXPECT_EQ(chart.options.planeXY, 1);
    EXPECT_EQ(chart.options.planeYZ, kind == kChart3D ? 1 : 0);
    EXPECT_EQ(chart.options.planeXZ, kind == kChart3D ? 1 : 0);
  }
}

TEST(OptionsPage, RotationStepsTurnTheViewAndResetUndoesThem) {
  ChartRecord chart(kChart3D);
  // X- and Y- turn against the step: one step each way gives the identity.
  for (int axis = 0; axis < 3; ++axis) {
    RotateChartView(&chart, axis, 5);
    RotateChartView(&chart, axis, -5);
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(chart.viewMatrix[r][c], r == c ? 1.0 : 0.0, 1e-6);
  RotateChartView(&chart, 0, 90);
  // A quarter turn about the first axis against the step sends y to -z or z.
  EXPECT_NEAR(std::fabs(chart.viewMatrix[1][2]), 1.0, 1e-6);
  EXPECT_NEAR(chart.viewMatrix[1][1], 0.0, 1e-6);
  ChartRecord::Transform(chart.viewMatrix, kResetToIdentity, 0);
  EXPECT_EQ(chart.viewMatrix[1][1], 1.0f);
}

}  // namespace
