#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"

#include "tests/core/generic_locale_test.h"

namespace {

struct Cell {
  uint32_t column, row;
};
constexpr Cell kB3{1, 2};

class TranslateFormula : public GenericLocaleTest {
 protected:
  // The translation, or "FAILED" when it is refused (the text must then be
  // left as it was).
  std::string Translate(const std::string& text, bool toStored, Cell cell = kB3) {
    char buffer[2 * kFormulaTextCapacity];
    EXPECT_LT(text.size(), sizeof buffer);
    std::strncpy(buffer, text.c_str(), sizeof buffer - 1);
    buffer[sizeof buffer - 1] = '\0';
    if (!state.TranslateFormula(buffer, sizeof buffer, cell.column, cell.row, toStored)) {
      EXPECT_EQ(std::string(buffer), text.substr(0, sizeof buffer - 1));
      return "FAILED";
    }
    return buffer;
  }
  std::string ToStored(const std::string& text, Cell cell = kB3) { return Translate(text, true, cell); }
  std::string ToDisplay(const std::string& text, Cell cell = kB3) {
    return Translate(text, false, cell);
  }

  EvalState state;
};

struct Translation {
  const char* display;
  const char* stored;
};

// Display form with A1 addressing and generic separators, formula in B3.
const Translation kA1Translations[] = {
    {"=sum(a1:b2)", "=sum(R[-2]C[-1]:R[-1]C)"},
    {"+1+2", "=1+2"},
    {"=+1", "=+1"},
    {"=TRUE+FALSE", "=1+0"},
    {"=1.50", "=1.5"},
    {"=1E999", "=#NUM!"},
    {"=#n/a!", "=#N/A!"},
    {"=Sheet2!A1", "=\"Sheet2\"!R[-2]C[-1]"},
    {"=TrueSales!$A$1", "=\"TrueSales\"!R1C1"},
    {"=TRUE_1", "=\"TRUE_1\""},
    {"='My Sheet'!B3", "=\"My Sheet\"!RC"},
    {"=A:A", "=C[-1]:C[-1]"},
    {"=B:B", "=C:C"},
    {"=$A:C", "=C1:C[1]"},
    {"=1:3", "=R[-2]:R"},
    {"=$1:$3", "=R1:R3"},
    {"=SUM(A1 : B2)", "=SUM(R[-2]C[-1] : R[-1]C)"},
    {"=A1 +\r\n B2", "=R[-2]C[-1] +\r\n R[-1]C"},
    {"=\"abc", "=\"abc\""},
    {"='x\"y'&\"it's\"", "='x\"y'&\"it's\""},
    {"={1,2;3,4}", "={1, 2; 3, 4}"},
    {"={TRUE,abc}", "={1, \"abc\"}"},
    {"=LOG10(100)+DAY360(A1,B1)", "=LOG10(100)+DAY360(R[-2]C[-1],R[-2]C)"},
    {"=1+@A1", "=1+@A1"},
    {"={1,2", "={1,2"},
    {"=BZS2097152", "=R[2097149]C[2045]"},
    {"=XFD1", "=R[-2]C[16382]"},
};

TEST_F(TranslateFormula, DisplayA1ToStored) {
  for (const Translation& t : kA1Translations) EXPECT_EQ(ToStored(t.display), t.stored) << t.display;
}

const Translation kStoredToA1[] = {
    {"=SUM(C2)", "=SUM($B:$B)"},
    {"=SUM(R[1])", "=SUM(4:4)"},
    {"=C2:C4", "=$B:$D"},
    {"=R0C1", "=$A$?"},
    {"=\"Sheet2\"!R[-2]C[-1]", "=\"Sheet2\"!A1"},
    {"=Sheet2!R1C1", "=\"Sheet2\"!$A$1"},
    {"=1.5E+20", "=1.5e+020"},
    {"={1,,\"a\";#DIV/0!}", "={1, , \"a\"; #DIV/0!, , }"},
};

TEST_F(TranslateFormula, StoredToDisplayA1) {
  for (const Translation& t : kStoredToA1) EXPECT_EQ(ToDisplay(t.display), t.stored) << t.display;
}

TEST_F(TranslateFormula, CommaDecimalsTranslateSeparatorsOutsideTexts) {
  UseCommaDecimals();
  const Translation cases[] = {
      {"=ROUND(1,5;0)", "=ROUND(1.5,0)"},
      {"=SUM(1,5e+020;2)", "=SUM(1.5e+020,2)"},
      {"=\"1,5;2\"&A1", "=\"1,5;2\"&R[-2]C[-1]"},
      {"={1,5;2\\3}", "={1.5, 2; 3, }"},
  };
  for (const Translation& t : cases) EXPECT_EQ(ToStored(t.display), t.stored) << t.display;
  // A number in exponent form is written with the current separator, so that
  // it reads back.
  EXPECT_EQ(ToDisplay("=SUM(1.5E+20,2)"), "=SUM(1,5e+020;2)");
  EXPECT_EQ(ToDisplay("={1.5,2;3}"), "={1,5; 2\\ 3; }");
}

TEST_F(TranslateFormula, R1C1DisplayKeepsReferences) {
  AddressingA1 = 0;
  EXPECT_EQ(ToStored("=r[-1]c+C3"), "=R[-1]C+C3");
  EXPECT_EQ(ToStored("=A1"), "=\"A1\"");
  EXPECT_EQ(ToDisplay("=R[-1]C[2]:R2"), "=R[-1]C[2]:R2");
}

// Canonical display texts read back unchanged after a trip through the
// stored form. Templates use the generic separators outside texts.
const char* const kA1Corpus[] = {
    "=1+2",
    "=sum(A1:B2)*2",
    "=SUM($A$1:$B$10, C3, 4.5, -0.25)",
    "=\"Sheet2\"!A1+'It\"s'!B2",
    "=\"\\Sales\\2009\\Q1\"!$C$3",
    "=\"[Book2.tlv]Sheet1\"!A1:B2",
    "=IF(A1>=2, \"yes; no\", \"x,y\")",
    "={1, 2; 3, 4}",
    "={1.5, \"x\"; #N/A!, }",
    "=A:C",
    "=$B:$B",
    "=B:B",
    "=1:3",
    "=$2:$2",
    "=2:2",
    "=-A1%^2",
    "=A1:B2_B2:C3",
    "=#DIV/0!+#REF!",
    "=0.1+1e+020-1.2345678901235e-015",
    "=LOG10(100)&\"a b\"",
    "=  A1 +\r\n B1",
    "=PI()+LEFT(\"abc\", )+SUM(1, , 2)",
    "=$BZS$2097152+BZS2097152+A1",
    "=A1<>B1",
};

std::string WithSeparators(const char* generic, const RegionalSettings& separators) {
  std::string out;
  char quote = 0;
  for (const char* p = generic; *p; ++p) {
    char c = *p;
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '.') {
      c = separators.decimalSeparator;
    } else if (c == ',') {
      c = separators.listSeparator;
    } else if (c == ';') {
      c = separators.arrayRowSeparator;
    }
    out += c;
  }
  return out;
}

