// Tiling a block of cells over a rectangle (TileRangeFromStore and
// CopyRangeToStore): whatever the sizes of the records, the tiles and the
// rectangle, and wherever the rectangle lies among the target's cells, the
// result is the chain that inserting each copy in turn builds, block for
// block.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/cells/cell_store.h"
#include "tests/core/allocation_limit.h"
#include "test_random.h"
#include "test_seed.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Rect {
  uint16_t firstColumn, lastColumn;
  uint32_t firstRow, lastRow;
};

Bytes Cell(TestRng& rng, uint32_t row, uint16_t column, bool longText = false) {
  if (!longText && rng.OneIn(3)) {
    Bytes bytes(kNumberCellSize);
    BuildNumberCell(bytes.data(), bytes.size(), row, column, row * 0.5 + column, 0);
    return bytes;
  }
  // Now and then a text long enough that a few of them fill a block.
  const size_t length = longText || rng.OneIn(6) ? 1000 + rng.Below(2500) : 1 + rng.Below(80);
  const std::string text(length, char('a' + rng.Below(26)));
  Bytes bytes(kTextCellHeadSize + length);
  BuildTextCell(bytes.data(), bytes.size(), row, column, text.data(), uint16_t(length), 0);
  return bytes;
}

void Fill(TestRng& rng, CellStore& store, Rect area, uint32_t cells, bool longText = false) {
  for (uint32_t i = 0; i < cells; ++i) {
    const uint32_t row = area.firstRow + rng.Below(area.lastRow - area.firstRow + 1);
    const uint16_t column = uint16_t(area.firstColumn + rng.Below(area.lastColumn - area.firstColumn + 1u));
    const Bytes cell = Cell(rng, row, column, longText);
    ASSERT_TRUE(store.InsertCell(AsCellRecord(cell.data()), nullptr));
  }
}

std::vector<Bytes> RecordsOf(const CellStore& store) {
  std::vector<Bytes> records;
  CellCursor walk = store.StartRangeWalk(0);
  uint32_t size = 0;
  while (const CellRecord* record = walk.Next(&size)) records.emplace_back(record->Bytes(), record->Bytes() + size);
  return records;
}

// The tiling as a copy inserted at a time, each tile column's copies in
// order behind one cursor.
bool InsertEachCopy(CellStore& store, Rect to, Rect from, const CellStore& source) {
  const std::vector<Bytes> records = RecordsOf(source);
  const uint32_t width = uint32_t(from.lastColumn) - from.firstColumn + 1;
  const uint32_t height = from.lastRow - from.firstRow + 1;
  for (uint32_t tileColumn = to.firstColumn; tileColumn <= to.lastColumn; tileColumn += width) {
    CellCursor out;
    out.flags = kCursorAfterRecord;
    for (uint64_t tileRow = to.firstRow; tileRow <= to.lastRow; tileRow += height)
      for (const Bytes& bytes : records) {
        const CellRecord* record = AsCellRecord(bytes.data());
        const uint32_t row = record->Row();
        if (row > from.lastRow || (row >= from.firstRow && row - from.firstRow + tileRow > to.lastRow))
          break;
        const uint32_t column = uint32_t(record->Column()) - from.firstColumn + tileColumn;
        if (row < from.firstRow || record->Column() < from.firstColumn || record->Column() > from.lastColumn ||
            column > to.lastColumn)
          continue;
        Bytes copy = bytes;
        AsCellRecord(copy.data())->SetRow(uint32_t(row - from.firstRow + tileRow));
        AsCellRecord(copy.data())->SetColumn(uint16_t(column));
        if (!store.InsertCell(AsCellRecord(copy.data()), &out))
          return false;
      }
  }
  return true;
}

::testing::AssertionResult SameBlocks(const CellStore& actual, const CellStore& expected) {
  char problem[160];
  if (!actual.CheckInvariants(problem, sizeof problem))
    return ::testing::AssertionFailure() << "invariant: " << problem;
  if (actual.BlockCount() != expected.BlockCount())
    return ::testing::AssertionFailure() << actual.BlockCount() << " blocks where " << expected.BlockCount()
                                         << " expected";
  uint32_t index = 0;
  for (const CellBlock *a = actual.FirstBlock(), *e = expected.FirstBlock(); a && e;
       a = a->next, e = e->next, ++index)
    if (a->used != e->used || std::memcmp(a->payload, e->payload, a->used) != 0)
      return ::testing::AssertionFailure() << "block " << index << " differs";
  return ::testing::AssertionSuccess();
}

