// Quick-statistics formulas placed beside and below the selected numbers.

#include "app/document/quick_statistics.h"

#include <gtest/gtest.h>

#include <string>

#include "core/eval_test_cells.h"
#include "core/fake_text_measurer.h"
#include "core/generic_locale_test.h"
#include "core/workbook/workbook.h"
#include "resources/resource_ids.h"

namespace {

class QuickStatisticsTest : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }
  // The formula of a cell as the user reads it, or "" without one.
  std::string Formula(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    if (!cell || !cell->IsFormula()) return "";
    char text[512] = {};
    sheet->GetCellText(&book, text, sizeof text, column, column, row, row, false, false);
    return text;
  }
  void FillNumbers(uint16_t columns, uint32_t rows) {
    for (uint16_t column = 0; column < columns; ++column)
      for (uint32_t row = 0; row < rows; ++row) PutNumber(sheet->cells, column, row, 1 + column + 10.0 * row);
  }

  CWorkBook book;
  CWorkSheet* sheet = nullptr;
  FakeTextMeasurer measurer;
};

// A1:C3 with column C and row 3 empty: sums beside each row, below each
// column, and of the whole block in the corner, all in one undo step.
TEST_F(QuickStatisticsTest, SumsBesideBelowAndInTheCorner) {
  FillNumbers(2, 2);
  const int32_t steps = book.undoHistory.Current();
  ASSERT_EQ(EnterQuickStatistics(&book, measurer.Measurer(), ID_STAT_SUM, CellRange{0, 0, 2, 2}, true),
            kQuickStatisticsWritten);
  EXPECT_EQ(Formula(0, 2), "=sum(A1:B1)");
  EXPECT_EQ(Formula(1, 2), "=sum(A2:B2)");
  EXPECT_EQ(Formula(2, 0), "=sum(A1:A2)");
  EXPECT_EQ(Formula(2, 1), "=sum(B1:B2)");
  EXPECT_EQ(Formula(2, 2), "=sum(A1:B2)");
  EXPECT_EQ(book.undoHistory.Current(), steps + 1);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(sheet->cells.GetCell(2, 2), nullptr);
  EXPECT_EQ(sheet->cells.GetCell(0, 2), nullptr);
}

// Which results a selection gets depends on its empty last column and row.
TEST_F(QuickStatisticsTest, PlacementFollowsTheEmptyLastColumnAndRow) {
  FillNumbers(3, 3);  // A1:C3 full
  const struct {
    CellRange selection;
    bool rows;
    bool columns;
    uint64_t count;
  } cases[] = {
      {{0, 0, 3, 2}, true, false, 3},   // D empty: beside each row
      {{0, 0, 2, 3}, false, true, 3},   // row 4 empty: below each column
      {{0, 0, 3, 3}, true, true, 7},    // both: 3 + 3 + the corner
      {{0, 0, 2, 2}, false, false, 0},  // both full: nothing
      {{0, 0, 0, 3}, false, true, 1},   // one column: no row results
  };
  for (const auto& c : cases) {
    const QuickStatisticsPlan plan = PlanQuickStatistics(book, c.selection);
    EXPECT_EQ(plan.rows, c.rows);
    EXPECT_EQ(plan.columns, c.columns);
    EXPECT_EQ(QuickStatisticTargetCount(c.selection, plan), c.count);
  }
  EXPECT_EQ(EnterQuickStatistics(&book, measurer.Measurer(), ID_STAT_SUM, CellRange{0, 0, 2, 2}, true),
            kQuickStatisticsNothing);
}

// With a comma as the decimal separator the arguments are parted by the
// region's list separator, so every template is read as a formula.
TEST_F(QuickStatisticsTest, TemplatesParseUnderACommaDecimalRegion) {
  UseCommaDecimals();
  FillNumbers(2, 1);
  const uint32_t commands[] = {ID_STAT_SUM,          ID_STAT_MEAN,           ID_STAT_COUNT,
                               ID_STAT_MIN,          ID_STAT_MAX,            ID_STAT_SUM_POSITIVE,
                               ID_STAT_SUM_NEGATIVE, ID_STAT_SUM_SQUARES,    ID_STAT_SUM_SQUARED_DEVIATIONS,
                               ID_STAT_HARMONIC_MEAN, ID_STAT_GEOMETRIC_MEAN, ID_STAT_COUNT_POSITIVE,
                               ID_STAT_COUNT_NEGATIVE, ID_STAT_MODE,          ID_STAT_QUARTILE_1,
                               ID_STAT_QUARTILE_2,   ID_STAT_QUARTILE_3,     ID_STAT_COUNT_ZEROS};
  for (uint32_t command : commands) {
    sheet->cells.DeleteRange(2, 2, 0, 0, nullptr, true);
    ASSERT_EQ(EnterQuickStatistics(&book, measurer.Measurer(), command, CellRange{0, 0, 2, 0}, true),
              kQuickStatisticsWritten)
        << command;
    EXPECT_NE(Formula(0, 2), "") << command;
  }
  EXPECT_EQ(Formula(0, 2), "=countIf(A1:B1; 0)");
  sheet->cells.DeleteRange(2, 2, 0, 0, nullptr, true);
  ASSERT_EQ(EnterQuickStatistics(&book, measurer.Measurer(), ID_STAT_SUM_POSITIVE, CellRange{0, 0, 2, 0}, true),
            kQuickStatisticsWritten);
  EXPECT_EQ(Formula(0, 2), "=sumIf(A1:B1; \">0\";)");
}

// In R1C1 addressing the reference is relative to the result cell.
TEST_F(QuickStatisticsTest, ReferencesAreRelativeToTheResultCell) {
  AddressingA1 = 0;
  FillNumbers(2, 2);
  ASSERT_EQ(EnterQuickStatistics(&book, measurer.Measurer(), ID_STAT_MAX, CellRange{0, 0, 2, 1}, true),
            kQuickStatisticsWritten);
  EXPECT_EQ(Formula(1, 2), "=max(RC[-2]:RC[-1])");
}

}  // namespace
