// Recalculation passes one after another: the page index a pass kept in step
// is taken back by the next pass when nothing changed the chain between
// them, and built again when something did.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cells/cell_store.h"
#include "test_random.h"
#include "test_seed.h"
#include "tests/core/cells/sized_cells.h"

namespace {

std::vector<uint8_t> NumberCell(uint32_t row, uint16_t column) {
  std::vector<uint8_t> bytes(kNumberCellSize);
  BuildNumberCell(bytes.data(), bytes.size(), row, column, row * 0.5);
  return bytes;
}

bool Put(CellStore& store, const std::vector<uint8_t>& bytes) {
  return store.InsertCell(AsCellRecord(bytes.data()), nullptr);
}

TEST(KeptPageIndex, PassesAfterInPlaceRewritesOrEditsFindEveryRowsFirstRecord) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  constexpr uint32_t kRows = 3300;  // four pages
  CellStore store;
  for (uint32_t row = 0; row < kRows; row += 1 + rng.Below(2))
    for (uint16_t column = 0; column < 12; column = uint16_t(column + 1 + rng.Below(3)))
      ASSERT_TRUE(Put(store, column < 4 ? NumberCell(row, column) : Cell(row, column, rng.Below(20), true)));

  char problem[160];
  for (int pass = 0; pass < 24; ++pass) {
    SCOPED_TRACE("pass " + std::to_string(pass));
    store.MarkFormulaCellsDirty();
    ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
    // Results stored during the pass, some growing or shrinking their records.
    for (int step = 0; step < 60; ++step) {
      const uint32_t row = rng.Below(kRows);
      const uint16_t column = uint16_t(4 + rng.Below(8));
      if (store.GetCell(row, column)) {
        ASSERT_TRUE(Put(store, Cell(row, column, rng.OneIn(3) ? rng.Below(200) : 5, true)));
      }
    }
    ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
    store.ClearPageIndex(false);
    // Between passes: mostly nothing, now and then an edit that moves records
    // or takes a page's formulas away.
    switch (rng.Below(6)) {
      case 0:
        ASSERT_TRUE(Put(store, NumberCell(rng.Below(kRows), uint16_t(rng.Below(3)))));
        break;
      case 1: {
        const uint32_t first = rng.Below(kRows);
        store.DeleteRange(0, 11, first, first + rng.Below(1200), nullptr, false);
        break;
      }
      case 2:
        ASSERT_TRUE(Put(store, Cell(rng.Below(kRows), uint16_t(4 + rng.Below(8)), 3, true)));
        break;
      default:
        break;
    }
  }
  // Every row's first record is where the index says, after the last pass too.
  store.MarkFormulaCellsDirty();
  ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
}

TEST(KeptPageIndex, AFreedOrSwappedIndexIsBuiltAgain) {
  CellStore store, other;
  for (uint32_t row = 0; row < 1500; ++row) {
    ASSERT_TRUE(Put(store, Cell(row, 1, 4, true)));
    ASSERT_TRUE(Put(other, NumberCell(row * 2, 0)));
  }
  char problem[160];
  store.MarkFormulaCellsDirty();
  store.ClearPageIndex(true);
  store.MarkFormulaCellsDirty();
  ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
  store.ClearPageIndex(false);
  ASSERT_TRUE(other.BuildPageIndex(0, nullptr));
  other.ClearPageIndex(false);
  store.SwapContents(other);
  // Each store now holds the other's chain and index pages.
  other.MarkFormulaCellsDirty();
  ASSERT_TRUE(other.CheckInvariants(problem, sizeof problem)) << problem;
  ASSERT_TRUE(store.BuildPageIndex(0, nullptr));
  ASSERT_TRUE(store.BuildPageIndex(1, nullptr));
  ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
}

}  // namespace

// A page without formulas whose cells a pass looks up is indexed at its
// second lookup, so that further lookups start at their rows; never once
// the pass has moved records, and never outside a pass.
TEST(KeptPageIndex, PagesLookedUpInAPassAreIndexedWhileTheChainStaysAsThePassFoundIt) {
  constexpr uint32_t kRows = 3000;  // three pages
  CellStore store;
  for (uint32_t row = 0; row < kRows; ++row)
    for (uint16_t column = 0; column < 4; ++column) ASSERT_TRUE(Put(store, NumberCell(row, column)));
  const auto indexed = [&](uint32_t row) { return (store.PageFlags(row / kRowsPerPage) & kPageIndexBuilt) != 0; };
  const auto expectCell = [&](uint32_t row, uint16_t column) {
    const CellRecord* cell = store.GetCell(row, column);
    ASSERT_NE(cell, nullptr) << row << " " << column;
    EXPECT_EQ(cell->Row(), row);
    EXPECT_EQ(cell->Column(), column);
    EXPECT_EQ(cell->Number(), row * 0.5);
  };
  expectCell(1500, 2);
  expectCell(1600, 2);
  EXPECT_FALSE(indexed(1500));  // outside a pass

  store.MarkFormulaCellsDirty();
  expectCell(1500, 2);
  EXPECT_FALSE(indexed(1500));
  expectCell(1700, 3);
  EXPECT_TRUE(indexed(1500));
  for (uint32_t row = 1024; row < 2048; row += 37) expectCell(row, uint16_t(row % 4));
  EXPECT_EQ(store.GetCell(1500, 9), nullptr);
  EXPECT_EQ(store.LastError(), kCellStoreNoError);
  char problem[160];
  EXPECT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;

  // Records moved under the pass: the other pages are searched as before.
  ASSERT_TRUE(Put(store, NumberCell(10, 7)));
  expectCell(2500, 1);
  expectCell(2600, 1);
  EXPECT_FALSE(indexed(2500));
  store.ClearPageIndex(false);
  store.MarkFormulaCellsDirty();
  expectCell(2500, 1);
  expectCell(2600, 1);
  EXPECT_TRUE(indexed(2500));
  store.ClearPageIndex(false);
  expectCell(2500, 1);
  expectCell(2600, 1);
  EXPECT_FALSE(indexed(2500));
}
