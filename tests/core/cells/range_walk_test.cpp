// The range walk's listed mode and the chain lookup against cell-by-cell
// lookups of the same cells; the walk along a store's records is compared
// so over random sheets in tests/functions/arg_walk_test.cpp.

#include "core/cells/range_walk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_random.h"
#include "test_seed.h"
#include "tests/core/eval_test_cells.h"

namespace {

constexpr uint16_t kListedColumn = 3;
constexpr uint32_t kRows = 3000;

// Column 3 sparse among dense neighbours, numbers and texts of every
// length, over three pages and many blocks.
void FillSheet(CellStore& store, TestRng& rng) {
  for (uint32_t row = 0; row < kRows; ++row)
    for (uint16_t column = 0; column < 8; ++column) {
      if (column == kListedColumn && rng.OneIn(3)) continue;
      if (rng.OneIn(4))
        PutText(store, column, row, std::string(rng.Below(40), 't'));
      else
        PutNumber(store, column, row, row + column / 10.0);
    }
}

// The column's records in row order, as a pass's column list holds them.
std::vector<const CellRecord*> ColumnList(CellStore& store) {
  RangeWalk walk{};
  walk.Over(&store, kListedColumn, 0, kListedColumn, kRows - 1);
  walk.Start();
  std::vector<const CellRecord*> list;
  while (const CellRecord* cell = walk.Next()) list.push_back(cell);
  return list;
}

std::vector<const CellRecord*> LookedUp(CellStore& store, uint32_t firstColumn, uint32_t lastColumn,
                                        uint32_t firstRow, uint32_t lastRow) {
  std::vector<const CellRecord*> cells;
  for (uint32_t row = firstRow; row <= lastRow; ++row)
    for (uint32_t column = firstColumn; column <= lastColumn; ++column)
      if (const CellRecord* cell = store.GetCell(row, uint16_t(column))) cells.push_back(cell);
  return cells;
}

TEST(RangeWalk, AListedColumnGivesItsCellsWithinTheBoundsAndStartsAgain) {
  const uint32_t seed = TestSeed(20261212);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  CellStore store;
  FillSheet(store, rng);
  const std::vector<const CellRecord*> list = ColumnList(store);
  ASSERT_EQ(list, LookedUp(store, kListedColumn, kListedColumn, 0, kRows - 1));
  for (int round = 0; round < 200; ++round) {
    // The bounds a reader narrows the list's range to, also past its column.
    const uint32_t firstRow = rng.Below(kRows);
    const uint32_t lastRow = firstRow + rng.Below(kRows - firstRow);
    const uint32_t firstColumn = rng.OneIn(8) ? kListedColumn + 1 : kListedColumn;
    RangeWalk walk{};
    walk.Over(&store, firstColumn, firstRow, kListedColumn, lastRow);
    walk.WalkList(list.data(), uint32_t(list.size()));
    ASSERT_EQ(walk.WalkMode(), RangeWalk::kListed);
    const std::vector<const CellRecord*> expected = LookedUp(store, firstColumn, kListedColumn, firstRow, lastRow);
    std::vector<const CellRecord*> walked;
    for (size_t guard = 0; guard <= expected.size(); ++guard) {
      const CellRecord* cell = walk.Next();
      if (!cell) break;
      walked.push_back(cell);
      // A list is not the store's records as they lie: no run follows.
      double run[4];
      EXPECT_EQ(walk.TakeNumberRun<false>(cell, run, 4), 0u);
    }
    ASSERT_EQ(walked, expected) << firstRow << ".." << lastRow;
    // Started again, visited, stopped at a random cell and finished by Next.
    walk.Restart();
    const size_t stopAfter = 1 + rng.Below(uint32_t(expected.size()) + 1);
    walked.clear();
    const bool finished = walk.VisitCells([&](const CellRecord* cell) {
      walked.push_back(cell);
      return walked.size() != stopAfter && walked.size() <= expected.size();
    });
    EXPECT_EQ(finished, stopAfter > expected.size());
    while (const CellRecord* cell = walk.Next()) {
      walked.push_back(cell);
      if (walked.size() > expected.size()) break;
    }
    ASSERT_EQ(walked, expected) << "visited, stopped after " << stopAfter;
  }
}

TEST(RangeWalk, ChainCellAtFindsWhatALookupInTheStoreFinds) {
  const uint32_t seed = TestSeed(20261213);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  CellStore store;
  FillSheet(store, rng);
  ASSERT_GT(store.BlockCount(), 3u);
  for (int round = 0; round < 2000; ++round) {
    // Inside the cells, right of them, and past the last row.
    const uint32_t row = rng.Below(kRows + 5);
    const uint32_t column = rng.Below(10);
    ASSERT_EQ(ChainCellAt(store.FirstBlock(), column, row), store.GetCell(row, uint16_t(column)))
        << column << ", " << row;
  }
  EXPECT_EQ(ChainCellAt(nullptr, 0, 0), nullptr);
}

TEST(RangeWalk, ChainCellAtStopsAtAMalformedRecord) {
  CellBlock* chain = static_cast<CellBlock*>(std::calloc(1, sizeof(CellBlock)));
  ASSERT_NE(chain, nullptr);
  uint32_t used = BuildNumberCell(chain->payload, kBlockPayload, 0, 0, 1.0);
  const uint32_t bad = used;
  used += BuildNumberCell(chain->payload + used, kBlockPayload - used, 0, 1, 2.0);
  used += BuildNumberCell(chain->payload + used, kBlockPayload - used, 0, 2, 3.0);
  chain->payload[bad] = 0;  // no kind
  chain->used = uint16_t(used);
  EXPECT_NE(ChainCellAt(chain, 0, 0), nullptr);
  // Neither the record itself nor one after it is handed out.
  EXPECT_EQ(ChainCellAt(chain, 1, 0), nullptr);
  EXPECT_EQ(ChainCellAt(chain, 2, 0), nullptr);
  std::free(chain);
}

#ifndef NDEBUG
TEST(RangeWalkDeathTest, AStoreChangedWhileItsListIsWalkedIsCaught) {
  TestRng rng{TestSeed(20261214)};
  CellStore store;
  FillSheet(store, rng);
  const std::vector<const CellRecord*> list = ColumnList(store);
  RangeWalk walk{};
  walk.Over(&store, kListedColumn, 0, kListedColumn, kRows - 1);
  walk.WalkList(list.data(), uint32_t(list.size()));
  ASSERT_NE(walk.Next(), nullptr);
  // The records may move: the list names places that no longer hold them.
  PutNumber(store, kListedColumn + 1, 0, 1.5);
  EXPECT_DEATH(walk.Next(), "changed while its list was walked");
}
#endif

}  // namespace
