#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/core/eval_test_cells.h"
#include "tests/functions/calendar_days.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using PlainTextCells = FormulaTableTest;

// Texts that are dates in the written form, that only look like one (a day
// past the month's end, month 13, year 0, a time or blank after it, a short
// field) and that are none, for the holiday, criteria and length readers.
const char* const kTexts[] = {"2021-03-04", "2020-02-29", "2021-12-31", "1999-12-31", "2021-02-29", "2021-13-01",
                              "2021-00-10", "0000-01-01", "2021-04-31", "2021-3-04",  "2021-03-04T10:00:00",
                              "2021-03-04 ", "beta12",    "b",          "B*",         "",           "alphabet",
                              "*b?",        "~",          "20",         "2021/03/04", "2021-03-0x"};
constexpr uint32_t kTextCount = sizeof kTexts / sizeof kTexts[0];

// A column of plain text cells (column A) read where they stand must give
// what the same texts give through the general view of a cell (formula
// cells in B caching them): holidays, flow dates, COUNTIF, SUMIF and LEN over ranges,
// with gaps, numbers and error cells now and then in both columns alike.
TEST_F(PlainTextCells, ReadAsTheGeneralViewReadsThem) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char* const criteria[] = {"b*", "B?ta1?", "~*", "2021-*", "<c", ">=b", "=beta12", "<>b", "20", ">1999"};
  for (int trial = 0; trial < 120; ++trial) {
    sheet.Clear(true);
    // Most trials fill every row with texts, so that full ranges take their
    // bulk and holiday paths; some have gaps, numbers or errors; a few are
    // longer than the gathering of lengths takes at once.
    const bool mixed = trial % 3 == 0;
    const uint32_t rows = trial % 10 == 9 ? 65 + random() % 20 : 1 + random() % 12;
    for (uint32_t row = 0; row < rows; ++row) {
      // Odd trials hold dates alone.
      const std::string text = kTexts[random() % (trial % 2 ? 4 : kTextCount)];
      PutNumber(sheet, 2, row, double(random() % 100) / 4);
      const uint32_t kind = mixed ? random() % 6 : 5;
      if (kind == 0) continue;  // a gap
      if (kind == 1) {
        PutNumber(sheet, 0, row, 20);
        PutFormula(sheet, 1, row, "=1", 20, nullptr, 0, true);
      } else if (kind == 2) {
        PutText(sheet, 0, row, text, kErrorNA);
        PutFormula(sheet, 1, row, "=1", 0, text.c_str(), kErrorNA, true);
      } else {
        PutText(sheet, 0, row, text);
        PutFormula(sheet, 1, row, "=1", 0, text.c_str(), 0, true);
      }
    }
    const std::string last = std::to_string(rows);
    const auto both = [&](const std::string& head, const std::string& tail) {
      const std::string plain = head + "A1:A" + last + tail;
      EXPECT_EQ(Run(plain), Run(head + "B1:B" + last + tail)) << plain;
    };
    both("=NETWORKDAYS(\"2019-06-01\",\"2022-03-31\",", ")");
    both("=WORKDAY(\"2021-02-20\",25,", ")");
    both("=WORKDAY(\"2021-02-20\",-25,", ")");
    both("=XNPV(0.05,C1:C" + last + ",", ")");
    const std::string criterion = std::string("\"") + criteria[random() % 10] + "\"";
    both("=COUNTIF(", "," + criterion + ")");
    both("=SUMIF(", "," + criterion + ",C1:C" + last + ")");
    both("=SUM(LEN(", "))");
    both("=LEN(", ")");
    // Each element of LEN over the range is LEN of its cell alone.
    std::string elements;
    for (uint32_t row = 1; row <= rows; ++row) {
      const std::string one = Run("=LEN(A" + std::to_string(row) + ")");
      elements += (row > 1 ? "; " : "") + (sheet.GetCell(row - 1, 0) ? one : std::string());
    }
    if (rows > 1) {
      EXPECT_EQ(Run("=LEN(A1:A" + last + ")"), "{" + elements + "}");
    }
  }
}

// WORKDAY writes its four-digit-year dates itself, as the date writer
// does: years below 1000 padded, years past 9999 through the writer.
TEST_F(PlainTextCells, WorkdayWritesDatesAsTheDateWriterDoes) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const int32_t kYears[] = {2, 999, 1000, 2025, 9999, 10000, 12345};
  for (int trial = 0; trial < 300; ++trial) {
    const Day first{kYears[random() % 7], int32_t(1 + random() % 12), int32_t(1 + random() % 28)};
    const int32_t n = int32_t(random() % 81) - 40;
    Day reached = first;
    for (int32_t counted = 0; counted < (n < 0 ? -n : n);) {
      reached = n > 0 ? NextDay(reached) : PreviousDay(reached);
      const int32_t weekday = WeekdayOf(reached);
      if (weekday != 1 && weekday != 7) ++counted;
    }
    sheet.Clear(true);
    PutText(sheet, 0, 0, IsoText(first));
    const std::string step = "=WORKDAY(A1," + std::to_string(n) + ",B1:B2)";
    EXPECT_EQ(Run(step), "\"" + IsoText(reached) + "\"") << IsoText(first) << ", " << step;
  }
}

}  // namespace
