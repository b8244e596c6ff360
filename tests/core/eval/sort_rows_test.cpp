#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "tests/core/eval_test_cells.h"
#include "test_seed.h"

namespace {

std::vector<uint32_t> Sorted(EvalState& state, CellStore& store, uint32_t first, uint32_t last,
                             std::vector<uint16_t> columns, std::vector<uint8_t> ascending) {
  std::vector<uint32_t> index(last - first + 1, 0xFFFFFFFF);
  state.SortRows(&store, first, last, static_cast<uint32_t>(columns.size()), columns.data(), ascending.data(),
                 index.data());
  return index;
}

class SortRows : public ::testing::Test {
 protected:
  void SetUp() override {
    // Column A: mixed kinds; column B: a second key.
    PutNumber(store, 0, 0, 3);
    PutText(store, 0, 1, "b");
    PutNumber(store, 0, 2, 0, kErrorNA);
    PutText(store, 0, 3, "A");
    PutNumber(store, 0, 4, 1);
    // row 5 empty
    PutFormula(store, 0, 6, "=1/0", 0, nullptr, kErrorDivZero, true);
    PutFormula(store, 0, 7, "=\"B\"", 0, "B", 0, true);
    for (uint32_t row = 0; row < 8; ++row) PutNumber(store, 1, row, 10.0 - row);
  }

  CellStore store;
  EvalState state;
};

TEST_F(SortRows, AscendingErrorsFirstThenValuesThenEmpty) {
  // "b" and "B" are equal in the first key; the second key orders them.
  EXPECT_EQ(Sorted(state, store, 0, 7, {0, 1}, {1, 1}), (std::vector<uint32_t>{6, 2, 4, 0, 3, 7, 1, 5}));
}

TEST_F(SortRows, DescendingValuesThenEmptyThenErrors) {
  EXPECT_EQ(Sorted(state, store, 0, 7, {0, 1}, {0, 0}), (std::vector<uint32_t>{0, 4, 1, 7, 3, 5, 2, 6}));
}

TEST_F(SortRows, NumericTextsCompareAsNumbersWithNumbers) {
  CellStore numbers;
  PutText(numbers, 0, 0, "10");
  PutNumber(numbers, 0, 1, 9);
  PutText(numbers, 0, 2, " 2.5 ");
  PutNumber(numbers, 0, 3, -1);
  EXPECT_EQ(Sorted(state, numbers, 0, 3, {0}, {1}), (std::vector<uint32_t>{3, 2, 1, 0}));
}

TEST_F(SortRows, SortsASpanAndLeavesOtherRowsAlone) {
  EXPECT_EQ(Sorted(state, store, 2, 5, {0}, {1}), (std::vector<uint32_t>{2, 4, 3, 5}));
  std::vector<uint16_t> tooMany(kMaxSortKeys + 1, 0);
  std::vector<uint8_t> up(kMaxSortKeys + 1, 1);
  EXPECT_EQ(Sorted(state, store, 0, 7, tooMany, up), (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(Sorted(state, store, 0, 7, {}, {}), (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
  for (uint32_t page = 0; page < 4; ++page) EXPECT_EQ(store.PageFlags(page), 0) << page;
  EXPECT_TRUE(store.CheckInvariants());
}

// Mixed keys need not be transitive ("9" < 10 = "10" < "9" as texts): the
// sort must still give each row exactly once and never leave the span.
TEST(SortRowsRandom, AlwaysAPermutation) {
  const uint32_t seed = TestSeed(1021);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  EvalState state;
  for (int round = 0; round < 60; ++round) {
    CellStore store;
    const uint32_t first = random() % 2000;
    const uint32_t count = 1 + random() % (round < 50 ? 300 : 5000);
    const uint32_t last = first + count - 1;
    const bool consistent = round % 2 == 0;  // numbers and plain words only
    for (uint32_t row = first; row <= last; ++row)
      for (uint16_t column = 0; column < 3; ++column) {
        switch (random() % (consistent ? 3 : 7)) {
          case 0:
            PutNumber(store, column, row, static_cast<double>(random() % 20) - 5);
            break;
          case 1:
            PutText(store, column, row, std::string(1 + random() % 3, static_cast<char>('a' + random() % 3)));
            break;
          case 2:
            break;  // empty
          case 3:
            PutText(store, column, row, std::to_string(random() % 20));
            break;
          case 4:
            PutNumber(store, column, row, 0, static_cast<uint8_t>(16 * (1 + random() % 12)));
            break;
          case 5:
            PutText(store, column, row, "");
            break;
          default:
            PutFormula(store, column, row, "=1", static_cast<double>(random() % 7), random() % 2 ? "7" : nullptr,
                       0, true);
            break;
        }
      }
    std::vector<uint16_t> keys = {static_cast<uint16_t>(random() % 3), static_cast<uint16_t>(random() % 3)};
    std::vector<uint8_t> ascending = {static_cast<uint8_t>(random() % 2), static_cast<uint8_t>(random() % 2)};
    const std::vector<uint32_t> index = Sorted(state, store, first, last, keys, ascending);
    std::vector<uint32_t> rows = index;
    std::sort(rows.begin(), rows.end());
    for (uint32_t i = 0; i < count; ++i) ASSERT_EQ(rows[i], first + i) << "round " << round;
    if (consistent) {
      const SortKeys sortKeys{&store, 2, keys.data(), ascending.data()};
      for (uint32_t i = 0; i + 1 < count; ++i)
        ASSERT_LE(state.CompareSortRows(sortKeys, index[i], index[i + 1]), 0) << "round " << round << " at " << i;
    }
  }
}

}  // namespace

namespace {

// A short sort by one key reads its key cells once; it must give the very
// order (ties included: the sort is not stable) that looking each cell up
// gives, here forced by naming the same key twice.
TEST(SortRowsRandom, GatheredKeysGiveTheOrderOfLookedUpKeys) {
  const uint32_t seed = TestSeed(1122);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  EvalState state;
  for (int round = 0; round < 60; ++round) {
    CellStore store;
    const uint32_t first = random() % 3000;
    const uint32_t count = 2 + random() % 300;
    for (uint32_t row = first; row < first + count; ++row) {
      switch (random() % 6) {
        case 0: break;  // empty
        case 1: PutText(store, 2, row, std::string(1, char('a' + random() % 3))); break;
        case 2: PutNumber(store, 2, row, 0, kErrorNA); break;
        case 3: PutText(store, 2, row, std::to_string(random() % 4)); break;
        default: PutNumber(store, 2, row, double(random() % 5)); break;
      }
      if (random() % 4 == 0) PutNumber(store, 1, row, 7);  // another column
    }
    const uint8_t ascending = random() % 2;
    EXPECT_EQ(Sorted(state, store, first, first + count - 1, {2}, {ascending}),
              Sorted(state, store, first, first + count - 1, {2, 2}, {ascending, ascending}))
        << "round " << round << ", " << count << " rows";
  }
}

}  // namespace
