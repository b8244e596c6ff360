#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"

namespace {

struct Case {
  const char* formula;  // display form, evaluated in Z100
  double number;        // when error is 0
  uint8_t error;
};

// Sheet cells:
//   A1 1, A2 "abc", A3 a number carrying "#DIV/0!"
//   B1 "4.5", B2 5.6
//   D1:E2 the texts abcde, def / abc, a
//   F1 and F2 numbers carrying "#N/A!", F3 1
//   G1:G3 2, 3, 4
//   H1 3 (I1 absent)
//   J1:S10 the numbers 1, 2, 3 in J1, K2, L3 and a formula with an empty text in M4
class SumsCountsProducts : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
    PutNumber(sheet, 0, 0, 1);
    PutText(sheet, 0, 1, "abc");
    PutNumber(sheet, 0, 2, 7, kErrorDivZero);
    PutText(sheet, 1, 0, "4.5");
    PutNumber(sheet, 1, 1, 5.6);
    PutText(sheet, 3, 0, "abcde");
    PutText(sheet, 4, 0, "def");
    PutText(sheet, 3, 1, "abc");
    PutText(sheet, 4, 1, "a");
    PutNumber(sheet, 5, 0, 0, kErrorNA);
    PutNumber(sheet, 5, 1, 0, kErrorNA);
    PutNumber(sheet, 5, 2, 1);
    PutNumber(sheet, 6, 0, 2);
    PutNumber(sheet, 6, 1, 3);
    PutNumber(sheet, 6, 2, 4);
    PutNumber(sheet, 7, 0, 3);
    PutNumber(sheet, 9, 0, 1);
    PutNumber(sheet, 10, 1, 2);
    PutNumber(sheet, 11, 2, 3);
    PutFormula(sheet, 12, 3, "=\"\"", 0, "", 0, true);
  }
  void TearDown() override { ResetGlobalOptions(); }

  void Check(const Case& c) {
    SCOPED_TRACE(c.formula);
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, c.formula);
    ASSERT_TRUE(state.TranslateFormula(text, sizeof text, 25, 99, true));
    const uint32_t kind = state.Evaluate(text, 25, 99);
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << message;
    const EvalValue& result = state.operands[1];
    if (c.error == kErrorSyntax) {
      EXPECT_EQ(kind, 0u);
      return;
    }
    ASSERT_EQ(kind, uint32_t(kEvalNumber));
    EXPECT_EQ(ErrorName(static_cast<uint8_t>(result.error)), std::string(ErrorName(c.error)));
    if (c.error == kErrorNone) {
      EXPECT_DOUBLE_EQ(result.number, c.number);
    }
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(SumsCountsProducts, SumProductAndSumOfSquares) {
  const Case cases[] = {
      {"=sum(3, 4, {1, 5})", 13, 0},
      {"=sum(true, 1)", 2, 0},
      {"=sumSq(3, 4, {1, 5})", 51, 0},
      {"=product(3, 4, {1, 5})", 60, 0},
      {"=sum(1,,2)", 3, 0},
      {"=product(2,,3)", 6, 0},
      {"=sum(\"12\", A1)", 13, 0},
      {"=sum(Z99)", 0, 0},
      // Range cells that are no numbers: SUM skips them, the others pass
      // the largest error on ("abc" gives #NUM!, above #DIV/0!).
      {"=sum(A1:A3)", 1, 0},
      {"=product(A1:A3)", 0, kErrorNum},
      {"=sumSq(A1:A3)", 0, kErrorNum},
      {"=product(A1, A3:A3)", 0, kErrorDivZero},
      {"=sum(\"abc\")", 0, kErrorNum},
      {"=sum(A3)", 0, kErrorDivZero},
      {"=sum(A3, \"abc\")", 0, kErrorNum},
      {"=sum(F1, 1)", 0, kErrorNA},
      {"=sum(1e308, 1e308)", 0, kErrorNum},
      {"=product(1e200, 1e200)", 0, kErrorNum},
      {"=product(1e-200, 1e-200)", 0, 0},  // underflows to 0, which is no bad number
      {"=product(1e-160, 1e-160)", 0, kErrorNum},
      {"=sum(G1:G3, {1;2})", 12, 0},
      {"=sum()", 0, kErrorSyntax},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(SumsCountsProducts, SumProductMultipliesElementWise) {
  const Case cases[] = {
      {"=sumProduct({1,3}, {2,4})", 14, 0},
      {"=sumProduct({1;2;3})", 6, 0},
      {"=sumProduct({1,2;3,4}, {1,2;3,4}, {2,2;2,2})", 60, 0},
      {"=sumProduct({1,3}, 5)", 0, kErrorValue},
      {"=sumProduct({1,3},)", 0, kErrorValue},
      {"=sumProduct({1,2}, {1,2,3})", 0, kErrorValue},
      // Cells that are no numbers count as 0; absent cells give nothing.
      {"=sumProduct(A1:A3, G1:G3)", 2, 0},
      {"=sumProduct(H1:I1, {5,6})", 15, 0},
      {"=sumProduct({1e300,1}, {1e300,1})", 0, kErrorNum},
      {"=sumProduct({1,2},{1,2},{1,2},{1,2},{1,2},{1,2},{1,2},{1,2},{1,2},{1,2},{1,2},{1,2})", 4097, 0},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(SumsCountsProducts, SumsOverPairedCells) {
  const Case cases[] = {
      {"=sumX2mY2({2,5}, {6,1})", -8, 0},
      {"=sumX2pY2({2,5}, {6,1})", 66, 0},
      {"=sumXmY2({2,5}, {6,1})", 32, 0},
      // I1 is absent: H1 pairs with 1, 2 pairs with nothing.
      {"=sumX2pY2(H1:I1, {1,2})", 14, 0},
      {"=sumXmY2({1;2;3}, A1:A3)", 0, kErrorNum},
      {"=sumX2mY2(1, {1})", 0, kErrorValue},
      {"=sumX2mY2({1},)", 0, kErrorValue},
      {"=sumX2mY2({1})", 0, kErrorSyntax},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(SumsCountsProducts, Counts) {
  const Case cases[] = {
      {"=count({1, 3, \"abc\"}, {\"4.5\", 5.6})", 4, 0},
      {"=count(A1:A3, B1:B2)", 4, 0},  // the number carrying an error counts
      {"=count(\"12\", \"x\", A1, Z99,)", 2, 0},
      {"=countA(A1:A3, B1:B2)", 5, 0},
      {"=countA(1,, Z99, \"\")", 2, 0},
      {"=countA(J1:S10)", 4, 0},
      {"=countBlank(J1:S10)", 97, 0},
      {"=countBlank({1, 2, 3}, \"\", Z99,,)", 4, 0},
      {"=countBlank(A1)", 0, 0},
      {"=countBlank({1,2,3,,}, {\"\"},,)", 5, 0},
      {"=countA({1, 3, \"abc\"}, {\"4.5\", 5.6,,})", 5, 0},
      {"=countBlank(F1)", 0, 0},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(SumsCountsProducts, CountIfAndSumIf) {
  const Case cases[] = {
      {"=countIf({1,2;3,4}, \">2\")", 2, 0},
      {"=countIf(D1:E2, \"?bc*\")", 2, 0},
      {"=countIf({\"ABcde\",\"def\";\"Bc\",\"a\"}, \">=bc\")", 2, 0},
      {"=countIf({2,\"2\",3}, 2)", 2, 0},
      {"=countIf(F1:F3, F1)", 2, 0},
      {"=countIf(D1:E2, \"<>abc\")", 3, 0},
      {"=countIf(D1:E2, \"<>?bc*\")", 2, 0},
      {"=countIf({1,2;-3,2;4,5}, \"<>2\")", 4, 0},
      {"=countIf({1,2;3,4}, \"<>\")", 4, 0},  // not equal to the empty text
      {"=sumIf({1,2;-3,2}, \"<>2\",)", -2, 0},
      {"=countIf(D1:E2, \"*\")", 4, 0},
      {"=countIf(G1:G3, \"<=3\")", 2, 0},
      {"=countIf(G1:G3, \"=3\")", 1, 0},
      {"=countIf(1, 1)", 0, kErrorValue},
      {"=sumIf({1,2;3,2}, 2,)", 4, 0},
      {"=sumIf({\"abcde\",\"def\";\"abc\",\"a\"}, \"?bc*\", {2,4;3,1})", 5, 0},
      {"=sumIf({\"ABcde\",\"def\";\"Bc\",\"a\"}, \">=bc\", {2,4;3,1})", 7, 0},
      {"=sumIf(H1:I1, 0, {5,6})", 6, 0},  // the absent search cell reads as 0
      {"=sumIf(G1:G3, \">2\", A1:A3)", 0, 0},  // the unreadable sum cells are skipped
      {"=sumIf(G1:G3, \">1\", {1;2;3})", 6, 0},
      {"=sumIf(G1:G3, F1, {1;2;3})", 0, kErrorNA},
      {"=sumIf(G1:G3, 2)", 0, kErrorSyntax},
  };
  for (const Case& c : cases) Check(c);
}

// A range argument that carries an error keeps it, whatever kind the
// function expects there.
TEST_F(SumsCountsProducts, ArgumentErrorsComeBeforeKindErrors) {
  const Case cases[] = {
      {"=sum(0:0)", 0, kErrorRef},
      {"=countIf(0:0, 1)", 0, kErrorRef},
      {"=sumIf(0:0, 1,)", 0, kErrorRef},
      {"=sumIf(G1:G3, 1, 0:0)", 0, kErrorRef},
      {"=sumProduct(0:0)", 0, kErrorRef},
      {"=sumProduct(G1:G3, 0:0)", 0, kErrorRef},
      {"=sumX2mY2(0:0, 1:1)", 0, kErrorRef},
      {"=sumXmY2(G1:G3, 0:0)", 0, kErrorRef},
      {"=sumX2pY2(0:0, 5)", 0, kErrorValue},  // the larger of the two errors
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(SumsCountsProducts, IntegerAggregatesAndPi) {
  const Case cases[] = {
      {"=gcd(32, 24)", 8, 0},
      {"=gcd({24,64,32}, 128)", 8, 0},
      {"=gcd(0)", 0, kErrorNum},
      {"=gcd(0, 12)", 12, 0},
      {"=gcd(1.6, 4)", 2, 0},  // values are rounded
      {"=gcd(A3, 4)", 0, kErrorDivZero},
      {"=lcm(8, 7)", 56, 0},
      {"=lcm({16, 44, 32}, 11)", 352, 0},
      {"=lcm(0, 3)", 0, kErrorValue},
      {"=lcm(-4, 6)", 12, 0},
      {"=lcm(46340, 46341)", 2147441940, 0},
      {"=lcm(65536, 65537)", 0, kErrorNum},
      {"=lcm(65536, 65537, 0)", 0, kErrorValue},
      {"=multinomial(2, 3, 4)", 1260, 0},
      {"=multinomial(0, 2)", 0, kErrorNum},
      {"=multinomial(170, 1)", 0, kErrorNum},
      {"=multinomial(2000000000)", 0, kErrorNum},
      {"=multinomial(3)", 1, 0},
      {"=pi()", 3.141592653589793, 0},
      {"=pi(1)", 0, kErrorSyntax},
  };
  for (const Case& c : cases) Check(c);
}

// Ranges read formula cells that a pass has not calculated yet: the reading
// formula waits for them, on whichever worksheet they lie.
TEST(SumsInRecalculation, RangesWaitForTheFormulasTheyCover) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet* other = NewWorksheet("Data", 1);
  ASSERT_NE(other, nullptr);
  book.InsertItems(other, nullptr);
  CellStore& sheet = book.activeWorksheet->cells;
  const auto put = [&](CellStore& store, uint16_t column, uint32_t row, const char* display) {
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, display);
    book.evaluator.sheet = &store;
    ASSERT_TRUE(book.evaluator.TranslateFormula(text, sizeof text, column, row, true)) << display;
    PutFormula(store, column, row, text, 0, nullptr, 0, false);
  };
  put(sheet, 0, 0, "=sum(A2:A4, Data!A1:A2)");   // 1 + 2 + 3 + 10 + 20
  put(sheet, 0, 1, "=A3-1");
  put(sheet, 0, 2, "=A4-1");
  put(sheet, 0, 3, "=3");
  put(sheet, 1, 0, "=countIf(A1:A4, \">2\")");  // A1 = 36 and A4 = 3
  put(sheet, 2, 0, "=sumProduct(A2:A4, A2:A4)");  // 1 + 4 + 9
  put(sheet, 3, 0, "=sum(D2)");                  // reads a cycle
  put(sheet, 3, 1, "=sum(D1)");
  put(other->cells, 0, 0, "=A2/2");
  put(other->cells, 0, 1, "=20");
  ASSERT_TRUE(book.Recalculate(nullptr));
  const struct {
    uint16_t column;
    double number;
    uint8_t error;
  } expected[] = {{0, 36, 0}, {1, 2, 0}, {2, 14, 0}, {3, 0, kErrorCirc}};
  for (const auto& e : expected) {
    const CellRecord* cell = sheet.GetCell(0, e.column);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->ErrorCode(), e.error) << e.column;
    if (!e.error) {
      EXPECT_EQ(cell->CachedNumber(), e.number) << e.column;
    }
  }
  ResetGlobalOptions();
}

}  // namespace
