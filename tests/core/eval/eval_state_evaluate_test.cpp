#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/base/result_check.h"
#include "tests/core/eval_test_cells.h"
#include "test_seed.h"

namespace {

enum Expect { kNumber, kText, kError, kSyntax, kArray };

struct FormulaCase {
  const char* formula;  // display form, A1 references, formula in F10
  Expect expect;
  double number = 0;          // numbers
  const char* text = nullptr;  // texts, and arrays as stored-form constants
  uint8_t error = 0;           // errors; texts and arrays may carry one too
};

// Sheet1 holds the cells below; "Sheet2" names a second store.
class Evaluate : public ::testing::Test {
 protected:
  static CellStore* sheet2;

  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    sheet2 = &other;
    state.sheet = &sheet;
    state.resolveSheet = [](const EvalState&, CellStore*, const char* text) -> CellStore* {
      return std::strcmp(text, "Sheet2") == 0 ? sheet2 : nullptr;
    };
    PutNumber(sheet, 0, 0, 1);                                  // A1
    PutNumber(sheet, 0, 1, 2);                                  // A2
    PutText(sheet, 0, 2, "3");                                  // A3
    PutText(sheet, 0, 3, "x");                                  // A4
    PutText(sheet, 0, 4, std::string(800, 'y'));                // A5
    PutText(sheet, 1, 0, "abc");                                // B1
    PutNumber(sheet, 1, 1, 10);                                 // B2
    PutFormula(sheet, 1, 2, "=1/0", 0, nullptr, kErrorDivZero, true);  // B3
    PutFormula(sheet, 2, 0, "=\"hi\"", 0, "hi", 0, true);     // C1
    PutFormula(sheet, 2, 1, "=7", 7, nullptr, 0, false);        // C2, not yet calculated
    PutNumber(sheet, 3, 0, 4, kErrorNA);                        // D1: a spilled error value
    PutNumber(sheet, 4, 0, std::nan(""));                       // E1, E2: stored numbers no
    PutNumber(sheet, 4, 1, HUGE_VAL);                           // result may hold
    PutNumber(other, 0, 0, 100);                                // Sheet2!A1
    PutText(other, 1, 1, "two");                                // Sheet2!B2
  }
  void TearDown() override { ResetGlobalOptions(); }

  // Translates the display form in F10 and evaluates it there.
  uint32_t Run(const char* display) {
    char text[2 * kFormulaTextCapacity];
    std::strncpy(text, display, sizeof text - 1);
    text[sizeof text - 1] = '\0';
    translated = state.TranslateFormula(text, sizeof text, 5, 9, true);
    stored = text;
    return state.Evaluate(text, 5, 9);
  }

  void ExpectOwnsOnlyTheResult() {
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << message;
    EXPECT_EQ(state.operandTop, 1);
    EXPECT_EQ(state.operatorTop, 0);
  }

  void Check(const FormulaCase& c) {
    SCOPED_TRACE(std::string("formula: ") + c.formula);
    const uint32_t kind = Run(c.formula);
    SCOPED_TRACE("stored: " + stored);
    ExpectOwnsOnlyTheResult();
    const EvalValue& result = state.operands[1];
    switch (c.expect) {
      case kSyntax:
        EXPECT_EQ(kind, 0u);
        EXPECT_EQ(state.status, kEvalStatusSyntax);
        EXPECT_EQ(result.error, kErrorSyntax);
        break;
      case kError:
        EXPECT_EQ(kind, kEvalNumber);
        EXPECT_EQ(result.error, c.error);
        break;
      case kNumber:
        ASSERT_EQ(kind, kEvalNumber);
        EXPECT_EQ(result.error, 0u);
        EXPECT_EQ(result.number, c.number);
        break;
      case kText:
        ASSERT_EQ(kind, kEvalText);
        EXPECT_EQ(result.error, c.error);
        EXPECT_STREQ(state.strings.Top(), c.text);
        break;
      case kArray:
        ASSERT_EQ(kind, kEvalArray);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(TopArrayText(state, result), c.text);
        break;
    }
  }

