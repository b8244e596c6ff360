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

// Sheet cells:
//   A1 "abc", A2 5, A3 a number carrying "#DIV/0!", A4 "  a   b  ",
//   A5 a text of 2000 characters, B1:B3 "x", "Y", "z"
class TextFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
    PutText(sheet, 0, 0, "abc");
    PutNumber(sheet, 0, 1, 5);
    PutNumber(sheet, 0, 2, 7, kErrorDivZero);
    PutText(sheet, 0, 3, "  a   b  ");
    PutText(sheet, 0, 4, std::string(2000, 'q'));
    PutText(sheet, 1, 0, "x");
    PutText(sheet, 1, 1, "Y");
    PutText(sheet, 1, 2, "z");
  }
  void TearDown() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
  }

  std::string Run(const std::string& formula) { return EvaluateToText(state, formula.c_str(), 25, 99); }
  void Check(std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases) EXPECT_EQ(Run(c.formula), c.result) << c.formula;
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(TextFunctions, CharCodeAndClean) {
  Check({
      {"=CHAR(65)", "\"A\""},
      {"=CHAR(65.5)", "\"B\""},
      {"=CHAR(0)", "\"\""},
      {"=CHAR(,)", "\"\""},
      {"=CHAR(256)", "#NUM!"},
      {"=CHAR(-1)", "#NUM!"},
      {"=CHAR()", "#SYNTAX!"},
      {"=CODE(\"abc\")", "97"},
      {"=CODE(\"\")", "0"},
      {"=CODE(CHAR(200))", "200"},
      {"=CODE(A3)", "#DIV/0!"},
      {"=CLEAN(CHAR(9)&\"a\"&CHAR(233)&CHAR(31)&\"b\")", "\"a\xE9" "b\""},
      {"=ASC(\"abc\")", "\"abc\""},
  });
}

TEST_F(TextFunctions, EveryByteSurvivesCodeCharAndClean) {
  for (int byte = 1; byte < 256; ++byte) {
    PutText(sheet, 10, static_cast<uint32_t>(byte - 1), std::string(1, static_cast<char>(byte)));
    const std::string cell = "K" + std::to_string(byte);
    EXPECT_EQ(Run("=CODE(" + cell + ")"), std::to_string(byte));
    EXPECT_EQ(Run("=EXACT(CHAR(CODE(" + cell + "))," + cell + ")"), "1") << byte;
    EXPECT_EQ(Run("=LEN(CLEAN(" + cell + "))"), byte < 32 ? "0" : "1") << byte;
  }
}

TEST_F(TextFunctions, LeftRightMidAndLen) {
  Check({
      {"=LEFT(\"abc\",)", "\"a\""},
      {"=LEFT(\"abc\",0)", "\"\""},
      {"=LEFT(\"abc\",5)", "\"abc\""},
      {"=LEFT(123.5,3)", "\"123\""},
      {"=LEFT(\"abc\",-1)", "#NUM!"},
      {"=LEFT(\"abc\")", "#SYNTAX!"},
      {"=LEFT(A3,-1)", "#NUM!"},
      {"=RIGHT(\"abc\",5)", "\"abc\""},
      {"=RIGHT(\"abc\",2)", "\"bc\""},
      {"=RIGHT(\"abc\",)", "\"c\""},
      {"=RIGHT(\"abc\",0)", "\"\""},
      {"=MID(\"abcdef\",2,3)", "\"bcd\""},
      {"=MID(\"abc\",4,1)", "\"\""},
      {"=MID(\"abc\",0,1)", "#VALUE!"},
      {"=MID(\"abc\",1,-1)", "#VALUE!"},
      {"=MID(\"abc\",2,2147483647)", "\"bc\""},
      {"=MID(\"abc\",,)", "\"a\""},
      {"=MID(A3,0,1)", "#DIV/0!"},
      {"=LEN(1.5)", "3"},
      {"=LEN(\"\")", "0"},
      {"=LEN(A1)", "3"},
      {"=LEN(Z99)", "0"},
      {"=LEN(A5)", "2000"},
      {"=LEN(A3)", "#DIV/0!"},
  });
}

TEST_F(TextFunctions, FindAndSearch) {
  Check({
      {"=FIND(\"b\",\"abcb\",1)", "2"},
      {"=FIND(\"b\",\"abcb\",3)", "4"},
      {"=FIND(\"c\",\"abc\",)", "3"},
      {"=FIND(\"\",\"abc\",1)", "1"},
      {"=FIND(\"a\",\"\",1)", "#VALUE!"},
      {"=FIND(\"a\",\"abc\",0)", "#VALUE!"},
      {"=FIND(\"a\",\"abc\",-1)", "#VALUE!"},
      {"=FIND(\"a\",\"abc\",4)", "#VALUE!"},
      {"=FIND(\"B\",\"abc\",1)", "#VALUE!"},
      {"=SEARCH(\"B?\",\"abc\",1)", "2"},
      {"=SEARCH(\"~*\",\"a*b\",1)", "2"},
      {"=SEARCH(\"b\",\"abcb\",3)", "4"},
      {"=SEARCH(\"c*\",\"abc\",3)", "3"},
      {"=SEARCH(\"\",\"abc\",1)", "#VALUE!"},
      {"=SEARCH(\"x\",\"abc\",)", "#VALUE!"},
      {"=SEARCH(\"a\",\"abc\",4)", "#VALUE!"},
      {"=SEARCH(\"a\",\"abc\",1025)", "#NUM!"},
      {"=SEARCH(\"a\",\"abc\",0)", "#NUM!"},
  });
}

