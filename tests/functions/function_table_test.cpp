#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/function_table.h"
#include "tests/functions/unimplemented_names.h"

namespace {

TEST(FunctionTable, InstallsOneHandlerForEveryName) {
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  EXPECT_EQ(kFunctionHandlerBindingCount, 363u);
  std::set<std::string> names;
  for (size_t i = 0; i < kFunctionHandlerBindingCount; ++i)
    names.insert(kFunctionHandlerBindings[i].name);
  EXPECT_EQ(names.size(), 363u);
  for (uint16_t i = 0; i < BuiltinFunctionCount(); ++i)
    EXPECT_NE(BuiltinFunctionTable[i].handler, nullptr) << BuiltinFunctionTable[i].name;
}

TEST(FunctionTable, EveryNameIsFoundInAnyLetterCaseAfterInstalling) {
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  for (size_t i = 0; i < kFunctionHandlerBindingCount; ++i) {
    std::string lower = kFunctionHandlerBindings[i].name;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    for (const std::string& text : {std::string(kFunctionHandlerBindings[i].name), lower}) {
      uint16_t index = 0;
      const char* end = nullptr;
      ASSERT_TRUE(FindBuiltinFunction(text.c_str(), &index, &end)) << text;
      EXPECT_EQ(BuiltinFunctionTable[index].handler, kFunctionHandlerBindings[i].handler) << text;
    }
  }
}

TEST(FunctionTable, UnimplementedNamesAnswerImplErrorAndReleaseTheirArguments) {
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  EvalState state;
  for (const char* name : kUnimplementedNames) {
    const std::string call = std::string(name) + "(";
    uint16_t index = 0;
    ASSERT_TRUE(FindBuiltinFunction(call.c_str(), &index, nullptr)) << name;
    ASSERT_EQ(BuiltinFunctionTable[index].handler, &FnNotImplemented) << name;

    // DSUM("a", {1,2}, 3) as the evaluator leaves it: three arguments, a
    // pool string and an array chain, then the call record.
    state.ResetForFormula(0, 0);
    const char* p = "'a' {1,2} 3";
    for (uint16_t slot = 1; slot <= 3; ++slot) state.NextToken(&p, &state.operands[slot], true);
    ASSERT_EQ(state.strings.Count(), 1);
    ASSERT_EQ(state.arrays.SavedCount(), 1u);
    EvalValue& call_record = state.operands[4];
    call_record.Clear();
    call_record.kind = kEvalFunctionCall;
    call_record.functionIndex = index;
    call_record.firstArgument = 1;
    state.operandTop = 4;

    BuiltinFunctionTable[index].handler(state);
    EXPECT_EQ(state.operandTop, 1);
    EXPECT_EQ(state.operands[1].kind, kEvalEmpty);
    EXPECT_EQ(state.operands[1].error, kErrorImpl);
    EXPECT_EQ(state.strings.Count(), 0) << name;
    EXPECT_EQ(state.arrays.SavedCount(), 0u) << name;
  }
}

TEST(FunctionTable, UnimplementedNameWithoutArguments) {
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  EvalState state;
  state.ResetForFormula(0, 0);
  EvalValue& call_record = state.operands[1];
  call_record.Clear();
  call_record.kind = kEvalFunctionCall;
  call_record.firstArgument = 1;
  state.operandTop = 1;
  FnNotImplemented(state);
  EXPECT_EQ(state.operandTop, 1);
  EXPECT_EQ(state.operands[1].error, kErrorImpl);
}

}  // namespace
