// The page index kept in step while cells are rewritten and inserted during a
// read-only pass, checked against a search from the head of the chain.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/cells/cell_store.h"
#include "test_seed.h"
#include "test_random.h"
#include "tests/core/cells/sized_cells.h"

namespace {

using Key = std::pair<uint32_t, uint16_t>;  // (row, column)

using Rng = TestRng;

uint32_t RandomLength(Rng& rng) {
  const uint32_t pick = rng.Below(100);
  return pick < 70 ? rng.Below(30) : pick < 95 ? 30 + rng.Below(300) : 1000 + rng.Below(6000);
}

bool IndexBuilt(const CellStore& store, uint32_t pages) {
  for (uint32_t page = 0; page < pages; ++page)
    if (!(store.PageFlags(page) & kPageIndexBuilt))
      return false;
  return true;
}

// The cell as found from the head of the chain, without any index.
const CellRecord* PlainFind(const CellStore& store, uint32_t row, uint16_t column) {
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = store.FirstBlock();
  while (const CellRecord* record = walk.Next())
    if (record->Row() == row && record->Column() == column)
      return record;
  return nullptr;
}

TEST(RowIndexUpkeep, InsertsAndRewritesKeepTheIndexPointingAtEachRowsFirstRecord) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  Rng rng{seed};
  constexpr uint32_t kRows = 2600;  // three pages
  constexpr uint32_t kPages = 3;
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CellStore store;
    std::map<Key, uint32_t> model;  // cell -> record size
    for (uint32_t row = 0; row < kRows; row += 1 + rng.Below(3))
      for (uint16_t column = 0; column < 24; column = uint16_t(column + 1 + rng.Below(5))) {
        const auto bytes = Cell(row, column, rng.Below(40), rng.OneIn(2));
        ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), nullptr));
        model[{row, column}] = uint32_t(bytes.size());
      }
    for (uint32_t page = 0; page < kPages; ++page) ASSERT_TRUE(store.BuildPageIndex(page, nullptr));

    for (int step = 0; step < 300; ++step) {
      // Mostly rewrites of existing cells, as results are stored; some new
      // cells in rows that hold cells, some in rows that hold none, and
      // now and then a record large enough to split its block.
      uint32_t row;
      uint16_t column;
      if (rng.Below(3) != 0) {
        auto it = model.begin();
        std::advance(it, rng.Below(uint32_t(model.size())));
        row = it->first.first;
        column = it->first.second;
      } else {
        row = rng.Below(kRows + 20);
        column = uint16_t(rng.Below(30));
      }
      const auto bytes = Cell(row, column, RandomLength(rng), rng.OneIn(2));
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), rng.OneIn(2) ? &cursor : nullptr));
      model[{row, column}] = uint32_t(bytes.size());
      // The index stays through splits, and stays exact.
      char problem[160];
      ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem << " at step " << step;
      ASSERT_TRUE(IndexBuilt(store, kPages)) << "step " << step;
    }
    // Seeks through the index find what a search from the chain's head finds.
    for (int probe = 0; probe < 400; ++probe) {
      const uint32_t row = rng.Below(kRows + 20);
      const uint16_t column = uint16_t(rng.Below(30));
      const CellRecord* expected = PlainFind(store, row, column);
      EXPECT_EQ(store.GetCell(row, column), expected) << row << "," << column;
      EXPECT_EQ(expected != nullptr, model.count({row, column}) == 1) << row << "," << column;
    }
  }
}