  CellStore sheet;
  CellStore other;
  EvalState state;
  bool translated = false;
  std::string stored;
};

CellStore* Evaluate::sheet2 = nullptr;

const FormulaCase kOperatorCases[] = {
    {"=1+2*3", kNumber, 7},
    {"=(1+2)*3", kNumber, 9},
    {"=10-4-3", kNumber, 3},
    {"=2^3^2", kNumber, 64},  // left-associative
    {"=-2^2", kNumber, 4},    // unary minus binds tighter than "^"
    {"=2^-2", kNumber, 0.25},
    {"=-1%", kNumber, -0.01},
    {"=50%*4", kNumber, 2},
    {"=1--1", kNumber, 2},
    {"=-(-3)", kNumber, 3},
    {"=1<2", kNumber, 1},
    {"=2<=1", kNumber, 0},
    {"=3<>3", kNumber, 0},
    {"=1/0", kError, 0, nullptr, kErrorDivZero},
    {"=1/0+#REF!", kError, 0, nullptr, kErrorRef},
    {"=#N/A!+1/0", kError, 0, nullptr, kErrorNA},
    {"=1E999", kError, 0, nullptr, kErrorNum},
    {"=0^-1", kError, 0, nullptr, kErrorNum},
    {"=(-8)^(1/3)", kError, 0, nullptr, kErrorNum},  // NaN never becomes a value
    {"=1E200*1E200", kError, 0, nullptr, kErrorNum},
    {"=1E-300/1E10", kError, 0, nullptr, kErrorNum},
    {"='3'+4", kNumber, 7},
    {"='3'+'4'", kNumber, 7},
    {"='8'/'x'", kError, 0, nullptr, kErrorNum},
    {"=' 3 '*2", kNumber, 6},
    {"='-3'+4", kNumber, 1},
    {"='1.5E1'+0", kNumber, 15},
    {"='x'+1", kError, 0, nullptr, kErrorNum},
    {"=''+1", kError, 0, nullptr, kErrorNum},
    {"=-'2'", kNumber, -2},
    {"='abc'='ABC'", kNumber, 1},
    {"='a'<'b'", kNumber, 1},
    {"='ab'<'a'", kNumber, 0},
    {"='a'<'ab'", kNumber, 1},
    {"=1='1'", kError, 0, nullptr, kErrorValue},
    {"=1&2", kText, 0, "12"},
    {"=0.1+0.2&''", kText, 0, "0.3"},
    {"='a'&1/0", kError, 0, nullptr, kErrorDivZero},
    {"=foo&'x'", kError, 0, nullptr, kErrorName},
    {"=-0", kNumber, 0},
};

TEST_F(Evaluate, Operators) {
  for (const FormulaCase& c : kOperatorCases) Check(c);
}

TEST_F(Evaluate, PercentBindsTighterThanPower) {
  ASSERT_EQ(Run("=2^0.5%"), kEvalNumber);
  EXPECT_NEAR(state.operands[1].number, std::pow(2.0, 0.005), 1e-15);
  ExpectOwnsOnlyTheResult();
}

TEST_F(Evaluate, TextsReadAsNumbersWithTheCurrentDecimalSeparator) {
  RegionalSettings& current = CurrentRegionalSettings();
  current.decimalSeparator = ',';
  ASSERT_TRUE(ChooseListSeparators(&current));
  EXPECT_EQ(state.Evaluate("='1,5'+1", 0, 0), kEvalNumber);
  EXPECT_EQ(state.operands[1].number, 2.5);
  EXPECT_EQ(state.Evaluate("='1.5'+1", 0, 0), kEvalNumber);
  EXPECT_EQ(state.operands[1].error, kErrorNum);
  // Numbers become texts with the generic point whatever the separators.
  EXPECT_EQ(state.Evaluate("=1.5&''", 0, 0), kEvalText);
  EXPECT_STREQ(state.strings.Top(), "1.5");
  CurrentRegionalSettings() = kGenericRegionalSettings;
}

