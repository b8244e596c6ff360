#ifndef TALVERO_TESTS_FUNCTIONS_FORMULA_RESULT_TEXT_H
#define TALVERO_TESTS_FUNCTIONS_FORMULA_RESULT_TEXT_H

// Formula value tables: a display-form formula evaluated in a cell of the
// evaluator's worksheet, its result written as one text: a number as
// DoubleToText writes it ("3", "1.5"), a text in double quotes ("\"abc\""),
// an array as a stored-form constant ("{1, 2}"), an error by its name, and
// "#SYNTAX!" when the formula cannot be evaluated.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/double_to_text.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"

inline std::string EvaluateToText(EvalState& state, const char* display, uint32_t column, uint32_t row) {
  char text[kFormulaTextCapacity + 1];
  if (std::strlen(display) > kFormulaTextCapacity) return "TOO LONG";
  std::strcpy(text, display);
  if (!state.TranslateFormula(text, sizeof text, column, row, true)) return "UNTRANSLATABLE";
  const uint32_t kind = state.Evaluate(text, column, row);
  char message[200] = "";
  EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << display << ": " << message;
  const EvalValue& result = state.operands[1];
  if (kind == 0) return ErrorName(kErrorSyntax);
  if (kind == kEvalArray) return TopArrayText(state, result);
  if (result.error != kErrorNone) return ErrorName(static_cast<uint8_t>(result.error));
  if (kind == kEvalText) return "\"" + std::string(state.strings.Top()) + "\"";
  char number[64];
  DoubleToText(result.number, number, sizeof number, nullptr);
  return number;
}

struct FormulaCase {
  const char* formula;  // display form
  const char* result;   // as EvaluateToText writes it
};

// A worksheet and its evaluator with the function library installed, in
// the generic settings; formulas run in Z100.
class FormulaTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
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

#endif
