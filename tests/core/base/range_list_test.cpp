#include "core/base/range_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RangeCase {
  const char* text;
  int count;
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
};

TEST(RangeList, ReadsCommaSeparatedNumbersAndRanges) {
  const RangeCase cases[] = {
      {"1,3-5", 2, {{1, 1}, {3, 5}}},
      {"5-3", 1, {{3, 5}}},
      {"", 0, {}},
      {"   ", 0, {}},
      {"  7", 1, {{7, 7}}},
      {"1 ,2", 2, {{1, 1}, {2, 2}}},  // a blank before the comma keeps the number
      {"1 -4", 1, {{1, 4}}},
      {"1,", 1, {{1, 1}}},
      {"1, 2", 2, {{1, 1}, {2, 2}}},  // what a person types
      {"1 2  4 - 6", 3, {{1, 1}, {2, 2}, {4, 6}}},
      {"1;3", -1, {}},  // never page 13
      {"1a", -1, {}},
      {"1-2-3", -1, {}},
      {"1-", -1, {}},
      {"1 -", -1, {}},
      {",1", -1, {}},
      {"1,,2", -1, {}},
      {"0", -1, {}},
      {"101", -1, {}},
      {"x", -1, {}},
  };
  for (const RangeCase& c : cases) {
    RangePair pairs[kRangeListMaxPairs] = {};
    EXPECT_EQ(ParseRangeList(c.text, nullptr, 0, 1, 100), c.count) << c.text;
    ASSERT_EQ(ParseRangeList(c.text, pairs, kRangeListMaxPairs, 1, 100), c.count) << c.text;
    for (size_t i = 0; i < c.pairs.size(); ++i) {
      EXPECT_EQ(pairs[i].from, c.pairs[i].first) << c.text;
      EXPECT_EQ(pairs[i].to, c.pairs[i].second) << c.text;
    }
  }
}

TEST(RangeList, LongDigitRunsSaturateInsteadOfWrapping) {
  // 2^32 + 5 and 10^20 + 3 would wrap into the bounds in 32 bits.
  EXPECT_EQ(ParseRangeList("4294967301", nullptr, 0, 1, 2147483647), -1);
  EXPECT_EQ(ParseRangeList("1-100000000000000000003", nullptr, 0, 1, 2147483647), -1);
  EXPECT_EQ(ParseRangeList("2147483647", nullptr, 0, 1, 2147483647), 1);
  EXPECT_TRUE(RangeListContains("2-4,9", 3, 1, 10));
  EXPECT_FALSE(RangeListContains("2-4,9", 5, 1, 10));
  EXPECT_FALSE(RangeListContains("2-4;9", 3, 1, 10));  // malformed: nothing
}

}  // namespace
