#include "core/edit/format_selection.h"

#include <gtest/gtest.h>

#include "core/workbook/workbook.h"

namespace {

StyleRecord ListTemplate(uint16_t list) {
  StyleRecord style = StyleRecord{};
  style.dropDown.listId = list;
  style.dropDown.sort = 1;
  style.dropDown.autoAppend = 1;
  return style;
}

uint16_t ListOf(CWorkBook& book, uint32_t row, uint16_t column) {
  const CWorkSheet& sheet = *book.activeWorksheet;
  return book.styles.StyleAt(sheet.format.CellStyle(row, column)).dropDown.listId;
}

// A style like the default one with another fill pattern.
uint16_t FilledStyle(CWorkBook& book, uint8_t pattern) {
  StyleRecord style = book.styles.StyleAt(0);
  style.interior.pattern = pattern;
  uint16_t index = 0;
  EXPECT_TRUE(book.styles.FindOrAddStyle(style, &index));
  return index;
}

TEST(DropDownSelection, ACellRangeTakesTheListCellByCellKeepingItsOtherFormats) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet& sheet = *book.activeWorksheet;
  const uint16_t filled = FilledStyle(book, 3);
  ASSERT_TRUE(sheet.format.runs.InsertRun({1, 1, 2, filled}, nullptr));
  ASSERT_TRUE(ApplyFormatToSelection(&book, FormatSelection{1, 2, 1, 3, 1, 1}, kApplyDropDown, ListTemplate(4),
                                     FontRecord{}, nullptr));
  for (uint32_t row = 1; row <= 3; ++row)
    for (uint16_t column = 1; column <= 2; ++column) EXPECT_EQ(ListOf(book, row, column), 4) << row << column;
  EXPECT_EQ(ListOf(book, 0, 1), 0);
  EXPECT_EQ(ListOf(book, 1, 3), 0);
  EXPECT_EQ(book.styles.StyleAt(sheet.format.CellStyle(2, 1)).interior.pattern, 3);
  EXPECT_TRUE(book.styles.StyleAt(sheet.format.CellStyle(1, 1)).dropDown.sort);
  // One step takes it all back.
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(ListOf(book, 1, 1), 0);
  EXPECT_EQ(ListOf(book, 3, 2), 0);
  EXPECT_EQ(book.styles.StyleAt(sheet.format.CellStyle(2, 1)).interior.pattern, 3);
}

TEST(DropDownSelection, WholeColumnsChangeTheirRecordsAndTheRunsInThem) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet& sheet = *book.activeWorksheet;
  const uint16_t filled = FilledStyle(book, 5);
  // A run in column 2 that differs and one that will equal the column's
  // new style; a run across columns 1 to 4 is cut at the selection's edge.
  ASSERT_TRUE(sheet.format.runs.InsertRun({2, 2, 10, filled}, nullptr));
  ASSERT_TRUE(sheet.format.runs.InsertRun({1, 4, 20, 0}, nullptr));
  ASSERT_TRUE(ApplyFormatToSelection(&book, FormatSelection{2, 3, 0, kMaxRow, 2, 0}, kApplyDropDown,
                                     ListTemplate(9), FontRecord{}, nullptr));
  EXPECT_EQ(uint16_t{book.styles.StyleAt(sheet.format.columns[2].Style()).dropDown.listId}, 9);
  EXPECT_EQ(ListOf(book, kMaxRow, 3), 9);
  EXPECT_EQ(ListOf(book, 10, 2), 9);
  EXPECT_EQ(book.styles.StyleAt(sheet.format.CellStyle(10, 2)).interior.pattern, 5);
  EXPECT_EQ(ListOf(book, 20, 2), 9);
  EXPECT_EQ(ListOf(book, 20, 1), 0);
  EXPECT_EQ(ListOf(book, 20, 4), 0);
  EXPECT_EQ(ListOf(book, 5, 4), 0);
  EXPECT_TRUE(sheet.format.CheckInvariants());
  // A run that came out equal to its column's style went.
  EXPECT_EQ(sheet.format.runs.FindRun(20, 2), nullptr);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(ListOf(book, 10, 2), 0);
  EXPECT_EQ(ListOf(book, kMaxRow, 3), 0);
  EXPECT_EQ(book.styles.StyleAt(sheet.format.CellStyle(10, 2)).interior.pattern, 5);
}

}  // namespace
