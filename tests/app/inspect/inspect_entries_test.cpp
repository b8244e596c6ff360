// The inspect pane's entries in the workbook and the texts of its rows.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/inspect/inspect_entries.h"
#include "app/inspect/inspect_layout.h"
#include "core/allocation_limit.h"
#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "tests/core/generic_locale_test.h"

namespace {

using InspectEntries = GenericLocaleTest;

void Type(CWorkBook& book, CWorkSheet* sheet, uint32_t row, uint16_t column, const char* text) {
  NumFormatParams format{};
  alignas(8) uint8_t record[kCellInputCapacity];
  ASSERT_NE(ParseCellInput(book.evaluator, text, &format, row, column, record, sizeof record), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

// Worksheet1 with 5 at A1, =A1*2 at B1, =1/0 at A2 and a 2x2 array at C3;
// Other (in Folder) with 7 at B2.
std::unique_ptr<CWorkBook> Book() {
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(book->NewDocument());
  CWorkSheet* sheet = book->activeWorksheet;
  Type(*book, sheet, 0, 0, "5");
  Type(*book, sheet, 0, 1, "=A1*2");
  Type(*book, sheet, 1, 0, "=1/0");
  CWorkSheetTree::CTreeItem* folder = NewFolderItem("Folder", 1);
  book->InsertItems(folder, nullptr);
  CWorkSheet* other = NewWorksheet("Other", 1);
  book->InsertItems(other, folder);
  Type(*book, other, 1, 1, "7");
  EXPECT_TRUE(book->Recalculate(nullptr));
  return book;
}

InspectCellFields Entry(CWorkBook& book, uint32_t index) {
  InspectCellFields entry;
  ReadInspectCell(book.inspectCells.At(index), &entry);
  return entry;
}

std::string Cells(CWorkBook& book) {
  std::string out;
  for (uint32_t i = 0; i < book.inspectCells.Count(); ++i) {
    const InspectCellFields entry = Entry(book, i);
    out += std::string(out.empty() ? "" : " ") + entry.name + "@" + std::to_string(entry.column) + "," +
           std::to_string(entry.row);
  }
  return out;
}

TEST_F(InspectEntries, AddTakesFormulasErrorsOrTheSelection) {
  auto book = Book();
  ASSERT_TRUE(AddInspectEntries(book.get(), InspectAdd::kAllFormulas, {}, "all"));
  ASSERT_TRUE(AddInspectEntries(book.get(), InspectAdd::kFormulaErrors, {}, "errors"));
  ASSERT_TRUE(AddInspectEntries(book.get(), InspectAdd::kSelectedCells, {2, 4, 3, 5}, ""));
  EXPECT_EQ(Cells(*book), "all@1,0 all@0,1 errors@0,1 @2,4 @3,4 @2,5 @3,5");
  const InspectCellFields first = Entry(*book, 0);
  EXPECT_STREQ(first.path, "\\Worksheet1");
  EXPECT_EQ(first.flags, kInspectCellFlags);
  // A worksheet without formulas adds nothing.
  book->activeWorksheet = CWorkSheet::FromItem(book->firstItem->next->next);
  ASSERT_TRUE(AddInspectEntries(book.get(), InspectAdd::kAllFormulas, {}, "none"));
  EXPECT_EQ(book->inspectCells.Count(), 7u);
  // A long name is cut to 127 characters.
  ASSERT_TRUE(AddInspectEntries(book.get(), InspectAdd::kSelectedCells, {0, 0, 0, 0}, std::string(300, 'n').c_str()));
  EXPECT_EQ(std::strlen(Entry(*book, 7).name), 127u);
  EXPECT_STREQ(Entry(*book, 7).path, "\\Folder\\Other");
}

TEST_F(InspectEntries, RemoveAndRenameKeepTheOrder) {
  auto book = Book();
  ASSERT_TRUE(AddInspectEntries(book.get(), InspectAdd::kSelectedCells, {0, 0, 3, 0}, "x"));
  RenameInspectEntry(book.get(), 2, "renamed");
  ASSERT_TRUE(RemoveInspectEntry(book.get(), 1));
  EXPECT_EQ(Cells(*book), "x@0,0 renamed@2,0 x@3,0");
  {
    AllocationLimit limit(0);
    EXPECT_FALSE(RemoveInspectEntry(book.get(), 0));
  }
  EXPECT_EQ(Cells(*book), "x@0,0 renamed@2,0 x@3,0");
  RemoveAllInspectEntries(book.get());
  EXPECT_EQ(book->inspectCells.Count(), 0u);
}

TEST_F(InspectEntries, RowsShowAddressFormulaAndValueOfTheirOwnWorksheet) {
  auto book = Book();
  Type(*book, book->activeWorksheet, 2, 2, "={1,2;3,4}");
  ASSERT_TRUE(book->Recalculate(nullptr));
  CWorkSheet* other = CWorkSheet::FromItem(book->firstItem->next->next);
  const struct {
    uint16_t column;
    uint32_t row;
    const char* path;
    bool a1;
    const char* address;
    const char* formula;
    const char* value;
    bool missing;
  } cases[] = {
      {0, 0, "\\Worksheet1", true, "\\Worksheet1!$A$1", "", "5", false},
      {1, 0, "\\Worksheet1", true, "\\Worksheet1!$B$1", "=A1*2", "10", false},
      {1, 0, "\\Worksheet1", false, "\\Worksheet1!R1C2", "=RC[-1]*2", "10", false},
      {0, 1, "\\Worksheet1", true, "\\Worksheet1!$A$2", "=1/0", "#DIV/0!", false},
      {2, 2, "\\Worksheet1", true, "\\Worksheet1!$C$3", "={1, 2; 3, 4}", "{1, 2; 3, 4}", false},
      {1, 1, "\\Folder\\Other", true, "\\Folder\\Other!$B$2", "", "7", false},
      {5, 5, "\\Worksheet1", true, "\\Worksheet1!$F$6", "", "", true},
      {1, 1, "\\Gone", true, "\\Gone!$B$2", "", "", true},
  };
  for (const auto& c : cases) {
    AddressingA1 = c.a1 ? 1 : 0;
    RemoveAllInspectEntries(book.get());
    InspectCellFields entry;
    entry.column = c.column;
    entry.row = c.row;
    entry.flags = kInspectCellFlags;
    std::strcpy(entry.path, c.path);
    std::strcpy(entry.name, "n");
    uint8_t record[kInspectCellRecordSize];
    WriteInspectCell(entry, record);
    ASSERT_TRUE(book->inspectCells.Append(record));
    InspectRow row;
    FormatInspectRow(book.get(), 0, &row);
    EXPECT_STREQ(row.name, "n");
    EXPECT_STREQ(row.address, c.address);
    EXPECT_STREQ(row.formula, c.formula) << c.address;
    EXPECT_STREQ(row.value, c.value) << c.address;
    EXPECT_EQ(row.missing, c.missing) << c.address;
  }
  // The active worksheet is not the entry's, and stays what it was.
  EXPECT_NE(book->activeWorksheet, other);
}

TEST(InspectLayout, ChildrenFollowThePaneSize) {
  const struct {
    int width, height;
    int columnWidth;
    bool edit, buttons;
    int editRight;
  } cases[] = {
      {800, 200, 200, true, true, 800 - 5 * 60 - 2},
      {300, 200, 100, false, true, 300 - 5 * 60 - 2},  // no room for the edit
      {800, 40, 200, false, false, 800 - 5 * 60 - 2},  // two rows: header and list only
  };
  for (const auto& c : cases) {
    const InspectLayout layout = LayoutInspectPane(c.width, c.height, 20, 60);
    EXPECT_EQ(layout.columnWidth, c.columnWidth);
    EXPECT_EQ(layout.editShown, c.edit) << c.width << "x" << c.height;
    EXPECT_EQ(layout.buttonsShown, c.buttons) << c.width << "x" << c.height;
    EXPECT_EQ(layout.header, (UiRect{0, 0, c.width, 20}));
    EXPECT_EQ(layout.list, (UiRect{0, 20, c.width, c.height - 21}));
    EXPECT_EQ(layout.edit, (UiRect{0, c.height - 20, c.editRight, c.height - 1}));
    EXPECT_EQ(layout.buttons[0], (UiRect{c.width - 301, c.height - 20, c.width - 241, c.height}));
    EXPECT_EQ(layout.buttons[4], (UiRect{c.width - 61, c.height - 20, c.width - 1, c.height}));
  }
}

}  // namespace
