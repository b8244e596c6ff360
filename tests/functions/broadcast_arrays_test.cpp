#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/formula/builtin_function_table.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/arg_readers.h"
#include "tests/core/eval_test_cells.h"

namespace {

int elementCalls = 0;

// Flags every range or array argument, else adds its arguments' numbers.
void ElementSum(EvalState& state) {
  const uint16_t first = FirstArg(state);
  uint8_t flags[EvalState::kStackSlots] = {};
  bool any = false;
  for (uint16_t i = 0; i < ArgCount(state); ++i) {
    const uint32_t kind = state.operands[first + i].kind;
    flags[i] = kind == kEvalRange || kind == kEvalArray;
    any = any || flags[i];
  }
  if (any) {
    state.BroadcastArrays(flags, first);
    return;
  }
  ++elementCalls;
  double sum = 0;
  uint8_t error = 0;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first && slot > 0; --slot) {
    double x = 0;
    const uint8_t e = GetArgNumber(state, slot, &x, -1e300, 1e300);
    if (e > error) error = e;
    sum += x;
  }
  SetNumberResult(state, sum, error);
}

// Broadcasts only its first argument; the second is taken whole and counted.
void FirstPlusCellsOfSecond(EvalState& state) {
  if (!RequireArgs(state, 2)) return;
  const uint16_t first = FirstArg(state);
  const uint32_t kind = state.operands[first].kind;
  if (kind == kEvalRange || kind == kEvalArray) {
    const uint8_t flags[2] = {1, 0};
    state.BroadcastArrays(flags, first);
    return;
  }
  ArgRange range;
  const uint8_t error = GetArgRange(state, static_cast<uint16_t>(first + 1), &range);
  int cells = 0;
  while (NextArgCell(range)) ++cells;
  ReleaseArgRange(state, range);
  double x = 0;
  const uint8_t e = GetArgNumber(state, first, &x, -1e300, 1e300);
  SetNumberResult(state, x + cells, e > error ? e : error);
}

// The lower-case text of its argument, element by element.
void ElementText(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  const uint16_t first = FirstArg(state);
  const uint32_t kind = state.operands[first].kind;
  if (kind == kEvalRange || kind == kEvalArray) {
    const uint8_t flags[1] = {1};
    state.BroadcastArrays(flags, first);
    return;
  }
  char text[kArgTextCapacity] = "";
  const uint8_t error = GetArgText(state, first, text);
  for (char* c = text; *c; ++c)
    if (*c >= 'A' && *c <= 'Z') *c = static_cast<char>(*c + 32);
  SetTextResult(state, text, std::strlen(text), error);
}

class Broadcast : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_EQ(BindBuiltinFunctionHandler("POWER(", ElementSum), 1);
    ASSERT_EQ(BindBuiltinFunctionHandler("ROUND(", FirstPlusCellsOfSecond), 1);
    ASSERT_EQ(BindBuiltinFunctionHandler("LOWER(", ElementText), 1);
    state.sheet = &sheet;
    PutNumber(sheet, 0, 1, 2);        // A2; A1 and A3 are empty
    PutNumber(sheet, 1, 0, 10);       // B1
    PutText(sheet, 1, 2, "Abc");      // B3
    PutNumber(sheet, 2, 2, 1, kErrorNA);  // C3
  }
  void TearDown() override {
    for (const char* name : {"POWER(", "ROUND(", "LOWER("}) BindBuiltinFunctionHandler(name, FnNotImplemented);
  }

  // The display formula in E10: its array as a stored-form constant, or the
  // error it gives.
  std::string Run(const char* display) {
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, display);
    EXPECT_TRUE(state.TranslateFormula(text, sizeof text, 4, 9, true)) << display;
    elementCalls = 0;
    const uint32_t kind = state.Evaluate(text, 4, 9);
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << display << ": " << message;
    if (kind == kEvalArray) return TopArrayText(state, state.operands[1]);
    if (kind == 0) return "SYNTAX";
    return ErrorName(static_cast<uint8_t>(state.operands[1].error));
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(Broadcast, AnOnlyRangeArgumentVisitsItsCellsOnly) {
  EXPECT_EQ(Run("=POWER(A1:A3)"), "{; 2; }");
  EXPECT_EQ(elementCalls, 1);
}

TEST_F(Broadcast, AScalarArgumentVisitsEveryPosition) {
  EXPECT_EQ(Run("=POWER(A1:A3,10)"), "{10; 12; 10}");
  EXPECT_EQ(elementCalls, 3);
}

TEST_F(Broadcast, RangesVisitThePositionsWhereAnyHasACell) {
  EXPECT_EQ(Run("=POWER(A1:A3,B1:B3)"), "{10; 2; #NUM!}");
  EXPECT_EQ(elementCalls, 3);
  EXPECT_EQ(Run("=POWER(A1:A3,C1:C3)"), "{; 2; #N/A!}");
  EXPECT_EQ(elementCalls, 2);
}

TEST_F(Broadcast, MismatchedShapesGiveValueError) {
  const char* const mismatched[] = {
      "=POWER({1,2},{1;2})", "=POWER(A1:A3,A1:B3)", "=POWER(A1:A2,{1,2,3},5)", "=POWER(1:1,A:A)",
  };
  for (const char* formula : mismatched) {
    EXPECT_EQ(Run(formula), "#VALUE!") << formula;
    EXPECT_EQ(elementCalls, 0) << formula;
  }
}

TEST_F(Broadcast, UnflaggedArgumentsAreGivenAfreshToEveryElement) {
  EXPECT_EQ(Run("=ROUND({1,2;3,4},{5,6,7})"), "{4, 5; 6, 7}");
  EXPECT_EQ(Run("=ROUND(A1:A3,B1:C3)"), "{3; 5; 3}");
  EXPECT_EQ(Run("=POWER({1,2},'x')"), "{#NUM!, #NUM!}");
  EXPECT_EQ(Run("=POWER({1,2},'3')"), "{4, 5}");
  EXPECT_EQ(Run("=POWER({1,2},A2)"), "{3, 4}");
}

TEST_F(Broadcast, TextResultsAndNesting) {
  EXPECT_EQ(Run("=LOWER(B1:B3)"), "{\"10\"; ; \"abc\"}");
  EXPECT_EQ(Run("=LOWER({'X','Y'})&'!'"), "{\"x!\", \"y!\"}");
  EXPECT_EQ(Run("=POWER(POWER({1,2},1),{10,20})"), "{12, 23}");
  EXPECT_EQ(Run("=POWER(1/0,{1,2})"), "{#DIV/0!, #DIV/0!}");
}

// Many elements, each pushing and popping texts and arrays, must leave the
// pool and the array stack as they found them.
TEST_F(Broadcast, LargeShapesStayInStep) {
  const uint32_t kind = state.Evaluate("=ROUND(R1C1:R2000C1,{1,2})+1", 0, 0);
  ASSERT_EQ(kind, kEvalArray);
  EXPECT_EQ(state.operands[1].second.row, 1999u);
  EXPECT_TRUE(state.CheckStackOwnership());
}

}  // namespace
