#include "app/frame/frame_layout.h"

#include <gtest/gtest.h>

#include <string>

TEST(FrameLayout, NameBoxTakesAThirdOfTheFreeWidthAndTheFormulaBarTwice) {
  const int buttons[] = {23, 30, 40, 8, 20};
  // 600 + 1 - 4 - 6 - (24 + 31 + 41 + 9 + 21) = 465
  const SecondaryBarWidths w = ComputeSecondaryBarWidths(600, 4, 6, buttons, 5);
  EXPECT_EQ(w.nameBox, 155);
  EXPECT_EQ(w.formulaBar, 310);
}

TEST(FrameLayout, NarrowFrameStillLeavesRoomForNameBoxAndFormulaBar) {
  const int buttons[] = {200, 200};
  for (int band : {0, 100, 441}) {
    const SecondaryBarWidths w = ComputeSecondaryBarWidths(band, 2, 2, buttons, 2);
    EXPECT_EQ(w.nameBox, 13) << band;
    EXPECT_EQ(w.formulaBar, 26) << band;
  }
}

TEST(FrameLayout, StatusPanesEndAtTheirEdges) {
  int edges[kStatusPaneCount];
  ComputeStatusPaneEdges(1000, 2, 2, 60, edges);
  EXPECT_EQ(edges[3], 998);
  EXPECT_EQ(edges[2], 936);
  EXPECT_EQ(edges[1], 910);
  // (1000 - 6 - 124 - 23) / 3 = 282
  EXPECT_EQ(edges[0], 626);
  // A very narrow bar: the share of pane 0 rounds towards zero.
  ComputeStatusPaneEdges(100, 0, 0, 40, edges);
  EXPECT_EQ(edges[0], 36 - (100 - 80 - 23) / 3);
}

TEST(FrameLayout, TooltipIsTheTextAfterTheLineBreakCutTo79Characters) {
  char tip[80];
  EXPECT_TRUE(TooltipOfPrompt("Create a new workbook\nNew Workbook (Ctrl + N)", tip, sizeof tip));
  EXPECT_STREQ(tip, "New Workbook (Ctrl + N)");
  EXPECT_FALSE(TooltipOfPrompt("No tooltip here", tip, sizeof tip));
  EXPECT_STREQ(tip, "");
  EXPECT_FALSE(TooltipOfPrompt(nullptr, tip, sizeof tip));
  const std::string longText = "prompt\n" + std::string(100, 'x');
  EXPECT_TRUE(TooltipOfPrompt(longText.c_str(), tip, sizeof tip));
  EXPECT_EQ(std::string(tip), std::string(79, 'x'));
}