TEST_F(Evaluate, NegativeZeroIsNeverAResult) {
  ASSERT_EQ(Run("=-0"), kEvalNumber);
  EXPECT_FALSE(std::signbit(state.operands[1].number));
  ASSERT_EQ(Run("=-Z99"), kEvalNumber);
  EXPECT_FALSE(std::signbit(state.operands[1].number));
}

const FormulaCase kReferenceCases[] = {
    {"=A1+A2", kNumber, 3},
    {"=A3+1", kNumber, 4},  // a text cell used as a number
    {"=A3*'2'", kNumber, 6},
    {"=B1&'x'&C1", kText, 0, "abcxhi"},
    {"=A4*1", kError, 0, nullptr, kErrorNum},
    {"=Z99+1", kNumber, 1},  // an empty cell is 0 ...
    {"=Z99=''", kNumber, 1},  // ... and the empty text
    {"=Z99", kNumber, 0},
    {"=B1&A1", kText, 0, "abc1"},
    {"=B1", kText, 0, "abc"},
    {"=B3+1", kError, 0, nullptr, kErrorDivZero},
    {"=C1&'!'", kText, 0, "hi!"},
    {"=D1", kError, 0, nullptr, kErrorNA},
    {"=E1", kError, 0, nullptr, kErrorNum},
    {"=E2+1", kError, 0, nullptr, kErrorNum},
    {"=E1:E2", kArray, 0, "{#NUM!; #NUM!}"},
    {"=A5&A5", kError, 0, nullptr, kErrorValue},  // 1600 characters
    {"=A5&'z'", kText, 0, nullptr},
    {"=A1:B2_B2:C3", kNumber, 10},
    {"=A1:A2_C1:C2", kError, 0, nullptr, kErrorNull},
    {"=B2:A1", kError, 0, nullptr, kErrorRef},
    {"=A2:B1", kError, 0, nullptr, kErrorRef},
    {"=A1:B2", kArray, 0, "{1, \"abc\"; 2, 10}"},
    {"=B2:C3", kArray, 0, "{10, 7; #DIV/0!, }"},
    {"=A:A_A2:B3", kArray, 0, "{2; \"3\"}"},
    {"=1:1_A1:B5", kArray, 0, "{1, \"abc\"}"},
    {"=1:2_B:B", kArray, 0, "{\"abc\"; 10}"},
    {"=A1_A2", kSyntax},  // cells are no ranges: both operands stay
    {"=A1:A2:A3", kError, 0, nullptr, kErrorRef},
    {"=1:A1", kError, 0, nullptr, kErrorRef},
    {"=1:'a'", kError, 0, nullptr, kErrorValue},
    {"=Sheet2!A1", kNumber, 100},
    {"='Sheet2'!B2&'x'", kText, 0, "twox"},
    {"=Sheet2!A1:B2", kArray, 0, "{100, ; , \"two\"}"},
    {"=Sheet2!A1:B2_B2:C3", kError, 0, nullptr, kErrorNull},  // B2:C3 lies on Sheet1
    {"=(Sheet2!A1:B2)_(Sheet2!B2:C3)", kText, 0, "two"},
    {"='Nope'!A1", kError, 0, nullptr, kErrorName},
    {"=1!A1", kError, 0, nullptr, kErrorValue},
    {"='Sheet2'!1", kError, 0, nullptr, kErrorValue},
    {"=foo", kText, 0, "foo", kErrorName},
};

TEST_F(Evaluate, References) {
  for (const FormulaCase& c : kReferenceCases) {
    if (c.text == nullptr && c.expect == kText) {
      ASSERT_EQ(Run(c.formula), kEvalText) << c.formula;
      EXPECT_EQ(std::strlen(state.strings.Top()), 801u);
      ExpectOwnsOnlyTheResult();
      continue;
    }
    Check(c);
  }
}

