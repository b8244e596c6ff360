#include "core/base/error_code.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ErrorCode, EveryDisplayTextGivesItsCodeWhateverTheCase) {
  struct Case { const char* text; uint8_t code; };
  const Case cases[] = {
      {"#DIV/0!", kErrorDivZero}, {"#name?", kErrorName},   {"#Null!", kErrorNull},
      {"#n/a!", kErrorNA},        {"#NUM!", kErrorNum},     {"#rEf!", kErrorRef},
      {"#VALUE!", kErrorValue},   {"#memory!", kErrorMemory}, {"#FILL!", kErrorFill},
      {"#circ!", kErrorCirc},     {"#Impl!", kErrorImpl},   {"#syntax!", kErrorSyntax},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorCodeFromText(c.text), c.code) << c.text;
}

TEST(ErrorCode, OnlyTheWholeTextMatches) {
  const char* const texts[] = {"",       "#",        "#N/A",     "#NUM",     "#NUM! ",
                               " #NUM!", "NUM!",     "#NUM!#NUM!", "#DIV/0",   "#SYNTAX",
                               "#REF!x", "#VALUE?",  "TRUE",     "#IMPL!!",  "#Ref"};
  for (const char* text : texts) EXPECT_EQ(ErrorCodeFromText(text), 0) << '"' << text << '"';
  EXPECT_EQ(ErrorCodeFromText(nullptr), 0);
}

TEST(ErrorCode, NamesRoundTripAndOnlyCodesHaveNames) {
  for (int i = 1; i <= kErrorCodeCount; ++i) {
    const uint8_t code = static_cast<uint8_t>(i * 16);
    const char* name = ErrorName(code);
    ASSERT_GT(std::strlen(name), 1u) << i;
    EXPECT_EQ(name[0], '#');
    EXPECT_EQ(ErrorCodeFromText(name), code) << name;
  }
  EXPECT_STREQ(ErrorName(kErrorNA), "#N/A!");
  EXPECT_STREQ(ErrorName(kErrorSyntax), "#SYNTAX!");
  for (int code : {0, 1, 8, 17, 200, 208, 224, 255}) EXPECT_STREQ(ErrorName(uint8_t(code)), "") << code;
}
