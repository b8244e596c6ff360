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
    ASSERT_TRUE(InstallNumericFunctionHandlers());
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

}  // namespace