TEST_F(Evaluate, NotesAnUncalculatedFormulaCellAsPending) {
  state.pending.Clear();
  ASSERT_EQ(Run("=A1+C2*2"), kEvalNumber);
  EXPECT_EQ(state.operands[1].number, 15);
  EXPECT_EQ(state.pending.kind, kEvalCellRef);
  EXPECT_EQ(state.pending.cell.column, 2u);
  EXPECT_EQ(state.pending.cell.row, 1u);
  EXPECT_EQ(state.pending.cell.flags, kRefCell);
  EXPECT_EQ(state.pending.sheet, &sheet);

  state.pending.Clear();
  ASSERT_EQ(Run("=A1:C2"), kEvalArray);  // a range reads its formula cells too
  EXPECT_EQ(state.pending.kind, kEvalCellRef);
  state.pending.Clear();
  ASSERT_EQ(Run("=B3+C1"), kEvalNumber);  // calculated cells are not pending
  EXPECT_EQ(state.pending.kind, kEvalInvalid);
}

const FormulaCase kBroadcastCases[] = {
    {"=A1:A2*2", kArray, 0, "{2; 4}"},
    {"=-A1:A2", kArray, 0, "{-1; -2}"},
    {"=A1:A3&'!'", kArray, 0, "{\"1!\"; \"2!\"; \"3!\"}"},
    {"=A1:A3+Z1:Z3", kArray, 0, "{1; 2; 3}"},
    {"={1,2}+{10,20}", kArray, 0, "{11, 22}"},
    {"={1,2}+{10;20}", kError, 0, nullptr, kErrorValue},
    {"=A1:A2+B1:B3", kError, 0, nullptr, kErrorValue},
    {"={1,'a';#N/A!,4}*2", kArray, 0, "{2, #NUM!; #N/A!, 8}"},
    {"={1,2}=1", kArray, 0, "{1, 0}"},
    {"=1/{0,4}", kArray, 0, "{#DIV/0!, 0.25}"},
    // Only cells that exist are visited when every operand is a range:
    {"=C2:D3+C2:D3", kArray, 0, "{14, ; , }"},
    // ... but every position when a scalar takes part.
    {"=C2:D3+0", kArray, 0, "{7, 0; 0, 0}"},
    {"=-{1,2}%", kArray, 0, "{-0.01, -0.02}"},
};

TEST_F(Evaluate, BroadcastsOverRangesAndArrays) {
  for (const FormulaCase& c : kBroadcastCases) Check(c);
}

const FormulaCase kSyntaxCases[] = {
    {"=(1,2)", kSyntax}, {"=1 2", kSyntax},   {"=+1", kSyntax},    {"=--1", kSyntax},
    {"=1%%", kSyntax},   {"=1+", kSyntax},    {"=(1", kSyntax},    {"=1)", kSyntax},
    {"=()", kSyntax},    {"=", kSyntax},      {"=1,2", kSyntax},   {"=*2", kSyntax},
    {"=1 (2)", kSyntax}, {"=A1 SUM(1)", kSyntax}, {"=SUM(1+,2)", kSyntax},
    {"=SUM(1 (2))", kSyntax}, {"=SUM(1,())", kSyntax}, {"=SUM((1,2))", kSyntax},
    {"=1+#", kSyntax},   {"={1,2", kSyntax},  {"=1?", kSyntax},
};

TEST_F(Evaluate, SyntaxErrors) {
  for (const FormulaCase& c : kSyntaxCases) Check(c);
  EXPECT_EQ(state.Evaluate("1+2", 0, 0), 0u);  // not a formula
  EXPECT_EQ(state.operands[1].error, kErrorSyntax);
  ExpectOwnsOnlyTheResult();
}

TEST_F(Evaluate, CallsThroughTheFunctionTable) {
  const FormulaCase cases[] = {
      {"=SUM(1,,2)", kError, 0, nullptr, kErrorImpl},
      {"=SUM(1,)", kError, 0, nullptr, kErrorImpl},
      {"=sum(A1:B2,'x',{1,2})", kError, 0, nullptr, kErrorImpl},
      {"=DSUM(A1:B2,1,C1:C2)", kError, 0, nullptr, kErrorImpl},
      {"=PI()", kError, 0, nullptr, kErrorImpl},
      {"=1+PI()*2", kError, 0, nullptr, kErrorImpl},
      {"=SUM(SUM(1),SUM('a'&'b'))", kError, 0, nullptr, kErrorImpl},
  };
  for (const FormulaCase& c : cases) Check(c);
}

