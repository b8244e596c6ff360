#include "app/document/row_sort.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/workbook/workbook.h"
#include "tests/core/eval_test_cells.h"

namespace {

std::vector<double> Column(CellStore& cells, uint16_t column, uint32_t first, uint32_t last) {
  std::vector<double> values;
  for (uint32_t row = first; row <= last; ++row) {
    const CellRecord* cell = cells.GetCell(row, column);
    values.push_back(cell != nullptr && cell->IsNumber() ? cell->Number() : -1);
  }
  return values;
}

TEST(RowSort, TheSortedRangeIsTheSelectionWithinTheUsedCells) {
  CellStore cells;
  const SelectionRange all{0, 0, kMaxColumn, kMaxRow};
  UndoRange range{};
  EXPECT_FALSE(SortedRange(cells, all, &range));
  PutNumber(cells, 2, 3, 1);
  PutNumber(cells, 5, 9, 1);
  const struct {
    SelectionRange selection;
    bool sorted;
    UndoRange range;
  } cases[] = {
      {all, true, {2, 3, 5, 9}},
      {{0, 0, 3, 4}, true, {2, 3, 3, 4}},
      {{4, 6, 100, 100}, true, {4, 6, 5, 9}},
      // A single row, or nothing of the used cells, is not sorted.
      {{0, 9, 100, 100}, false, {}},
      {{0, 3, 10, 3}, false, {}},
      {{6, 0, 10, 100}, false, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SortedRange(cells, c.selection, &range), c.sorted) << c.selection.firstColumn;
    if (!c.sorted) continue;
    // Fields of the packed record are read by value.
    EXPECT_EQ(uint32_t{range.firstColumn}, uint32_t{c.range.firstColumn});
    EXPECT_EQ(uint32_t{range.firstRow}, uint32_t{c.range.firstRow});
    EXPECT_EQ(uint32_t{range.lastColumn}, uint32_t{c.range.lastColumn});
    EXPECT_EQ(uint32_t{range.lastRow}, uint32_t{c.range.lastRow});
  }
}

TEST(RowSort, KeysAreTheRangesColumnsInKeyOrderAndThoseOutsideItAreLeftOut) {
  SortKeySettings keys = DefaultSortKeys();
  const UndoRange range{3, 0, 6, 10};
  // Key 1 off, key 2 at position 2, key 3 at 4 descending; key 4 past the
  // range and key 5 at position 0 count for nothing.
  const uint32_t enabled[kSortKeyCount] = {0, 1, 2, 1, 1};
  const uint32_t position[kSortKeyCount] = {1, 2, 4, 5, 0};
  for (int k = 0; k < kSortKeyCount; ++k) {
    keys.enabled[k] = enabled[k];
    keys.position[k] = position[k];
  }
  keys.order[2] = kSortDescending;
  SortColumns columns = SortColumnsOfKeys(keys, range);
  ASSERT_EQ(columns.count, 2u);
  EXPECT_EQ(columns.column[0], 4);
  EXPECT_EQ(columns.ascending[0], 1);
  EXPECT_EQ(columns.column[1], 6);
  EXPECT_EQ(columns.ascending[1], 0);
  // An enabled flag out of its range is off.
  keys.enabled[1] = keys.enabled[2] = 7;
  EXPECT_EQ(SortColumnsOfKeys(keys, range).count, 0u);
}

TEST(RowSort, RowsMoveWithTheirStylesAsOneUndoStep) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  ASSERT_TRUE(book.undoHistory.SetLevels(10));
  CWorkSheet& sheet = *book.activeWorksheet;
  const double keys[] = {3, 1, 2, 5, 4};
  for (uint32_t row = 0; row < 5; ++row) {
    PutNumber(sheet.cells, 0, row + 1, keys[row]);
    PutNumber(sheet.cells, 1, row + 1, keys[row] * 10);
    ASSERT_TRUE(sheet.format.runs.InsertRun({1, 1, row + 1, uint16_t(keys[row])}, nullptr));
  }
  const UndoRange range{0, 1, 1, 5};
  ASSERT_TRUE(SortRangeRows(&book, range, FirstColumnSort(range, false)));
  EXPECT_EQ(Column(sheet.cells, 0, 1, 5), (std::vector<double>{5, 4, 3, 2, 1}));
  EXPECT_EQ(Column(sheet.cells, 1, 1, 5), (std::vector<double>{50, 40, 30, 20, 10}));
  for (uint32_t row = 1; row <= 5; ++row) EXPECT_EQ(sheet.format.CellStyle(row, 1), uint16_t(6 - row));
  EXPECT_EQ(book.undoHistory.Current(), 0);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(Column(sheet.cells, 0, 1, 5), (std::vector<double>{3, 1, 2, 5, 4}));
  EXPECT_EQ(sheet.format.CellStyle(1, 1), 3);
  EXPECT_FALSE(book.undoHistory.CanUndo());
}

}  // namespace