TEST(CellStoreTiling, EveryTilingBuildsTheChainThatInsertingEachCopyBuilds) {
  const uint32_t seed = TestSeed(20261209);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  size_t copies = 0;
  for (int round = 0; round < 120; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    CellStore source;
    const uint16_t sourceColumn = uint16_t(3 + rng.Below(4));
    const uint32_t sourceRow = 50 + rng.Below(20);
    const Rect sourceRect = {sourceColumn, uint16_t(sourceColumn + rng.Below(3)), sourceRow,
                             sourceRow + rng.Below(rng.OneIn(2) ? 2 : 6)};
    // Cells around the source rectangle too, which no tile takes.
    Fill(rng, source, {0, 12, 40, 80}, rng.Below(40));
    // Now and then tiles of long texts, more than a block's worth.
    Fill(rng, source, sourceRect, rng.Below(12), rng.OneIn(4));

    // A rectangle down many rows (so that whole tiles repeat and a last one is
    // cut), over one or a few tile columns, whose right edge may cut a tile.
    const uint16_t firstColumn = uint16_t(rng.Below(20));
    const uint32_t firstRow = rng.Below(300);
    const Rect to = {firstColumn, uint16_t(firstColumn + rng.Below(7)), firstRow,
                     firstRow + (rng.OneIn(3) ? rng.Below(20) : rng.Below(2000))};
    // The target holds nothing, or cells before, around or after the rectangle.
    const uint32_t around = rng.Below(4);
    const Rect targetCells = around == 0   ? Rect{0, 30, 0, firstRow}
                             : around == 1 ? Rect{0, 30, firstRow, to.lastRow + 5}
                                           : Rect{0, 30, to.lastRow + 1, to.lastRow + 50};
    const uint32_t targetCount = around == 3 ? 0 : 1 + rng.Below(200);
    const bool clearFirst = rng.OneIn(2);

    CellStore tiled;
    CellStore expected;
    TestRng same = rng;
    Fill(rng, tiled, targetCells, targetCount);
    Fill(same, expected, targetCells, targetCount);
    if (clearFirst) {
      ASSERT_TRUE(tiled.CopyRangeToStore(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow,
                                         sourceRect.firstColumn, sourceRect.lastColumn, sourceRect.firstRow,
                                         sourceRect.lastRow, source));
      expected.DeleteRange(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow, nullptr, false);
    } else {
      ASSERT_TRUE(tiled.TileRangeFromStore(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow,
                                           sourceRect.firstColumn, sourceRect.lastColumn, sourceRect.firstRow,
                                           sourceRect.lastRow, source));
    }
    ASSERT_TRUE(InsertEachCopy(expected, to, sourceRect, source));
    ASSERT_TRUE(SameBlocks(tiled, expected)) << "clear first " << clearFirst << ", target cells " << around;
    copies += RecordsOf(tiled).size();
  }
  // Enough tiles to have filled many blocks and buffers.
  EXPECT_GT(copies, 100000u);
}

// Copies over cells of their own size take the cells' places: text pasted
// over a column of such texts moves no other record and leaves every block
// as full as it was.
TEST(CellStoreTiling, CopiesOverCellsOfTheirSizeTakeTheirPlaces) {
  const std::string pasted(40, 'p');
  Bytes copy(kTextCellHeadSize + pasted.size());
  BuildTextCell(copy.data(), copy.size(), 0, 0, pasted.data(), uint16_t(pasted.size()), 0);
  CellStore source;
  ASSERT_TRUE(source.InsertCell(AsCellRecord(copy.data()), nullptr));

  CellStore store;
  constexpr uint32_t kRows = 3000;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = 0; row < kRows; ++row)
    for (const uint16_t column : {2, 5, 9}) {
      const std::string text(pasted.size(), char('a' + column));
      Bytes cell(kTextCellHeadSize + text.size());
      BuildTextCell(cell.data(), cell.size(), row, column, text.data(), uint16_t(text.size()), 0);
      ASSERT_TRUE(store.InsertCell(AsCellRecord(cell.data()), &cursor));
    }
  std::vector<uint16_t> used;
  for (const CellBlock* block = store.FirstBlock(); block; block = block->next) used.push_back(block->used);
  std::vector<Bytes> expected = RecordsOf(store);
  for (Bytes& record : expected)
    if (AsCellRecord(record.data())->Column() == 5)
      std::memcpy(record.data() + kTextCellHeadSize, pasted.data(), pasted.size());

  ASSERT_TRUE(store.TileRangeFromStore(5, 5, 0, kRows - 1, 0, 0, 0, 0, source));
  char problem[160];
  ASSERT_TRUE(store.CheckInvariants(problem, sizeof problem)) << problem;
  EXPECT_EQ(RecordsOf(store), expected);
  std::vector<uint16_t> usedAfter;
  for (const CellBlock* block = store.FirstBlock(); block; block = block->next) usedAfter.push_back(block->used);
  EXPECT_EQ(usedAfter, used);
}