// Nesting: the stacks hold 49 entries each, and a formula that would need
// more is a syntax error rather than an overrun.
TEST_F(Evaluate, NestingDeeperThanTheStacksIsASyntaxError) {
  // Each level of "1+(" keeps an operand and two operators stacked.
  for (int depth : {10, 15, 16, 30, 200}) {
    SCOPED_TRACE(depth);
    std::string formula = "=";
    for (int i = 0; i < depth; ++i) formula += "1+(";
    formula += "1" + std::string(depth, ')');
    const uint32_t kind = state.Evaluate(formula.c_str(), 0, 0);
    if (depth <= 15) {
      ASSERT_EQ(kind, kEvalNumber);
      EXPECT_EQ(state.operands[1].number, depth + 1);
    } else {
      EXPECT_EQ(kind, 0u);
      EXPECT_EQ(state.operands[1].error, kErrorSyntax);
    }
    ExpectOwnsOnlyTheResult();
  }
  for (int depth : {47, 48}) {
    const std::string formula = "=" + std::string(depth, '(') + "1" + std::string(depth, ')');
    EXPECT_EQ(state.Evaluate(formula.c_str(), 0, 0), depth == 47 ? kEvalNumber : 0u) << depth;
    ExpectOwnsOnlyTheResult();
  }
  std::string calls = "=";
  for (int i = 0; i < 30; ++i) calls += "SUM('t',";
  calls += "1" + std::string(30, ')');
  EXPECT_EQ(state.Evaluate(calls.c_str(), 0, 0), 0u);
  ExpectOwnsOnlyTheResult();

  std::string flat = "=1";
  for (int i = 0; i < 300; ++i) flat += "+1";
  ASSERT_EQ(state.Evaluate(flat.c_str(), 0, 0), kEvalNumber);
  EXPECT_EQ(state.operands[1].number, 301);
}

TEST_F(Evaluate, AFullTextPoolOrArrayStackBecomesAnErrorValue) {
  // 30 texts of 100 characters pass the pool's 3072 bytes.
  std::string formula = "=DSUM(";
  for (int i = 0; i < 30; ++i) formula += (i ? ",'" : "'") + std::string(100, 'a') + "'";
  formula += ")";
  EXPECT_EQ(state.Evaluate(formula.c_str(), 0, 0), kEvalNumber);
  EXPECT_EQ(state.operands[1].error, kErrorImpl);
  ExpectOwnsOnlyTheResult();

  // Joined texts may reach 1024 characters, not more.
  for (int tail : {24, 25}) {
    std::string joined = "='" + std::string(400, 'a') + "'";
    for (int i = 0; i < 6; ++i) joined += "&'" + std::string(100, 'b') + "'";
    joined += "&'" + std::string(tail, 'c') + "'";
    const uint32_t kind = state.Evaluate(joined.c_str(), 0, 0);
    if (tail == 24) {
      ASSERT_EQ(kind, kEvalText);
      EXPECT_EQ(std::strlen(state.strings.Top()), 1024u);
    } else {
      EXPECT_EQ(kind, kEvalNumber);
      EXPECT_EQ(state.operands[1].error, kErrorValue);
    }
    ExpectOwnsOnlyTheResult();
  }
}

// Found by fuzzing: "=1+A:A" built an element for each of the 2,097,152
// rows, and a few such terms took gigabytes.
TEST_F(Evaluate, ArraysOfOneFormulaStayWithinABudget) {
  const FormulaCase cases[] = {
      {"=1+A:A", kError, 0, nullptr, kErrorMemory},
      {"=-(B:B+0)", kError, 0, nullptr, kErrorMemory},
      {"=1+A1:A3", kArray, 0, "{2; 3; 4}"},
  };
  for (const FormulaCase& c : cases) {
    Check(c);
    // Refused before anything was built.
    EXPECT_LT(state.arrays.BlockCount() + state.arrays.PoolCount(), 8u) << c.formula;
  }
}

