#include "core/numfmt/format_code_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/numfmt/num_format_params.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};
const RegionalSettings kDotThousands = {0, '.', '.', '/', ':', ',', ';', 0, 0, "$", 0};

std::string Build(uint8_t category, const NumFormatOptions& options,
                  const RegionalSettings* separators = nullptr) {
  char code[kNumFormatCodeSize];
  EXPECT_TRUE(BuildFormatCode(category, options, code, sizeof code, separators));
  return code;
}

NumFormatOptions Options() {
  NumFormatOptions options;
  memset(&options, 0, sizeof options);
  return options;
}

TEST(FormatCodeBuilder, BuildsTheCodeOfEachCategory) {
  NumFormatOptions o = Options();
  o.number = {1, 2, 0, 0, 1, kNegativeRedParentheses, {}};
  EXPECT_EQ(Build(kNumFormatGeneral, o), "#,##0.00;[red](#,##0.00)");
  o.number = {0, 0, 0, 0, 0, kNegativeMinus, {}};
  EXPECT_EQ(Build(kNumFormatGeneral, o), "0.#");
  o.number = {1, 0, 1, 3, 0, kNegativeParentheses, {}};
  EXPECT_EQ(Build(kNumFormatGeneral, o), "000;(000)");
  o.number = {1, 1, 0, 0, 1, kNegativeRed, {}};
  EXPECT_EQ(Build(kNumFormatGeneral, o, &kCommaDecimal), "#.##0,0;[red]#.##0,0");

  o = Options();
  strcpy(o.currency.symbol, "$");
  o.currency.negativeStyle = kNegativeParentheses;
  EXPECT_EQ(Build(kNumFormatCurrency, o, &kDotThousands), "\"$\"#.##0;(\"$\"#.##0)");
  o.currency.decimals = 2;
  o.currency.symbolPosition = kSymbolAfterWithBlank;
  o.currency.negativeStyle = kNegativeMinus;
  EXPECT_EQ(Build(kNumFormatCurrency, o), "#,##0.00\" $\"");
  strcpy(o.currency.symbol, "a\"b");
  o.currency.symbolPosition = kSymbolBefore;
  EXPECT_EQ(Build(kNumFormatCurrency, o), "\"a\"\\\"\"b\"#,##0.00");

  o = Options();
  strcpy(o.currency.symbol, "$");
  EXPECT_EQ(Build(kNumFormatAccounting, o),
            "_(\"$\"* #,##0_);\\(\"$\"* #,##0\\);_(\"$\"* -_);_(@_)");
  o.currency.decimals = 2;
  EXPECT_EQ(Build(kNumFormatAccounting, o),
            "_(\"$\"* #,##0.00_);\\(\"$\"* #,##0.00\\);_(\"$\"* -?\?_);_(@_)");

  o = Options();
  o.dateTime.dateStyle = 1;
  EXPECT_EQ(Build(kNumFormatDate, o, &kCommaDecimal), "dd.mm.yyyy");
  o.dateTime.timeStyle = 2;
  o.dateTime.timeFirst = 1;
  EXPECT_EQ(Build(kNumFormatDateTime, o, &kCommaDecimal), "hh:mm\\ dd.mm.yyyy");
  o.dateTime.timeFirst = 0;
  EXPECT_EQ(Build(kNumFormatDateTime, o), "mm/dd/yyyy\\ hh:mm");
  o.dateTime.dateStyle = 10;
  EXPECT_EQ(Build(kNumFormatDate, o, &kCommaDecimal), "dddd, dd mmmm, yyyy");
  o.dateTime.dateStyle = 42;
  EXPECT_EQ(Build(kNumFormatDate, o), "m/d/yyyy");

  o = Options();
  const char* const times[] = {"h:mm",      "h:mm AM/PM",    "hh:mm",      "hh:mm AM/PM",
                               "h:mm:ss",   "h:mm:ss AM/PM", "hh:mm:ss",   "hh:mm:ss AM/PM",
                               "[m]:ss.00", "[h]:mm:ss",     "[d] hh:mm",  "h:mm"};
  for (int style = 0; style < 12; ++style) {
    o.dateTime.timeStyle = static_cast<uint8_t>(style);
    EXPECT_EQ(Build(kNumFormatTime, o), times[style]) << style;
  }
  o.dateTime.timeStyle = 8;
  EXPECT_EQ(Build(kNumFormatTime, o, &kCommaDecimal), "[m]:ss,00");

  o = Options();
  o.number.fixedDecimals = 1;
  o.number.decimals = 2;
  EXPECT_EQ(Build(kNumFormatPercent, o), "#,##0.00\\%");
  o.number.fixedDecimals = 0;
  EXPECT_EQ(Build(kNumFormatPercent, o), "#,##0.#\\%");

  o = Options();
  o.fraction.denominatorDigits = 2;
  EXPECT_EQ(Build(kNumFormatFraction, o), "?\\ ?\?/??");
  o.fraction.fixedDenominator = 1;
  o.fraction.denominator = 16;
  EXPECT_EQ(Build(kNumFormatFraction, o), "?\\ ?\?/\"16\"");

  o = Options();
  o.scientific = {1, 2, kExponentAutomatic, 0, {}};
  EXPECT_EQ(Build(kNumFormatScientific, o), "0.00e+00");
  o.scientific = {0, 0, kExponentFixedPositive, 3, {}};
  EXPECT_EQ(Build(kNumFormatScientific, o), "0.#e+\"03\"");
  o.scientific = {1, 0, kExponentFixedNegative, 12, {}};
  EXPECT_EQ(Build(kNumFormatScientific, o), "0e-\"12\"");

  EXPECT_EQ(Build(kNumFormatDefault, o), "");
  EXPECT_EQ(Build(kNumFormatUserPattern, o), "");
  EXPECT_EQ(Build(11, o, &kCommaDecimal), "#,#");
}

