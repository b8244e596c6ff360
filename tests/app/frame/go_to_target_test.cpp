// Where the name box's go-to leads inside a workbook.

#include "app/frame/go_to_target.h"

#include <gtest/gtest.h>

#include "core/base/global_options.h"
#include "core/formula/eval_state.h"

namespace {

class GoToTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    ASSERT_TRUE(book.NewDocument());
    // \Worksheet1, \Costs, \Costs\May, \Costs\Plans (a folder), \Costs\Plans\Q1
    costs = NewFolderItem("Costs", 1);
    book.InsertItems(costs, nullptr);
    may = NewWorksheet("May", 1);
    book.InsertItems(may, costs);
    CWorkSheetTree::CTreeItem* plans = NewFolderItem("Plans", 1);
    book.InsertItems(plans, costs);
    q1 = NewWorksheet("Q1", 1);
    book.InsertItems(q1, plans);
  }
  void TearDown() override { ResetGlobalOptions(); }

  CWorkBook book;
  CWorkSheetTree::CTreeItem* costs = nullptr;
  CWorkSheet* may = nullptr;
  CWorkSheet* q1 = nullptr;
};

TEST_F(GoToTargetTest, WorksheetPathsAreAbsoluteOrRelativeToTheActiveFolder) {
  CWorkSheet* first = book.activeWorksheet;
  EXPECT_EQ(first, FindGoToWorksheet(&book, "\\Worksheet1"));
  EXPECT_EQ(may, FindGoToWorksheet(&book, "\\costs\\MAY"));
  EXPECT_EQ(may, FindGoToWorksheet(&book, "Costs\\May"));
  EXPECT_EQ(nullptr, FindGoToWorksheet(&book, "May"));
  // Folders are no place to go to.
  EXPECT_EQ(nullptr, FindGoToWorksheet(&book, "\\Costs"));
  EXPECT_EQ(nullptr, FindGoToWorksheet(&book, "\\Costs\\Plans"));
  book.activeWorksheet = may;
  EXPECT_EQ(q1, FindGoToWorksheet(&book, "Plans\\Q1"));
  EXPECT_EQ(first, FindGoToWorksheet(&book, "\\Worksheet1"));
  EXPECT_EQ(nullptr, FindGoToWorksheet(&book, "Nowhere"));
}

TEST_F(GoToTargetTest, ReferencesBecomeTheCellsToSelect) {
  struct Case {
    bool a1;
    const char* text;
    bool valid;
    SelectionRange range;
  };
  const Case cases[] = {
      {true, "B2", true, {1, 1, 1, 1}},
      {true, "$C$3:a1", true, {0, 0, 2, 2}},
      {true, "B:D", true, {1, 0, 3, kMaxRow}},
      {true, "3:5", true, {0, 2, kMaxColumn, 4}},
      {true, "B2  -  a bookmark", true, {1, 1, 1, 1}},
      {true, "R2C2", false, {}},
      {true, "", false, {}},
      {true, "B0", false, {}},
      {false, "R2C3:R4C5", true, {2, 1, 4, 3}},
      {false, "C2", true, {1, 0, 1, kMaxRow}},
      {false, "B2", false, {}},
  };
  EvalState state(&book, &book.activeWorksheet->cells);
  state.resolveSheet = ResolveWorkbookSheet;
  for (const Case& c : cases) {
    AddressingA1 = c.a1 ? 1 : 0;
    SelectionRange range{9, 9, 9, 9};
    EXPECT_EQ(c.valid, ParseGoToReference(state, c.text, &range)) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(c.range.firstColumn, range.firstColumn) << c.text;
    EXPECT_EQ(c.range.firstRow, range.firstRow) << c.text;
    EXPECT_EQ(c.range.lastColumn, range.lastColumn) << c.text;
    EXPECT_EQ(c.range.lastRow, range.lastRow) << c.text;
  }
}

}  // namespace
