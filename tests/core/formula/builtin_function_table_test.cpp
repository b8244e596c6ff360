#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/formula/builtin_function_table.h"
#include "core/formula/eval_state.h"

namespace {

TEST(BuiltinFunctionTable, HoldsSortedUpperCaseNamesWithTheirParenthesis) {
  EvalState sortsTheTable;
  ASSERT_EQ(BuiltinFunctionCount(), kBuiltinFunctionCount);
  EXPECT_EQ(BuiltinFunctionTable[kBuiltinFunctionCount].name[0], '\0');
  int distinct = 1;
  for (uint16_t i = 0; i < kBuiltinFunctionCount; ++i) {
    const char* name = BuiltinFunctionTable[i].name;
    // Without the function library every name still answers "#IMPL!".
    EXPECT_EQ(BuiltinFunctionTable[i].handler, &FnNotImplemented) << name;
    const size_t length = std::strlen(name);
    ASSERT_GE(length, 2u);
    EXPECT_EQ(name[length - 1], '(') << name;
    for (size_t k = 0; k + 1 < length; ++k)
      EXPECT_TRUE((name[k] >= 'A' && name[k] <= 'Z') || (name[k] >= '0' && name[k] <= '9')) << name;
    if (i > 0) {
      const int order = std::strcmp(BuiltinFunctionTable[i - 1].name, name);
      EXPECT_LE(order, 0) << name;
      if (order != 0) ++distinct;
    }
  }
  EXPECT_EQ(distinct, 363);
}

std::string MixCase(const char* name, int variant) {
  std::string text = name;
  for (size_t k = 0; k < text.size(); ++k) {
    const bool lower = variant == 1 || (variant == 2 && k % 2 == 1);
    if (lower && text[k] >= 'A' && text[k] <= 'Z') text[k] = static_cast<char>(text[k] + 32);
  }
  return text;
}

TEST(BuiltinFunctionTable, FindsEveryNameInAnyLetterCase) {
  const uint16_t count = BuiltinFunctionCount();
  for (uint16_t i = 0; i < count; ++i) {
    const char* name = BuiltinFunctionTable[i].name;
    for (int variant = 0; variant < 3; ++variant) {
      const std::string text = MixCase(name, variant) + "1)";
      uint16_t index = 0xFFFF;
      const char* end = nullptr;
      ASSERT_TRUE(FindBuiltinFunction(text.c_str(), &index, &end)) << text;
      EXPECT_STREQ(BuiltinFunctionTable[index].name, name) << text;
      EXPECT_STREQ(end, "1)") << text;
    }
    // Without its parenthesis a name is no call.
    std::string bare(name, std::strlen(name) - 1);
    EXPECT_FALSE(FindBuiltinFunction((bare + " (").c_str(), nullptr, nullptr)) << bare;
    EXPECT_FALSE(FindBuiltinFunction((bare + "X(").c_str(), nullptr, nullptr)) << bare;
  }
  EXPECT_FALSE(FindBuiltinFunction("", nullptr, nullptr));
  EXPECT_FALSE(FindBuiltinFunction("(", nullptr, nullptr));
  EXPECT_FALSE(FindBuiltinFunction("ZZZ(", nullptr, nullptr));
}

TEST(BuiltinFunctionTable, DuplicateNamesStandTwice) {
  for (const char* name : {"WEEKDAY(", "ISBLANK("}) {
    int entries = 0;
    for (uint16_t i = 0; i < BuiltinFunctionCount(); ++i)
      entries += std::strcmp(BuiltinFunctionTable[i].name, name) == 0;
    EXPECT_EQ(entries, 2) << name;
  }
}

}  // namespace