TEST_F(Evaluate, EachEvaluationStartsAfresh) {
  ASSERT_EQ(Run("={1,2;3,4}"), kEvalArray);
  ASSERT_EQ(Run("='a'&'b'"), kEvalText);
  ExpectOwnsOnlyTheResult();
  ASSERT_EQ(Run("=(1"), 0u);
  ASSERT_EQ(Run("=2"), kEvalNumber);
  EXPECT_EQ(state.status, 0);
  ExpectOwnsOnlyTheResult();
}

TEST(ResultCheck, RefusesInfinitiesNaNsAndDenormals) {
  EXPECT_TRUE(IsBadNumber(HUGE_VAL));
  EXPECT_TRUE(IsBadNumber(-HUGE_VAL));
  EXPECT_TRUE(IsBadNumber(std::nan("")));
  EXPECT_TRUE(IsBadNumber(1e-310));
  EXPECT_FALSE(IsBadNumber(0.0));
  EXPECT_FALSE(IsBadNumber(-0.0));
  EXPECT_FALSE(IsBadNumber(2.2250738585072014e-308));
  EXPECT_FALSE(IsBadNumber(-1.7976931348623157e308));
  EXPECT_TRUE(IsBadFloat(std::nanf("")));
  EXPECT_TRUE(IsBadFloat(1e-39f));
  EXPECT_FALSE(IsBadFloat(3.4028234663852886e38f));
}

// Whatever the formula and whatever fails in it, the stacks own nothing but
// the result afterwards.
TEST_F(Evaluate, RandomFormulasLeaveOnlyTheirResult) {
  const char* const pieces[] = {
      "1",      "2.5",   "'ab'",     "\"x\"",   "A1",       "A3",      "B1:C3",   "1:2",    "{1,'a';2,3}",
      "{4}",    "foo",   "Sheet2!",  "'Nope'!", "+",        "-",       "*",       "/",      "^",
      "&",      "=",     "<",        "%",       "_",        ":",       "!",       "(",      ")",
      ",",      "SUM(",  "DSUM(",    "PI(",     "#DIV/0!",  "1E999",   "C2",      "D1",     " ",
  };
  const uint32_t seed = TestSeed(1019);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<size_t> pick(0, sizeof pieces / sizeof pieces[0] - 1);
  std::uniform_int_distribution<int> length(1, 40);
  for (int round = 0; round < 2000; ++round) {
    std::string formula = "=";
    for (int n = length(random); n > 0; --n) formula += pieces[pick(random)];
    SCOPED_TRACE(formula);
    const uint32_t kind = state.Evaluate(formula.c_str(), 5, 9);
    char message[200] = "";
    ASSERT_TRUE(state.CheckStackOwnership(message, sizeof message)) << message;
    ASSERT_EQ(state.operandTop, 1);
    ASSERT_EQ(state.operatorTop, 0);
    ASSERT_EQ(kind == 0, state.status != 0);
    if (kind == kEvalNumber) {
      ASSERT_FALSE(IsBadNumber(state.operands[1].number));
    }
  }
}

}  // namespace

namespace {

// The array store is emptied at the start of a formula only when its chain
// changed since it was last emptied: a chain left behind, as a handler that
// gave up half way would leave it, must still be gone before any formula,
// whether that formula takes steps, folds to a constant or is scanned.
TEST(EvaluateStart, EmptiesAnArrayStoreChangedSinceTheLastFormula) {
  CellStore sheet;
  EvalState state(nullptr, &sheet);
  for (const char* formula : {"=1", "=1+2", "=SUM(1,2)", "=1", "=1+2", "=SUM(1,2)", "={1,2}"}) {
    SCOPED_TRACE(formula);
    state.Evaluate(formula, 0, 0);
    state.ReleaseValues(state.operandTop, state.operandTop);
    PutNumber(state.arrays, 0, 0, 2.0);
    ASSERT_NE(state.arrays.FirstBlock(), nullptr);
    state.Evaluate(formula, 0, 0);
    EXPECT_EQ(state.arrays.FirstBlock(), nullptr);
    char message[128];
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << message;
  }
}

}  // namespace
