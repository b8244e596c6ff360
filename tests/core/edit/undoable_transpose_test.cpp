#include "core/edit/undoable_transpose.h"

#include <gtest/gtest.h>

#include <string>

#include "core/eval_test_cells.h"
#include "core/sheet_bytes.h"
#include "core/workbook/workbook.h"

namespace {

class UndoableTransposeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }
  std::string FormulaAt(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "(none)";
  }

  CWorkBook book;
  CWorkSheet* sheet = nullptr;
};

// One step holds the block, its transposed place and the formula far away
// that the transposition rewrote: one undo gives all of them back.
TEST_F(UndoableTransposeTest, OneUndoStepPutsBackBlockTargetAndRewrittenFormulas) {
  for (uint16_t column = 0; column < 3; ++column) PutNumber(sheet->cells, column, 0, column + 1.0);
  PutNumber(sheet->cells, 0, 2, 9);  // lies where the block goes
  PutFormula(sheet->cells, 10, 20, "=R[-20]C[-8]", 3, nullptr, 0, true);  // C1, far away
  const std::string before = SheetBytes(sheet);
  const int32_t steps = book.undoHistory.Current();
  ASSERT_TRUE(TransposeRangeWithUndo(&book, CellRange{0, 0, 2, 0}));
  EXPECT_EQ(book.undoHistory.Current(), steps + 1);
  EXPECT_EQ(FormulaAt(20, 10), "=R[-18]C[-10]");  // now A3
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(SheetBytes(sheet), before);

  // A block too long to turn leaves no step.
  EXPECT_FALSE(TransposeRangeWithUndo(&book, CellRange{kMaxColumn - 1, 0, kMaxColumn, 2}));
  EXPECT_EQ(book.error, kWorkbookNoRoomForColumns);
  EXPECT_EQ(book.undoHistory.Current(), steps);
}

}  // namespace
