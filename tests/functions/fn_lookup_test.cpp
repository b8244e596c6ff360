#include <gtest/gtest.h>

#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"

namespace {

// Sheet cells, formulas evaluated in Z100:
//   A1:B5 1 "one", 4 "four", 2 "two", 5 "five", 3 "three" (unsorted keys)
//   D1:E4 "apple" 10, "Banana" 20, "cherry" 30, "bean" 40
//   G1:J2 10 30 20 40 / "a" "c" "b" "d"
//   M2 5, L1 a number carrying "#N/A!"
class LookupFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
    const double keys[] = {1, 4, 2, 5, 3};
    const char* const names[] = {"one", "four", "two", "five", "three"};
    for (uint32_t row = 0; row < 5; ++row) {
      PutNumber(sheet, 0, row, keys[row]);
      PutText(sheet, 1, row, names[row]);
    }
    const char* const fruits[] = {"apple", "Banana", "cherry", "bean"};
    for (uint32_t row = 0; row < 4; ++row) {
      PutText(sheet, 3, row, fruits[row]);
      PutNumber(sheet, 4, row, 10.0 * (row + 1));
    }
    const double across[] = {10, 30, 20, 40};
    const char* const letters[] = {"a", "c", "b", "d"};
    for (uint16_t column = 0; column < 4; ++column) {
      PutNumber(sheet, static_cast<uint16_t>(6 + column), 0, across[column]);
      PutText(sheet, static_cast<uint16_t>(6 + column), 1, letters[column]);
    }
    PutNumber(sheet, 11, 0, 0, kErrorNA);
    PutNumber(sheet, 12, 1, 5);
  }
  void TearDown() override { ResetGlobalOptions(); }

  void Check(std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases) EXPECT_EQ(EvaluateToText(state, c.formula, 25, 99), c.result) << c.formula;
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(LookupFunctions, VLookupSearchesTheFirstColumnInAnyOrder) {
  Check({
      {"=VLOOKUP(3,A1:B5,2,)", "\"three\""},
      {"=VLOOKUP(3.5,A1:B5,2,1)", "\"three\""},
      {"=VLOOKUP(4,A1:B5,2,-1)", "\"four\""},
      {"=VLOOKUP(4.5,A1:B5,2,-1)", "\"five\""},
      {"=VLOOKUP(1,A1:B5,2,0)", "\"one\""},
      {"=VLOOKUP(1,A1:B5,1,0)", "1"},
      {"=VLOOKUP(0.5,A1:B5,2,)", "#N/A!"},
      {"=VLOOKUP(6,A1:B5,2,-1)", "#N/A!"},
      {"=VLOOKUP(\"1\",A1:B5,2,0)", "#N/A!"},
      {"=VLOOKUP(\"b*\",D1:E4,2,0)", "20"},
      {"=VLOOKUP(\"BEAN\",D1:E4,2,0)", "40"},
      {"=VLOOKUP(\"c\",D1:E4,2,1)", "40"},
      {"=VLOOKUP(\"c\",D1:E4,2,-1)", "30"},
      {"=VLOOKUP(1,A1:C5,3,0)", "0"},
      {"=VLOOKUP(2,{1,\"a\";2,\"b\"},2,0)", "\"b\""},
      {"=VLOOKUP({1,2},A1:B5,2,0)", "{\"one\", \"two\"}"},
      {"=VLOOKUP(5,A1:B5,2,{0;-1})", "{\"five\"; \"five\"}"},
      {"=VLOOKUP(1,A1:B5,3,0)", "#REF!"},
      {"=VLOOKUP(1,A1:B5,0,0)", "#NUM!"},
      {"=VLOOKUP(1,A1:B5,2,2)", "#NUM!"},
      {"=VLOOKUP(1,A1,2,0)", "#VALUE!"},
      {"=VLOOKUP(1/0,A1:B5,2,0)", "#DIV/0!"},
      {"=VLOOKUP(L1,A1:B5,3,0)", "#N/A!"},
      {"=VLOOKUP(1,A1:B5,2)", "#SYNTAX!"},
      {"=VLOOKUP(1,A1:B5,2,0,0)", "#SYNTAX!"},
  });
}

TEST_F(LookupFunctions, HLookupLookupAndMatch) {
  Check({
      {"=HLOOKUP(25,G1:J2,2,)", "\"b\""},
      {"=HLOOKUP(30,G1:J2,2,0)", "\"c\""},
      {"=HLOOKUP(30,G1:J2,3,0)", "#REF!"},
      {"=HLOOKUP(5,G1:J2,2,)", "#N/A!"},
      {"=LOOKUP(4,A1:A5,B1:B5)", "\"four\""},
      {"=LOOKUP(7,A1:A5,B1:B5)", "#N/A!"},
      {"=LOOKUP(4.5,A1:B5)", "\"four\""},
      {"=LOOKUP(25,G1:J2)", "\"b\""},
      {"=LOOKUP(\"ch*\",D1:D4,E1:E4)", "30"},
      {"=LOOKUP(1)", "#SYNTAX!"},
      {"=MATCH(5,L1:N2,0)", "5"},
      {"=MATCH(3,A1:A5,)", "5"},
      {"=MATCH(3.9,A1:A5,1)", "5"},
      {"=MATCH(3.9,A1:A5,-1)", "2"},
      {"=MATCH(\"B*\",D1:D4,0)", "2"},
      {"=MATCH(9,A1:A5,0)", "#N/A!"},
      {"=MATCH({1,2},A1:A5,0)", "{1, 3}"},
      {"=MATCH(2,A1:A5,2)", "#NUM!"},
      {"=MATCH(2,A1:A5)", "#SYNTAX!"},
  });
}

