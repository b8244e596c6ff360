#include "platform/os_services.h"

#include <gtest/gtest.h>

// Both builds must agree on an English system's letter rules, since formulas
// compare texts through them.
TEST(OsServices, LetterCaseFollowsWindows1252) {
  struct Case { uint8_t lower, upper; };
  const Case pairs[] = {{'a', 'A'}, {'z', 'Z'}, {0xE0, 0xC0}, {0xE9, 0xC9},
                        {0xFE, 0xDE}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0xFF, 0x9F}};
  for (const Case& c : pairs) {
    EXPECT_EQ(OsCharUpper(c.lower), c.upper) << int(c.lower);
    EXPECT_EQ(OsCharLower(c.upper), c.lower) << int(c.upper);
  }
  for (int c : std::initializer_list<int>{'1', '!', ' ', 0xF7, 0xD7, 0xDF}) {
    EXPECT_EQ(OsCharUpper(uint8_t(c)), c) << c;
    EXPECT_EQ(OsCharLower(uint8_t(c)), c) << c;
  }
}

TEST(OsServices, LetterTest) {
  for (int c : std::initializer_list<int>{'a', 'Q', 0xC4, 0xDF, 0xFF, 0x8A})
    EXPECT_TRUE(OsIsCharAlpha(uint8_t(c))) << c;
  for (int c : std::initializer_list<int>{'0', '_', ' ', '\\', 0xD7, 0xF7, 0xA9})
    EXPECT_FALSE(OsIsCharAlpha(uint8_t(c))) << c;
}

TEST(OsServices, UpperTextStopsAtLengthOrNul) {
  char text[] = "abc\0def";
  OsUpperText(text, 2);
  EXPECT_STREQ(text, "ABc");
  OsUpperText(text, sizeof text);
  EXPECT_STREQ(text, "ABC");
  EXPECT_EQ(text[4], 'd');
}

TEST(OsServices, TestClockReplacesSystemClock) {
  OsSetClockForTesting([](OsLocalTime* t) { *t = OsLocalTime{2024, 2, 4, 29, 13, 5, 9, 250}; });
  OsLocalTime t;
  OsGetLocalTime(&t);
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(t.milliseconds, 250);
  OsSetClockForTesting(nullptr);
  OsGetLocalTime(&t);
  EXPECT_GE(t.year, 2024);
  EXPECT_LE(t.month, 12);
}

TEST(OsServices, ColoursAndPalette) {
  EXPECT_EQ(OsSysColor(0), 0u);
  EXPECT_EQ(OsSysColor(99), 0u);
  uint32_t c = 1;
  ASSERT_TRUE(OsStockPaletteEntry(0, &c));
  EXPECT_EQ(c, 0x000000u);
  ASSERT_TRUE(OsStockPaletteEntry(19, &c));
  EXPECT_EQ(c, 0xFFFFFFu);
  EXPECT_FALSE(OsStockPaletteEntry(20, &c));
}
