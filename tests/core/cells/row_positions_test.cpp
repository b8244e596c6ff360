// Cells found through the row position memo of a store under recalculation
// against a plain walk of the chain, while records are inserted, rewritten at
// other sizes, deleted, compacted and blocks split, and values written in place.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cells/cell_store.h"
#include "test_random.h"
#include "test_seed.h"
#include "tests/core/cells/sized_cells.h"

namespace {

// The first record at or after (row, column), walked from the chain's head;
// the last block's end when there is none.
RecordPosition PlainLowerBound(const CellStore& store, uint32_t row, uint16_t column) {
  const uint64_t key = (uint64_t(row) << 16) | column;
  RecordPosition end = {nullptr, 0};
  for (CellBlock* block = store.FirstBlock(); block; block = block->next) {
    for (uint32_t offset = 0; offset < block->used; offset += AsCellRecord(block->payload + offset)->Size()) {
      const CellRecord* record = AsCellRecord(block->payload + offset);
      if (((uint64_t(record->Row()) << 16) | record->Column()) >= key)
        return {block, static_cast<uint16_t>(offset)};
    }
    end = {block, block->used};
  }
  return end;
}

RecordPosition Normalized(RecordPosition at) {
  while (at.block && at.offset >= at.block->used && at.block->next) at = {at.block->next, 0};
  return at;
}

const CellRecord* RecordOrEndAt(RecordPosition at) {
  return at.block && at.offset < at.block->used ? AsCellRecord(at.block->payload + at.offset) : nullptr;
}

bool Put(CellStore& store, const std::vector<uint8_t>& bytes) {
  return store.InsertCell(AsCellRecord(bytes.data()), nullptr);
}

TEST(RowPositions, LookupsMatchAPlainWalkAcrossEditsThatMoveRecordsOrNot) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  constexpr uint32_t kRows = 1400;  // two pages
  CellStore store;
  // Rows of a dozen cells, some wider than a memo entry lists, some holding
  // texts long enough to reach over two or three blocks.
  for (uint32_t row = 0; row < kRows; row += 1 + (rng.OneIn(8) ? rng.Below(5) : 0)) {
    const uint16_t width = uint16_t(rng.OneIn(40) ? 45 : 12);
    for (uint16_t column = uint16_t(rng.Below(2)); column < width; column = uint16_t(column + 1 + rng.Below(2))) {
      // Now and then a row whose texts reach over three blocks.
      const bool longText = row % 97 == 5 && column % 4 == 1;
      const uint32_t length = longText ? 5000 + rng.Below(2000) : rng.OneIn(300) ? 3000 : rng.Below(30);
      ASSERT_TRUE(Put(store, Cell(row, column, length, column % 3 == 2)));
    }
  }

  store.MarkFormulaCellsDirty();
  char problem[160];
  uint32_t focus = 0;
  for (int step = 0; step < 600; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    switch (rng.Below(10)) {
      case 0:  // a new pass indexes the pages again
        store.MarkFormulaCellsDirty();
        break;
      case 1:
      case 2: {  // a result of another size, or a new cell: records move
        const uint32_t row = focus + rng.Below(8);
        ASSERT_TRUE(Put(store, Cell(row, uint16_t(rng.Below(14)), rng.OneIn(20) ? 2000 : rng.Below(60), true)));
        break;
      }
      case 3:
        store.DeleteRange(uint16_t(rng.Below(12)), uint16_t(12 + rng.Below(4)), focus + rng.Below(6),
                          focus + 6 + rng.Below(3), nullptr, false);
        break;
      case 4:
        if (rng.OneIn(4))
          store.Compact(false);
        break;
      case 5: {  // a number written in place moves nothing
        std::vector<uint8_t> number(kNumberCellSize);
        const uint32_t row = focus + rng.Below(6);
        const uint16_t column = uint16_t(rng.Below(12));
        BuildNumberCell(number.data(), number.size(), row, column, 1.5);
        if (!store.GetCell(row, column)) {
          ASSERT_TRUE(Put(store, number));
        }
        if (CellRecord* cell = store.GetCell(row, column); cell && cell->IsNumber())
          cell->SetNumber(step * 0.25);
        break;
      }
      default:
        focus = rng.OneIn(4) ? rng.Below(kRows) : focus + 1;
        break;
    }
    ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;

    // The rows about the focus, as the formulas of a row read them.
    for (int lookup = 0; lookup < 24; ++lookup) {
      const uint32_t row = focus + rng.Below(6);
      const uint16_t column = uint16_t(rng.OneIn(6) ? rng.Below(50) : rng.Below(14));
      const RecordPosition expected = Normalized(PlainLowerBound(store, row, column));
      const CellRecord* next = RecordOrEndAt(expected);
      const CellRecord* cell = next && next->Row() == row && next->Column() == column ? next : nullptr;
      SCOPED_TRACE("cell " + std::to_string(row) + "," + std::to_string(column));

      EXPECT_EQ(store.GetCell(row, column), cell);
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      ASSERT_EQ(store.FindCell(row, column, &cursor), cell);
      if (cell) {
        EXPECT_EQ(cursor.block->payload + cursor.offset, cell->Bytes() + cell->Size());
      }

      RecordPosition at;
      if (store.PositionInRow(row, column, &at)) {
        const RecordPosition got = Normalized(at);
        EXPECT_TRUE(got.block == expected.block && got.offset == expected.offset);
      } else {
        // Only a row without records, or one whose page is not indexed.
        EXPECT_TRUE(!store.IndexedRowStart(row, &at));
      }
    }
  }
}

}  // namespace