TEST_F(LookupFunctions, AddressWritesOneCellReference) {
  Check({
      {"=ADDRESS(2,3,,,)", "\"R2C3\""},
      {"=ADDRESS(2,3,4,0,)", "\"C2\""},
      {"=ADDRESS(2,3,1,0,)", "\"$C$2\""},
      {"=ADDRESS(2,3,2,0,)", "\"C$2\""},
      {"=ADDRESS(2,3,3,0,)", "\"$C2\""},
      {"=ADDRESS(2,3,4,1,)", "\"R[-98]C[-23]\""},
      {"=ADDRESS(2,3,1,0,\"Sheet2\")", "\"Sheet2!$C$2\""},
      {"=ADDRESS(2,,1,1,)", "\"R2\""},
      {"=ADDRESS(,,,,)", "#VALUE!"},
      {"=ADDRESS(0,1,,,)", "#NUM!"},
      {"=ADDRESS(1,2048,,,)", "#NUM!"},
      {"=ADDRESS(1,1,5,,)", "#NUM!"},
      {"=ADDRESS(2,3)", "#SYNTAX!"},
      {"=ADDRESS({1,2},1,1,0,)", "{\"$A$1\", \"$A$2\"}"},
  });
  AddressingA1 = 0;
  Check({{"=ADDRESS(2,3,4,0,)", "\"R[-98]C[-23]\""}});
}

TEST_F(LookupFunctions, IndirectReadsReferenceTexts) {
  Check({
      {"=INDIRECT(\"A2\",)", "4"},
      {"=INDIRECT(\" B1 \",1)", "\"one\""},
      {"=INDIRECT(\"A1:A5\",)", "{1; 4; 2; 5; 3}"},
      {"=SUM(INDIRECT(\"A1:A5\",))", "15"},
      {"=INDIRECT(\"R1C2\",0)", "\"one\""},
      {"=INDIRECT(\"R[-99]C[-24]\",0)", "\"one\""},
      {"=INDIRECT(\"A1x\",)", "#REF!"},
      {"=INDIRECT(\"A1\",0)", "#REF!"},
      {"=INDIRECT(\"\",)", "#REF!"},
      {"=INDIRECT(\"A1\",2)", "#NUM!"},
      {"=INDIRECT({\"A1\",\"B1\"},)", "{1, \"one\"}"},
      {"=INDIRECT(\"A1\")", "#SYNTAX!"},
  });
}

TEST_F(LookupFunctions, OffsetKeepsBothCornersOnTheGrid) {
  Check({
      {"=OFFSET(A1,2,1,,)", "\"two\""},
      {"=ROWS(OFFSET(A1:B2,1,1,,))", "2"},
      {"=COLUMNS(OFFSET(A1:B2,1,1,,))", "2"},
      {"=COLUMNS(OFFSET(A1,0,0,1,3))", "3"},
      {"=SUM(OFFSET(A1,0,0,5,1))", "15"},
      {"=OFFSET(A1,0,2046,,)", "0"},
      {"=OFFSET(A1,2097151,0,,)", "0"},
      {"=OFFSET(A1,2097151,0,2,)", "#REF!"},
      {"=OFFSET(B1,0,0,1,2047)", "#REF!"},
      {"=OFFSET(A1,0,2046,1,2)", "#REF!"},
      {"=OFFSET(A1:C1,0,2045,,)", "#REF!"},
      {"=OFFSET(A1,-1,0,,)", "#NUM!"},
      {"=OFFSET(A1,0,0,0,)", "#NUM!"},
      {"=OFFSET(1,0,0,,)", "#VALUE!"},
      {"=OFFSET(A1,0,0)", "#SYNTAX!"},
  });
}

TEST_F(LookupFunctions, AreasRowsAndColumns) {
  Check({
      {"=AREAS(A1,B1:C2)", "2"},
      {"=AREAS(A1,1,\"x\")", "1"},
      {"=AREAS(1/0,A1)", "#DIV/0!"},
      {"=AREAS()", "#SYNTAX!"},
      {"=COLUMNS(A1:C9)", "3"},
      {"=ROWS(A1:C9)", "9"},
      {"=ROWS({1;2;3})", "3"},
      {"=COLUMNS({1;2;3})", "1"},
      {"=ROWS(1:2)", "2"},
      {"=COLUMNS(A:B)", "2"},
      {"=ROWS(1)", "#VALUE!"},
      {"=ROWS(\"A1\")", "#VALUE!"},
      {"=ROWS()", "#SYNTAX!"},
      {"=ROWS(A1:B2,1)", "#SYNTAX!"},
      // A range carrying an error keeps it.
      {"=ROWS(0:0)", "#REF!"},
      {"=VLOOKUP(3,0:0,2,)", "#REF!"},
      {"=MATCH(0:0,A1:A5,0)", "#REF!"},
      {"=OFFSET(0:0,1,1,,)", "#REF!"},
  });
}

}  // namespace
