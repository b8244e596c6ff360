#include "core/styles/style_run_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/core/allocation_limit.h"
#include "tests/core/large_sheet.h"

namespace {

struct Span {
  uint16_t first, last;
  uint32_t row;
  uint16_t style;
  bool operator==(const Span& o) const {
    return first == o.first && last == o.last && row == o.row && style == o.style;
  }
};

std::ostream& operator<<(std::ostream& out, const Span& r) {
  return out << "{" << r.first << "," << r.last << " row " << r.row << " style " << r.style << "}";
}

StyleRun Make(const Span& r) { return {r.first, r.last, r.row, r.style}; }

std::vector<Span> Contents(const StyleRunStore& store) {
  std::vector<Span> runs;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = store.FirstBlock();
  while (const StyleRun* run = StyleRunStore::NextRun(&cursor))
    runs.push_back({run->firstColumn, run->lastColumn, run->row, run->style});
  return runs;
}

::testing::AssertionResult Valid(const StyleRunStore& store) {
  char problem[160];
  if (store.CheckInvariants(problem, sizeof problem))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << problem;
}

// One run {first, last} on each of rows firstRow.., appended in order, so
// that every block but the last holds 818 runs.
void FillRows(StyleRunStore& store, uint32_t firstRow, uint32_t count, uint16_t first, uint16_t last) {
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = firstRow; row < firstRow + count; ++row)
    ASSERT_TRUE(store.InsertRun({first, last, row, uint16_t(row % 7)}, &cursor));
}

