#include <gtest/gtest.h>

#include <string>

#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

// The thousands separator is also the date separator.
const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};
// The decimal separator is also the date separator.
const RegionalSettings kPointDate = {3, '.', '\'', '.', ':', ';', '\\', 1, 1, "CHF", 0};
// The thousands separator is also the time separator.
const RegionalSettings kPointTime = {3, ',', '.', '-', '.', ';', '\\', 2, 2, "kr", 0};

std::string ToText(const NumberFormat& f, const RegionalSettings* separators) {
  char buffer[8192];
  EXPECT_TRUE(f.ToText(buffer, sizeof buffer, separators));
  return buffer;
}

// Two compiled formats mean the same when their tokens and their used
// sections agree field by field.
::testing::AssertionResult SameFormat(const NumberFormat& a, const NumberFormat& b) {
  if (a.tokenCount != b.tokenCount) {
    return ::testing::AssertionFailure() << "token counts " << a.tokenCount << " and " << b.tokenCount;
  }
  for (int i = 0; i < a.tokenCount; ++i) {
    const FormatToken &x = a.tokens[i], &y = b.tokens[i];
    if (x.kind != y.kind || x.section != y.section || x.character != y.character) {
      return ::testing::AssertionFailure() << "token " << i << " differs";
    }
  }
  if (a.sectionCount != b.sectionCount) return ::testing::AssertionFailure() << "section counts";
  for (int s = 0; s < a.sectionCount; ++s) {
    const FormatSection &x = a.sections[s], &y = b.sections[s];
    const bool same =
        x.kinds == y.kinds && x.firstToken == y.firstToken && x.tokenCount == y.tokenCount &&
        x.integerDigits == y.integerDigits && x.decimalIndex == y.decimalIndex &&
        x.fractionBarIndex == y.fractionBarIndex && x.fractionDigits == y.fractionDigits &&
        x.exponentSign == y.exponentSign && x.exponentIndex == y.exponentIndex &&
        x.exponentDigits == y.exponentDigits && x.trailingHash == y.trailingHash &&
        x.thousandsScaling == y.thousandsScaling && x.bracketCount == y.bracketCount;
    if (!same) return ::testing::AssertionFailure() << "section " << s << " differs";
    for (int k = 0; k < x.bracketCount; ++k) {
      const FormatBracket &p = x.brackets[k], &q = y.brackets[k];
      if (p.kind != q.kind || p.colour != q.colour || p.comparison != q.comparison ||
          p.value != q.value) {
        return ::testing::AssertionFailure() << "bracket " << k << " of section " << s;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(NumberFormatText, WritesCodesBack) {
  const struct {
    const char* code;
    const RegionalSettings* separators;
    const char* text;
  } cases[] = {
      {"#,##0.00", nullptr, "#,##0.00"},
      {"#,##0.00", &kCommaDecimal, "#.##0,00"},
      {"0 \"kg\"", nullptr, "0\" kg\""},
      {"0x", nullptr, "0\\x"},
      {"General;general", nullptr, "@;@"},
      {"[Red]0;[#00ff80]-0", nullptr, "[red]0;[#00FF80]\\-0"},
      {"[<=100]0;[>-0.5]0", nullptr, "[<=100]0;[>-0.5]0"},
      {"[>-0.5]0", &kCommaDecimal, "[>-0,5]0"},
      {"[<1e20]0", &kCommaDecimal, "[<1e+020]0"},
      {"_(* #,##0_)", nullptr, "_(* #,##0_)"},
      {"# ?/8", nullptr, "#\\ ?/\\8"},
      {"dd/mm/yyyy hh:mm:ss.00", &kCommaDecimal, "dd.mm.yyyy\\ hh:mm:ss,00"},
      {"h:mm AM/PM;h A/P", nullptr, "h:mm\\ AM/PM;h\\ A/P"},
      {"#,##0,,", nullptr, "#,##0,,"},
      {"0.0,", &kCommaDecimal, "0.,0"},
      {"\\\"0\\\"", nullptr, "\\\"0\\\""},
      {"\"a\"\\\"\"b\"", nullptr, "\\a\\\"\\b"},
      {"\"ab\"\\\"\"cd\"", nullptr, "\"ab\"\\\"\"cd\""},
      {"d\"\"ddd", nullptr, "d\"\"ddd"},
      {"./h", &kCommaDecimal, ",.h"},
      {",hh", &kCommaDecimal, ".\"\"hh"},
      {"@:", &kPointTime, "@.''"},
  };
  for (const auto& c : cases) {
    NumberFormat f;
    ASSERT_TRUE(f.Compile(c.code, nullptr)) << c.code;
    EXPECT_EQ(ToText(f, c.separators), c.text) << c.code;
  }
}

const char* const kCorpus[] = {
    "",
    "General",
    "#,##0.00;[Red](#,##0.00)",
    "#,##0,",
    "0.0,,",
    "0,.0,",
    "0.0,0",
    "#,,##0",
    "@,",
    "0\"x\",",
    "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)",
    "_(\"$\"* #,##0.00_);\\(\"$\"* #,##0.00\\);_(\"$\"* -??_);_(@_)",
    "#,##0.00\\%",
    "0.00E+00",
    "##0.0E+0",
    "0.0#E-00",
    "0.0E-3",
    "0E+\"12\"",
    "0.00,E+00",
    "# ?\?/??",
    "?/8",
    "# ?/16",
    "# ?/?,",
    "?\\ ?\?/??",
    "yyyy-mm-dd",
    "m/d/yy h:mm AM/PM",
    "hh:mm:ss.000",
    "[h]:mm:ss",
    "[mm]:ss",
    "[ss].00",
    "[d] hh:mm",
    "mmmm d, yyyy",
    "dddd, mmmm dd, yyyy",
    "mmmmm-yy",
    "d\"\"ddd h\"\"h",
    ",hh:mm",
    "\"x\",,d",
    "[>100]'big';[<0]'neg';0",
    "[<=-1.5]0.0;[>=1e+20]0;[=0]\"zero\"",
    "[#00FF80]0;[blue]-0",
    "[Yellow][>=5][<10]0;0",
    "[$-409]#,##0",
    "\\\"0\\\"",
    "\"a\"\"b\"",
    "\"x\"\\\"\"y\"0",
    "0 \"in\\\"",
    "'it''s'",
    "0;-0;;@",
    "*-0",
    "_-0_-",
    "\\[0\\]\\;",
    "0 \\General",
    "\"General\"0",
    "0 ???",
    // Separators next to each other where a locale may spell two alike.
    "./",
    "./h",
    ".5/",
    "0./",
    "?/?/",
    ",\"\"d",
    "hh:mm:ss.\"\"mm",
    "0.0,;,mm:ss",
    "Note: @",
    ":@;\"x\":",
    "[h]:\"x\"",
    "dd/mm/yyyy/",
};

TEST(NumberFormatText, WrittenCodesCompileToTheSameFormat) {
  const RegionalSettings* const separatorSets[] = {nullptr, &kGenericRegionalSettings, &kCommaDecimal,
                                                   &kPointDate, &kPointTime};
  for (const RegionalSettings* separators : separatorSets) {
    for (const char* code : kCorpus) {
      NumberFormat original;
      ASSERT_TRUE(original.Compile(code, nullptr)) << code;
      std::string text = ToText(original, separators);
      NumberFormat again;
      ASSERT_TRUE(again.Compile(text.c_str(), separators)) << code << " -> " << text;
      EXPECT_TRUE(SameFormat(original, again)) << code << " -> " << text;
    }
  }
}

TEST(NumberFormatText, RefusesABufferTooSmall) {
  NumberFormat f;
  ASSERT_TRUE(f.Compile("#,##0.00", nullptr));
  char buffer[8];
  EXPECT_FALSE(f.ToText(buffer, sizeof buffer, nullptr));
  EXPECT_STREQ(buffer, "");
  char exact[9];
  EXPECT_TRUE(f.ToText(exact, sizeof exact, nullptr));
  EXPECT_STREQ(exact, "#,##0.00");
}

TEST(NumberFormatText, WritesAFullFormat) {
  std::string code;
  for (int i = 0; i < kMaxFormatTokens; ++i) code += "\\\"";
  NumberFormat f, again;
  ASSERT_TRUE(f.Compile(code.c_str(), nullptr));
  std::string text = ToText(f, nullptr);
  ASSERT_TRUE(again.Compile(text.c_str(), nullptr));
  EXPECT_TRUE(SameFormat(f, again));
}

}  // namespace
