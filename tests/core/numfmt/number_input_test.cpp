#include <gtest/gtest.h>

#include <cstring>

#include "core/numfmt/num_format_params.h"
#include "core/numfmt/number_input.h"
#include "core/numfmt/regional_settings.h"

namespace {

const RegionalSettings kUs = kGenericRegionalSettings;
const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};
const RegionalSettings kBlankThousands = {3, ',', ' ', '/', ':', ';', '\\', 1, 1, "kr", 0};

constexpr int kFails = -1;

struct NumberCase {
  const RegionalSettings* separators;
  const char* text;
  int category;  // kFails: not a number
  double value;
};

TEST(NumberInput, ReadsTypedNumbersAndTheirCategory) {
  const NumberCase cases[] = {
      {&kUs, "1,234", kNumFormatGeneral, 1234},
      {&kUs, "12,345,678.5", kNumFormatGeneral, 12345678.5},
      {&kUs, "1,23", kFails, 0},
      {&kUs, "1,234,5678", kFails, 0},
      {&kUs, "1234,567", kFails, 0},
      {&kUs, "1,", kFails, 0},
      {&kUs, "1,234.5,6", kFails, 0},
      {&kUs, "(5)", kNumFormatGeneral, -5},
      {&kUs, "(5", kFails, 0},
      {&kUs, "5)", kFails, 0},
      {&kUs, "(5) 1", kFails, 0},
      {&kUs, "12%", kNumFormatPercent, 0.12},
      {&kUs, "(5%)", kNumFormatPercent, -0.05},
      {&kUs, "5%%", kFails, 0},
      {&kUs, "%5", kFails, 0},
      {&kUs, "1e3", kNumFormatScientific, 1000},
      {&kUs, "1.5E-2", kNumFormatScientific, 0.015},
      {&kUs, "2 e +3", kNumFormatScientific, 2000},
      {&kUs, "1e", kFails, 0},
      {&kUs, "e3", kFails, 0},
      {&kUs, "1 1/4", kNumFormatFraction, 1.25},
      {&kUs, "-1 1/4", kNumFormatFraction, -1.25},
      {&kUs, "3/4", kNumFormatFraction, 0.75},
      {&kUs, "1/4%", kNumFormatPercent, 0.0025},
      {&kUs, "1.5/2", kFails, 0},
      {&kUs, "1/2/3", kFails, 0},
      {&kUs, "$5", kNumFormatCurrency, 5},
      {&kUs, "$ 5", kNumFormatCurrency, 5},
      {&kUs, "5$", kNumFormatCurrency, 5},
      {&kUs, "5 $", kNumFormatCurrency, 5},
      {&kUs, "-$5.25", kNumFormatCurrency, -5.25},
      {&kUs, "($1,234)", kNumFormatCurrency, -1234},
      {&kUs, "$5$", kFails, 0},
      {&kUs, "-5", kNumFormatDefault, -5},
      {&kUs, "+5", kNumFormatDefault, 5},
      {&kUs, " 5 ", kNumFormatDefault, 5},
      {&kUs, ".5", kNumFormatDefault, 0.5},
      {&kUs, "5.", kNumFormatDefault, 5},
      {&kUs, "-0", kNumFormatDefault, 0},
      {&kUs, "5 5", kFails, 0},  // two numbers are not one
      {&kUs, "", kFails, 0},
      {&kUs, "-", kFails, 0},
      {&kUs, ".", kFails, 0},
      {&kUs, "abc", kFails, 0},
      {&kUs, "5a", kFails, 0},
      // Nothing typed becomes infinite or loses its digits below the normal range.
      {&kUs, "1/0", kFails, 0},
      {&kUs, "0/0", kFails, 0},
      {&kUs, "1e999", kFails, 0},
      {&kUs, "-1e999", kFails, 0},
      {&kUs, "1e-999", kFails, 0},
      {&kUs, "1e-310", kFails, 0},
      {&kUs, "1e-306%", kFails, 0},
      {&kCommaDecimal, "1,5", kNumFormatDefault, 1.5},
      {&kCommaDecimal, "1.234,5", kNumFormatGeneral, 1234.5},
      {&kCommaDecimal, "1.5", kFails, 0},
      {&kCommaDecimal, "1,5e3", kNumFormatScientific, 1500},
      {&kCommaDecimal, "5 EUR", kNumFormatCurrency, 5},
      {&kCommaDecimal, "EUR5", kNumFormatCurrency, 5},
      {&kCommaDecimal, "5,25EUR", kNumFormatCurrency, 5.25},
      {&kCommaDecimal, "5 $", kFails, 0},
      {&kBlankThousands, "1 234,5", kNumFormatGeneral, 1234.5},
      {&kBlankThousands, "1 1/4", kNumFormatFraction, 1.25},
      {&kBlankThousands, "1 23", kFails, 0},
      {&kBlankThousands, "12 kr", kNumFormatCurrency, 12},
  };
  for (const NumberCase& c : cases) {
    double value = -99;
    uint8_t category = 77;
    NumFormatOptions options;
    const bool parsed = ParseWithFormat(c.text, &value, &category, &options, *c.separators);
    if (c.category == kFails) {
      EXPECT_FALSE(parsed) << "'" << c.text << "' gave " << value;
      EXPECT_EQ(category, kNumFormatDefault) << c.text;
      continue;
    }
    ASSERT_TRUE(parsed) << "'" << c.text << "'";
    EXPECT_EQ(category, c.category) << c.text;
    EXPECT_DOUBLE_EQ(value, c.value) << c.text;
  }
}