TEST(FormatCodeBuilder, UsesTheCurrentDateOrderWhenAsked) {
  RegionalSettings& current = CurrentRegionalSettings();
  const RegionalSettings saved = current;
  current.shortDateOrder = kDateOrderYearMonthDay;
  current.longDateOrder = kDateOrderDayMonthYear;
  NumFormatOptions o = Options();
  o.dateTime.dateStyle = 3;
  EXPECT_EQ(Build(kNumFormatDate, o), "mm/dd/yy");
  o.dateTime.useLocaleOrder = 1;
  EXPECT_EQ(Build(kNumFormatDate, o), "yy/mm/dd");
  o.dateTime.dateStyle = 9;
  EXPECT_EQ(Build(kNumFormatDate, o), "d mmmm, yyyy");
  current = saved;
}

TEST(FormatCodeBuilder, BuiltCodesShowNumbersAsMeant) {
  const struct {
    uint8_t category;
    NumFormatOptions options;
    double value;
    const char* text;
  } cases[] = {
      {kNumFormatGeneral, {.number = {1, 2, 0, 0, 1, kNegativeParentheses, {}}}, -1234.5, "(1,234.50)"},
      {kNumFormatGeneral, {.number = {0, 0, 0, 0, 0, 0, {}}}, 1.0 / 3, "0.33333333333333"},
      {kNumFormatPercent, {.number = {1, 1, 0, 0, 0, 0, {}}}, 12.345, "12.3%"},
      {kNumFormatScientific, {.scientific = {1, 2, kExponentFixedPositive, 3, {}}}, 12345, "12.35e+03"},
      {kNumFormatScientific, {.scientific = {1, 2, kExponentFixedNegative, 3, {}}}, 0.012345, "12.35e-03"},
      {kNumFormatScientific, {.scientific = {1, 2, kExponentFixedPositive, 0, {}}}, 12.5, "12.50e+00"},
      {kNumFormatScientific, {.scientific = {1, 2, kExponentFixedNegative, 0, {}}}, 12.5, "12.50e00"},
      {kNumFormatFraction, {.fraction = {0, 1, {}, 0, {}}}, 2.25, "2 1/4"},
      {kNumFormatFraction, {.fraction = {1, 0, {}, 16, {}}}, 2.25, "2 4/16"},  // the numerator's unused "?" is a blank
  };
  for (const auto& c : cases) {
    char code[kNumFormatCodeSize];
    ASSERT_TRUE(BuildFormatCode(c.category, c.options, code, sizeof code, nullptr));
    char text[kFormattedTextCapacity];
    EXPECT_TRUE(FormatNumberToString(c.value, code, text, sizeof text, nullptr)) << code;
    EXPECT_STREQ(text, c.text) << code;
  }
}

// Every option combination, documented or not, gives a code that compiles
// with the separators it was built with, and formats a number.
class EveryCodeCompiles {
 public:
  explicit EveryCodeCompiles(const RegionalSettings* separators) : separators_(separators) {}

  void Check(uint8_t category, const NumFormatOptions& options, bool formats = true) {
    char code[kNumFormatCodeSize];
    ASSERT_TRUE(BuildFormatCode(category, options, code, sizeof code, separators_));
    NumberFormat compiled;
    ASSERT_TRUE(compiled.Compile(code, separators_)) << "category " << int(category) << ": " << code;
    // Shown values go through the code compiled in the generic form.
    if (separators_ == nullptr && formats) {
      NumberFormat out;
      EXPECT_TRUE(out.FormatNumber(-1234.5678, code, nullptr)) << code;
    }
    ++count_;
  }
  int count() const { return count_; }

