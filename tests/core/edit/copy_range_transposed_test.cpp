#include "core/edit/copy_range_transposed.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include "test_seed.h"

namespace {

using Key = std::pair<uint32_t, uint32_t>;  // (row, column)

TEST(CopyRangeTransposed, ExchangesRowsAndColumnsAboutTheCorner) {
  for (uint32_t seed = TestSeed(1), end = seed + 40; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937 random(seed);
    const auto pick = [&](uint32_t low, uint32_t high) {
      return std::uniform_int_distribution<uint32_t>(low, high)(random);
    };
    CellStore source;
    std::map<Key, std::string> texts;
    for (int i = pick(0, 3000); i > 0; --i) {
      const uint32_t row = pick(0, 400);
      const uint16_t column = uint16_t(pick(0, 60));
      const std::string text(pick(0, 40), char('a' + (row + column) % 26));
      uint8_t record[kTextCellHeadSize + 64];
      BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()));
      ASSERT_TRUE(source.InsertCell(AsCellRecord(record), nullptr));
      texts[{row, column}] = text;
    }
    const uint16_t firstColumn = uint16_t(pick(0, 50));
    const uint16_t lastColumn = uint16_t(pick(firstColumn, 70));
    const uint32_t firstRow = pick(0, 300);
    const uint32_t lastRow = pick(firstRow, 420);

    CellStore target;
    ASSERT_TRUE(CopyRangeTransposed(source, firstColumn, lastColumn, firstRow, lastRow, &target));
    ASSERT_TRUE(target.CheckInvariants());
    size_t expected = 0;
    for (const auto& cell : texts) {
      const uint32_t row = cell.first.first, column = cell.first.second;
      if (row < firstRow || row > lastRow || column < firstColumn || column > lastColumn) continue;
      ++expected;
      const CellRecord* copy =
          target.GetCell(firstRow + (column - firstColumn), uint16_t(firstColumn + (row - firstRow)));
      ASSERT_TRUE(copy && copy->IsText());
      EXPECT_EQ(cell.second, std::string(copy->Text(), copy->TextLength()));
    }
    size_t count = 0;
    CellCursor walk;
    walk.flags = kCursorAfterRecord;
    walk.block = target.FirstBlock();
    while (walk.Next()) ++count;
    EXPECT_EQ(expected, count);
  }
}

TEST(CopyRangeTransposed, RefusesARectangleThatWouldLeaveTheGrid) {
  CellStore source;
  uint8_t record[kNumberCellSize];
  BuildNumberCell(record, sizeof record, 0, 0, 1.0);
  ASSERT_TRUE(source.InsertCell(AsCellRecord(record), nullptr));
  CellStore target;
  ASSERT_TRUE(target.InsertCell(AsCellRecord(record), nullptr));
  struct Case {
    uint16_t firstColumn, lastColumn;
    uint32_t firstRow, lastRow;
    bool fits;
  } const cases[] = {
      {0, 0, 0, kMaxColumn, true},
      {0, 0, 0, kMaxColumn + 1, false},
      {5, 5, 10, 10 + kMaxColumn - 5, true},
      {5, 5, 10, 10 + kMaxColumn - 4, false},
      {0, kMaxColumn, kMaxRow - kMaxColumn, kMaxRow - kMaxColumn, true},
      {0, kMaxColumn, kMaxRow - kMaxColumn + 1, kMaxRow - kMaxColumn + 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.fits, CopyRangeTransposed(source, c.firstColumn, c.lastColumn, c.firstRow, c.lastRow, &target))
        << c.firstColumn << " " << c.firstRow << " " << c.lastRow;
    if (!c.fits) {
      EXPECT_EQ(nullptr, target.FirstBlock());
    }
  }
}

}  // namespace
