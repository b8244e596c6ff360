#include <gtest/gtest.h>

#include "tests/functions/formula_result_text.h"

namespace {

// Sheet cells: A1 5, A2 "abc", A3 a number carrying "#DIV/0!", A4 "",
// A5 "10"; B1:B3 empty; C1:C3 1, "x", 0.
class LogicFunctions : public FormulaTableTest {
 protected:
  void SetUp() override {
    FormulaTableTest::SetUp();
    PutNumber(sheet, 0, 0, 5);
    PutText(sheet, 0, 1, "abc");
    PutNumber(sheet, 0, 2, 7, kErrorDivZero);
    PutText(sheet, 0, 3, "");
    PutText(sheet, 0, 4, "10");
    PutNumber(sheet, 2, 0, 1);
    PutText(sheet, 2, 1, "x");
    PutNumber(sheet, 2, 2, 0);
  }
};

TEST_F(LogicFunctions, TruthFromNumbers) {
  Check({
      {"=AND(1,2,\"10\")", "1"},
      {"=AND({1,1},{1,0})", "0"},
      {"=AND(-1)", "#NUM!"},
      {"=AND(\"abc\")", "#NUM!"},
      {"=AND(\"TRUE\")", "#NUM!"},
      {"=AND(0.5)", "1"},
      {"=AND(0.49)", "0"},
      {"=AND(TRUE,FALSE)", "0"},
      {"=AND(B1:B3)", "#N/A!"},
      {"=OR(B1:B3)", "0"},
      {"=AND(A1,B1:B3)", "1"},
      {"=AND(C1:C3)", "#NUM!"},
      {"=AND(1/0,\"abc\")", "#NUM!"},
      {"=AND(A3,1)", "#DIV/0!"},
      {"=AND(A5,1)", "1"},
      {"=AND()", "#SYNTAX!"},
      {"=OR(0,0.5)", "1"},
      {"=OR(0,0)", "0"},
      {"=OR({0,0;0,3})", "1"},
      {"=OR(-1,1)", "#NUM!"},
      {"=NOT(0)", "1"},
      {"=NOT(2)", "0"},
      {"=NOT(-1)", "#NUM!"},
      {"=NOT(,)", "1"},
      {"=NOT(A3)", "#DIV/0!"},
      {"=NOT({0,1})", "{1, 0}"},
      {"=TRUE()", "1"},
      {"=FALSE()", "0"},
      {"=TRUE(1)", "#SYNTAX!"},
      {"=NA()", "#N/A!"},
      {"=NA(1)", "#SYNTAX!"},
  });
}

TEST_F(LogicFunctions, IfChoosesAfterEvaluatingBoth) {
  Check({
      {"=IF(1,,)", "1"},
      {"=IF(0,,)", "0"},
      {"=IF(2,5,1/0)", "5"},
      {"=IF(0,1/0,5)", "5"},
      {"=IF(1,1/0,5)", "#DIV/0!"},
      {"=IF(-1,1,2)", "#NUM!"},
      {"=IF(0.5,\"yes\",\"no\")", "\"yes\""},
      {"=IF(0,\"yes\",\"no\")&\"!\"", "\"no!\""},
      {"=IF({1,0},10,20)", "{10, 20}"},
      {"=IF({1,0},\"a\",\"b\")", "{\"a\", \"b\"}"},
      {"=IF({1,0},10,20,{5,6},7)", "{10, 20}"},  // arguments past the third are ignored
      {"=IF({1,0},{1,2},3)", "#VALUE!"},
      {"=IF(1,{1,2},3)", "{1, 2}"},
      {"=IF(0,{1,2},{3;4})", "{3; 4}"},
      {"=SUM(IF(1,C1:C3,0))", "1"},
      {"=IF(A1:A2,1,2)", "#VALUE!"},
      {"=IF(A3,1,2)", "#DIV/0!"},
      {"=IF(,1,2)", "2"},
      {"=IF(1,2)", "#SYNTAX!"},
  });
}

TEST_F(LogicFunctions, InformationAboutValues) {
  Check({
      {"=ISNUMBER(\"9\")", "1"},
      {"=ISNUMBER(\"x\")", "0"},
      {"=ISNUMBER(1/0)", "#DIV/0!"},
      {"=ISNUMBER(A3)", "0"},
      {"=ISNUMBER(A1)", "1"},
      {"=ISTEXT(1/0)", "#DIV/0!"},
      {"=ISNONTEXT(1/0)", "#DIV/0!"},
      {"=ISTEXT(A2)", "1"},
      {"=ISNONTEXT(A2)", "0"},
      {"=ISTEXT({1,\"a\"})", "{0, 1}"},
      {"=ISERROR(1/0)", "1"},
      {"=ISERROR(A1)", "0"},
      {"=ISERR(NA())", "0"},
      {"=ISERR(A3)", "1"},
      {"=ISNA(NA())", "1"},
      {"=ISNA(1/0)", "0"},
      {"=ERRORTYPE(1/0)", "1"},
      {"=ERRORTYPE(NA())", "4"},
      {"=ERRORTYPE(5)", "0"},
      {"=ERRORTYPE(SQRT(-1))", "5"},
      {"=TYPE()", "0"},
      {"=TYPE(1)", "1"},
      {"=TYPE(\"a\")", "2"},
      {"=TYPE({1,2,3})", "64"},
      {"=TYPE(A1:A2)", "64"},
      {"=TYPE(B1)", "0"},
      {"=TYPE(1/0)", "16"},
      {"=TYPE(A3)", "16"},
      {"=ISREF(A1)", "1"},
      {"=ISREF(A1:B2)", "1"},
      {"=ISREF({1,2,3})", "0"},
      {"=ISREF(5)", "0"},
      {"=ISEVEN(12.6)", "0"},
      {"=ISODD(12.6)", "1"},
      {"=ISODD(-3)", "1"},
      {"=ISEVEN(,)", "1"},
      {"=ISLOGICAL(0.6)", "1"},
      {"=ISLOGICAL(2)", "0"},
      {"=ISLOGICAL(,)", "1"},
      {"=ISEVEN(A3)", "#DIV/0!"},
      {"=ISBLANK(\"\")", "1"},
      {"=ISBLANK(B1)", "1"},
      {"=ISBLANK(A4)", "1"},
      {"=ISBLANK(0)", "0"},
      {"=ISBLANK(A3)", "0"},
      {"=ISBLANK(1/0)", "0"},
      {"=N(\"2005\")", "2005"},
      {"=N(,)", "0"},
      {"=N(\"x\")", "#NUM!"},
      {"=N(A3)", "#DIV/0!"},
  });
}

}  // namespace
