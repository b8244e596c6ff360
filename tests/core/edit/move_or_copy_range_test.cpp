#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/allocation_limit.h"
#include "core/edit/move_or_copy_range.h"
#include "core/eval_test_cells.h"
#include "core/fake_text_measurer.h"
#include "core/sheet_bytes.h"
#include "core/workbook/workbook.h"

namespace {

class MoveOrCopyRangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
    red = AddColoredStyle(0x0000FF);
  }
  void PutNumber(uint32_t row, uint16_t column, double value) { ::PutNumber(sheet->cells, column, row, value); }
  void PutFormula(uint32_t row, uint16_t column, const std::string& text) {
    ::PutFormula(sheet->cells, column, row, text.c_str(), 0.0, nullptr, 0, false);
  }
  uint16_t AddColoredStyle(uint32_t color) {
    StyleRecord record = StyleRecord::Default();
    record.fontColorSet = 1;
    record.fontColor = color;
    uint16_t index = 0;
    EXPECT_TRUE(book.styles.FindOrAddStyle(record, &index));
    return index;
  }
  std::string Contents() { return SheetCellsAndRuns(sheet); }
  double NumberAt(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsNumber() ? cell->Number() : -1.0;
  }
  std::string FormulaAt(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "(none)";
  }
  void ExpectSound() {
    EXPECT_TRUE(sheet->cells.CheckInvariants());
    EXPECT_TRUE(sheet->format.CheckInvariants());
    EXPECT_TRUE(book.undoHistory.CheckInvariants());
  }
  // A1 = 1, B1 = "=R[1]C" red, A2 = 2, B2 = 3; E5 = 99 lies under the target.
  void FillBlock() {
    PutNumber(0, 0, 1);
    PutFormula(0, 1, "=R[1]C");
    PutNumber(1, 0, 2);
    PutNumber(1, 1, 3);
    PutNumber(4, 4, 99);
    ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{1, 1, 0, red}, nullptr));
  }

  CWorkBook book;
  CWorkSheet* sheet = nullptr;
  FakeTextMeasurer measurer;
  uint16_t red = 0;
};

TEST_F(MoveOrCopyRangeTest, MoveCarriesValuesFormulasAndStylesInOneUndoStep) {
  FillBlock();
  const std::string before = Contents();
  ASSERT_TRUE(MoveOrCopyRange(&book, measurer.Measurer(), CellRange{0, 0, 1, 1}, CellRange{3, 3, 4, 4}, false));
  EXPECT_EQ(0, book.undoHistory.Current());
  EXPECT_EQ(1.0, NumberAt(3, 3));
  EXPECT_EQ("=R[1]C", FormulaAt(3, 4));
  EXPECT_EQ(2.0, NumberAt(4, 3));
  EXPECT_EQ(3.0, NumberAt(4, 4));  // the 99 under the target is pasted over
  EXPECT_EQ(red, sheet->format.CellStyle(3, 4));
  EXPECT_EQ(nullptr, sheet->cells.GetCell(0, 0));
  EXPECT_EQ(nullptr, sheet->cells.GetCell(0, 1));
  EXPECT_EQ(0, sheet->format.CellStyle(0, 1));
  ExpectSound();
  const std::string moved = Contents();

  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(before, Contents());
  ASSERT_TRUE(book.RedoStep());
  EXPECT_EQ(moved, Contents());
  ExpectSound();
}

TEST_F(MoveOrCopyRangeTest, CopyLeavesTheSourceAndRecordsOneStep) {
  FillBlock();
  const std::string before = Contents();
  ASSERT_TRUE(MoveOrCopyRange(&book, measurer.Measurer(), CellRange{0, 0, 1, 1}, CellRange{3, 3, 4, 4}, true));
  EXPECT_EQ(0, book.undoHistory.Current());
  EXPECT_EQ(1.0, NumberAt(0, 0));
  EXPECT_EQ("=R[1]C", FormulaAt(0, 1));
  EXPECT_EQ(red, sheet->format.CellStyle(0, 1));
  EXPECT_EQ("=R[1]C", FormulaAt(3, 4));
  EXPECT_EQ(red, sheet->format.CellStyle(3, 4));
  ExpectSound();
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(before, Contents());
}

// Dragging a block by one row: the snapshot is taken before the source is
// emptied, so the rows the two share keep what moved into them.
TEST_F(MoveOrCopyRangeTest, BlockMovedDownByOneRowOverlappingItself) {
  FillBlock();
  PutNumber(2, 0, 5);  // A3, under the moved block's last row
  const std::string before = Contents();
  ASSERT_TRUE(MoveOrCopyRange(&book, measurer.Measurer(), CellRange{0, 0, 1, 1}, CellRange{0, 1, 1, 2}, false));
  EXPECT_EQ(nullptr, sheet->cells.GetCell(0, 0));
  EXPECT_EQ(0, sheet->format.CellStyle(0, 1));
  EXPECT_EQ(1.0, NumberAt(1, 0));
  EXPECT_EQ("=R[1]C", FormulaAt(1, 1));
  EXPECT_EQ(red, sheet->format.CellStyle(1, 1));
  EXPECT_EQ(2.0, NumberAt(2, 0));
  EXPECT_EQ(3.0, NumberAt(2, 1));
  ExpectSound();
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(before, Contents());
}

// Whatever allocation fails (the snapshot, the step, the backup, the
// pasted target), the worksheet and the history stay as they were.
TEST_F(MoveOrCopyRangeTest, RunningOutOfMemoryChangesNothingAndLeavesNoStep) {
  // Cells right of the block fill the blocks, so that the target needs new ones.
  for (uint32_t row = 0; row < 20; ++row)
    for (uint16_t column = 0; column < 60; ++column) PutNumber(row, column, row * 100.0 + column);
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{0, 9, 3, red}, nullptr));
  for (const bool copy : {true, false}) {
    SCOPED_TRACE(copy ? "copy" : "move");
    const std::string before = Contents();
    bool done = false;
    int failures = 0;
    for (int granted = 0; granted < 200 && !done; ++granted) {
      SCOPED_TRACE("blocks granted " + std::to_string(granted));
      {
        AllocationLimit limit(granted);
        done = MoveOrCopyRange(&book, measurer.Measurer(), CellRange{0, 0, 39, 19}, CellRange{5, 40, 44, 59}, copy);
      }
      ExpectSound();
      if (done) break;
      ++failures;
      ASSERT_EQ(kWorkbookOutOfMemory, book.error);
      ASSERT_EQ(-1, book.undoHistory.Current());
      ASSERT_EQ(before, Contents());
    }
    ASSERT_TRUE(done);
    EXPECT_GT(failures, 4);
    EXPECT_EQ(3 * 100.0 + 9, NumberAt(43, 14));
    EXPECT_EQ(red, sheet->format.CellStyle(43, 14));
    ASSERT_TRUE(book.UndoStep());
    ASSERT_EQ(before, Contents());
  }
}

TEST_F(MoveOrCopyRangeTest, RefusesARangeOffTheGrid) {
  FillBlock();
  const std::string before = Contents();
  EXPECT_FALSE(MoveOrCopyRange(&book, measurer.Measurer(), CellRange{0, 0, 1, 1},
                               CellRange{kMaxColumn, 0, kMaxColumn + 1, 1}, false));
  EXPECT_EQ(kWorkbookInvalidCacheIndex, book.error);
  EXPECT_EQ(before, Contents());
  EXPECT_EQ(-1, book.undoHistory.Current());
}

}  // namespace
