#include "services/convert/column_letters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ColumnLetters, KnownColumns) {
  const struct {
    uint32_t number;
    const char* letters;
  } cases[] = {{0, ""}, {1, "A"}, {26, "Z"}, {27, "AA"}, {702, "ZZ"}, {703, "AAA"}, {2047, "BZS"}};
  for (const auto& c : cases) {
    char buffer[kColumnLettersCapacity];
    ColumnNumberToLetters(buffer, c.number);
    EXPECT_STREQ(buffer, c.letters);
  }
  char widest[kColumnLettersCapacity];
  ColumnNumberToLetters(widest, UINT32_MAX);
  uint32_t back = 0;
  EXPECT_TRUE(ColumnLettersToNumber(widest, &back));
  EXPECT_EQ(back, UINT32_MAX);
}

TEST(ColumnLetters, LettersAndNumbersAreInverseOverEveryColumn) {
  for (uint32_t column = 1; column <= 2047; ++column) {
    char buffer[kColumnLettersCapacity];
    ColumnNumberToLetters(buffer, column);
    uint32_t back = 0;
    ASSERT_TRUE(ColumnLettersToNumber(buffer, &back)) << buffer;
    ASSERT_EQ(back, column) << buffer;
  }
}

TEST(ColumnLetters, RefusesWhatIsNotUpperCaseLetters) {
  uint32_t number = 99;
  EXPECT_TRUE(ColumnLettersToNumber("  AB", &number));
  EXPECT_EQ(number, 28u);
  for (const char* text : {"", "  ", "ab", "A1", "AB ", "A-B", "ZZZZZZZZ"}) {
    number = 99;
    EXPECT_FALSE(ColumnLettersToNumber(text, &number)) << text;
    EXPECT_EQ(number, 99u);
  }
}

}  // namespace
