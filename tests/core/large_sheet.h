#ifndef TALVERO_TESTS_CORE_LARGE_SHEET_H
#define TALVERO_TESTS_CORE_LARGE_SHEET_H

// A worksheet's cells over hundreds of blocks, for tests that count how many
// blocks a walk or a search steps over (BlockStore::BlockSteps): a walk that
// starts at its first row steps over a few, one that starts at the head of
// the chain over hundreds.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "core/cells/cell_store.h"

// Rows 0 .. kLargeSheetRows - 1, columns A..H: an outlay in A, numbers in
// B..F, a text in G, an ISO date in H.
constexpr uint32_t kLargeSheetRows = 24000;
constexpr uint16_t kLargeSheetColumns = 8;

inline void FillLargeSheet(CellStore& store, uint32_t rows = kLargeSheetRows) {
  CellCursor at;
  at.flags = kCursorAfterRecord;
  uint8_t record[64];
  for (uint32_t row = 0; row < rows; ++row) {
    const double numbers[6] = {-double(row % 50 + 100), double(row % 97 + 1), row * 7 % 13 + 0.5,
                               double(row % 89 + 3),    (row * 3 % 41) / 100.0, double(row % 23 + 10)};
    for (uint16_t column = 0; column < 6; ++column) {
      ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, column, numbers[column], 0));
      ASSERT_TRUE(store.InsertCell(AsCellRecord(record), &at));
    }
    char text[32];
    std::snprintf(text, sizeof text, row % 3 ? "beta%u" : "alpha%u", row % 1000);
    ASSERT_TRUE(BuildTextCell(record, sizeof record, row, 6, text, uint16_t(std::strlen(text))));
    ASSERT_TRUE(store.InsertCell(AsCellRecord(record), &at));
    std::snprintf(text, sizeof text, "2025-%02u-%02u", row % 12 + 1, row % 28 + 1);
    ASSERT_TRUE(BuildTextCell(record, sizeof record, row, 7, text, uint16_t(std::strlen(text))));
    ASSERT_TRUE(store.InsertCell(AsCellRecord(record), &at));
  }
}

// Blocks stepped over while f runs.
template <class F>
uint64_t BlockStepsOf(F f) {
  const uint64_t before = BlockStore::BlockSteps();
  f();
  return BlockStore::BlockSteps() - before;
}

#endif
