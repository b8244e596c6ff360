// Drawing a prepared chart with data-point labels again and again: each
// drawing looks the same and leaves the scene as the preparation left it,
// and a label that finds no room ends the plot but not the titles.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "charts/prepare/chart_prepare.h"
#include "tests/charts/support/builder_chart.h"

namespace {

const PixelRect kSlot = {0, 0, 299, 199};

std::unique_ptr<ChartRecord> LabelledColumns(TestArrays& arrays) {
  auto chart = LoadedChart(arrays, kChart2D, kViewColumn, false, {{{1, 2, 3}}, {{3, 2, 1}}}, 0, 4, 3);
  std::strcpy(chart->options.titleText, "Title");
  return chart;
}

TEST(ChartRedraw, EveryDrawingLeavesTheSceneAsPrepared) {
  TestArrays arrays;
  auto chart = LabelledColumns(arrays);
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  const uint32_t prepared = chart->vertices.Count();
  std::string first;
  for (int k = 0; k < 3; ++k) {
    surface.Clear();
    Draw(*chart, kSlot, surface.Surface());
    EXPECT_EQ(chart->vertices.Count(), prepared) << "drawing " << k;
    if (k == 0)
      first = surface.Text();
    else
      EXPECT_EQ(surface.Text(), first) << "drawing " << k;
  }
  EXPECT_EQ(surface.Of("text").size(), 6u + 1u);
}

bool RefuseEveryPage(size_t) { return false; }

TEST(ChartRedraw, ALabelWithoutRoomEndsThePlotButNotTheTitles) {
  TestArrays arrays;
  auto chart = LabelledColumns(arrays);
  DisplayListSurface surface;
  ASSERT_TRUE(Prepare(*chart, surface.Surface(), kSlot, 100, 100));
  surface.Clear();
  SetPagedArrayAllocationGateForTesting(RefuseEveryPage);
  Draw(*chart, kSlot, surface.Surface());
  SetPagedArrayAllocationGateForTesting(nullptr);
  const std::vector<std::string> texts = surface.Of("text");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("\"Title\""), std::string::npos);
}

}  // namespace
