#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"

namespace {

class Concatenate : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
    PutNumber(sheet, 0, 0, 1);                                        // A1
    PutText(sheet, 1, 0, "x");                                        // B1
    PutFormula(sheet, 2, 0, "=1/0", 0, nullptr, kErrorDivZero, true);  // C1
    PutText(sheet, 0, 1, std::string(600, 'y'));                      // A2
  }

  // The text, or the error's name.
  std::string Run(const char* display) {
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, display);
    EXPECT_TRUE(state.TranslateFormula(text, sizeof text, 5, 9, true)) << display;
    const uint32_t kind = state.Evaluate(text, 5, 9);
    char message[200] = "";
    EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << display << ": " << message;
    if (kind == kEvalText) return state.strings.Top();
    if (kind == 0) return "SYNTAX";
    return ErrorName(static_cast<uint8_t>(state.operands[1].error));
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(Concatenate, JoinsArgumentsAndCellsInOrder) {
  const struct {
    const char* formula;
    const char* result;
  } cases[] = {
      {"=CONCATENATE('a',A1:B1,'c')", "a1xc"},
      {"=CONCATENATE(1.5,'-',A1)", "1.5-1"},
      {"=CONCATENATE({1,'b';3,4})", "1b34"},
      {"=CONCATENATE('a',,'b')", "ab"},
      {"=CONCATENATE(Z1:Z9,'only')", "only"},
      {"='<'&CONCATENATE('a','b')&'>'", "<ab>"},
      {"=CONCATENATE()", "SYNTAX"},
      {"=CONCATENATE('a',A1:C1)", "#DIV/0!"},
      {"=CONCATENATE(1/0,#N/A!)", "#N/A!"},
      {"=CONCATENATE(A2,A2)", "#VALUE!"},  // 1200 characters
      {"=CONCATENATE(A2:A2,{1,2},A2)", "#VALUE!"},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.formula), c.result) << c.formula;
  const std::string longest = "=CONCATENATE(A2,'" + std::string(424, 'z') + "')";
  EXPECT_EQ(Run(longest.c_str()).size(), 1024u);
}

}  // namespace