 private:
  const RegionalSettings* separators_;
  int count_ = 0;
};

TEST(FormatCodeBuilder, EveryOptionCombinationCompiles) {
  const RegionalSettings* const separatorSets[] = {nullptr, &kCommaDecimal, &kDotThousands};
  const char* const symbols[] = {"", "$", "EUR", "\"", "a\"b", "\\", "[x]", "12345678901234"};
  for (const RegionalSettings* separators : separatorSets) {
    EveryCodeCompiles check(separators);
    NumFormatOptions o = Options();
    for (int fixed = 0; fixed < 2; ++fixed)
      for (int decimals = 0; decimals <= 16; ++decimals)
        for (int leading = 0; leading < 2; ++leading)
          for (int digits = 0; digits <= 16; digits += leading ? 1 : 16)
            for (int grouping = 0; grouping < 2; ++grouping)
              for (int negative = 0; negative <= 4; ++negative) {
                o.number = {uint8_t(fixed), uint8_t(decimals), uint8_t(leading), uint8_t(digits),
                            uint8_t(grouping), uint8_t(negative), {}};
                check.Check(kNumFormatGeneral, o);
                check.Check(kNumFormatPercent, o);
              }
    o = Options();
    for (const char* symbol : symbols)
      for (int decimals = 0; decimals <= 16; ++decimals)
        for (int position = 0; position <= 4; ++position)
          for (int negative = 0; negative <= 4; ++negative) {
            memset(o.currency.symbol, 0, sizeof o.currency.symbol);
            strncpy(o.currency.symbol, symbol, kCurrencySymbolSize - 1);
            o.currency.decimals = uint8_t(decimals);
            o.currency.symbolPosition = uint8_t(position);
            o.currency.negativeStyle = uint8_t(negative);
            check.Check(kNumFormatCurrency, o);
            check.Check(kNumFormatAccounting, o);
          }
    // A symbol filling all fifteen bytes, without its NUL.
    memset(o.currency.symbol, '"', sizeof o.currency.symbol);
    check.Check(kNumFormatCurrency, o);
    check.Check(kNumFormatAccounting, o);
    o = Options();
    for (int date = 0; date <= 11; ++date)
      for (int time = 0; time <= 11; ++time)
        for (int localeOrder = 0; localeOrder < 2; ++localeOrder)
          for (int timeFirst = 0; timeFirst < 2; ++timeFirst) {
            o.dateTime = {uint8_t(date), uint8_t(time), uint8_t(localeOrder), uint8_t(timeFirst), {}};
            check.Check(kNumFormatDate, o);
            check.Check(kNumFormatTime, o);
            check.Check(kNumFormatDateTime, o);
          }
    o = Options();
    const uint64_t denominators[] = {0, 1, 2, 9, 10, 16, 100, 1000, 99999999999ull,
                                     18446744073709551615ull};
    for (int fixed = 0; fixed < 2; ++fixed)
      for (int digits = 0; digits <= 16; ++digits)
        for (uint64_t denominator : denominators) {
          o.fraction.fixedDenominator = uint8_t(fixed);
          o.fraction.denominatorDigits = uint8_t(digits);
          o.fraction.denominator = denominator;
          // Fixed denominators beyond 18 digits compile but are refused when shown.
          check.Check(kNumFormatFraction, o, !fixed || denominator < 1000000000000000000ull);
        }
    o = Options();
    for (int fixed = 0; fixed < 2; ++fixed)
      for (int decimals = 0; decimals <= 16; ++decimals)
        for (int style = 0; style <= 3; ++style)
          for (int exponent = 0; exponent <= 120; exponent += style == 0 ? 120 : 1) {
            o.scientific = {uint8_t(fixed), uint8_t(decimals), uint8_t(style), uint8_t(exponent), {}};
            check.Check(kNumFormatScientific, o);
          }
    for (int category = 0; category <= 255; ++category) check.Check(uint8_t(category), o);
    EXPECT_GT(check.count(), 10000);
  }
}

TEST(FormatCodeBuilder, RefusesABufferTooSmall) {
  NumFormatOptions o = Options();
  o.number = {1, 2, 0, 0, 1, kNegativeRedParentheses, {}};
  char code[8];
  EXPECT_FALSE(BuildFormatCode(kNumFormatGeneral, o, code, sizeof code, nullptr));
  EXPECT_STREQ(code, "");
}

}  // namespace
