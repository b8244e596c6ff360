#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/cells/cell_record.h"
#include "core/numfmt/date_time.h"
#include "core/numfmt/double_to_text.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"
#include "platform/os_services.h"

#include "tests/core/generic_locale_test.h"

namespace {

using CellDisplay = GenericLocaleTest;

using Bytes = std::vector<uint8_t>;

Bytes NumberCell(double value, uint8_t error = 0) {
  Bytes b(kNumberCellSize);
  BuildNumberCell(b.data(), b.size(), 0, 0, value, error);
  return b;
}

Bytes TextCell(const std::string& text) {
  Bytes b(kTextCellHeadSize + text.size());
  BuildTextCell(b.data(), b.size(), 0, 0, text.data(), static_cast<uint16_t>(text.size()));
  return b;
}

Bytes FormulaCell(const char* formula, double cached, const char* cachedText, uint8_t error = 0,
                  uint32_t row = 0) {
  FormulaCellFields f;
  f.formula = formula;
  f.formulaLength = static_cast<uint16_t>(std::strlen(formula));
  f.resultFlags = cachedText ? 0 : kResultCachedNumber;
  f.cachedNumber = cached;
  f.cachedText = cachedText;
  f.cachedTextLength = cachedText ? static_cast<uint16_t>(std::strlen(cachedText)) : 0;
  f.typeExtra = error;
  Bytes b(kFormulaCellHeadSize + f.formulaLength + 2 + f.cachedTextLength);
  b.resize(BuildFormulaCell(b.data(), b.size(), row, 0, f));
  return b;
}

const CellRecord& Cell(const Bytes& b) { return *AsCellRecord(b.data()); }

NumFormatParams Format(uint8_t category) {
  NumFormatParams p;
  std::memset(&p, 0, sizeof p);
  p.category = category;
  return p;
}

NumFormatParams Fixed(uint8_t category, uint8_t decimals) {
  NumFormatParams p = Format(category);
  p.options.number.fixedDecimals = 1;
  p.options.number.decimals = decimals;
  return p;
}

NumFormatParams Currency(const char* symbol, uint8_t decimals) {
  NumFormatParams p = Format(kNumFormatCurrency);
  std::strcpy(p.options.currency.symbol, symbol);
  p.options.currency.decimals = decimals;
  return p;
}

NumFormatParams Pattern(const char* code) {
  NumFormatParams p = Format(kNumFormatUserPattern);
  std::strcpy(p.code, code);
  return p;
}

NumFormatParams DateTimeStyle(uint8_t category, uint8_t dateStyle, uint8_t timeStyle) {
  NumFormatParams p = Format(category);
  p.options.dateTime.dateStyle = dateStyle;
  p.options.dateTime.timeStyle = timeStyle;
  return p;
}

std::string Shown(const Bytes& cell, const NumFormatParams& format) {
  char text[kCellTextCapacity];
  EXPECT_TRUE(FormatCellDisplayText(Cell(cell), format, text, sizeof text));
  return text;
}

std::string ValueText(const Bytes& cell, const NumFormatParams& format) {
  char text[kCellTextCapacity];
  FormatCellValueText(Cell(cell), format, text, sizeof text);
  return text;
}

TEST_F(CellDisplay, ShowsEachKindThroughItsCategory) {
  NumFormatParams grouped = Fixed(kNumFormatGeneral, 2);
  grouped.options.number.grouping = 1;
  NumFormatParams parentheses = Fixed(kNumFormatGeneral, 0);
  parentheses.options.number.negativeStyle = kNegativeParentheses;
  struct DisplayCase {
    Bytes cell;
    NumFormatParams format;
    const char* text;
  } const cases[] = {
      {NumberCell(0.25), Fixed(kNumFormatPercent, 0), "25%"},
      {NumberCell(0.25), Format(kNumFormatDefault), "0.25"},
      {NumberCell(1234567.891), grouped, "1,234,567.89"},
      {NumberCell(-5), parentheses, "(5)"},
      {NumberCell(0, kErrorDivZero), Fixed(kNumFormatPercent, 0), "#DIV/0!"},
      {NumberCell(0, 13 * 16), Format(kNumFormatDefault), ""},
      {FormulaCell("=1/0", 0, nullptr, kErrorSyntax), Format(0), "#SYNTAX!"},
      {FormulaCell("=\"a\"&\"bc\"", 0, "abc"), Format(0), "abc"},
      {FormulaCell("=2.5", 2.5, nullptr), Currency("$", 2), "$2.50"},
      {TextCell("abc"), Currency("$", 2), "abc"},
      {TextCell("2009-05-16"), DateTimeStyle(kNumFormatDate, 0, 0), "5/16/2009"},
      {TextCell("2009-05-16"), DateTimeStyle(kNumFormatDate, 9, 0), "May 16, 2009"},
      {TextCell("2009-05-16"), Format(kNumFormatDefault), "2009-05-16"},
      {TextCell("not a date"), DateTimeStyle(kNumFormatDate, 0, 0), "not a date"},
      {TextCell("PT1H30M"), DateTimeStyle(kNumFormatTime, 0, 9), "1:30:00"},
      {NumberCell(5), DateTimeStyle(kNumFormatDate, 0, 0), "5"},
      {NumberCell(5), Pattern("0.00"), "5.00"},
      {NumberCell(5), Pattern("0.00 d"), "5"},  // an invalid code shows the plain number
      {TextCell("x"), Pattern("0.00"), "x"},
      {NumberCell(1.5e20), Format(0), "1.5e+020"},
  };
  for (const auto& c : cases) EXPECT_EQ(Shown(c.cell, c.format), c.text) << c.text;
}

// A value shown without a record of its own (a chart's axis labels) reads
// exactly as a number cell holding it would.
TEST_F(CellDisplay, NumberWithoutARecordShowsAsItsCell) {
  NumFormatParams grouped = Fixed(kNumFormatGeneral, 2);
  grouped.options.number.grouping = 1;
  const NumFormatParams formats[] = {
      Format(kNumFormatDefault), grouped,          Fixed(kNumFormatPercent, 1), Currency("$", 2),
      Pattern("0.00;(0.00)"),    Pattern("0.00 d"), DateTimeStyle(kNumFormatDate, 0, 0),
  };
  const double numbers[] = {0.0, -0.0, 0.25, -5, 1234567.891, 1.5e20, -2.5e-300, 4.9e-324};
  const uint8_t errors[] = {kErrorNone, kErrorDivZero, kErrorNum};
  for (const NumFormatParams& format : formats)
    for (const double number : numbers)
      for (const uint8_t error : errors) {
        char shown[kCellTextCapacity];
        EXPECT_TRUE(FormatNumberDisplayText(number, error, format, shown, sizeof shown));
        EXPECT_EQ(shown, Shown(NumberCell(number, error), format))
            << "category " << int(format.category) << ", " << number << ", error " << int(error);
      }
  char shown[kCellTextCapacity];
  FormatNumberDisplayText(0.25, kErrorNone, Fixed(kNumFormatPercent, 0), shown, sizeof shown);
  EXPECT_STREQ(shown, "25%");
}

TEST_F(CellDisplay, LongTextsAreCutToTheBuffer) {
  const Bytes longText = TextCell(std::string(3000, 'q'));
  char big[kCellTextCapacity];
  FormatCellDisplayText(Cell(longText), Format(0), big, sizeof big);
  EXPECT_EQ(std::strlen(big), kMaxCellTextLength);
  char small[10];
  std::memset(small, 'z', sizeof small);
  FormatCellDisplayText(Cell(longText), DateTimeStyle(kNumFormatDate, 0, 0), small, sizeof small);
  EXPECT_EQ(std::string(small), std::string(9, 'q'));
  FormatCellValueText(Cell(longText), Pattern("@"), small, sizeof small);
  EXPECT_EQ(std::strlen(small), 9u);
  FormatCellDisplayText(Cell(NumberCell(-1234567.25)), Fixed(kNumFormatGeneral, 2), small, 4);
  EXPECT_EQ(std::strlen(small), 3u);
}

TEST_F(CellDisplay, ValueTextReadsBackWhereTheShownTextWouldNot) {
  NumFormatParams accounting = Currency("$", 2);
  accounting.category = kNumFormatAccounting;
  struct ValueCase {
    Bytes cell;
    NumFormatParams format;
    const char* text;
  } const cases[] = {
      {NumberCell(3.14159), Fixed(kNumFormatGeneral, 2), "3.14159"},
      {NumberCell(3.25), Fixed(kNumFormatGeneral, 2), "3.25"},
      {NumberCell(5), Currency("$", 2), "$5.00"},
      {NumberCell(0.255), Fixed(kNumFormatPercent, 0), "0.255"},
      {NumberCell(0.25), Fixed(kNumFormatPercent, 0), "25%"},
      {NumberCell(0), accounting, "$-0"},
      {NumberCell(-5), Pattern("General"), "-5"},
      {NumberCell(0.75), Pattern("# ?/?"), "0.75"},  // "3/4" would read as a date
      {TextCell("2009-05-16T10:00:30"), DateTimeStyle(kNumFormatDateTime, 0, 0), "2009-05-16T10:00:30"},
      {TextCell("2009-05-16T10:00:00"), DateTimeStyle(kNumFormatDateTime, 0, 0), "5/16/2009 10:00"},
      {TextCell("0005-01-02"), DateTimeStyle(kNumFormatDate, 0, 0), "1/2/5"},
      {TextCell("0050-01-02"), DateTimeStyle(kNumFormatDate, 0, 0), "0050-01-02"},  // "50" is 2050
      {TextCell("P1DT2H"), DateTimeStyle(kNumFormatTime, 0, 9), "P1DT2H"},
      // Numbers that 15 digits do not give back exactly.
      {NumberCell(123456789012345678.0), Format(0), "1.2345678901234568e+017"},
      {NumberCell(0.1 + 0.2), Format(0), "0.30000000000000004"},
      {NumberCell(-2.0 / 3), Fixed(kNumFormatGeneral, 2), "-0.6666666666666666"},
  };
  for (const auto& c : cases) EXPECT_EQ(ValueText(c.cell, c.format), c.text) << c.text;

  CurrentRegionalSettings() = kCommaDecimal;
  EXPECT_EQ(Shown(NumberCell(1.5e20), Format(0)), "1.5e+020");
  EXPECT_EQ(ValueText(NumberCell(1.5e20), Format(0)), "1,5e+020");
  EXPECT_EQ(ValueText(NumberCell(0.1 + 0.2), Format(0)), "0,30000000000000004");
}

// Display tokens as the painters get them.
std::string TokenText(const NumberFormat& f) {
  std::string out;
  for (int i = 0; i < f.tokenCount; ++i) {
    if (f.tokens[i].kind & (kTokenBlank | kTokenFill | kBracketKinds)) continue;
    out += static_cast<char>(f.tokens[i].character);
  }
  return out;
}

TEST_F(CellDisplay, DisplayTokensShowFormulasWhenAsked) {
  EvalState translator;
  NumberFormat out;
  const Bytes formula = FormulaCell("=R[-1]C+1", 7, nullptr, 0, 5);
  ASSERT_TRUE(FormatCellForDisplay(translator, false, Cell(formula), Currency("$", 1), &out));
  EXPECT_EQ(TokenText(out), "$7.0");
  ASSERT_TRUE(FormatCellForDisplay(translator, true, Cell(formula), Currency("$", 1), &out));
  EXPECT_EQ(TokenText(out), "=A5+1");
  const Bytes failed = FormulaCell("=1/0", 0, nullptr, kErrorDivZero);
  ASSERT_TRUE(FormatCellForDisplay(translator, false, Cell(failed), Format(0), &out));
  EXPECT_EQ(TokenText(out), "#DIV/0!");
  ASSERT_TRUE(FormatCellForDisplay(translator, false, Cell(NumberCell(-3)), Fixed(kNumFormatPercent, 1), &out));
  EXPECT_EQ(TokenText(out), "-300.0%");
  ASSERT_TRUE(FormatCellForDisplay(translator, false, Cell(TextCell("2009-05-16")),
                                   DateTimeStyle(kNumFormatDate, 9, 0), &out));
  EXPECT_EQ(TokenText(out), "May 16, 2009");
  EXPECT_FALSE(FormatCellForDisplay(translator, false, Cell(TextCell(std::string(1100, 'w'))), Format(0), &out));
}

// ---- Round trips: what a cell shows, typed into it again, gives its value.

struct Sample {
  Bytes cell;
  NumFormatParams format;
};

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool OneIn(int n) { return Below(n) == 0; }

