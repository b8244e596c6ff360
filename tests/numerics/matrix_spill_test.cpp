#include <gtest/gtest.h>

#include <string>

#include "numerics/numeric_function_table.h"
#include "tests/core/recalc_test_book.h"

namespace {

// Matrix and array results spill from their formula's cell in their own
// shape, and formulas reading the spilled cells see their values.
class MatrixSpill : public RecalcTestBook {
 protected:
  void SetUp() override {
    RecalcTestBook::SetUp();
    ASSERT_TRUE(InstallFunctionLibrary());
  }
};

TEST_F(MatrixSpill, ResultsTakeTheirShapeOnTheSheet) {
  SetFormula("A1", "=MINVERSE({2,0;0,4})");
  SetFormula("D1", "=MTXT({1,2,3})");
  SetFormula("F1", "=SORT({30;10;20},1,1)");
  SetFormula("H1", "=MTXSVD({1,2;2,3;7,1},,,6)");
  SetFormula("A5", "=SUM(A1:B2)+SUM(D1:D3)");
  ASSERT_TRUE(Recalculate(nullptr));
  const std::pair<const char*, const char*> kShown[] = {
      {"A1", "0.5"}, {"B1", "0"}, {"A2", "0"}, {"B2", "0.25"}, {"C1", "-"}, {"A3", "-"},
      {"D1", "1"}, {"D2", "2"}, {"D3", "3"}, {"E1", "-"}, {"D4", "-"},
      {"F1", "2"}, {"F2", "3"}, {"F3", "1"}, {"F4", "-"},
      {"H1", "7.68114574786861"}, {"I2", "3"}, {"I3", "0"}, {"J1", "-"}, {"H4", "-"},
      {"A5", "6.75"},
  };
  for (const auto& shown : kShown) EXPECT_EQ(Shown(shown.first), shown.second) << shown.first;
  ExpectAllCalculated(*first);
}

// Functions read a result's area, filled or not, only once its formula is
// calculated: here F2's result comes back by an undo that restores its
// formula alone, without the values it spilled.
TEST_F(MatrixSpill, FunctionsReadAResultOnlyOnceItsFormulaIsCalculated) {
  Type("F2", "={1;2;3}");
  SetFormula("A1", "=SUM(F3:F4)");
  SetFormula("B1", "=MMULT({1,1},F3:F4)");
  SetFormula("C1", "=ABS(F3:F4)");
  SetFormula("D1", "=F4");
  SetFormula("E1", "=MATCH(3,F3:F4,0)");
  ASSERT_TRUE(Recalculate(nullptr));
  Type("F2", "=1");
  ASSERT_TRUE(Recalculate(nullptr));
  ASSERT_EQ(Shown("A1"), "0");
  ASSERT_TRUE(book.UndoStep());
  ASSERT_TRUE(Recalculate(nullptr));
  const std::pair<const char*, const char*> kShown[] = {
      {"A1", "5"}, {"B1", "5"}, {"C1", "2"}, {"C2", "3"}, {"D1", "3"}, {"E1", "2"}, {"F4", "3"},
  };
  for (const auto& shown : kShown) EXPECT_EQ(Shown(shown.first), shown.second) << shown.first;
  ExpectAllCalculated(*first);
}

}  // namespace
