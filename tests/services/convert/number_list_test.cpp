#include "services/convert/number_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ListCase {
  const char* text;
  int count;
  std::vector<std::pair<int, int>> pairs;
};

TEST(NumberList, ParsesNumbersAndRangesWithinBounds) {
  const ListCase cases[] = {
      {"1,3-5", 2, {{0, 0}, {2, 4}}},
      {"5-3", 1, {{2, 4}}},
      {" 2 -4 ,7,", 2, {{1, 3}, {6, 6}}},
      {"", 0, {}},
      {"   ", 0, {}},
      // Printing reads the same lists.
      {"1, 3-5", 2, {{0, 0}, {2, 4}}},
      {"1- 3 4", 2, {{0, 2}, {3, 3}}},
      {"1,,2", -1, {}},
      {"  , ", -1, {}},
      {"0", -1, {}},
      {"11", -1, {}},
      {"1;2", -1, {}},
      {"3-", -1, {}},
      {"-3", -1, {}},
      {"1-2-3", -1, {}},
      {"2x", -1, {}},
      {"99999999999999999999", -1, {}},
      {"4294967297", -1, {}},  // would wrap to 1 in 32 bits
  };
  for (const ListCase& c : cases) {
    NumberListPair pairs[4] = {};
    EXPECT_EQ(ParseNumberList(c.text, pairs, 4, 1, 10), c.count) << c.text;
    for (size_t i = 0; i < c.pairs.size(); ++i) {
      EXPECT_EQ(pairs[i].first, c.pairs[i].first) << c.text;
      EXPECT_EQ(pairs[i].last, c.pairs[i].second) << c.text;
    }
  }
}

TEST(NumberList, CountsBeyondTheCapacityWithoutWritingThere) {
  NumberListPair pairs[3] = {};
  pairs[2] = {-5, -5};
  EXPECT_EQ(ParseNumberList("1,2,3,4", pairs, 2, 1, 10), 4);
  EXPECT_EQ(pairs[1].first, 1);
  EXPECT_EQ(pairs[2].first, -5);
  EXPECT_EQ(ParseNumberList("1,2,3,4", nullptr, 0, 1, 10), 4);
}

}  // namespace
