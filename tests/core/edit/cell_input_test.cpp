#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/edit/cell_input.h"
#include "core/cells/cell_record.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/num_format_params.h"
#include "core/numfmt/regional_settings.h"
#include "platform/os_services.h"

#include "tests/core/generic_locale_test.h"

namespace {

using CellInput = GenericLocaleTest;

enum Kind { kNumber, kText, kError, kFormula };

NumFormatParams Format(uint8_t category) {
  NumFormatParams p;
  std::memset(&p, 0, sizeof p);
  p.category = category;
  return p;
}

NumFormatParams TimeFormat(uint8_t style) {
  NumFormatParams p = Format(kNumFormatTime);
  p.options.dateTime.timeStyle = style;
  return p;
}

NumFormatParams CurrencyFormat(const char* symbol) {
  NumFormatParams p = Format(kNumFormatCurrency);
  std::strcpy(p.options.currency.symbol, symbol);
  p.options.currency.decimals = 2;
  return p;
}

struct InputCase {
  const char* text;
  NumFormatParams format;
  Kind kind;
  double number;       // number cells
  const char* result;  // text and formula cells
  uint8_t category;    // the cell's category afterwards
};

void CheckInputs(const InputCase* cases, size_t count) {
  EvalState translator;
  for (size_t i = 0; i < count; ++i) {
    const InputCase& c = cases[i];
    NumFormatParams format = c.format;
    alignas(8) uint8_t bytes[kCellInputCapacity];
    const uint32_t size = ParseCellInput(translator, c.text, &format, 4, 2, bytes, sizeof bytes);
    ASSERT_GT(size, 0u) << c.text;
    const CellRecord* cell = AsCellRecord(bytes);
    EXPECT_EQ(cell->Size(), size) << c.text;
    EXPECT_EQ(cell->Row(), 4u);
    EXPECT_EQ(cell->Column(), 2u);
    EXPECT_EQ(format.category, c.category) << c.text;
    switch (c.kind) {
      case kNumber:
        ASSERT_TRUE(cell->IsNumber()) << c.text;
        EXPECT_EQ(cell->ErrorCode(), kErrorNone) << c.text;
        EXPECT_DOUBLE_EQ(cell->Number(), c.number) << c.text;
        break;
      case kError:
        ASSERT_TRUE(cell->IsNumber()) << c.text;
        EXPECT_EQ(cell->ErrorCode(), static_cast<uint8_t>(c.number)) << c.text;
        EXPECT_EQ(cell->Number(), 0.0);
        break;
      case kText:
        ASSERT_TRUE(cell->IsText()) << c.text;
        EXPECT_EQ(std::string(cell->Text(), cell->TextLength()), c.result) << c.text;
        break;
      case kFormula:
        ASSERT_TRUE(cell->IsFormula()) << c.text;
        EXPECT_EQ(std::string(cell->FormulaText(), cell->FormulaLength()), c.result) << c.text;
        EXPECT_EQ(cell->ResultFlags(), kResultCachedNumber);
        EXPECT_EQ(cell->ArrayColumns(), 1);
        EXPECT_EQ(cell->ArrayRows(), 1u);
        break;
    }
  }
}

TEST_F(CellInput, ClassifiesTypedTexts) {
  const NumFormatParams general = Format(kNumFormatDefault);
  const InputCase cases[] = {
      {"#DIV/0!", general, kError, kErrorDivZero, nullptr, 0},
      {"#n/a!", general, kError, kErrorNA, nullptr, 0},
      {"#abc", general, kText, 0, "#abc", 0},
      {"=sum(a1:a3)", general, kFormula, 0, "=sum(R[-4]C[-2]:R[-2]C[-2])", 0},
      {"=1+", general, kFormula, 0, "=1+", 0},
      {"1,234", general, kNumber, 1234, nullptr, kNumFormatGeneral},
      {"1,23", general, kText, 0, "1,23", 0},
      {"1,234,5678", general, kText, 0, "1,234,5678", 0},
      {"(5)", general, kNumber, -5, nullptr, kNumFormatGeneral},
      {"12%", general, kNumber, 0.12, nullptr, kNumFormatPercent},
      {"1e3", general, kNumber, 1000, nullptr, kNumFormatScientific},
      {"1 1/4", general, kNumber, 1.25, nullptr, kNumFormatFraction},
      {"$5", general, kNumber, 5, nullptr, kNumFormatCurrency},
      {"42", general, kNumber, 42, nullptr, 0},
      {"1/0", general, kText, 0, "1/0", 0},
      {"1e999", general, kText, 0, "1e999", 0},
      {"hello", general, kText, 0, "hello", 0},
      {"", general, kText, 0, "", 0},
      // Dates, times and durations are ISO texts.
      {"2009-05-16", general, kText, 0, "2009-05-16", kNumFormatDate},
      {"10:00:00", general, kText, 0, "10:00:00", kNumFormatTime},
      {"2009-05-16T10:00:00", general, kText, 0, "2009-05-16T10:00:00", kNumFormatDateTime},
      {"5/16/2009", general, kText, 0, "2009-05-16", kNumFormatDate},
      {"5/16/09", general, kText, 0, "2009-05-16", kNumFormatDate},
      {"5/16", general, kText, 0, "2011-05-16", kNumFormatDate},  // the clock's year
      {"2/29", general, kNumber, 2.0 / 29, nullptr, kNumFormatFraction},  // no date in 2011
      {"1/45", general, kNumber, 1.0 / 45, nullptr, kNumFormatFraction},
      {"1/2", general, kText, 0, "2011-01-02", kNumFormatDate},
      {"May 16, 2009", general, kText, 0, "2009-05-16", kNumFormatDate},
      {"may-16", general, kText, 0, "2011-05-16", kNumFormatDate},
      {"Saturday, May 16, 2009", general, kText, 0, "2009-05-16", kNumFormatDate},
      {"10:30 PM", general, kText, 0, "22:30:00", kNumFormatTime},
      {"12:05 AM", general, kText, 0, "00:05:00", kNumFormatTime},
      {"10:30 pm", general, kText, 0, "10:30 pm", 0},  // AM and PM in capitals only
      {"25:00", general, kText, 0, "25:00", 0},
      {"9:05:07", general, kText, 0, "09:05:07", kNumFormatTime},
      {"100:00:00", general, kText, 0, "PT100H", kNumFormatTime},
      {"PT1H", general, kText, 0, "PT1H", kNumFormatTime},
      {"P1DT2H", general, kText, 0, "P1DT2H", kNumFormatTime},
      {"P", general, kText, 0, "P", 0},
      {"p", general, kText, 0, "p", 0},
      {"13/45/2009", general, kText, 0, "13/45/2009", 0},
      {"2/29/2009", general, kText, 0, "2/29/2009", 0},
      {"2/29/2008", general, kText, 0, "2008-02-29", kNumFormatDate},
      {"5-16-2009", general, kText, 0, "5-16-2009", 0},  // the separator is the locale's
      {"Sept-3", general, kText, 0, "Sept-3", 0},
      {"13:30 PM", general, kText, 0, "13:30 PM", 0},
      {"9:60", general, kText, 0, "9:60", 0},
      {"9:05:07.25 PM", general, kText, 0, "9:05:07.25 PM", 0},
  };
  CheckInputs(cases, sizeof cases / sizeof cases[0]);
}

TEST_F(CellInput, CellCategoriesReadTheirOwnForms) {
  NumFormatParams dateTime = Format(kNumFormatDateTime);
  NumFormatParams longDate = Format(kNumFormatDate);
  longDate.options.dateTime.dateStyle = 9;
  NumFormatParams monthYear = Format(kNumFormatDate);
  monthYear.options.dateTime.dateStyle = 5;
  NumFormatParams accounting = CurrencyFormat("$");
  accounting.category = kNumFormatAccounting;
  const InputCase cases[] = {
      {"3/4", Format(kNumFormatFraction), kNumber, 0.75, nullptr, kNumFormatFraction},
      {"1.5", Format(kNumFormatFraction), kNumber, 1.5, nullptr, kNumFormatFraction},
      {"5 EUR", CurrencyFormat("EUR"), kNumber, 5, nullptr, kNumFormatCurrency},
      {"$5", CurrencyFormat("EUR"), kNumber, 5, nullptr, kNumFormatCurrency},
      {"$5", accounting, kNumber, 5, nullptr, kNumFormatAccounting},
      {"5", Format(kNumFormatPercent), kNumber, 5, nullptr, kNumFormatPercent},
      {"5%", CurrencyFormat("$"), kNumber, 0.05, nullptr, kNumFormatPercent},
      {"word", Format(kNumFormatScientific), kText, 0, "word", kNumFormatScientific},
      {"5/16/2009 10:00", dateTime, kText, 0, "2009-05-16T10:00:00", kNumFormatDateTime},
      {"10:00 5/16/2009", dateTime, kText, 0, "2009-05-16T10:00:00", kNumFormatDateTime},
      {"5/16/2009", dateTime, kText, 0, "2009-05-16", kNumFormatDate},
      {"May 16, 2009", longDate, kText, 0, "2009-05-16", kNumFormatDate},
      {"2009-05-16", longDate, kText, 0, "2009-05-16", kNumFormatDate},
      {"05/09", monthYear, kText, 0, "2009-05-01", kNumFormatDate},
      {"10:00:00", TimeFormat(9), kText, 0, "PT10H", kNumFormatTime},
      {"100:00:00", TimeFormat(9), kText, 0, "PT100H", kNumFormatTime},
      {"2 10:30", TimeFormat(10), kText, 0, "P2DT10H30M", kNumFormatTime},
      {"1:30.5", TimeFormat(8), kText, 0, "PT1M30.500S", kNumFormatTime},
      {"100:00:00", TimeFormat(0), kText, 0, "PT100H", kNumFormatTime},
      {"12:00", TimeFormat(9), kText, 0, "PT12H", kNumFormatTime},
  };
  CheckInputs(cases, sizeof cases / sizeof cases[0]);
}

TEST_F(CellInput, FormatChangesOnlyWithTheCategory) {
  EvalState translator;
  alignas(8) uint8_t bytes[kCellInputCapacity];

  NumFormatParams percent = Format(kNumFormatPercent);
  percent.options.number.fixedDecimals = 1;
  percent.options.number.decimals = 3;
  ParseCellInput(translator, "12%", &percent, 0, 0, bytes, sizeof bytes);
  EXPECT_EQ(percent.options.number.decimals, 3);

  NumFormatParams general = Format(kNumFormatDefault);
  ParseCellInput(translator, "$1.50", &general, 0, 0, bytes, sizeof bytes);
  EXPECT_EQ(general.category, kNumFormatCurrency);
  EXPECT_EQ(general.options.currency.decimals, 2);

  NumFormatParams time = TimeFormat(0);
  ParseCellInput(translator, "P1D", &time, 0, 0, bytes, sizeof bytes);
  EXPECT_EQ(time.options.dateTime.timeStyle, 10);  // a duration needs an elapsed style
  NumFormatParams elapsed = TimeFormat(8);
  ParseCellInput(translator, "P1D", &elapsed, 0, 0, bytes, sizeof bytes);
  EXPECT_EQ(elapsed.options.dateTime.timeStyle, 8);

  NumFormatParams fresh = Format(kNumFormatDefault);
  ParseCellInput(translator, "5/16/2009", &fresh, 0, 0, bytes, sizeof bytes);
  EXPECT_EQ(fresh.category, kNumFormatDate);
  EXPECT_EQ(fresh.options.dateTime.dateStyle, 0);
  EXPECT_EQ(fresh.options.dateTime.useLocaleOrder, 1);
}

TEST_F(CellInput, CommaDecimalLocale) {
  CurrentRegionalSettings() = kCommaDecimal;
  const NumFormatParams general = Format(kNumFormatDefault);
  const InputCase cases[] = {
      {"1,5", general, kNumber, 1.5, nullptr, 0},
      {"1.234,5", general, kNumber, 1234.5, nullptr, kNumFormatGeneral},
      {"1.234", general, kNumber, 1234, nullptr, kNumFormatGeneral},
      {"-2,5%", general, kNumber, -0.025, nullptr, kNumFormatPercent},
      {"5 EUR", general, kNumber, 5, nullptr, kNumFormatCurrency},
      {"16.05.2009", general, kText, 0, "2009-05-16", kNumFormatDate},
      {"16.05", general, kText, 0, "2011-05-16", kNumFormatDate},
      {"1.23", general, kText, 0, "1.23", 0},
      {"10:00", general, kText, 0, "10:00:00", kNumFormatTime},
      {"=SUM(1,5;2)", general, kFormula, 0, "=SUM(1.5,2)", 0},
      {"={1;2\\3;4}", general, kFormula, 0, "={1, 2; 3, 4}", 0},
  };
  CheckInputs(cases, sizeof cases / sizeof cases[0]);
}

TEST_F(CellInput, FormulasInR1C1WithGenericSeparatorsAreStoredAsTyped) {
  AddressingA1 = 0;
  const InputCase cases[] = {
      {"=sum(a1:a3)", Format(0), kFormula, 0, "=sum(a1:a3)", 0},
      {"=R[-1]C+1", Format(0), kFormula, 0, "=R[-1]C+1", 0},
  };
  CheckInputs(cases, sizeof cases / sizeof cases[0]);
}

TEST_F(CellInput, LongInputNeverOverrunsTheRecord) {
  EvalState translator;
  alignas(8) uint8_t bytes[kCellInputCapacity];
  NumFormatParams format = Format(kNumFormatDefault);

  const std::string text(5000, 'x');
  ASSERT_GT(ParseCellInput(translator, text.c_str(), &format, 0, 0, bytes, sizeof bytes), 0u);
  EXPECT_EQ(AsCellRecord(bytes)->TextLength(), kMaxCellTextLength);

  // A formula too long to translate is kept as typed, as a text.
  const std::string formula = "=" + std::string(3000, '1');
  ASSERT_GT(ParseCellInput(translator, formula.c_str(), &format, 0, 0, bytes, sizeof bytes), 0u);
  EXPECT_TRUE(AsCellRecord(bytes)->IsText());
  EXPECT_EQ(AsCellRecord(bytes)->TextLength(), kMaxCellTextLength);

  std::string longest = "=" + std::string(kFormulaTextCapacity - 1, '1');
  ASSERT_GT(ParseCellInput(translator, longest.c_str(), &format, 0, 0, bytes, sizeof bytes), 0u);
  EXPECT_TRUE(AsCellRecord(bytes)->IsFormula());

  // A record that does not fit the caller's buffer is not written.
  uint8_t small[12] = {};
  EXPECT_EQ(ParseCellInput(translator, "some text", &format, 0, 0, small, sizeof small), 0u);
  EXPECT_EQ(small[0], 0);
}

}  // namespace
