#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};

struct NumberCase {
  double value;
  const char* code;
  const RegionalSettings* separators;
  const char* text;
};

void CheckNumbers(const NumberCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const NumberCase& c = cases[i];
    char buffer[kFormattedTextCapacity];
    EXPECT_TRUE(FormatNumberToString(c.value, c.code, buffer, sizeof buffer, c.separators))
        << c.value << " with " << c.code;
    EXPECT_STREQ(buffer, c.text) << c.value << " with " << c.code;
  }
}

// One word per output token: the character of literals and separators, "_x"
// for a blank as wide as x, "*x" for a fill. Bracket tokens show nothing.
std::string Layout(const NumberFormat& f) {
  std::string out;
  for (int i = 0; i < f.tokenCount; ++i) {
    const FormatToken& t = f.tokens[i];
    if (t.kind & kBracketKinds) continue;
    if (!out.empty()) out += ' ';
    if (t.kind == kTokenBlank) out += '_';
    if (t.kind == kTokenFill) out += '*';
    out += static_cast<char>(t.character);
  }
  return out;
}

TEST(NumberFormatter, FormatsFixedNumbers) {
  const NumberCase cases[] = {
      {1234567.891, "#,##0.00", nullptr, "1,234,567.89"},
      {1234567.891, "#,##0.00", &kCommaDecimal, "1.234.567,89"},
      {234567, "#,##0", nullptr, "234,567"},
      {0, "#,##0", nullptr, "0"},
      {1e20, "#,##0", nullptr, "100,000,000,000,000,000,000"},
      {1e20, "0", nullptr, "100000000000000000000"},
      {1234567, ",##0", nullptr, "1234567"},  // a leading separator groups nothing
      {123, "00000", nullptr, "00123"},
      {5, "0.##", nullptr, "5"},
      {5.2, "0.0#", nullptr, "5.2"},
      {5.256, "0.0#", nullptr, "5.256"},  // a last "#" shows every significant digit
      {2.675, "0.00", nullptr, "2.67"},  // 2.675 lies below the tie in binary
      {0.125, "0.00", nullptr, "0.13"},  // an exact tie goes away from zero
      {12.5, "0", nullptr, "13"},
      {-12.5, "0", nullptr, "-13"},
      {1234.5678, "#,##0.#", nullptr, "1,234.5678"},
      {1.0 / 3, "0.#", nullptr, "0.33333333333333"},
      {1500000, "0.0,,", nullptr, "1.5"},
      {1234567, "#,##0,", nullptr, "1,235"},
      {-5, "0.00", nullptr, "-5.00"},
      {-5, "0.00;(0.00)", nullptr, "(5.00)"},
      {0, "0;-0;'zero'", nullptr, "zero"},
      {-5, "'x'", nullptr, "x"},
      {-5, "General", nullptr, "-5"},
      {-5, "", nullptr, "-5"},
      {-2.5, "", &kCommaDecimal, "-2,5"},
      {1.5e20, "", &kCommaDecimal, "1,5e+020"},
      {12.5, "0 \"kg\"", nullptr, "13 kg"},
      {12.5, "General \"kg\"", nullptr, "12.5 kg"},
      {1500, "General,", nullptr, "1.5"},
      {-5, "0;;0", nullptr, ""},
      {0.5, "0%", nullptr, "1%"},  // the caller multiplies by 100; "%" is a literal here
      {-1234.5, "#,##0.00_);[Red]\\(#,##0.00\\)", nullptr, "(1,234.50)"},
  };
  CheckNumbers(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberFormatter, FormatsScientificNumbers) {
  const NumberCase cases[] = {
      {123456, "0.00E+00", nullptr, "1.23E+05"},
      {0.00012, "0.0E-0", nullptr, "1.2E-4"},
      {123456, "0.00E-00", nullptr, "1.23E05"},
      {0, "0.00E+00", nullptr, "0.00E+00"},
      {1e300, "0.0e+0", nullptr, "1.0e+300"},
      {1.5e-300, "0.0E+00", nullptr, "1.5E-300"},
      {123456, "0.##E+0", nullptr, "1.23456E+5"},
      {-123456, "0.0E+0", nullptr, "-1.2E+5"},
      {123456, "0.00E+00", &kCommaDecimal, "1,23E+05"},
      {1234, "0.0E+3", nullptr, "1.2E+3"},
            {0.001234, "0.00E-3", nullptr, "1.23E-3"},
      {12345, "0.0E+\"12\"", nullptr, "0.0E+12"},
  };
  CheckNumbers(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberFormatter, FormatsFractionsWithTheBestDenominator) {
  const NumberCase cases[] = {
      {0.25, "?/?", nullptr, "1/4"},
      {0.25, "?\?/??", nullptr, "1/4"},
      {3.5, "# ?/?", nullptr, "3 1/2"},
      {1.25, "?/?", nullptr, "5/4"},
      {3.14159265, "# ?/?", nullptr, "3 1/7"},
      {3.14159265, "# ?\?/??", nullptr, "3 14/99"},
      {3.14159265, "# ??\?/???", nullptr, "3 16/113"},
      {0.999, "# ?/?", nullptr, "1 "},
      {2.0 / 3, "0 0/0", nullptr, "0 2/3"},
      {3, "# 0/0", nullptr, "3 0/1"},
      {3, "?/?", nullptr, "3/1"},
      {123456.5, "?/?", nullptr, "246913/2"},
      {0.75, "?/4", nullptr, "3/4"},
      {0.3, "# ?/\"10\"", nullptr, " 3/10"},
      {0.99, "# ?/4", nullptr, "1 0/4"},
      {0.5, "0/4", nullptr, "2/4"},
      {0.1, "# ?\?/16", nullptr, " 2/16"},
      {-0.5, "# ?/?", nullptr, "- 1/2"},
      {1e300, "# ?/?", nullptr, "1e+300"},
      {9007199254740992.0, "# ?/?", nullptr, "9.007199254741e+015"},
      {9007199254740991.0, "# ?/?", nullptr, "9007199254740991 "},
      {9007199254740991.0, "?/???", nullptr, "9007199254740991/1"},
      {0.123456789, "?/??????????", nullptr, "109890109/890109891"},  // nine digits at most
  };
  CheckNumbers(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberFormatter, ChoosesSectionsByConditionAndSign) {
  const NumberCase cases[] = {
      {150, "[>100]'big';[<0]'neg';0", nullptr, "big"},
      {-3, "[>100]'big';[<0]'neg';0", nullptr, "neg"},
      {50, "[>100]'big';[<0]'neg';0", nullptr, "50"},
      {-3, "[<0]0;General", nullptr, "3"},
      {5, "[<0]0;General", nullptr, "5"},  // no numeric section holds: the general form
      {5, "[>=5][<10]'mid';0", nullptr, "mid"},
      {10, "[>=5][<10]'mid';0", nullptr, "10"},
      {-1, "0;[Red]-0;'z';@", nullptr, "-1"},
      {0, "0;-0;'z';@", nullptr, "z"},
      // A negative number shown through a section chosen by a condition
      // that is not written for negatives keeps its sign.
      {-1, "[>=1000]#,##0;0.00", nullptr, "-1.00"},
      {-1234.5678, "[>=1000]#,##0;0.00", nullptr, "-1234.57"},
      {1234.5678, "[>=1000]#,##0;0.00", nullptr, "1,235"},
      {-3, "[>100]0;[<>5]0.0", nullptr, "-3.0"},
      {-0.5, "[<=-1]0;0.0", nullptr, "-0.5"},
      {-5, "[<=-1](0);0.0", nullptr, "(5)"},
      {-5, "[=-5]0;0", nullptr, "5"},
      {-5, "[>-10]0;0", nullptr, "-5"},
  };
  CheckNumbers(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberFormatter, LaysOutBlanksFillsAndColours) {
  const struct {
    double value;
    const char* code;
    const char* layout;
    uint32_t colour;  // 0: none
  } cases[] = {
      {3, "# ?/?", "3   _0 _/ _0", 0},
      {5, "0.??", "5 _0 _0", 0},
      {123, "?????", "_0 _0 1 2 3", 0},
      {5, "_(0_)", "_( 5 _)", 0},
      {5, "*-0", "*- 5", 0},
      {5, "[Red]0;[Blue]0", "5", 0x0000FF},
      {-5, "[Red]0;[Blue]0", "5", 0xFF0000},
      {5, "[#00ff80]0", "5", 0x80FF00},
      {5, "[red][blue]0", "5", 0xFF0000},
  };
  for (const auto& c : cases) {
    NumberFormat out;
    ASSERT_TRUE(out.FormatNumber(c.value, c.code, nullptr)) << c.code;
    EXPECT_EQ(Layout(out), c.layout) << c.code;
    EXPECT_EQ(out.hasColor != 0, c.colour != 0) << c.code;
    if (c.colour) {
      EXPECT_EQ(out.color, c.colour) << c.code;
    }
  }
  NumberFormat out;
  ASSERT_TRUE(out.FormatNumber(1234.5, "#,##0.00", &kCommaDecimal));
  EXPECT_EQ(Layout(out), "1 . 2 3 4 , 5 0");
  EXPECT_EQ(out.tokens[1].kind, kTokenGroup);
  EXPECT_EQ(out.tokens[5].kind, kTokenDecimal);
}

TEST(NumberFormatter, FallsBackWhenACodeCannotBeUsed) {
  const struct {
    double value;
    const char* code;
    const char* text;
  } cases[] = {
      {5, "0.00 d", "5"},                   // does not compile
      {-1.5, "0E+\"100\"", "-1.5"},         // a fixed exponent beyond 99
      {0.5, "?/\"1234567890123456789\"", "0.5"},  // a fixed denominator beyond 64 bits
  };
  for (const auto& c : cases) {
    char buffer[kFormattedTextCapacity];
    EXPECT_FALSE(FormatNumberToString(c.value, c.code, buffer, sizeof buffer, nullptr)) << c.code;
    EXPECT_STREQ(buffer, c.text) << c.code;
  }
  // The largest output fits; one token more does not.
  std::string code(kMaxFormatTokens, '0');
  char buffer[kFormattedTextCapacity];
  EXPECT_TRUE(FormatNumberToString(0, code.c_str(), buffer, sizeof buffer, nullptr));
  EXPECT_EQ(std::string(buffer), code);
  EXPECT_FALSE(FormatNumberToString(-1, code.c_str(), buffer, sizeof buffer, nullptr));
  EXPECT_STREQ(buffer, "-1");
  std::string grouped = "#,##0";
  NumberFormat out;
  EXPECT_TRUE(out.FormatNumber(1.7976931348623157e308, grouped.c_str(), nullptr));
  EXPECT_FALSE(out.overflow);
  char small[4];
  EXPECT_FALSE(FormatNumberToString(12345, "0", small, sizeof small, nullptr));
  EXPECT_STREQ(small, "123");
}

struct TextCase {
  const char* text;
  const char* code;
  const RegionalSettings* separators;
  const char* shown;
};

TEST(NumberFormatter, FormatsDatesAndTimes) {
  const TextCase cases[] = {
      {"2009-05-16", "dd.mm.yyyy", nullptr, "16.05.2009"},
      {"2009-05-16", "yy", nullptr, "09"},
      {"1998-01-02", "yy", nullptr, "1998"},
      {"2009-05-16", "dd/mm/yyyy", &kCommaDecimal, "16.05.2009"},
      {"2009-05-16", "mmm mmmm mmmmm", nullptr, "May May M"},
      {"2009-01-16", "ddd dddd, mmmm d", nullptr, "Fri Friday, January 16"},
      {"2009-05-16", "dddd d mmmm yyyy", nullptr, "Saturday 16 May 2009"},
      {"2009-05-16T13:05:09.250", "yyyy-mm-dd hh:mm:ss.00", nullptr, "2009-05-16 13:05:09.25"},
      {"2009-05-16T13:05:09.250", "h:mm AM/PM", nullptr, "1:05 PM"},
      {"2009-05-16T13:05:09.250", "ss.0000", nullptr, "09.2500"},
      {"00:30:00", "h A/P", nullptr, "12 A"},
      {"12:00:00", "h AM/PM", nullptr, "12 PM"},
      {"10:00:00", "yyyy hh", nullptr, " 10"},
      {"10:00:00+02:00", "hh:mm", nullptr, "12:00"},
      {"10:07:03", "h:m:s", nullptr, "10:7:3"},
      {"PT1H30M", "[h]:mm", nullptr, "1:30"},
      {"PT90M", "[h]:mm", nullptr, "1:30"},
      {"PT1H30M", "[m]", nullptr, "90"},
      {"P1DT2H", "[h]", nullptr, "26"},
      {"P1DT2H", "[d] hh", nullptr, "1 02"},
      {"-PT1H30M", "[h]:mm", nullptr, "-1:30"},
      {"-PT0S", "[h]:mm", nullptr, "0:00"},
      {"PT1.5S", "[s].00", nullptr, "1.50"},
      {"PT61.25S", "[mm]:ss.000", nullptr, "01:01.250"},
      {"PT61.25S", "[mm]:ss.000", &kCommaDecimal, "01:01,250"},
      {"P1Y2M3D", "[d]", nullptr, "3"},
      {"abc", "0;0;0;'<'@'>'", nullptr, "<abc>"},
      {"abc", "0;0", nullptr, "abc"},
      {"2009-05-16", "0;0;0;yyyy", nullptr, "2009"},
      {"PT2H", "0;0;0;[m]", nullptr, "120"},
  };
  for (const auto& c : cases) {
    char buffer[kFormattedTextCapacity];
    EXPECT_TRUE(FormatTextToString(c.text, c.code, buffer, sizeof buffer, c.separators))
        << c.text << " with " << c.code;
    EXPECT_STREQ(buffer, c.shown) << c.text << " with " << c.code;
  }
}

TEST(NumberFormatter, LeavesTextsItCannotShowUnchanged) {
  const struct {
    const char* text;
    const char* code;
  } cases[] = {
      {"abc", "0.00"},             // one numeric section
      {"abc", "0.00 d"},           // does not compile
      {"2009-13-01", "yyyy"},      // not a date
      {"PT1X", "[h]"},             // not a duration
      {"2009-05-16", "[h]:mm"},    // a date is no duration
      {"PT1H", "hh:mm"},           // nor a duration a time
  };
  for (const auto& c : cases) {
    char buffer[kFormattedTextCapacity];
    EXPECT_FALSE(FormatTextToString(c.text, c.code, buffer, sizeof buffer, nullptr)) << c.code;
    EXPECT_STREQ(buffer, c.text) << c.code;
  }
  std::string longText(kMaxFormatTokens, 'x');
  char buffer[kFormattedTextCapacity];
  EXPECT_TRUE(FormatTextToString(longText.c_str(), "0;0;0;@", buffer, sizeof buffer, nullptr));
  longText += 'y';
  EXPECT_FALSE(FormatTextToString(longText.c_str(), "0;0;0;@", buffer, sizeof buffer, nullptr));
  EXPECT_EQ(std::string(buffer), longText.substr(0, kFormattedTextCapacity - 1));
}

TEST(NumberFormatter, TextSectionCarriesItsColour) {
  NumberFormat out;
  ASSERT_TRUE(out.FormatText("abc", "0;0;0;[Green]@", nullptr));
  EXPECT_TRUE(out.hasColor);
  EXPECT_EQ(out.color, 0x008000u);
}

}  // namespace
