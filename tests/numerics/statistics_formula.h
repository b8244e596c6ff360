#ifndef TALVERO_TESTS_NUMERICS_STATISTICS_FORMULA_H
#define TALVERO_TESTS_NUMERICS_STATISTICS_FORMULA_H

// Evaluating display-form formulas with the statistical handlers installed,
// for the numerics tests.

#include <gtest/gtest.h>

#include <cstdio>

#include <cmath>
#include <cstring>
#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"

struct FormulaOutcome {
  uint32_t kind;  // 0 when the formula could not be evaluated
  double number;
  uint8_t error;
  std::string text;
};

class StatisticsFormulaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
    state.sheet = &sheet;
  }
  void TearDown() override { ResetGlobalOptions(); }

  // Evaluated in Z100; the stacks must own nothing but the result after.
  FormulaOutcome Evaluate(const std::string& formula) {
    char text[kFormulaTextCapacity + 1];
    std::strncpy(text, formula.c_str(), sizeof text - 1);
    text[sizeof text - 1] = '\0';
    FormulaOutcome outcome{0, 0.0, 0, ""};
    if (!state.TranslateFormula(text, sizeof text, 25, 99, true)) return outcome;
    outcome.kind = state.Evaluate(text, 25, 99);
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << formula << ": " << message;
    const EvalValue& result = state.operands[1];
    outcome.number = result.number;
    outcome.error = static_cast<uint8_t>(result.error);
    if (outcome.kind == kEvalText) outcome.text.assign(state.SlotText(1), state.SlotTextLength(1));
    return outcome;
  }

  void PutNumberCell(uint16_t column, uint32_t row, double value) {
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, column, value, 0));
    ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  }

  CellStore sheet;
  EvalState state;
};

// Relative agreement, with exact zeros compared exactly.
inline ::testing::AssertionResult RelativelyNear(double actual, double expected, double tolerance) {
  const double allowed = tolerance * std::fabs(expected);
  if (std::fabs(actual - expected) <= allowed) return ::testing::AssertionSuccess();
  char text[160];
  std::snprintf(text, sizeof text, "%.17g differs from %.17g by %.3g relative", actual, expected,
                expected != 0.0 ? std::fabs(actual / expected - 1.0) : std::fabs(actual));
  return ::testing::AssertionFailure() << text;
}

#endif
