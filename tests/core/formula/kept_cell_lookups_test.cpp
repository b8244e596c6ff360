#include <gtest/gtest.h>

#include <random>

#include "core/formula/kept_cell_lookups.h"
#include "tests/core/eval_test_cells.h"
#include "tests/test_seed.h"

namespace {

// Lookups kept across random inserts, deletions and changes in place find
// what the store finds, also through a row kept by one walk: a cell added,
// removed or moved by the blocks splitting is never read through a stale
// record.
TEST(KeptCellLookups, FindWhatTheStoreFindsWhateverChangedBetween) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  CellStore store;
  KeptCellLookups kept;
  for (int step = 0; step < 20000; ++step) {
    // Now and then a column far right, at or past the row walk's reach.
    const uint16_t column = uint16_t(random() % 10 == 0 ? 60 + random() % 8 : random() % 6);
    const uint32_t row = random() % 40;
    switch (random() % 10) {
      case 4:
        PutFormula(store, column, row, "=1+2", double(step), random() % 2 ? "cached" : nullptr, 0, true);
        break;
      case 5:
        // A row kept by one walk, which later lookups in it carry on.
        kept.KeepRow(store, row, uint16_t(random() % 2 ? random() % 6 : random() % 70));
        break;
      case 0:
        PutNumber(store, column, row, double(step));
        break;
      case 1:
        store.DeleteRange(column, column, row, row, nullptr, false);
        break;
      case 2:
        if (CellRecord* cell = store.GetCell(row, column))
          if (cell->IsNumber()) cell->SetNumber(-double(step));
        break;
      case 3:
        PutText(store, column, row, std::string(random() % 300, 'x'));
        break;
      default: {
        const CellRecord* expected = store.GetCell(row, column);
        ASSERT_EQ(kept.Find(store, row, column), expected) << "step " << step;
        break;
      }
    }
  }
}

}  // namespace
