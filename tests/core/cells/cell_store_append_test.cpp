#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/cells/cell_store.h"
#include "test_seed.h"
#include "test_random.h"

namespace {

using Rng = TestRng;

// Mostly numbers, as array values hold; now and then a text long enough to
// fill a block unevenly.
void AddRecord(Rng& rng, uint32_t row, uint16_t column, std::vector<uint8_t>* run) {
  uint8_t record[kBlockPayload];
  uint32_t size = 0;
  if (rng.OneIn(4)) {
    const std::string text(rng.OneIn(8) ? 200 + rng.Below(4000) : rng.Below(20), 't');
    size = BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()), 0);
  } else {
    size = BuildNumberCell(record, sizeof record, row, column, rng.Below(1000) / 8.0,
                           uint8_t(rng.OneIn(6) ? kErrorNum : 0));
  }
  run->insert(run->end(), record, record + size);
}

::testing::AssertionResult SameChains(const CellStore& a, const CellStore& b) {
  char problem[160] = "";
  if (!a.CheckInvariants(problem, sizeof problem)) return ::testing::AssertionFailure() << problem;
  if (a.BlockCount() != b.BlockCount() || a.FreeBytes() != b.FreeBytes())
    return ::testing::AssertionFailure() << "blocks " << a.BlockCount() << " vs " << b.BlockCount() << ", free "
                                         << a.FreeBytes() << " vs " << b.FreeBytes();
  const CellBlock* x = a.FirstBlock();
  const CellBlock* y = b.FirstBlock();
  for (; x && y; x = x->next, y = y->next)
    if (x->used != y->used || std::memcmp(x->payload, y->payload, x->used) != 0)
      return ::testing::AssertionFailure() << "blocks differ";
  if (x || y) return ::testing::AssertionFailure() << "chains of different lengths";
  return ::testing::AssertionSuccess();
}

// Runs of records mostly in ascending order, now and then stepping back or
// repeating a cell, after deletions that leave the last insert's place
// stale: a run appended at once leaves the chain, the free bytes and the
// cursor as appending its records one by one does.
TEST(CellStoreAppend, RunsBuildTheChainRecordsAppendedOneByOneBuild) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  Rng rng{seed};
  for (int round = 0; round < 16; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CellStore bulk, single;
    CellCursor bulkCursor, singleCursor;
    bulkCursor.flags = singleCursor.flags = kCursorAfterRecord;
    uint32_t row = 0;
    uint16_t column = 0;
    const uint32_t width = 1 + rng.Below(20);
    for (int runs = 0; runs < 150; ++runs) {
      std::vector<uint8_t> run;
      const uint32_t count = 1 + rng.Below(rng.OneIn(4) ? 600 : 12);
      for (uint32_t i = 0; i < count; ++i) {
        if (rng.OneIn(60)) {
          row = row > 3 ? row - rng.Below(4) : 0;
          column = uint16_t(rng.Below(width));
        } else if (!rng.OneIn(80) && ++column == width) {
          column = 0;
          ++row;
        }
        AddRecord(rng, row, column, &run);
      }
      if (rng.OneIn(25)) {
        bulk.DeleteRange(0, uint16_t(width), row, row, nullptr, false);
        single.DeleteRange(0, uint16_t(width), row, row, nullptr, false);
        bulkCursor.block = singleCursor.block = nullptr;
      }
      ASSERT_TRUE(bulk.AppendCells(run.data(), uint32_t(run.size()), &bulkCursor));
      for (size_t at = 0; at < run.size(); at += AsCellRecord(&run[at])->Size())
        ASSERT_TRUE(single.AppendCell(AsCellRecord(&run[at]), &singleCursor));
      ASSERT_TRUE(SameChains(bulk, single)) << "run " << runs;
      ASSERT_EQ(bulkCursor.offset, singleCursor.offset) << "run " << runs;
      ASSERT_EQ(bulkCursor.block == nullptr, singleCursor.block == nullptr) << "run " << runs;
    }
  }
}

// A run whose bytes end inside a record places the records before it and
// refuses the rest.
TEST(CellStoreAppend, RefusesARunEndingInsideARecord) {
  std::vector<uint8_t> run;
  Rng rng{7};
  for (uint16_t column = 0; column < 5; ++column) AddRecord(rng, 3, column, &run);
  CellStore store;
  EXPECT_FALSE(store.AppendCells(run.data(), uint32_t(run.size() - 3), nullptr));
  EXPECT_EQ(store.LastError(), kCellStoreBadRecord);
  EXPECT_NE(store.GetCell(3, 3), nullptr);
  EXPECT_EQ(store.GetCell(3, 4), nullptr);
  EXPECT_TRUE(store.CheckInvariants());
}

}  // namespace