TEST_F(TextFunctions, CaseTrimAndExact) {
  Check({
      {"=LOWER(\"AbC\")", "\"abc\""},
      {"=UPPER(\"abc1\")", "\"ABC1\""},
      {"=EXACT(UPPER(CHAR(233)),CHAR(201))", "1"},
      {"=PROPER(\"hello WORLD\")", "\"Hello World\""},
      {"=PROPER(\"o'neil 2nd\")", "\"O'Neil 2Nd\""},
      {"=TRIM(A4)", "\"a b\""},
      {"=TRIM(CHAR(9)&\"  a \")", "\"\t a\""},
      {"=TRIM(\"   \")", "\"\""},
      {"=EXACT(\"a\",\"A\")", "0"},
      {"=EXACT(\"a\",\"a\")", "1"},
      {"=EXACT(1.5,\"1.5\")", "1"},
      {"=EXACT(\"a\")", "#SYNTAX!"},
  });
}

TEST_F(TextFunctions, ReplaceReptAndSubstitute) {
  Check({
      {"=REPLACE(\"abcdef\",2,3,\"X\")", "\"aXef\""},
      {"=REPLACE(\"abc\",3,0,\"x\")", "\"abxc\""},
      {"=REPLACE(\"abc\",1,9,\"x\")", "\"x\""},
      {"=REPLACE(\"abc\",4,0,\"x\")", "#VALUE!"},
      {"=REPLACE(\"\",1,0,\"x\")", "#VALUE!"},
      {"=REPLACE(\"abc\",0,1,\"x\")", "#VALUE!"},
      {"=REPLACE(\"abc\",,1,\"x\")", "#VALUE!"},
      {"=REPLACE(\"abc\",-5,1,\"x\")", "#VALUE!"},
      {"=REPLACE(\"abc\",2,-1,\"x\")", "#NUM!"},
      {"=REPT(\"ab\",3)", "\"ababab\""},
      {"=REPT(\"ab\",0)", "\"\""},
      {"=REPT(\"ab\",)", "\"\""},
      {"=REPT(\"\",2147483647)", "\"\""},
      {"=REPT(\"ab\",513)", "#VALUE!"},
      {"=REPT(\"ab\",-1)", "#NUM!"},
      {"=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",2)", "\"a-b+c\""},
      {"=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",0)", "\"a+b+c\""},
      {"=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",)", "\"a+b+c\""},
      {"=SUBSTITUTE(\"a-b-c\",\"-\",\"+\",3)", "\"a-b-c\""},
      {"=SUBSTITUTE(\"abc\",\"\",\"x\",)", "\"abc\""},
      {"=SUBSTITUTE(\"aXbx\",\"x\",\"-\",)", "\"a-b-\""},
      {"=SUBSTITUTE(\"abcabc\",\"b?\",\"Z\",2)", "\"abcaZ\""},
      {"=SUBSTITUTE(\"abc\",\"*\",\"x\",)", "\"x\""},
      {"=SUBSTITUTE(\"a.b\",\"?\",\"\",)", "\"\""},
      {"=SUBSTITUTE(\"a~b\",\"~\",\"-\",)", "\"a-b\""},
      {"=SUBSTITUTE(\"abc\",\"b\",\"x\",-1)", "#NUM!"},
  });
}

// A "~" escape is two pattern characters matching one text character: the
// text advances by what was matched, never by the pattern's length.
TEST_F(TextFunctions, SubstituteAdvancesByTheMatchedText) {
  Check({
      {"=SUBSTITUTE(\"a*\",\"~*\",\"X\",)", "\"aX\""},
      {"=SUBSTITUTE(\"a*b*\",\"~*\",\"\",2)", "\"a*b\""},
      {"=SUBSTITUTE(\"*?*?\",\"~?\",\"!\",2)", "\"*?*!\""},
      {"=SUBSTITUTE(\"x~y~\",\"~~\",\"-\",)", "\"x-y-\""},
      {"=SUBSTITUTE(\"a~*b\",\"~~~*\",\"+\",)", "\"a+b\""},
  });
}

