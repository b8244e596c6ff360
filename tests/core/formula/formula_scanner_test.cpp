#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/formula/builtin_function_table.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_array_constant.h"
#include "core/formula/formula_scanner.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"

#include "tests/core/generic_locale_test.h"

namespace {

class FormulaScanner : public GenericLocaleTest {
 protected:
  // Scans one token of text in the cell C5.
  uint32_t Scan(const char* text, bool storedForm) {
    state.ResetForFormula(2, 4);
    rest = text;
    return state.NextToken(&rest, &token, storedForm);
  }

  EvalState state;
  EvalValue token{};
  const char* rest = nullptr;
};

struct TokenCase {
  const char* text;
  uint32_t kind;
  const char* rest;  // what follows the token
  double number;     // numbers: the value; references: column * 10000000 + row
  uint32_t error;
  uint32_t flags;  // references: corner flags; texts: 1 when the pool holds the text
  const char* poolText;
};

std::string Describe(const TokenCase& c) { return std::string("text: ") + c.text; }

void ExpectToken(const TokenCase& c, uint32_t kind, const EvalValue& token, const char* rest,
                 const EvalState& state) {
  SCOPED_TRACE(Describe(c));
  ASSERT_EQ(kind, c.kind);
  EXPECT_EQ(token.kind, c.kind);
  EXPECT_STREQ(rest, c.rest);
  EXPECT_EQ(token.error, c.error);
  if (kind == kEvalNumber) {
    EXPECT_DOUBLE_EQ(token.number, c.number);
  }
  if (kind == kEvalCellRef) {
    EXPECT_EQ(token.cell.column * 10000000.0 + token.cell.row, c.number);
    EXPECT_EQ(token.cell.flags, c.flags);
  }
  if (kind == kEvalText) {
    EXPECT_STREQ(state.strings.Top(), c.poolText);
  }
  if (kind == kEvalInvalid) {
    EXPECT_EQ(state.status, kEvalStatusSyntax);
  }
}

constexpr uint32_t kRelCell = kRefCell | kRefRowRelative | kRefColumnRelative;
constexpr double kRefAt(uint32_t column, uint32_t row) { return column * 10000000.0 + row; }

// Stored form, formula in C5 (column 2, row 4).
const TokenCase kStoredTokens[] = {
    {"", kEvalEnd, "", 0, 0, 0, nullptr},
    {" \r\n ", kEvalEnd, "", 0, 0, 0, nullptr},
    {"  12.5+", kEvalNumber, "+", 12.5, 0, 0, nullptr},
    {".5)", kEvalNumber, ")", 0.5, 0, 0, nullptr},
    {"1.", kEvalNumber, "", 1, 0, 0, nullptr},
    {"1e3", kEvalNumber, "", 1000, 0, 0, nullptr},
    {"1E+3", kEvalNumber, "", 1000, 0, 0, nullptr},
    {"2.5e-2", kEvalNumber, "", 0.025, 0, 0, nullptr},
    {"1e", kEvalNumber, "e", 1, 0, 0, nullptr},
    {"0x10", kEvalNumber, "x10", 0, 0, 0, nullptr},
    {"1E999", kEvalNumber, "", HUGE_VAL, kErrorNum, 0, nullptr},
    {"1..2", kEvalInvalid, "1..2", 0, 0, 0, nullptr},
    {"TRUE", kEvalNumber, "", 1, 0, 0, nullptr},
    {"false)", kEvalNumber, ")", 0, 0, 0, nullptr},
    {"True!R1C1", kEvalNumber, "!R1C1", 1, 0, 0, nullptr},
    {"TrueSales!R1C1", kEvalText, "!R1C1", 0, kErrorName, 0, "TrueSales"},
    {"FALSE_1", kEvalText, "", 0, kErrorName, 0, "FALSE_1"},
    {"#DIV/0!", kEvalNumber, "", 0, kErrorDivZero, 0, nullptr},
    {"#n/a!+1", kEvalNumber, "+1", 0, kErrorNA, 0, nullptr},
    {"#REF!", kEvalNumber, "", 0, kErrorRef, 0, nullptr},
    {"#Syntax!", kEvalNumber, "", 0, kErrorSyntax, 0, nullptr},
    {"#FOO", kEvalText, "#FOO", 0, kErrorName, 0, ""},
    {"$", kEvalText, "$", 0, kErrorName, 0, ""},
    {"\"a'b\"&", kEvalText, "&", 0, 0, 0, "a'b"},
    {"'x\"y'", kEvalText, "", 0, 0, 0, "x\"y"},
    {"\"abc", kEvalText, "", 0, 0, 0, "abc"},
    {"''", kEvalText, "", 0, 0, 0, ""},
    {"Sheet1!", kEvalText, "!", 0, kErrorName, 0, "Sheet1"},
    {"\\Sales\\2009\\Q1!", kEvalText, "!", 0, kErrorName, 0, "\\Sales\\2009\\Q1"},
    {"R1C1", kEvalCellRef, "", kRefAt(0, 0), 0, kRefCell, nullptr},
    {"rc", kEvalCellRef, "", kRefAt(2, 4), 0, kRelCell, nullptr},
    {"R[-1]C[2]", kEvalCellRef, "", kRefAt(4, 3), 0, kRelCell | kRefRowNegative, nullptr},
    {"C[-2]R[0]", kEvalCellRef, "", kRefAt(0, 4), 0, kRelCell | kRefColumnNegative, nullptr},
    {"R", kEvalCellRef, "", kRefAt(0, 4), 0, kRefHasRow | kRefRowRelative, nullptr},
    {"C3:", kEvalCellRef, ":", kRefAt(2, 0), 0, kRefHasColumn, nullptr},
    {"R2097152C2047", kEvalCellRef, "", kRefAt(2046, 2097151), 0, kRefCell, nullptr},
    {"R0C1", kEvalCellRef, "", kRefAt(0, 0xFFFFFFFFu), kErrorRef, kRefCell | kRefOutsideGrid,
     nullptr},
    {"C2048", kEvalCellRef, "", kRefAt(2047, 0), kErrorRef, kRefHasColumn | kRefOutsideGrid,
     nullptr},
    {"R2097153", kEvalCellRef, "", kRefAt(0, 2097152), kErrorRef, kRefHasRow | kRefOutsideGrid,
     nullptr},
    {"R[-5]", kEvalCellRef, "", kRefAt(0, 0xFFFFFFFFu), kErrorRef,
     kRefHasRow | kRefRowRelative | kRefRowNegative | kRefOutsideGrid, nullptr},
    {"C[2044]", kEvalCellRef, "", kRefAt(2046, 0), 0, kRefHasColumn | kRefColumnRelative, nullptr},
    {"C[2045]", kEvalCellRef, "", kRefAt(2047, 0), kErrorRef,
     kRefHasColumn | kRefColumnRelative | kRefOutsideGrid, nullptr},
    {"R[1", kEvalText, "[1", 0, kErrorName, 0, "R"},
    {"R[+1]", kEvalText, "[+1]", 0, kErrorName, 0, "R"},
    {"ROUND", kEvalText, "", 0, kErrorName, 0, "ROUND"},
    {"R1C1X", kEvalText, "", 0, kErrorName, 0, "R1C1X"},
    {"SUM (1)", kEvalText, " (1)", 0, kErrorName, 0, "SUM"},
    {"B3", kEvalText, "", 0, kErrorName, 0, "B3"},
    {",", kEvalListSeparator, "", 0, 0, 0, nullptr},
    {";", kEvalInvalid, ";", 0, 0, 0, nullptr},
    {"@", kEvalInvalid, "@", 0, 0, 0, nullptr},
    {"<=", kOpLessEqual, "", 0, 0, 0, nullptr},
    {"<>", kOpNotEqual, "", 0, 0, 0, nullptr},
    {">=", kOpGreaterEqual, "", 0, 0, 0, nullptr},
    {"< =", kOpLess, " =", 0, 0, 0, nullptr},
    {">", kOpGreater, "", 0, 0, 0, nullptr},
    {"=", kOpEqual, "", 0, 0, 0, nullptr},
    {"+", kOpPlus, "", 0, 0, 0, nullptr},
    {"-", kOpMinus, "", 0, 0, 0, nullptr},
    {"&", kOpConcat, "", 0, 0, 0, nullptr},
    {"*", kOpMultiply, "", 0, 0, 0, nullptr},
    {"/", kOpDivide, "", 0, 0, 0, nullptr},
    {"^", kOpPower, "", 0, 0, 0, nullptr},
    {"%", kOpPercent, "", 0, 0, 0, nullptr},
    {"_", kOpIntersect, "", 0, 0, 0, nullptr},
    {"!", kOpSheet, "", 0, 0, 0, nullptr},
    {":", kOpRange, "", 0, 0, 0, nullptr},
    {"(", kEvalOpenParen, "", 0, 0, 0, nullptr},
    {")", kEvalCloseParen, "", 0, 0, 0, nullptr},
};

TEST_F(FormulaScanner, StoredFormTokens) {
  for (const TokenCase& c : kStoredTokens) {
    const uint32_t kind = Scan(c.text, true);
    ExpectToken(c, kind, token, rest, state);
  }
}

TEST_F(FormulaScanner, NumbersReadAsTheRuntimeConversionReadsThem) {
  // Whole numbers up to 15 digits take a shorter road than the others.
  for (const char* text : {"0", "7", "007", "999999999999999", "0000000000000001", "1234567890123456",
                           "9007199254740993", "123456789012345678901", "1.5", "12e3", ".25"}) {
    SCOPED_TRACE(text);
    ASSERT_EQ(Scan(text, true), kEvalNumber);
    EXPECT_EQ(token.number, std::strtod(text, nullptr));
    EXPECT_EQ(*rest, '\0');
  }
}

// Display form with A1 addressing, formula in C5.
const TokenCase kA1Tokens[] = {
    {"B3", kEvalCellRef, "", kRefAt(1, 2), 0, kRelCell, nullptr},
    {"$B$3", kEvalCellRef, "", kRefAt(1, 2), 0, kRefCell, nullptr},
    {"b$3", kEvalCellRef, "", kRefAt(1, 2), 0, kRefCell | kRefColumnRelative, nullptr},
    {"$B3_", kEvalCellRef, "_", kRefAt(1, 2), 0, kRefCell | kRefRowRelative, nullptr},
    {"BZS2097152", kEvalCellRef, "", kRefAt(2046, 2097151), 0, kRelCell, nullptr},
    {"BZT1", kEvalCellRef, "", kRefAt(2047, 0), kErrorRef, kRelCell | kRefOutsideGrid, nullptr},
    {"XFD1", kEvalCellRef, "", kRefAt(16383, 0), kErrorRef, kRelCell | kRefOutsideGrid, nullptr},
    {"A0", kEvalCellRef, "", kRefAt(0, 0xFFFFFFFFu), kErrorRef, kRelCell | kRefOutsideGrid,
     nullptr},
    {"A2097153", kEvalCellRef, "", kRefAt(0, 2097152), kErrorRef, kRelCell | kRefOutsideGrid,
     nullptr},
    {"B:", kEvalCellRef, ":", kRefAt(1, 0), 0, kRefHasColumn | kRefColumnRelative, nullptr},
    {"$3", kEvalCellRef, "", kRefAt(0, 2), 0, kRefHasRow, nullptr},
    {"3", kEvalNumber, "", 3, 0, 0, nullptr},
    {"A1B", kEvalText, "", 0, kErrorName, 0, "A1B"},
    {"SHEET1", kEvalText, "", 0, kErrorName, 0, "SHEET1"},
    {"abs(", kEvalFunctionCall, "", 0, 0, 0, nullptr},
    {"LOG10(2)", kEvalFunctionCall, "2)", 0, 0, 0, nullptr},
    {"DAY360(", kEvalFunctionCall, "", 0, 0, 0, nullptr},
    {"RC", kEvalCellRef, "", kRefAt(470, 0), 0, kRefHasColumn | kRefColumnRelative, nullptr},
    {"TRUE", kEvalNumber, "", 1, 0, 0, nullptr},
    {"TrueX", kEvalText, "", 0, kErrorName, 0, "TrueX"},
};

TEST_F(FormulaScanner, DisplayFormA1Tokens) {
  AddressingA1 = 1;
  for (const TokenCase& c : kA1Tokens) {
    const uint32_t kind = Scan(c.text, false);
    ExpectToken(c, kind, token, rest, state);
  }
}

const TokenCase kCommaDecimalTokens[] = {
    {"1,5;", kEvalNumber, ";", 1.5, 0, 0, nullptr},
    {",25", kEvalNumber, "", 0.25, 0, 0, nullptr},
    {"1,,5", kEvalInvalid, "1,,5", 0, 0, 0, nullptr},
    {"1.5", kEvalNumber, ".5", 1, 0, 0, nullptr},
    {"1E", kEvalInvalid, "1E", 0, 0, 0, nullptr},
    {"2,5e1", kEvalNumber, "", 25, 0, 0, nullptr},
    {";", kEvalListSeparator, "", 0, 0, 0, nullptr},
    {"R[1]C", kEvalCellRef, "", kRefAt(2, 5), 0, kRelCell, nullptr},
};

TEST_F(FormulaScanner, DisplayFormCommaDecimalsR1C1) {
  UseCommaDecimals();
  AddressingA1 = 0;
  for (const TokenCase& c : kCommaDecimalTokens) {
    const uint32_t kind = Scan(c.text, false);
    ExpectToken(c, kind, token, rest, state);
  }
}

TEST_F(FormulaScanner, FunctionNamesNeedTheirParenthesis) {
  const char* const texts[] = {"sum(", "SUM(", "Sum(1)", "SUMSQ(", "sumsq(1"};
  const char* const names[] = {"SUM(", "SUM(", "SUM(", "SUMSQ(", "SUMSQ("};
  for (size_t i = 0; i < sizeof texts / sizeof texts[0]; ++i) {
    ASSERT_EQ(Scan(texts[i], true), kEvalFunctionCall) << texts[i];
    EXPECT_STREQ(BuiltinFunctionTable[token.functionIndex].name, names[i]);
    EXPECT_EQ(rest, texts[i] + std::strlen(names[i]));
  }
}

// Array constants: the elements as they are written back, and the extent.
struct ArrayCase {
  const char* text;
  const char* written;  // null: malformed
  uint32_t columns, rows;
};

const ArrayCase kStoredArrays[] = {
    {"{1,2;3,4}", "{1, 2; 3, 4}", 2, 2},
    {"{ 1 , 2 ;\r\n 3 }", "{1, 2; 3, }", 2, 2},
    {"{}", "{}", 1, 1},
    {"{,}", "{, }", 2, 1},
    {"{;}", "{; }", 1, 2},
    {"{-1.5,.5,1E999}", "{-1.5, 0.5, #NUM!}", 3, 1},
    {"{#N/A!,TRUE,false}", "{#N/A!, 1, 0}", 3, 1},
    {"{'a\"b',\"c'd\"}", "{'a\"b', \"c'd\"}", 2, 1},
    {"{abc,TrueX}", "{\"abc\", \"TrueX\"}", 2, 1},
    {"{1,2", nullptr, 0, 0},
    {"{1 2}", nullptr, 0, 0},
    {"{\"abc}", nullptr, 0, 0},
    {"{#FOO}", nullptr, 0, 0},
    {"{-x}", nullptr, 0, 0},
};

TEST_F(FormulaScanner, ArrayConstants) {
  for (const ArrayCase& c : kStoredArrays) {
    SCOPED_TRACE(c.text);
    const uint32_t kind = Scan(c.text, true);
    if (!c.written) {
      EXPECT_EQ(kind, kEvalInvalid);
      EXPECT_EQ(state.status, kEvalStatusSyntax);
      EXPECT_EQ(state.arrays.SavedCount(), 0u);
      continue;
    }
    ASSERT_EQ(kind, kEvalArray);
    EXPECT_STREQ(rest, "");
    EXPECT_EQ(token.second.column + 1, c.columns);
    EXPECT_EQ(token.second.row + 1, c.rows);
    ASSERT_EQ(state.arrays.SavedCount(), 1u);
    CellBlock* chain = state.arrays.PopChain();
    char buffer[kFormulaTextCapacity + 1];
    BoundedText out(buffer, sizeof buffer);
    EXPECT_TRUE(FormatArrayConstant(chain, c.columns, c.rows, out, true));
    EXPECT_STREQ(out.Text(), c.written);
    state.arrays.ReleaseChain(chain);
  }
}

TEST_F(FormulaScanner, ArrayConstantsInCommaDecimalForm) {
  UseCommaDecimals();
  ASSERT_EQ(Scan("{1,5; 2\\ x}", false), kEvalArray);
  CellBlock* chain = state.arrays.PopChain();
  char buffer[64];
  BoundedText display(buffer, sizeof buffer);
  EXPECT_TRUE(FormatArrayConstant(chain, 2, 2, display, false));
  EXPECT_STREQ(display.Text(), "{1,5; 2\\ \"x\"; }");
  char stored[64];
  BoundedText generic(stored, sizeof stored);
  EXPECT_TRUE(FormatArrayConstant(chain, 2, 2, generic, true));
  EXPECT_STREQ(generic.Text(), "{1.5, 2; \"x\", }");
  state.arrays.ReleaseChain(chain);
}

TEST_F(FormulaScanner, FullTextPoolTurnsTextsIntoValueErrors) {
  state.ResetForFormula(0, 0);
  const char* p = "'a' 'b' 'c' 'd' 'e' 'f' 'g' 'h' 'i' 'j' 'k' 'l' 'm' 'n' 'o' 'p' 'q' 'r' 's' "
                  "'t' 'u' 'v' 'w' 'x' 'y' 'z' 'a' 'b' 'c' 'd' 'e' 'f' 'g' 'h' 'i' 'j' 'k' 'l' "
                  "'m' 'n' 'o' 'p' 'q' 'r' 's' 't' 'u' 'v' 'w' 'x' 'y' 'z'";
  int texts = 0;
  for (;;) {
    const uint32_t kind = state.NextToken(&p, &token, true);
    if (kind == kEvalEnd) break;
    if (kind == kEvalText) {
      ++texts;
    } else {
      EXPECT_EQ(kind, kEvalEmpty);
      EXPECT_EQ(token.error, kErrorValue);
    }
  }
  EXPECT_EQ(texts, FormulaStrings::kStringCapacity);
  EXPECT_EQ(state.strings.Count(), FormulaStrings::kStringCapacity);
}

TEST(FormulaStrings, RefusesWhatDoesNotFitAndKeepsTheRest) {
  FormulaStrings pool;
  EXPECT_STREQ(pool.Top(), "");
  std::string big(FormulaStrings::kByteCapacity - 1, 'x');
  EXPECT_TRUE(pool.Push(big.c_str(), big.size()));
  EXPECT_FALSE(pool.PushSz(""));
  pool.Pop();
  EXPECT_FALSE(pool.Push(big.c_str(), big.size() + 1));
  ASSERT_TRUE(pool.PushSz("one"));
  ASSERT_TRUE(pool.PushSz("two"));
  EXPECT_STREQ(pool.Top(), "two");
  EXPECT_EQ(pool.TopLength(), 3u);
  pool.Pop();
  EXPECT_STREQ(pool.Top(), "one");
  pool.Pop();
  pool.Pop();
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_EQ(pool.BytesUsed(), 0u);
}

}  // namespace