TEST_F(TranslateFormula, A1CorpusRoundTrips) {
  const Cell cells[] = {{0, 0}, kB3, {2046, 2097151}};
  for (int comma = 0; comma < 2; ++comma) {
    UseGenericLocale();
    if (comma) UseCommaDecimals();
    for (const char* generic : kA1Corpus) {
      const std::string display = WithSeparators(generic, CurrentRegionalSettings());
      for (const Cell& cell : cells) {
        const std::string stored = ToStored(display, cell);
        ASSERT_NE(stored, "FAILED") << display;
        EXPECT_EQ(ToDisplay(stored, cell), display) << display << " via " << stored;
      }
    }
  }
}

const char* const kR1C1Corpus[] = {
    "=R[-1]C+1",
    "=SUM(R1C1:R2C2, C3, R4, RC[-1])",
    "=\"Sheet 2\"!RC[1]",
    "={1, 2; 3.5, \"a\"}",
    "=R:R[2]",
    "=ROUND(2.5, 0)",
};

TEST_F(TranslateFormula, R1C1CorpusRoundTrips) {
  for (int comma = 0; comma < 2; ++comma) {
    UseGenericLocale();
    AddressingA1 = 0;
    if (comma) UseCommaDecimals();
    for (const char* generic : kR1C1Corpus) {
      const std::string display = WithSeparators(generic, CurrentRegionalSettings());
      const std::string stored = ToStored(display);
      ASSERT_NE(stored, "FAILED") << display;
      EXPECT_EQ(stored, WithSeparators(generic, kGenericRegionalSettings));
      EXPECT_EQ(ToDisplay(stored), display);
    }
  }
}

TEST_F(TranslateFormula, RefusesWhatItCannotTranslate) {
  const char* const refused[] = {
      "",
      "1+2",
      "SUM(A1)",
      "=A",       // a lone column
      "=$3",      // a lone row
      "=SUM(B)",  // a lone column in a list
      "=foo",     // reads as a column beyond the grid
      "=$",       // a lone "$" never advances
      "=#FOO",
  };
  for (const char* text : refused) EXPECT_EQ(ToStored(text), "FAILED") << text;
  EXPECT_EQ(ToDisplay("=$"), "FAILED");
}

TEST_F(TranslateFormula, OutputIsLimitedTo1024Characters) {
  std::string fits = "=1";
  while (fits.size() < kFormulaTextCapacity) fits += "+1";
  fits.resize(kFormulaTextCapacity);
  if (fits.back() == '+') fits.back() = '2';
  EXPECT_EQ(ToStored(fits), fits);
  EXPECT_EQ(ToStored(fits + "1"), "FAILED");

  // References grow on their way to the stored form.
  std::string grows = "=A1";
  while (grows.size() < 400) grows += "+A1";
  EXPECT_EQ(ToStored(grows), "FAILED");

  // The caller's buffer limits the output too.
  char small[] = "=A1";
  EXPECT_FALSE(state.TranslateFormula(small, sizeof small, 1, 2, true));
  EXPECT_STREQ(small, "=A1");
}

TEST_F(TranslateFormula, LongQualifiersAreRefusedNotDropped) {
  // Written: the quoted qualifier, "!" and "R[-2]C[-1]" stay below 256.
  const std::string fits(242, 'q');
  EXPECT_EQ(ToStored("='" + fits + "'!A1"), "=\"" + fits + "\"!R[-2]C[-1]");
  const std::string tooLong(243, 'q');
  EXPECT_EQ(ToStored("='" + tooLong + "'!A1"), "FAILED");
  // The whole range counts.
  const std::string rangeTooLong(236, 'q');
  EXPECT_EQ(ToStored("='" + rangeTooLong + "'!A1:B2"), "FAILED");
  // A long text that qualifies nothing is only a text.
  EXPECT_EQ(ToStored("=\"" + tooLong + "\"&A1"), "=\"" + tooLong + "\"&R[-2]C[-1]");
}

TEST_F(TranslateFormula, TextHoldingBothQuotesCannotBeWritten) {
  // An array bare word may hold both quote characters; no formula can say it.
  EXPECT_EQ(ToStored("={a'b\"c}"), "FAILED");
}

}  // namespace
