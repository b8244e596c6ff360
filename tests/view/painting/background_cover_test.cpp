#include "view/painting/background_cover.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool Empty(const PixelRect& r) { return r.right < r.left; }
bool Same(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// What the window must paint itself for each kind of background, on the
// rectangle from (30, 20) to (399, 199).
TEST(BackgroundLeftBare, WhatEachBackgroundLeavesForTheWindowColour) {
  const PixelRect rect = {30, 20, 399, 199};
  const PixelRect none = {0, 0, -1, -1};
  const struct {
    const char* what;
    uint8_t mode;
    uint8_t pattern;
    uint8_t imageSize;
    int32_t width;  // of the picture; 0 when it cannot be had
    int32_t height;
    PixelRect right;
    PixelRect below;
  } cases[] = {
      {"no background", 0, 1, 1, 50, 20, none, rect},
      {"a fill", 1, 1, 0, 0, 0, none, none},
      {"a fill without a pattern", 1, 0, 0, 0, 0, none, rect},
      {"a picture that cannot be had", 2, 1, 1, 0, 0, none, rect},
      {"a stretched picture", 2, 1, 1, 50, 20, none, none},
      {"a tiled picture", 2, 1, 2, 50, 20, none, none},
      {"a picture at its own size", 2, 1, 0, 50, 20, {80, 20, 399, 39}, {30, 40, 399, 199}},
      {"one stored top-down", 2, 1, 0, 50, -20, {80, 20, 399, 39}, {30, 40, 399, 199}},
      {"one wider than the rectangle", 2, 1, 0, 500, 20, none, {30, 40, 399, 199}},
      {"one larger than the rectangle", 2, 1, 0, 500, 300, none, none},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WorksheetViewFormat view = {};
    view.backgroundMode = c.mode;
    view.fill.pattern = c.pattern;
    view.imageSizeMode = c.imageSize;
    uint8_t header[40] = {40};
    std::memcpy(header + 4, &c.width, 4);
    std::memcpy(header + 8, &c.height, 4);
    const BareBackground bare = BackgroundLeftBare(view, c.width ? header : nullptr, rect);
    EXPECT_TRUE(Empty(c.right) ? Empty(bare.right) : Same(bare.right, c.right));
    EXPECT_TRUE(Empty(c.below) ? Empty(bare.below) : Same(bare.below, c.below));
  }
}

}  // namespace
