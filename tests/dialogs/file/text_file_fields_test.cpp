#include "dialogs/file/text_file_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Widths {
  uint16_t w[kColumnCount] = {};
};

TEST(TextFileFields, OpenFormStopsAtTheFirstZeroAndSaveFormAtTheLastWidth) {
  Widths t;
  t.w[0] = 10, t.w[1] = 8, t.w[2] = 0, t.w[3] = 15;
  std::vector<char> text(8000);
  FormatOpenWidthsText(t.w, text.data(), text.size());
  EXPECT_STREQ(text.data(), "10,8");
  FormatSaveWidthsText(t.w, text.data(), text.size());
  EXPECT_STREQ(text.data(), "10,8,0,15");

  Widths none;
  FormatOpenWidthsText(none.w, text.data(), text.size());
  EXPECT_STREQ(text.data(), "");
  FormatSaveWidthsText(none.w, text.data(), text.size());
  EXPECT_STREQ(text.data(), "");
}

TEST(TextFileFields, LongWidthListsAreCutAtWholeNumbersWithinEachFormsLimit) {
  Widths t;
  for (uint32_t i = 0; i < kColumnCount; ++i) t.w[i] = 12345;
  std::vector<char> text(8000);
  FormatOpenWidthsText(t.w, text.data(), text.size());
  std::string open = text.data();
  // "12345," is 6 characters: 1023 of them fit in 6141, the last comma goes.
  EXPECT_EQ(open.size(), 1023u * 6 - 1);
  EXPECT_EQ(open.substr(open.size() - 6), ",12345");
  FormatSaveWidthsText(t.w, text.data(), text.size());
  std::string save = text.data();
  EXPECT_LE(save.size(), kSaveWidthsTextLimit);
  EXPECT_EQ(save.size(), 170u * 6 - 1);
  // A short buffer is never overrun.
  char small[8];
  FormatOpenWidthsText(t.w, small, sizeof small);
  EXPECT_STREQ(small, "12345");
}

TEST(TextFileFields, WidthsTextReadsNumbersBetweenCommasSemicolonsAndBlanks) {
  Widths t;
  t.w[5] = 99;
  EXPECT_TRUE(ParseWidthsText("10, 8;15", t.w));
  EXPECT_EQ(t.w[0], 10);
  EXPECT_EQ(t.w[1], 8);
  EXPECT_EQ(t.w[2], 15);
  EXPECT_EQ(t.w[5], 0);  // the table is cleared first

  EXPECT_FALSE(ParseWidthsText("10,x,7", t.w));
  EXPECT_EQ(t.w[0], 10);
  EXPECT_EQ(t.w[1], 0);

  EXPECT_TRUE(ParseWidthsText("99999", t.w));
  EXPECT_EQ(t.w[0], 65535);
}

TEST(TextFileFields, WidthsBeyondTheTableAreDropped) {
  std::string text;
  for (uint32_t i = 0; i < kColumnCount + 10; ++i) text += std::to_string(i % 50 + 1) + ",";
  Widths t[2];  // the second table would catch a write past the first
  EXPECT_TRUE(ParseWidthsText(text.c_str(), t[0].w));
  EXPECT_EQ(t[0].w[kColumnCount - 1], (kColumnCount - 1) % 50 + 1);
  EXPECT_EQ(t[1].w[0], 0);
}

TEST(TextFileFields, SeparatorAndEncodingItems) {
  const char separators[] = {',', '\t', '.', ';', ' '};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(SeparatorItemFor(separators[i]), i);
    EXPECT_EQ(SeparatorOfItem(i), separators[i]);
  }
  EXPECT_EQ(SeparatorItemFor('|'), kSeparatorItemOther);
  EXPECT_EQ(SeparatorOfItem(kSeparatorItemOther), '\0');
  EXPECT_EQ(EncodingItemFor(1), 0);
  EXPECT_EQ(EncodingItemFor(3), 2);
  EXPECT_EQ(EncodingItemFor(7), -1);
  EXPECT_EQ(CharsetOfItem(0), 1);
  EXPECT_EQ(CharsetOfItem(1), 2);
  EXPECT_EQ(CharsetOfItem(2), 3);
  EXPECT_EQ(CharsetOfItem(-1), 2);
}

}  // namespace
