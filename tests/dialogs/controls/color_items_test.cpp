#include "dialogs/controls/color_items.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

TEST(ColorItems, PaletteColoursHaveTheirNamesAndOthersAreCustom) {
  EXPECT_STREQ(GetColorName(Rgb(192, 192, 192), false), "light gray");
  EXPECT_STREQ(GetColorName(Rgb(128, 128, 128), false), "gray");
  EXPECT_STREQ(GetColorName(Rgb(1, 2, 3), false), "custom");
  EXPECT_STREQ(GetColorName(Rgb(255, 0, 0), true), "default");
}

TEST(ColorItems, AColourSelectsItsPaletteItemThenDefaultThenCustom) {
  const uint32_t byDefault = Rgb(10, 20, 30);
  EXPECT_EQ(ColorItemFor(Rgb(128, 128, 128), byDefault, false), 7);
  EXPECT_EQ(ColorItemFor(Rgb(255, 255, 255), byDefault, false), 15);
  EXPECT_EQ(ColorItemFor(byDefault, byDefault, false), kColorItemDefault);
  EXPECT_EQ(ColorItemFor(Rgb(1, 2, 3), byDefault, false), kColorItemCustom);
  EXPECT_EQ(ColorItemFor(Rgb(0, 0, 0), byDefault, true), kColorItemDefault);
}

}  // namespace
