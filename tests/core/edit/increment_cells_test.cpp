#include "core/edit/increment_cells.h"

#include <gtest/gtest.h>

#include <string>

#include "core/eval_test_cells.h"
#include "core/sheet_bytes.h"
#include "core/workbook/workbook.h"

namespace {

class IncrementCellsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }
  // A cell as text: "n:<number>", "t:<text>", "f:<formula>" or "" for none.
  std::string At(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    if (!cell) return "";
    if (cell->IsNumber()) return "n:" + std::to_string(cell->Number());
    if (cell->IsText()) return "t:" + std::string(cell->Text(), cell->TextLength());
    return "f:" + std::string(cell->FormulaText(), cell->FormulaLength());
  }

  CWorkBook book;
  CWorkSheet* sheet = nullptr;
};

// One step up or down per cell, by the kind of what the cell holds; what is
// no number or ISO date, time or date-time stays.
TEST_F(IncrementCellsTest, StepsNumbersDatesAndTimesAndLeavesTheRest) {
  const struct {
    const char* text;  // null: a number
    double number;
    const char* up;
    const char* down;
  } cases[] = {
      {nullptr, 4.5, "n:5.500000", "n:3.500000"},
      {"2009-01-31", 0, "t:2009-02-01", "t:2009-01-30"},
      {"2009-01-31T23:30:00", 0, "t:2009-02-01T00:30:00", "t:2009-01-31T22:30:00"},
      {"2008-03-01", 0, "t:2008-03-02", "t:2008-02-29"},
      {"00:15:00", 0, "t:01:15:00", "t:23:15:00"},
      {"0001-01-01", 0, "t:0001-01-02", "t:0001-01-01"},  // no day before the calendar
      {"not a date", 0, "t:not a date", "t:not a date"},
  };
  for (bool up : {true, false}) {
    uint32_t row = 0;
    for (const auto& c : cases) {
      if (c.text)
        PutText(sheet->cells, 0, row, c.text);
      else
        PutNumber(sheet->cells, 0, row, c.number);
      ++row;
    }
    PutNumber(sheet->cells, 1, 0, 7, kErrorNA);  // an error constant stays
    PutFormula(sheet->cells, 1, 1, "=1", 1, nullptr, 0, true);
    uint32_t changed = 0;
    ASSERT_TRUE(IncrementCells(&book, CellRange{0, 0, 1, row}, up, &changed));
    EXPECT_EQ(changed, up ? 6u : 5u);
    row = 0;
    for (const auto& c : cases) EXPECT_EQ(At(row++, 0), up ? c.up : c.down) << (c.text ? c.text : "number");
    EXPECT_EQ(At(1, 1), "f:=1");
    sheet->cells.DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, true);
  }
}

// The cells changed are one undo step, which puts every byte back; a
// selection with nothing to step records none.
TEST_F(IncrementCellsTest, OneUndoStepRestoresEveryCell) {
  PutNumber(sheet->cells, 1, 1, 1);
  PutNumber(sheet->cells, 2, 1, 2);
  PutText(sheet->cells, 1, 2, "2009-12-31");
  PutText(sheet->cells, 4, 4, "outside");
  const std::string before = SheetBytes(sheet);
  const int32_t steps = book.undoHistory.Current();
  uint32_t changed = 0;
  ASSERT_TRUE(IncrementCells(&book, CellRange{0, 0, 3, 3}, true, &changed));
  EXPECT_EQ(changed, 3u);
  EXPECT_EQ(At(2, 1), "t:2010-01-01");
  EXPECT_EQ(book.undoHistory.Current(), steps + 1);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(SheetBytes(sheet), before);
  EXPECT_TRUE(sheet->cells.CheckInvariants());

  ASSERT_TRUE(IncrementCells(&book, CellRange{5, 5, 9, 9}, false, &changed));
  EXPECT_EQ(changed, 0u);
  EXPECT_EQ(book.undoHistory.Current(), steps);
  EXPECT_TRUE(book.undoHistory.CheckInvariants());
}

}  // namespace