TEST(StyleRunStore, InsertExtendsOneNeighbourOfTheSameStyle) {
  struct Case {
    const char* name;
    std::vector<Span> before;
    Span inserted;
    std::vector<Span> after;
  };
  const Case cases[] = {
      {"left neighbour", {{1, 2, 7, 2}}, {3, 5, 7, 2}, {{1, 5, 7, 2}}},
      {"right neighbour", {{6, 9, 7, 2}}, {3, 5, 7, 2}, {{3, 9, 7, 2}}},
      {"both: only the left one grows", {{1, 2, 7, 2}, {6, 9, 7, 2}}, {3, 5, 7, 2}, {{1, 5, 7, 2}, {6, 9, 7, 2}}},
      {"left of another style", {{1, 2, 7, 1}, {6, 9, 7, 2}}, {3, 5, 7, 2}, {{1, 2, 7, 1}, {3, 9, 7, 2}}},
      {"other styles", {{1, 2, 7, 1}, {6, 9, 7, 3}}, {3, 5, 7, 2}, {{1, 2, 7, 1}, {3, 5, 7, 2}, {6, 9, 7, 3}}},
      {"a gap", {{1, 1, 7, 2}}, {3, 5, 7, 2}, {{1, 1, 7, 2}, {3, 5, 7, 2}}},
      {"rows apart", {{1, 2, 6, 2}, {6, 9, 8, 2}}, {3, 5, 7, 2}, {{1, 2, 6, 2}, {3, 5, 7, 2}, {6, 9, 8, 2}}},
      {"before everything", {{0, 4, 1, 1}}, {0, 0, 0, 1}, {{0, 0, 0, 1}, {0, 4, 1, 1}}},
      {"last column", {{2040, 2045, 9, 1}}, {2046, 2046, 9, 1}, {{2040, 2046, 9, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StyleRunStore store;
    for (const Span& r : c.before) ASSERT_TRUE(store.InsertRun(Make(r), nullptr));
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    ASSERT_TRUE(store.InsertRun(Make(c.inserted), &cursor));
    EXPECT_EQ(c.after, Contents(store));
    EXPECT_TRUE(Valid(store));
    // The cursor is left on the run that now covers the inserted span.
    ASSERT_NE(nullptr, cursor.block);
    const StyleRun on = *AsStyleRun(cursor.block->payload + cursor.offset);  // a copy: runs are packed
    EXPECT_EQ(c.inserted.row, uint32_t(on.row));
    EXPECT_LE(on.firstColumn, c.inserted.first);
    EXPECT_GE(on.lastColumn, c.inserted.last);
  }
}

TEST(StyleRunStore, InsertRefusesMalformedRuns) {
  StyleRunStore store;
  const Span bad[] = {{5, 4, 0, 1}, {0, kColumnCount, 0, 1}, {0, 0, kRowCount, 1}};
  for (const Span& r : bad) {
    EXPECT_FALSE(store.InsertRun(Make(r), nullptr)) << r;
    EXPECT_EQ(kStyleRunBadRun, store.LastError());
  }
  EXPECT_EQ(nullptr, store.FirstBlock());
}

TEST(StyleRunStore, InsertWithACursorPastThePlaceStillKeepsTheOrder) {
  StyleRunStore store;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = 10; row < 2000; ++row) ASSERT_TRUE(store.InsertRun({4, 6, row, 1}, &cursor));
  ASSERT_TRUE(store.InsertRun({0, 0, 5, 2}, &cursor));
  ASSERT_TRUE(store.InsertRun({8, 9, 20, 2}, &cursor));
  ASSERT_TRUE(store.InsertRun({0, 1, 20, 2}, &cursor));
  EXPECT_TRUE(Valid(store));
  EXPECT_EQ(5u, uint32_t(store.FindRun(5, 0)->row));
  EXPECT_EQ(2, store.FindRun(20, 1)->style);
  EXPECT_EQ(2, store.FindRun(20, 9)->style);
}

TEST(StyleRunStore, ClearRectCutsRunsAtTheRectangleEdges) {
  struct Case {
    const char* name;
    Span run;
    std::vector<Span> after;
  };
  // Columns 4-6 of rows 7-8 are cleared.
  const Case cases[] = {
      {"covering both edges is split", {1, 9, 7, 3}, {{1, 3, 7, 3}, {7, 9, 7, 3}}},
      {"over the left edge", {1, 5, 7, 3}, {{1, 3, 7, 3}}},
      {"over the right edge", {5, 9, 8, 3}, {{7, 9, 8, 3}}},
      {"inside", {4, 6, 8, 3}, {}},
      {"one cell inside", {5, 5, 8, 3}, {}},
      {"right of it", {7, 9, 7, 3}, {{7, 9, 7, 3}}},
      {"left of it", {0, 3, 7, 3}, {{0, 3, 7, 3}}},
      {"row above", {1, 9, 6, 3}, {{1, 9, 6, 3}}},
      {"row below", {1, 9, 9, 3}, {{1, 9, 9, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StyleRunStore store;
    ASSERT_TRUE(store.InsertRun(Make(c.run), nullptr));
    ASSERT_TRUE(store.ClearRect(4, 6, 7, 8, nullptr, true));
    EXPECT_EQ(c.after, Contents(store));
    EXPECT_TRUE(Valid(store));
    EXPECT_EQ(c.after.empty() ? 0u : 1u, store.BlockCount());
  }
}

// Splitting every run of a full block nearly doubles its runs: the block
// keeps 818 and the rest goes to the next block when it fits there, else to
// a block of its own, however the blocks follow each other.
TEST(StyleRunStore, ClearRectSplitsOverflowIntoFollowingBlocks) {
  struct Case {
    const char* name;
    uint32_t rows;       // one run {0, 100} a row, 818 a block
    uint32_t splitRows;  // rows 0.. whose runs get split
    uint32_t blocksAfter;
  };
  const Case cases[] = {
      {"one full block, all split", 818, 818, 2},
      {"one run split, the rest fits the next block", 818 + 5, 1, 2},
      {"all split, the next block too full to take the rest", 818 + 700, 818, 3},
      {"two full blocks, all split", 2 * 818, 2 * 818, 4},
      {"three blocks, all split", 3 * 818 - 3, 3 * 818 - 3, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StyleRunStore store;
    FillRows(store, 0, c.rows, 0, 100);
    ASSERT_EQ((c.rows + kRunsPerBlock - 1) / kRunsPerBlock, store.BlockCount());

    ASSERT_TRUE(store.ClearRect(10, 20, 0, c.splitRows - 1, nullptr, true));
    EXPECT_TRUE(Valid(store));
    EXPECT_EQ(c.blocksAfter, store.BlockCount());
    std::vector<Span> expected;
    for (uint32_t row = 0; row < c.rows; ++row) {
      const uint16_t style = uint16_t(row % 7);
      if (row < c.splitRows) {
        expected.push_back({0, 9, row, style});
        expected.push_back({21, 100, row, style});
      } else {
        expected.push_back({0, 100, row, style});
      }
    }
    EXPECT_EQ(expected, Contents(store));
  }
}

TEST(StyleRunStore, ClearRectThatCannotGetABlockChangesNothing) {
  StyleRunStore store;
  FillRows(store, 0, 2 * 818, 0, 100);
  const std::vector<Span> before = Contents(store);
  {
    AllocationLimit limit(1);  // two blocks are needed
    EXPECT_FALSE(store.ClearRect(10, 20, 0, kMaxRow, nullptr, false));
  }
  EXPECT_EQ(kStyleRunOutOfMemory, store.LastError());
  EXPECT_EQ(before, Contents(store));
  EXPECT_TRUE(Valid(store));
  // Clearing whole rows or a span at the grid's edge never splits a run.
  AllocationLimit none(0);
  EXPECT_TRUE(store.ClearRect(0, 50, 0, 9, nullptr, false));
  EXPECT_TRUE(store.ClearRect(50, kMaxColumn, 10, 19, nullptr, false));
  EXPECT_TRUE(Valid(store));
  EXPECT_EQ(nullptr, store.FindRun(5, 0));
  EXPECT_EQ(49, store.FindRun(15, 0)->lastColumn);
}

TEST(StyleRunStore, InsertThatCannotGetABlockChangesNothing) {
  StyleRunStore store;
  FillRows(store, 0, 818, 0, 5);
  const std::vector<Span> before = Contents(store);
  AllocationLimit limit(0);
  EXPECT_FALSE(store.InsertRun({10, 12, 400, 1}, nullptr));
  EXPECT_EQ(kStyleRunOutOfMemory, store.LastError());
  EXPECT_EQ(before, Contents(store));
  EXPECT_TRUE(Valid(store));
  // Extending a neighbour needs no block.
  EXPECT_TRUE(store.InsertRun({6, 12, 400, uint16_t(400 % 7)}, nullptr));
  EXPECT_EQ(12, store.FindRun(400, 12)->lastColumn);
}

TEST(StyleRunStore, ClearingEveryRunEmptiesTheChain) {
  for (bool free : {false, true}) {
    StyleRunStore store;
    FillRows(store, 100, 3000, 3, 8);
    const uint32_t blocks = store.BlockCount();
    CellCursor cursor;
    ASSERT_TRUE(store.ClearRect(0, kMaxColumn, 0, kMaxRow, &cursor, free));
    EXPECT_EQ(nullptr, store.FirstBlock());
    EXPECT_EQ(nullptr, cursor.block);
    EXPECT_EQ(free ? 0u : blocks, store.PoolCount());
    EXPECT_EQ(0u, store.FreeBytes());
    EXPECT_TRUE(Valid(store));
  }
}

TEST(StyleRunStore, CompactionMergesContinuingRunsOfOneBlock) {
  StyleRunStore store;
  // {3, 4} extends {1, 2} and leaves {5, 6} beside it, unmerged.
  for (const Span& r : std::vector<Span>{{1, 2, 0, 1}, {5, 6, 0, 1}, {3, 4, 0, 1}, {7, 8, 0, 2}, {9, 9, 1, 2}})
    ASSERT_TRUE(store.InsertRun(Make(r), nullptr));
  ASSERT_EQ(4u, Contents(store).size());
  store.Compact(true);
  const std::vector<Span> expected = {{1, 6, 0, 1}, {7, 8, 0, 2}, {9, 9, 1, 2}};
  EXPECT_EQ(expected, Contents(store));
  EXPECT_EQ(0u, store.FreeBytes());
  EXPECT_TRUE(Valid(store));
}

TEST(StyleRunStore, InsertCompactsAStoreLeftMostlyEmpty) {
  StyleRunStore store;
  // Two runs a row over 300 blocks; clearing one of them everywhere leaves
  // every block half empty and counts well over a megabyte free.
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  const uint32_t rows = 300 * 818 / 2;
  for (uint32_t row = 0; row < rows; ++row) {
    ASSERT_TRUE(store.InsertRun({0, 0, row, 1}, &cursor));
    ASSERT_TRUE(store.InsertRun({5, 5, row, 1}, &cursor));
  }
  ASSERT_TRUE(store.ClearRect(5, 5, 0, kMaxRow, nullptr, false));
  const uint32_t blocks = store.BlockCount();
  ASSERT_GE(store.FreeBytes(), 1000001u);

  cursor.block = nullptr;
  ASSERT_TRUE(store.InsertRun({3, 3, rows / 2, 2}, &cursor));
  EXPECT_LT(store.BlockCount(), blocks / 2 + 2);
  EXPECT_EQ(0u, store.FreeBytes());
  EXPECT_EQ(store.FirstBlock(), cursor.block);
  EXPECT_EQ(0u, cursor.offset);
  EXPECT_TRUE(Valid(store));
  EXPECT_EQ(2, store.FindRun(rows / 2, 3)->style);
  EXPECT_EQ(1, store.FindRun(rows - 1, 0)->style);
}

TEST(StyleRunStore, InvariantCheckerNoticesOverlappingRuns) {
  StyleRunStore store;
  ASSERT_TRUE(store.InsertRun({1, 5, 3, 1}, nullptr));
  EXPECT_TRUE(Valid(store));
  ASSERT_TRUE(store.InsertRun({4, 8, 3, 2}, nullptr));  // not cleared first
  EXPECT_FALSE(Valid(store));
}

TEST(StyleRunStore, CopyRunsFromCopiesOrLeavesNothing) {
  StyleRunStore source;
  FillRows(source, 0, 3000, 1, 2);
  const std::vector<Span> runs = Contents(source);
  for (int granted = 0; granted <= 4; ++granted) {
    StyleRunStore target;
    ASSERT_TRUE(target.InsertRun({0, 0, 0, 9}, nullptr));
    AllocationLimit limit(granted);
    const bool copied = target.CopyRunsFrom(&source);
    EXPECT_EQ(granted >= 4, copied) << granted;
    EXPECT_EQ(copied ? runs : std::vector<Span>(), Contents(target));
    EXPECT_TRUE(Valid(target));
  }
  EXPECT_EQ(runs, Contents(source));
}

}  // namespace

TEST(StyleRunStore, SearchesWithoutACursorStepOnlyOverTheBlocksOfTheirRows) {
  StyleRunStore store;
  CellCursor at;
  at.flags = kCursorAfterRecord;
  constexpr uint32_t kRows = 100000;
  for (uint32_t row = 0; row < kRows; ++row) ASSERT_TRUE(store.InsertRun(Make({2, 5, row, 1}), &at));
  ASSERT_GT(store.BlockCount(), 100u);
  // Lookups, rectangle walks, clearing and inserting typed cells' styles
  // start at the row's block, wherever it lies in the chain.
  constexpr uint64_t kMaxSteps = 2;
  for (const uint32_t row : {0u, 50000u, kRows - 2}) {
    SCOPED_TRACE("row " + std::to_string(row));
    const StyleRun* found = nullptr;
    EXPECT_LE(BlockStepsOf([&] { found = store.FindRun(row, 3); }), kMaxSteps);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(uint32_t{found->row}, row);
    CellCursor walk;
    EXPECT_LE(BlockStepsOf([&] { found = store.FindFirstInRect(&walk, 0, 9, row + 1, row + 1); }), kMaxSteps);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(uint32_t{found->row}, row + 1);
    EXPECT_LE(BlockStepsOf([&] {
                EXPECT_TRUE(store.ClearRect(4, 4, row, row, nullptr, false));
                EXPECT_TRUE(store.InsertRun(Make({4, 4, row, 2}), nullptr));
              }),
              kMaxSteps);
    EXPECT_EQ(uint16_t{store.FindRun(row, 4)->style}, 2);
    EXPECT_EQ(uint16_t{store.FindRun(row, 5)->style}, 1);
  }
  EXPECT_TRUE(Valid(store));
}