TEST(RowIndexUpkeep, ACompactionDuringAPassIndexesThePagesAgain) {
  // Most of a large sheet deleted leaves its blocks mostly free; the first
  // result stored in the pass after that compacts the chain.
  CellStore store;
  constexpr uint32_t kRows = 4000;
  for (uint32_t row = 0; row < kRows; ++row)
    for (uint16_t column = 0; column < 8; ++column) {
      const auto bytes = Cell(row, column, 60, column % 2 == 1);
      ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), nullptr));
    }
  store.DeleteRange(2, 7, 0, kRows - 1, nullptr, false);
  constexpr uint32_t kPages = (kRows + kRowsPerPage - 1) / kRowsPerPage;
  for (uint32_t page = 0; page < kPages; ++page) ASSERT_TRUE(store.BuildPageIndex(page, nullptr));
  const uint32_t blocksBefore = store.BlockCount();
  const auto bytes = Cell(1500, 1, 80, true);
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), &cursor));
  ASSERT_LT(store.BlockCount(), blocksBefore);  // compacted
  EXPECT_TRUE(IndexBuilt(store, kPages));
  char problem[160];
  ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
  for (uint32_t row = 0; row < kRows + 5; row += 7)
    for (uint16_t column = 0; column < 3; ++column)
      ASSERT_EQ(store.GetCell(row, column), PlainFind(store, row, column)) << row << "," << column;
}

TEST(RowIndexUpkeep, ARecordCutFromABlocksStartAndPlacedBeforeItKeepsThatBlocksRowsIndexed) {
  // A fuller block after a fuller-than-half block before it: the first cell
  // of the later block, rewritten larger, goes before it (to the end of the
  // block before, or to a block of its own between them when it does not
  // fit there), and the later block's records move down by the bytes cut.
  for (const uint32_t length : {300u, 4000u}) {
    SCOPED_TRACE("length " + std::to_string(length));
    CellStore store;
    for (uint32_t row = 0; row < 240; ++row) {
      const auto bytes = Cell(row, 0, 90, false);
      ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), nullptr));
    }
    const CellBlock* first = store.FirstBlock();
    ASSERT_NE(first->next, nullptr);
    // Thin out the first block so that it holds fewer bytes than the second.
    const uint32_t firstRowOfSecond = AsCellRecord(first->next->payload)->Row();
    store.DeleteRange(0, 0, 5, 5 + firstRowOfSecond / 3, nullptr, false);
    ASSERT_EQ(store.FirstBlock()->next->payload, first->next->payload);
    ASSERT_TRUE(store.BuildPageIndex(0, nullptr));
    const auto bytes = Cell(firstRowOfSecond, 0, length, true);
    ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), nullptr));
    EXPECT_TRUE(IndexBuilt(store, 1));
    char problem[160];
    ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
    for (uint32_t row = 0; row < 240; ++row) ASSERT_EQ(store.GetCell(row, 0), PlainFind(store, row, 0)) << row;
  }
}

TEST(RowIndexUpkeep, EditsThatChangeRowsStillLeaveNoStaleEntry) {
  const uint32_t seed = TestSeed(20261209);
  SCOPED_TRACE(SeedTrace(seed));
  Rng rng{seed};
  CellStore store;
  for (uint32_t row = 0; row < 1500; row += 1 + rng.Below(2))
    for (uint16_t column = 0; column < 10; column = uint16_t(column + 1 + rng.Below(3))) {
      const auto bytes = Cell(row, column, rng.Below(60), rng.OneIn(3));
      ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), nullptr));
    }
  for (int step = 0; step < 200; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    for (uint32_t page = 0; page < 2; ++page) ASSERT_TRUE(store.BuildPageIndex(page, nullptr));
    const uint32_t row = rng.Below(1500);
    const uint16_t column = uint16_t(rng.Below(12));
    switch (rng.Below(5)) {
      case 0:
        store.DeleteRange(column, uint16_t(column + rng.Below(4)), row, row + rng.Below(3), nullptr, false);
        break;
      case 1:
        ASSERT_TRUE(store.InsertRows(row, row + rng.Below(2)));
        break;
      case 2:
        store.DeleteRows(row, row + rng.Below(2));
        break;
      default: {
        const auto bytes = Cell(row, column, RandomLength(rng), rng.OneIn(2));
        ASSERT_TRUE(store.InsertCell(AsCellRecord(bytes.data()), nullptr));
      }
    }
    char problem[160];
    ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
    for (int probe = 0; probe < 20; ++probe) {
      const uint32_t r = rng.Below(1600);
      const uint16_t c = uint16_t(rng.Below(12));
      ASSERT_EQ(store.GetCell(r, c), PlainFind(store, r, c)) << r << "," << c;
    }
  }
}

}  // namespace
