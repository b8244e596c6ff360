#include "core/base/scheme_colors.h"

#include <gtest/gtest.h>

#include "platform/os_services.h"

TEST(SchemeColors, IndicesNameTheSystemColourRoles) {
  struct Case { int index; int role; };
  const Case cases[] = {{kSchemeWindowText, kOsColorWindowText},
                        {kSchemeWindow, kOsColorWindow},
                        {kSchemeButtonFace, kOsColorButtonFace},
                        {kSchemeButtonText, kOsColorButtonText},
                        {kSchemeButtonHighlight, kOsColorButtonHighlight},
                        {kSchemeButtonShadow, kOsColorButtonShadow},
                        {kSchemeHighlight, kOsColorHighlight}};
  for (const Case& c : cases) EXPECT_EQ(GetSchemeColor(c.index), OsSysColor(c.role)) << c.index;
  for (int index : {0, -1, 8, 30, 1000}) EXPECT_EQ(GetSchemeColor(index), 0u) << index;
}

TEST(SchemeColors, DefaultPaletteIsTheSixteenClassicColoursInOrder) {
  // Black, the dark colours, dark grey, light grey, then the bright ones.
  const uint32_t expected[kPaletteSize] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
      0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  uint32_t palette[kPaletteSize];
  for (uint32_t& c : palette) c = 0x12345678;
  GetDefaultPalette(palette);
  for (int i = 0; i < kPaletteSize; ++i) EXPECT_EQ(palette[i], expected[i]) << i;
}