TEST_F(TextFunctions, NumbersAsTextAndBack) {
  Check({
      {"=TEXT(1234.5,\"#,##0.00\")", "\"1,234.50\""},
      {"=TEXT(0.5,\"0.0\")", "\"0.5\""},
      {"=TEXT(\"abc\",\"0\")", "#NUM!"},
      {"=VALUE(\"1,234.5\")", "1234.5"},
      {"=VALUE(\"12%\")", "0.12"},
      {"=VALUE(\"$5\")", "5"},
      {"=VALUE(\"abc\")", "#VALUE!"},
      {"=DOLLAR(-1234.567,2)", "\"($1,234.57)\""},
      {"=DOLLAR(1234.567,)", "\"$1,234.57\""},
      {"=DOLLAR(1250,-2)", "\"$1,300\""},
      {"=DOLLAR(-1250,-2)", "\"($1,200)\""},
      {"=DOLLAR(1,15)", "#NUM!"},
      {"=FIXED(1234.567,,)", "\"1234.57\""},
      {"=FIXED(1234.567,1,0)", "\"1,234.6\""},
      {"=FIXED(1250,-2,)", "\"1300\""},
      {"=FIXED(-1234.5,1,)", "\"-1234.5\""},
      {"=FIXED(1,2,2)", "#NUM!"},
  });
}

TEST_F(TextFunctions, CurrentSeparatorsShapeFormattedNumbers) {
  RegionalSettings& current = CurrentRegionalSettings();
  current.decimalSeparator = ',';
  current.thousandsSeparator = '.';
  std::strcpy(current.currency, "EUR");
  ASSERT_TRUE(ChooseListSeparators(&current));
  Check({
      {"=FIXED(1234,5;1;0)", "\"1.234,5\""},
      {"=DOLLAR(-2;0)", "\"(EUR2)\""},
      {"=VALUE(\"1.234,5\")", "1234.5"},
  });
}

TEST_F(TextFunctions, RangesAndArraysApplyElementByElement) {
  Check({
      {"=LEN(B1:B3)", "{1; 1; 1}"},
      {"=UPPER(B1:B3)", "{\"X\"; \"Y\"; \"Z\"}"},
      {"=LEFT({\"ab\",\"cd\"},1)", "{\"a\", \"c\"}"},
      {"=MID(\"abcdef\",{1,2,3},2)", "{\"ab\", \"bc\", \"cd\"}"},
      {"=REPT(\"a\",{1;2})", "{\"a\"; \"aa\"}"},
      {"=FIXED(1234.5,1,{0,1})", "{\"1,234.5\", \"1234.5\"}"},
      {"=FIND(\"b\",{\"ab\",\"b\"},{1,2})", "{2, #VALUE!}"},
      {"=LEN({1,2},{3;4})", "{1, 1}"},
  });
}

// Lengths around the 1024-character bound, for the sanitizer build: no
// result is written past its buffer, whatever the lengths.
TEST_F(TextFunctions, GrowingTextsStopAt1024Characters) {
  const auto lengthOf = [](const std::string& result) {
    return result.size() >= 2 && result[0] == '"' ? std::to_string(result.size() - 2) : result;
  };
  for (int n = 0; n <= 1100; n += (n > 500 && n < 1000) ? 37 : 1) {
    const std::string count = std::to_string(n);
    const std::string twice = 2 * n <= 1024 ? std::to_string(2 * n) : "#VALUE!";
    const std::string once = n <= 1024 ? count : "#VALUE!";
    EXPECT_EQ(lengthOf(Run("=REPT(\"ab\"," + count + ")")), twice) << n;
    EXPECT_EQ(lengthOf(Run("=REPT(\"a\"," + count + ")")), once) << n;
    EXPECT_EQ(lengthOf(Run("=SUBSTITUTE(REPT(\"a\"," + count + "),\"a\",\"bc\",)")), n <= 1024 ? twice : once) << n;
    EXPECT_EQ(lengthOf(Run("=SUBSTITUTE(REPT(\"a~\"," + count + "),\"~~\",\"\",)")),
              2 * n <= 1024 ? count : "#VALUE!")
        << n;
    EXPECT_EQ(lengthOf(Run("=REPLACE(REPT(\"a\",1000),1,0,REPT(\"b\"," + count + "))")),
              n + 1000 <= 1024 ? std::to_string(n + 1000) : "#VALUE!")
        << n;
    EXPECT_EQ(lengthOf(Run("=REPLACE(REPT(\"a\",1024),2,1023,REPT(\"b\"," + count + "))")),
              n <= 1023 ? std::to_string(n + 1) : "#VALUE!")
        << n;
  }
  EXPECT_EQ(Run("=SUBSTITUTE(REPT(\"a\",1000),\"a\",REPT(\"b\",1000),)"), "#VALUE!");
  EXPECT_EQ(Run("=SUBSTITUTE(A5,\"q\",\"\",)"), "\"\"");
  EXPECT_EQ(Run("=SUBSTITUTE(A5,\"q\",\"r\",2000)"), "#VALUE!");
}

}  // namespace
