#include "services/convert/number_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseDouble, ReadsWholeTextsWithTheGivenSeparator) {
  const struct {
    const char* text;
    char separator;
    bool ok;
    double value;
  } cases[] = {
      {" 3,25  ", ',', true, 3.25},   {"3.25", '.', true, 3.25},  {"-1e3", '.', true, -1000},
      {"3,25", '.', false, 0},        {"3.25x", '.', false, 0},   {"3,25 x", ',', false, 0},
      {"", '.', false, 0},            {"   ", ',', false, 0},     {"1,5,2", ',', false, 0},
      {"1e999", '.', false, 0},       {"nan", '.', false, 0},     {"inf", '.', false, 0},
  };
  for (const auto& c : cases) {
    double value = -7;
    EXPECT_EQ(ParseDouble(c.text, c.separator, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : -7) << c.text;
  }
}

TEST(FormatDouble, DropsTrailingDecimalZerosButKeepsIntegersAndExponents) {
  const struct {
    double value;
    int decimals;
    char separator;
    const char* text;
  } cases[] = {
      {2.5, 3, ',', "2,5"},     {2.0, 2, '.', "2"},        {2.0, 2, ',', "2"},
      {100, 0, '.', "100"},     {100, -1, ',', "100"},     {1200.5, 2, ',', "1200,5"},
      {0.1, -1, ',', "0,1"},    {-0.125, 2, '.', "-0.13"}, {1.5e20, -1, ',', "1,5e+020"},
      {0.0, 3, ',', "0"},
  };
  for (const auto& c : cases) {
    char buffer[kFormatDoubleCapacity];
    const size_t length = FormatDouble(buffer, sizeof buffer, c.separator, c.value, c.decimals);
    EXPECT_STREQ(buffer, c.text) << c.value << " " << c.decimals;
    EXPECT_EQ(length, std::char_traits<char>::length(c.text));
  }
}

TEST(FormatDouble, ReadsBackThroughParseDouble) {
  for (char separator : {'.', ','}) {
    for (double value : {0.5, -12.75, 3.0, 1234567.125, 1e-5}) {
      char buffer[kFormatDoubleCapacity];
      ASSERT_GT(FormatDouble(buffer, sizeof buffer, separator, value, -1), 0u);
      double back = 0;
      ASSERT_TRUE(ParseDouble(buffer, separator, &back)) << buffer;
      EXPECT_EQ(back, value) << buffer;
    }
  }
}

}  // namespace