  double Parse(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

  // A number of up to 15 significant digits, as numbers are kept.
  double AnyNumber(int lowExponent, int highExponent) {
    if (OneIn(20)) return 0;
    char text[64];
    const long long mantissa = 100000000000000LL + static_cast<long long>(rng_() % 900000000000000ULL);
    const int digits = 1 + Below(15);
    long long kept = mantissa;
    for (int i = digits; i < 15; ++i) kept /= 10;
    const int exponent = lowExponent + Below(highExponent - lowExponent + 1);
    std::snprintf(text, sizeof text, "%s%llde%d", OneIn(3) ? "-" : "", kept, exponent - digits + 1);
    return Parse(text);
  }

  // k / 10^decimals below 10^12.
  double Decimal(int decimals, bool allowNegative = true) {
    char text[64];
    const long long k = static_cast<long long>(rng_() % 1000000000000ULL);
    std::snprintf(text, sizeof text, "%s%llde-%d", allowNegative && OneIn(3) ? "-" : "", k, decimals);
    return Parse(text);
  }

  std::string Word() {
    std::string w;
    const int n = 1 + Below(12);
    for (int i = 0; i < n; ++i) w += static_cast<char>(OneIn(6) ? ' ' : 'a' + Below(26));
    if (w[0] == ' ') w[0] = 'k';
    if (w.back() == ' ') w.back() = 'k';
    return w;
  }

  DateTime Date(int lowYear, int highYear) {
    DateTime d{};
    d.hasDate = 1;
    d.year = lowYear + Below(highYear - lowYear + 1);
    d.month = 1 + Below(12);
    d.day = 1 + Below(DaysInMonth(d.year, d.month));
    return d;
  }

  void AddTime(DateTime* d, bool seconds, bool milliseconds) {
    d->hasTime = 1;
    d->hour = Below(24);
    d->minute = Below(60);
    d->second = seconds ? Below(60) : 0;
    d->millisecond = milliseconds ? Below(1000) : 0;
  }

  std::string Iso(const DateTime& d) {
    char text[kIsoTextCapacity];
    EXPECT_TRUE(DateTimeToIsoText(d, text, sizeof text));
    return text;
  }

  std::string DurationText(const Duration& d) {
    char text[kDurationTextCapacity];
    EXPECT_TRUE(DurationToText(d, text, sizeof text));
    return text;
  }

 private:
  std::mt19937 rng_;
};

// A format and a value that it shows in full, so that the shown text itself
// must read back.
Sample ExactSample(Generator& g) {
  const RegionalSettings& current = CurrentRegionalSettings();
  const int clockYear = 2011;
  switch (g.Below(14)) {
    case 0:
      return {NumberCell(g.AnyNumber(-14, 14)), Format(kNumFormatDefault)};
    case 1: {
      const int decimals = g.Below(5);
      NumFormatParams f = Fixed(kNumFormatGeneral, static_cast<uint8_t>(decimals));
      f.options.number.grouping = static_cast<uint8_t>(g.Below(2));
      // Red alone shows negative numbers without their sign.
      const uint8_t negativeStyles[] = {kNegativeMinus, kNegativeParentheses, kNegativeRedParentheses};
      f.options.number.negativeStyle = negativeStyles[g.Below(3)];
      f.options.number.leadingZeros = static_cast<uint8_t>(g.Below(2));
      f.options.number.integerDigits = static_cast<uint8_t>(g.Below(6));
      return {NumberCell(g.Decimal(decimals)), f};
    }
    case 2: {
      const int decimals = g.Below(4);
      const char* symbols[] = {current.currency, "kr", "USD"};
      NumFormatParams f = Currency(symbols[g.Below(3)], static_cast<uint8_t>(decimals));
      f.options.currency.symbolPosition = static_cast<uint8_t>(g.Below(4));
      const uint8_t negativeStyles[] = {kNegativeMinus, kNegativeParentheses, kNegativeRedParentheses};
      f.options.currency.negativeStyle = negativeStyles[g.Below(3)];
      if (g.OneIn(4)) f.category = kNumFormatAccounting;
      double value = g.Decimal(decimals);
      if (value == 0) value = 1;  // accounting shows zero as a dash
      return {NumberCell(value), f};
    }
    case 3: {
      const int decimals = g.Below(4);
      return {NumberCell(g.Decimal(decimals + 2)), Fixed(kNumFormatPercent, static_cast<uint8_t>(decimals))};
    }
    case 4: {
      NumFormatParams f = Format(kNumFormatFraction);
      const uint64_t denominators[] = {2, 3, 4, 8, 10, 16, 100, 7};
      const uint64_t d = denominators[g.Below(8)];
      f.options.fraction.fixedDenominator = 1;
      f.options.fraction.denominator = d;
      double value = g.Below(1000) + static_cast<double>(g.Below(static_cast<int>(d))) / static_cast<double>(d);
      return {NumberCell(g.OneIn(3) ? -value : value), f};
    }
    case 5:
      return {NumberCell(g.AnyNumber(-300, 300)), Format(kNumFormatScientific)};
    case 6: {
      // A "%" in a user's code is a literal: such codes do not scale.
      const std::string symbol = std::string("\"") + current.currency + "\"";
      const std::string money = symbol + "#,##0.00;(" + symbol + "#,##0.00)";
      const char* patterns[] = {"0.00", "#,##0.00", "0.0000", money.c_str(), "0.000E+00"};
      const int which = g.Below(5);
      double value = which == 2 ? g.Decimal(4) : g.Decimal(2);
      if (which == 4) value = g.Parse(std::to_string(1 + g.Below(9)) + "." + std::to_string(100 + g.Below(900)) +
                                      "e" + std::to_string(g.Below(41) - 20));
      return {NumberCell(value), Pattern(patterns[which])};
    }
    case 7: {
      // Dates whose every part shows: four-digit years, or two-digit years in
      // this century, or no year at all in the clock's year.
      const uint8_t style = static_cast<uint8_t>(g.Below(11));
      NumFormatParams f = DateTimeStyle(kNumFormatDate, style, 0);
      f.options.dateTime.useLocaleOrder = static_cast<uint8_t>(g.Below(2));
      DateTime d = g.Date(100, 9999);
      if (style == 2 || style == 3 || style == 8 || style == 5) d = g.Date(2000, 2099);
      if (style == 4 || style == 6) d = g.Date(clockYear, clockYear);
      if (style == 5) d.day = 1;
      return {TextCell(g.Iso(d)), f};
    }
    case 8: {
      const uint8_t style = static_cast<uint8_t>(g.Below(8));
      DateTime d{};
      g.AddTime(&d, style >= 4, false);
      return {TextCell(g.Iso(d)), DateTimeStyle(kNumFormatTime, 0, style)};
    }
    case 9: {
      const uint8_t style = static_cast<uint8_t>(8 + g.Below(3));
      Duration d{};
      if (style == 8) {
        d.minutes = g.Below(500);
        d.seconds = g.Below(60);
        d.milliseconds = d.seconds ? 10 * g.Below(100) : 0;
      } else if (style == 9) {
        d.hours = g.Below(300);
        d.minutes = g.Below(60);
        d.seconds = g.Below(60);
      } else {
        d.days = g.Below(40);
        d.hours = g.Below(24);
        d.minutes = g.Below(60);
      }
      return {TextCell(g.DurationText(d)), DateTimeStyle(kNumFormatTime, 0, style)};
    }
    case 10: {
      const uint8_t dateStyles[] = {0, 1, 7, 9, 10};
      const uint8_t timeStyle = static_cast<uint8_t>(g.Below(8));
      NumFormatParams f = DateTimeStyle(kNumFormatDateTime, dateStyles[g.Below(5)], timeStyle);
      f.options.dateTime.timeFirst = static_cast<uint8_t>(g.Below(2));
      DateTime d = g.Date(1000, 9999);
      g.AddTime(&d, timeStyle >= 4, false);
      return {TextCell(g.Iso(d)), f};
    }
    case 11: {
      // Codes in the order of the locale's own date styles.
      const bool dayFirst = current.shortDateOrder == kDateOrderDayMonthYear;
      const char* patterns[] = {"yyyy-mm-dd", dayFirst ? "d mmmm, yyyy" : "mmmm d, yyyy",
                                dayFirst ? "d-mmm-yyyy" : "mmm-d-yyyy"};
      return {TextCell(g.Iso(g.Date(1000, 9999))), Pattern(patterns[g.Below(3)])};
    }
    case 12:
      return {TextCell(g.Word()), Format(static_cast<uint8_t>(g.Below(11)))};
    default: {
      NumFormatParams f = Format(kNumFormatGeneral);
      return {NumberCell(g.AnyNumber(-5, 12)), f};
    }
  }
}

// Any value under any format.
Sample AnySample(Generator& g) {
  Sample s = ExactSample(g);
  switch (g.Below(4)) {
    case 0:
      s.cell = NumberCell(g.AnyNumber(-300, 300));
      break;
    case 1: {
      DateTime d = g.Date(1, 50000);
      if (g.OneIn(2)) g.AddTime(&d, true, g.OneIn(2));
      if (d.hasTime && g.OneIn(4)) {
        d.zoneNegative = static_cast<uint8_t>(g.Below(2));
        d.zoneHours = g.Below(14);
        d.zoneMinutes = 30 * g.Below(2);
      }
      s.cell = TextCell(g.Iso(d));
      break;
    }
    default:
      break;
  }
  const char* patterns[] = {"0", "0.0", "General", "# ?/?", "[h]:mm", "yy", "0;-0;'zero'", "@", "#,##0,"};
  if (g.OneIn(4)) s.format = Pattern(patterns[g.Below(9)]);
  if (g.OneIn(5)) s.format.options.bytes[g.Below(24)] = static_cast<uint8_t>(g.Below(256));
  return s;
}

// Exactly: the very same double; else to the 15 digits numbers show.
::testing::AssertionResult ReadsBack(const char* text, const Sample& s, bool exactly) {
  static EvalState translator;
  NumFormatParams typed = s.format;
  alignas(8) uint8_t bytes[kCellInputCapacity];
  if (ParseCellInput(translator, text, &typed, 0, 0, bytes, sizeof bytes) == 0)
    return ::testing::AssertionFailure() << "no record";
  const CellRecord& back = *AsCellRecord(bytes);
  const CellRecord& cell = Cell(s.cell);
  if (cell.IsText()) {
    const std::string want(cell.Text(), cell.TextLength());
    if (back.IsText() && std::string(back.Text(), back.TextLength()) == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "text " << want << " read back as "
                                         << (back.IsText() ? std::string(back.Text(), back.TextLength()) : "a number");
  }
  char want[kDoubleTextCapacity];
  char got[kDoubleTextCapacity] = "(not a number)";
  DoubleToText(cell.Number(), want, sizeof want, nullptr);
  if (back.IsNumber() && back.ErrorCode() == kErrorNone) {
    if (exactly && back.Number() == cell.Number()) return ::testing::AssertionSuccess();
    DoubleToText(back.Number(), got, sizeof got, nullptr);
  }
  if (!exactly && std::strcmp(want, got) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "number " << want << " read back as " << got;
}

// A clock time in a cell shown as a duration can only come from elsewhere:
// typed there, a time is a duration.
bool ClockTimeAsDuration(const Sample& s) {
  const CellRecord& cell = Cell(s.cell);
  DateTime value;
  return cell.IsText() && s.format.category == kNumFormatTime && s.format.options.dateTime.timeStyle >= 8 &&
         s.format.options.dateTime.timeStyle <= 10 &&
         ParseIsoDateTime(&value, std::string(cell.Text(), cell.TextLength()).c_str()) && !value.hasDate;
}

void RunRoundTrips(unsigned seed, bool shownText) {
  Generator g(seed);
  for (int round = 0; round < 4000; ++round) {
    const Sample s = shownText ? ExactSample(g) : AnySample(g);
    if (ClockTimeAsDuration(s)) continue;
    char text[kCellTextCapacity];
    if (shownText) {
      FormatCellDisplayText(Cell(s.cell), s.format, text, sizeof text);
    } else {
      FormatCellValueText(Cell(s.cell), s.format, text, sizeof text);
    }
    ASSERT_TRUE(ReadsBack(text, s, !shownText)) << "seed " << seed << " round " << round << ": shown '" << text
                                    << "' category " << int(s.format.category) << " code '" << s.format.code << "'";
  }
}

TEST_F(CellDisplay, ShownTextOfExactFormatsReadsBack) {
  RunRoundTrips(7101, true);
  CurrentRegionalSettings() = kCommaDecimal;
  RunRoundTrips(7102, true);
}

TEST_F(CellDisplay, ValueTextOfAnyValueReadsBack) {
  RunRoundTrips(7201, false);
  CurrentRegionalSettings() = kCommaDecimal;
  RunRoundTrips(7202, false);
}

}  // namespace