// During a recalculation pass the page index is kept and each copy is
// inserted under its new address: one written over a cell of its size must
// take that cell's address, not keep its source's.
TEST(CellStoreTiling, CopiesOverCellsOfTheirSizeDuringAPassTakeTheirAddresses) {
  const uint32_t seed = TestSeed(20261210);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  // Numbers and texts of one length: two record sizes, so that many copies
  // land on a cell of their own size, others on one of the other size or
  // on an empty place.
  const auto cellOfTwoSizes = [&](uint32_t row, uint16_t column) {
    if (rng.OneIn(2)) {
      Bytes bytes(kNumberCellSize);
      BuildNumberCell(bytes.data(), bytes.size(), row, column, row * 0.5 + column + rng.Below(1000), 0);
      return bytes;
    }
    const std::string text(12, char('a' + rng.Below(26)));
    Bytes bytes(kTextCellHeadSize + text.size());
    BuildTextCell(bytes.data(), bytes.size(), row, column, text.data(), uint16_t(text.size()), 0);
    return bytes;
  };
  const auto fill = [&](CellStore& a, CellStore* b, Rect area, uint32_t emptyOneIn) {
    for (uint32_t row = area.firstRow; row <= area.lastRow; ++row)
      for (uint16_t column = area.firstColumn; column <= area.lastColumn; ++column)
        if (!rng.OneIn(emptyOneIn)) {
          const Bytes cell = cellOfTwoSizes(row, column);
          ASSERT_TRUE(a.InsertCell(AsCellRecord(cell.data()), nullptr));
          if (b) {
            ASSERT_TRUE(b->InsertCell(AsCellRecord(cell.data()), nullptr));
          }
        }
  };
  CellStore source, tiled, expected;
  const Rect from = {0, 1, 100, 102};
  fill(source, nullptr, from, 6);
  constexpr uint32_t kPages = 3;
  fill(tiled, &expected, {3, 7, 0, kPages * kRowsPerPage - 1}, 8);
  for (uint32_t page = 0; page < kPages; ++page) ASSERT_TRUE(tiled.BuildPageIndex(page, nullptr));

  // Three tile columns, the last cut at the right edge; the last tile cut at the bottom.
  const Rect to = {4, 8, 10, 2500};
  ASSERT_TRUE(tiled.TileRangeFromStore(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow, from.firstColumn,
                                       from.lastColumn, from.firstRow, from.lastRow, source));
  ASSERT_TRUE(InsertEachCopy(expected, to, from, source));

  char problem[160];
  ASSERT_TRUE(tiled.CheckInvariants(problem, sizeof problem)) << problem;
  for (uint32_t page = 0; page < kPages; ++page) ASSERT_TRUE(tiled.PageFlags(page) & kPageIndexBuilt) << page;
  // Every copy under its new address and none under its source's.
  EXPECT_TRUE(RecordsOf(tiled) == RecordsOf(expected));
  for (uint32_t row = to.firstRow; row <= to.lastRow; ++row)
    for (uint16_t column = to.firstColumn; column <= to.lastColumn; ++column) {
      const CellRecord* cell = tiled.GetCell(row, column);
      const CellRecord* want = expected.GetCell(row, column);
      ASSERT_EQ(cell != nullptr, want != nullptr) << row << " " << column;
      if (want) {
        ASSERT_TRUE(cell->Size() == want->Size() && std::memcmp(cell->Bytes(), want->Bytes(), want->Size()) == 0)
            << row << " " << column;
      }
    }
}

// Running out of blocks part way keeps the copies made before, in order, and
// nothing after them.
TEST(CellStoreTiling, ATilingThatRunsOutOfBlocksKeepsTheCopiesMadeSoFar) {
  CellStore source;
  for (uint32_t row = 0; row < 3; ++row)
    for (uint16_t column = 0; column < 2; ++column) {
      const std::string text(100 + 40 * row + column, 't');
      Bytes cell(kTextCellHeadSize + text.size());
      BuildTextCell(cell.data(), cell.size(), row, column, text.data(), uint16_t(text.size()), 0);
      ASSERT_TRUE(source.InsertCell(AsCellRecord(cell.data()), nullptr));
    }
  const Rect from = {0, 1, 0, 2};
  const Rect to = {4, 5, 10, 1500};
  CellStore complete;
  ASSERT_TRUE(InsertEachCopy(complete, to, from, source));
  const std::vector<Bytes> all = RecordsOf(complete);
  ASSERT_GT(complete.BlockCount(), 20u);

  bool done = false;
  for (int granted = 0; granted < 400 && !done; ++granted) {
    CellStore tiled;
    {
      AllocationLimit limit(granted);
      done = tiled.TileRangeFromStore(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow, from.firstColumn,
                                      from.lastColumn, from.firstRow, from.lastRow, source);
    }
    if (done) {
      EXPECT_TRUE(SameBlocks(tiled, complete));
      break;
    }
    EXPECT_EQ(tiled.LastError(), kCellStoreOutOfMemory) << granted;
    char problem[160];
    ASSERT_TRUE(tiled.CheckInvariants(problem, sizeof problem)) << granted << ": " << problem;
    const std::vector<Bytes> kept = RecordsOf(tiled);
    ASSERT_LT(kept.size(), all.size()) << granted;
    for (size_t i = 0; i < kept.size(); ++i) ASSERT_EQ(kept[i], all[i]) << granted << " at " << i;
  }
  EXPECT_TRUE(done);
}

}  // namespace
