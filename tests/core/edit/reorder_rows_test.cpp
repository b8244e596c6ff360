#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/workbook/workbook.h"
#include "test_seed.h"

namespace {

void PutNumber(CellStore& cells, uint32_t row, uint16_t column, double value) {
  uint8_t record[kNumberCellSize];
  BuildNumberCell(record, sizeof record, row, column, value);
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

double NumberAt(CellStore& cells, uint32_t row, uint16_t column) {
  const CellRecord* cell = cells.GetCell(row, column);
  return cell ? cell->Number() : -1.0;
}

uint16_t FixedHeight(const SheetFormat& format, uint32_t row) {
  const uint16_t* record = format.rows.At(row);
  return record && (*record & RowTable::kFixedHeight) ? *record : 0;
}

uint32_t RunCount(const SheetFormat& format) {
  uint32_t count = 0;
  CellCursor cursor;
  cursor.block = format.runs.FirstBlock();
  cursor.flags = kCursorAfterRecord;
  while (StyleRunStore::NextRun(&cursor)) ++count;
  return count;
}

struct Grid {
  std::vector<std::vector<double>> values;
  std::vector<std::vector<uint16_t>> styles;
  std::vector<uint16_t> heights;
};

constexpr uint16_t kColumns = 7;
constexpr uint32_t kRows = 40;

Grid Capture(CWorkSheet& sheet) {
  Grid grid;
  for (uint32_t row = 0; row < kRows; ++row) {
    grid.values.emplace_back();
    grid.styles.emplace_back();
    for (uint16_t column = 0; column < kColumns; ++column) {
      grid.values.back().push_back(NumberAt(sheet.cells, row, column));
      grid.styles.back().push_back(sheet.format.CellStyle(row, column));
    }
    grid.heights.push_back(FixedHeight(sheet.format, row));
  }
  return grid;
}

TEST(ReorderRows, MovesCellsFormatsAndHeightsWithTheirRows) {
  for (uint32_t seed = TestSeed(1), end = seed + 40; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937 random(seed);
    auto book = std::make_unique<CWorkBook>();
    ASSERT_TRUE(book->NewDocument());
    ASSERT_TRUE(book->undoHistory.SetLevels(4));
    CWorkSheet& sheet = *book->activeWorksheet;
    for (uint32_t row = 0; row < kRows; ++row) {
      for (uint16_t column = 0; column < kColumns; ++column)
        if (random() % 3)
          PutNumber(sheet.cells, row, column, row * 100.0 + column);
      if (random() % 3 == 0) {
        const uint16_t first = uint16_t(random() % kColumns);
        const uint16_t last = uint16_t(first + random() % (kColumns - first));
        ASSERT_TRUE(sheet.format.runs.InsertRun({first, last, row, uint16_t(1 + random() % 3)}, nullptr));
      }
      if (random() % 4 == 0) {
        ASSERT_TRUE(sheet.format.rows.SetRow(row, uint16_t(10 + row), true));
      }
    }
    const uint16_t firstColumn = uint16_t(random() % kColumns);
    const uint16_t lastColumn = uint16_t(firstColumn + random() % (kColumns - firstColumn));
    const uint32_t firstRow = random() % kRows;
    const uint32_t lastRow = firstRow + random() % (kRows - firstRow);
    std::vector<uint32_t> order;
    for (uint32_t row = firstRow; row <= lastRow; ++row) order.push_back(row);
    std::shuffle(order.begin(), order.end(), random);

    const Grid before = Capture(sheet);
    ASSERT_TRUE(book->undoHistory.RecordSort(book.get(), {firstColumn, firstRow, lastColumn, lastRow}, order.data()));
    ASSERT_TRUE(book->ReorderCellRows(&sheet.cells, firstColumn, lastColumn, firstRow, lastRow, order.data()));
    ASSERT_TRUE(book->ReorderStyleRows(&sheet.format, firstColumn, lastColumn, firstRow, lastRow, order.data()));
    ASSERT_TRUE(sheet.cells.CheckInvariants());
    ASSERT_TRUE(sheet.format.CheckInvariants());
    const Grid after = Capture(sheet);
    for (uint32_t row = 0; row < kRows; ++row) {
      const bool inBlock = row >= firstRow && row <= lastRow;
      const uint32_t from = inBlock ? order[row - firstRow] : row;
      EXPECT_EQ(before.heights[from], after.heights[row]) << "row " << row;
      for (uint16_t column = 0; column < kColumns; ++column) {
        const bool moved = inBlock && column >= firstColumn && column <= lastColumn;
        const uint32_t source = moved ? from : row;
        EXPECT_EQ(before.values[source][column], after.values[row][column]) << row << "," << column;
        EXPECT_EQ(before.styles[source][column], after.styles[row][column]) << row << "," << column;
      }
    }
    // The step undoes with the inverse order, and applying it again redoes.
    ASSERT_TRUE(book->UndoStep());
    const Grid undone = Capture(sheet);
    EXPECT_EQ(before.values, undone.values);
    EXPECT_EQ(before.styles, undone.styles);
    EXPECT_EQ(before.heights, undone.heights);
    ASSERT_TRUE(book->RedoStep());
    const Grid redone = Capture(sheet);
    EXPECT_EQ(after.values, redone.values);
    EXPECT_EQ(after.styles, redone.styles);
    EXPECT_EQ(after.heights, redone.heights);
  }
}

TEST(ReorderRows, IdentityOrderKeepsRunsAsWideAsBefore) {
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  SheetFormat& format = book->activeWorksheet->format;
  for (uint32_t row = 10; row <= 12; ++row) ASSERT_TRUE(format.runs.InsertRun({0, 5, row, 2}, nullptr));
  const uint32_t identity[] = {10, 11, 12};
  ASSERT_TRUE(book->ReorderStyleRows(&format, 0, 5, 10, 12, identity));
  EXPECT_EQ(3u, RunCount(format));
  EXPECT_EQ(2, format.CellStyle(11, 5));
}

// Store pages run out after a chosen number of allocations.
int g_pagesLeft = -1;
void* LimitedPages(size_t bytes) {
  if (g_pagesLeft == 0)
    return nullptr;
  if (g_pagesLeft > 0)
    --g_pagesLeft;
  return std::malloc(bytes);
}

TEST(ReorderRows, RunningOutOfMemoryLeavesTheBlockAsItWas) {
  constexpr uint32_t kBlockRows = 1200;
  std::vector<uint32_t> order;
  for (uint32_t row = 0; row < kBlockRows; ++row) order.push_back(kBlockRows - 1 - row);
  int failures = 0;
  for (int budget = 0; budget < 40; ++budget) {
    SCOPED_TRACE("budget " + std::to_string(budget));
    auto book = std::make_unique<CWorkBook>();
    ASSERT_TRUE(book->NewDocument());
    CWorkSheet& sheet = *book->activeWorksheet;
    for (uint32_t row = 0; row < kBlockRows; ++row)
      for (uint16_t column = 0; column < 3; ++column) PutNumber(sheet.cells, row, column, row * 10.0 + column);
    g_pagesLeft = budget;
    SetStorePageAllocatorForTesting(LimitedPages);
    const bool done = book->ReorderCellRows(&sheet.cells, 0, 2, 0, kBlockRows - 1, order.data());
    SetStorePageAllocatorForTesting(nullptr);
    g_pagesLeft = -1;
    ASSERT_TRUE(sheet.cells.CheckInvariants());
    if (!done) {
      ++failures;
      EXPECT_EQ(kWorkbookOutOfMemory, book->error);
    }
    for (uint32_t row = 0; row < kBlockRows; ++row)
      for (uint16_t column = 0; column < 3; ++column)
        ASSERT_EQ((done ? order[row] : row) * 10.0 + column, NumberAt(sheet.cells, row, column)) << row;
  }
  EXPECT_GT(failures, 0);
}

TEST(ReorderRows, RefusesSourceRowsOutsideTheBlock) {
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  CWorkSheet& sheet = *book->activeWorksheet;
  PutNumber(sheet.cells, 10, 0, 1.0);
  const uint32_t outside[] = {10, 13};
  EXPECT_FALSE(book->ReorderCellRows(&sheet.cells, 0, 0, 10, 11, outside));
  EXPECT_FALSE(book->ReorderStyleRows(&sheet.format, 0, 0, 10, 11, outside));
  EXPECT_EQ(1.0, NumberAt(sheet.cells, 10, 0));
}

}  // namespace
