#include "platform/ui/splitter_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitterLayout, PanesBesideAndAboveTheBar) {
  UiRect client{0, 0, 400, 300};
  UiRect panes[2];
  UiRect bar;
  LayoutSplitter({true, 100, 4, 30, kSplitterBothPanes}, client, panes, &bar);
  EXPECT_EQ(panes[0], (UiRect{0, 0, 100, 300}));
  EXPECT_EQ(bar, (UiRect{100, 0, 104, 300}));
  EXPECT_EQ(panes[1], (UiRect{104, 0, 400, 300}));

  LayoutSplitter({false, 100, 4, 30, kSplitterBothPanes}, client, panes, &bar);
  EXPECT_EQ(panes[0], (UiRect{0, 0, 400, 100}));
  EXPECT_EQ(panes[1], (UiRect{0, 104, 400, 300}));
}

TEST(SplitterLayout, SinglePaneModeGivesTheWholeClientToOnePane) {
  UiRect client{0, 0, 400, 300};
  UiRect panes[2];
  UiRect bar;
  for (int8_t shown : {0, 1}) {
    LayoutSplitter({true, 100, 4, 30, shown}, client, panes, &bar);
    EXPECT_EQ(panes[shown], client);
    EXPECT_EQ(panes[1 - shown].Width(), 0);
    EXPECT_EQ(bar.Width(), 0);
  }
}

TEST(SplitterLayout, PositionKeepsMinimumPanesOrFallsBackToTheMiddle) {
  struct Case {
    int32_t position, extent, expected;
  } cases[] = {
      {10, 400, 30},    // left pane kept at its minimum
      {390, 400, 366},  // right pane kept at its minimum: 400 - 4 - 30
      {200, 400, 200},
      {10, 50, 23},     // too small for two minimum panes: middle
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampSplitterPosition(c.position, c.extent, 4, 30), c.expected) << c.position;
  }
  EXPECT_EQ(ScaleSplitterPosition(100, 400, 800), 200);
  EXPECT_EQ(ScaleSplitterPosition(100, 0, 800), 100);
}

}  // namespace