TEST(NumberInput, ImpliedOptionsFollowTheTyping) {
  double value = 0;
  uint8_t category = 0;
  NumFormatOptions o;

  ASSERT_TRUE(ParseWithFormat("1,234", &value, &category, &o, kUs));
  EXPECT_EQ(o.number.grouping, 1);
  EXPECT_EQ(o.number.negativeStyle, kNegativeMinus);

  ASSERT_TRUE(ParseWithFormat("(5)", &value, &category, &o, kUs));
  EXPECT_EQ(o.number.grouping, 0);
  EXPECT_EQ(o.number.negativeStyle, kNegativeParentheses);

  struct CurrencyCase {
    const char* text;
    uint8_t position;
    uint8_t decimals;
    uint8_t negativeStyle;
  } const currencies[] = {
      {"$5", kSymbolBefore, 0, kNegativeMinus},          {"$ 5.5", kSymbolBeforeWithBlank, 1, kNegativeMinus},
      {"5.25$", kSymbolAfter, 2, kNegativeMinus},        {"(5 $)", kSymbolAfterWithBlank, 0, kNegativeParentheses},
      {"$1 1/2", kSymbolBefore, 2, kNegativeMinus},
  };
  for (const auto& c : currencies) {
    ASSERT_TRUE(ParseWithFormat(c.text, &value, &category, &o, kUs)) << c.text;
    EXPECT_EQ(category, kNumFormatCurrency) << c.text;
    EXPECT_STREQ(o.currency.symbol, "$") << c.text;
    EXPECT_EQ(o.currency.symbolPosition, c.position) << c.text;
    EXPECT_EQ(o.currency.decimals, c.decimals) << c.text;
    EXPECT_EQ(o.currency.negativeStyle, c.negativeStyle) << c.text;
  }

  ASSERT_TRUE(ParseWithFormat("1 1/16", &value, &category, &o, kUs));
  EXPECT_EQ(o.fraction.fixedDenominator, 1);
  EXPECT_EQ(o.fraction.denominator, 16u);
  ASSERT_TRUE(ParseWithFormat("1/10000000000000000", &value, &category, &o, kUs));
  EXPECT_EQ(o.fraction.fixedDenominator, 0);
  EXPECT_EQ(o.fraction.denominatorDigits, 14);
}

}  // namespace
