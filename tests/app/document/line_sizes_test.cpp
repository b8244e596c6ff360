#include "app/document/line_sizes.h"

#include <gtest/gtest.h>

#include "core/workbook/workbook.h"
#include "view/geometry/sheet_sizes.h"

namespace {

TEST(LineSizes, RowsTakeAFixedHeightThatOneUndoTakesBack) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  ASSERT_TRUE(book.undoHistory.SetLevels(10));
  CWorkSheet* sheet = book.activeWorksheet;
  ASSERT_TRUE(sheet->format.rows.SetRow(4, 33, true));
  ASSERT_TRUE(SetRowHeights(&book, 3, 6, 0));
  for (uint32_t row = 3; row <= 6; ++row) EXPECT_EQ(GetRowHeight(sheet, row, 100), 0) << row;
  ASSERT_TRUE(SetRowHeights(&book, 5, 5, 4095));
  EXPECT_EQ(GetRowHeight(sheet, 5, 100), 4095);
  EXPECT_EQ(book.undoHistory.Current(), 1);
  ASSERT_TRUE(book.UndoStep());
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(GetRowHeight(sheet, 4, 100), 33);
  EXPECT_EQ(GetRowHeight(sheet, 3, 100), GetRowHeight(sheet, 100, 100));
  EXPECT_FALSE(SetRowHeights(&book, 6, 5, 10));
}

TEST(LineSizes, ColumnsTakeAFixedWidthKeepingTheirStyles) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet* sheet = book.activeWorksheet;
  sheet->format.columns[2].SetStyle(5);
  sheet->format.columns[2].widthWord |= 0x8000;
  const int32_t usual = GetColumnWidth(sheet, 2, 100);
  ASSERT_TRUE(SetColumnWidths(&book, 1, 3, 120));
  for (uint32_t column = 1; column <= 3; ++column) EXPECT_EQ(GetColumnWidth(sheet, column, 100), 120);
  EXPECT_TRUE(sheet->format.columns[2].WidthFixed());
  EXPECT_EQ(sheet->format.columns[2].Style(), 5);
  EXPECT_EQ(sheet->format.columns[2].widthWord & 0x8000, 0x8000);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(GetColumnWidth(sheet, 2, 100), usual);
}

}  // namespace
