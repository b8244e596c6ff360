#include "platform/ui/dialog_anchors.h"

#include <gtest/gtest.h>

#include "platform/ui/centre_rect.h"

namespace {

TEST(DialogAnchors, ControlsMoveOrGrowWithTheEdgesTheyAreAnchoredTo) {
  const UiRect initial{10, 20, 110, 40};
  struct Case {
    uint8_t anchors;
    UiRect expected;
  } cases[] = {
      {0, {10, 20, 110, 40}},
      {kAnchorMoveX, {60, 20, 160, 40}},
      {kAnchorSizeX, {10, 20, 160, 40}},
      {kAnchorMoveY, {10, 50, 110, 70}},
      {kAnchorMoveX | kAnchorSizeY, {60, 20, 160, 70}},
  };
  for (const Case& c : cases) EXPECT_EQ(AnchorRect(initial, 50, 30, c.anchors), c.expected);
  // Shrunk beyond its own size, a growing control ends empty, never inverted.
  EXPECT_EQ(AnchorRect(initial, -200, 0, kAnchorSizeX), (UiRect{10, 20, 10, 40}));
}

TEST(CentreRect, CentresOnTheOwnerInsideTheWorkArea) {
  const UiRect work{0, 0, 1000, 800};
  EXPECT_EQ(CentreRect(200, 100, {100, 100, 500, 400}, work), (UiRect{200, 200, 400, 300}));
  // An owner near the right edge: pushed back in.
  EXPECT_EQ(CentreRect(200, 100, {900, 0, 1000, 100}, work), (UiRect{800, 0, 1000, 100}));
  // Larger than the work area: the caption stays on screen.
  EXPECT_EQ(CentreRect(1200, 900, {0, 0, 1000, 800}, work), (UiRect{0, 0, 1200, 900}));
}

}  // namespace
