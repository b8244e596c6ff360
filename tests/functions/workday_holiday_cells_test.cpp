#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/numfmt/date_time.h"
#include "tests/functions/calendar_days.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

bool IsWorkday(int32_t weekday) { return weekday != 1 && weekday != 7; }

using HolidayCells = FormulaTableTest;

// Holidays read from cells mark their month and day in every year: gaps,
// the same day twice, days at either end of a month, holidays on weekends
// and in other years; a text that is no date makes either call "#VALUE!".
TEST_F(HolidayCells, MarkTheirDaysInEveryYear) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 150; ++trial) {
    sheet.Clear(true);
    bool marked[13][32] = {};
    bool noDate = false;
    const uint32_t rows = 1 + random() % 12;
    Day last{};
    for (uint32_t row = 0; row < rows; ++row) {
      Day holiday{int32_t(2019 + random() % 4), int32_t(1 + random() % 12), 1};
      const int32_t length = DaysInMonth(holiday.year, holiday.month);
      holiday.day = random() % 3 ? int32_t(1 + random() % uint32_t(length)) : (random() % 2 ? 1 : length);
      switch (random() % 10) {
        case 0:
          break;  // a gap
        case 1:
          if (trial % 5 == 0) {
            PutText(sheet, 0, row, "someday");
            noDate = true;
          }
          break;
        case 2:
          if (last.year != 0) holiday = last;  // the same day again
          [[fallthrough]];
        default:
          PutText(sheet, 0, row, IsoText(holiday));
          marked[holiday.month][holiday.day] = true;
          last = holiday;
          break;
      }
    }
    const Day first{int32_t(2020 + random() % 2), int32_t(1 + random() % 12), int32_t(1 + random() % 28)};
    Day end = first;
    for (uint32_t i = random() % 500; i > 0; --i) end = NextDay(end);
    int64_t expected = 0;
    int32_t weekday = WeekdayOf(first);
    for (Day d = first;; d = NextDay(d), weekday = weekday % 7 + 1) {
      if (IsWorkday(weekday) && !marked[d.month][d.day]) ++expected;
      if (d.year == end.year && d.month == end.month && d.day == end.day) break;
    }
    const std::string holidays = ",A1:A" + std::to_string(rows) + ")";
    const std::string count = "=NETWORKDAYS(\"" + IsoText(first) + "\",\"" + IsoText(end) + "\"" + holidays;
    EXPECT_EQ(Run(count), noDate ? std::string("#VALUE!") : std::to_string(expected)) << count;

    const int32_t n = int32_t(random() % 40);
    Day reached = first;
    weekday = WeekdayOf(first);
    for (int32_t counted = 0; counted < n;) {
      reached = NextDay(reached);
      weekday = weekday % 7 + 1;
      if (IsWorkday(weekday) && !marked[reached.month][reached.day]) ++counted;
    }
    const std::string step = "=WORKDAY(\"" + IsoText(first) + "\"," + std::to_string(n) + holidays;
    EXPECT_EQ(Run(step), noDate ? std::string("#VALUE!") : "\"" + IsoText(reached) + "\"") << step;
  }
}

// Spans of many years cross century years, leap or not, with a holiday on
// 29 February among others.
TEST_F(HolidayCells, CountAcrossCenturies) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 8; ++trial) {
    sheet.Clear(true);
    bool marked[13][32] = {};
    const Day holidays[] = {{2000, 2, 29}, {1999, 12, 31}, {2001, 1, 1}, {2003, int32_t(1 + random() % 12), 13}};
    for (uint32_t row = 0; row < 4; ++row) {
      PutText(sheet, 0, row, IsoText(holidays[row]));
      marked[holidays[row].month][holidays[row].day] = true;
    }
    const Day first{int32_t(1795 + random() % 20), int32_t(1 + random() % 12), int32_t(1 + random() % 28)};
    Day end = first;
    for (uint32_t i = 100 * 365 + random() % (120 * 365); i > 0; --i) end = NextDay(end);
    int64_t expected = 0;
    int32_t weekday = WeekdayOf(first);
    for (Day d = first;; d = NextDay(d), weekday = weekday % 7 + 1) {
      if (IsWorkday(weekday) && !marked[d.month][d.day]) ++expected;
      if (d.year == end.year && d.month == end.month && d.day == end.day) break;
    }
    const std::string count = "=NETWORKDAYS(\"" + IsoText(first) + "\",\"" + IsoText(end) + "\",A1:A4)";
    EXPECT_EQ(Run(count), std::to_string(expected)) << count;
  }
}

// Dates in cells read in place give what the same dates give through the
// general reader (written with a midnight time, as literals) and what the
// dates given as literals give: holidays, first and last dates of
// NETWORKDAYS and WORKDAY's start; the schedule of XNPV and XIRR likewise.
// Cells that are no plain date (a number, an error, a blank) keep their
// answers.
TEST_F(HolidayCells, DatesReadInPlaceMatchTheGeneralReader) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto randomDay = [&random]() {
    Day d{int32_t(1990 + random() % 60), int32_t(1 + random() % 12), 1};
    d.day = int32_t(1 + random() % uint32_t(DaysInMonth(d.year, d.month)));
    return d;
  };
  for (int trial = 0; trial < 120; ++trial) {
    sheet.Clear(true);
    const uint32_t rows = 1 + random() % 6;
    for (uint32_t row = 0; row < rows; ++row) {
      const Day d = randomDay();
      // Column A mostly plain, so that schedules mix both readers.
      PutText(sheet, 0, row, random() % 4 ? IsoText(d) : IsoText(d) + "T00:00:00");
      PutText(sheet, 1, row, IsoText(d) + "T00:00:00");
      PutNumber(sheet, 2, row, double(random() % 2001) - 1000.0);
    }
    const Day first = randomDay();
    Day end = first;
    for (uint32_t i = random() % 900; i > 0; --i) end = NextDay(end);
    PutText(sheet, 3, 0, IsoText(first));
    PutText(sheet, 3, 1, IsoText(end));
    switch (random() % 4) {
      case 0:
        PutNumber(sheet, 3, 2, 45000);
        break;
      case 1:
        PutText(sheet, 3, 2, IsoText(first), kErrorNA);
        break;
      case 2:
        PutText(sheet, 3, 2, IsoText(first) + "T12:30:00");
        break;
      default:
        break;  // a blank
    }
    const std::string n = std::to_string(int32_t(random() % 80) - 40);
    const std::string last = std::to_string(rows);
    const std::string literal = "\"" + IsoText(first) + "\"";
    const std::string ends[][2] = {{"D1,D2", literal + ",\"" + IsoText(end) + "\""}, {"D3,D2", ""}, {"D2,D3", ""}};
    for (const auto& pair : ends) {
      const std::string inPlace = "=NETWORKDAYS(" + pair[0] + ",A1:A" + last + ")";
      const std::string general = "=NETWORKDAYS(" + pair[0] + ",B1:B" + last + ")";
      EXPECT_EQ(Run(inPlace), Run(general)) << inPlace;
      if (!pair[1].empty()) {
        EXPECT_EQ(Run(inPlace), Run("=NETWORKDAYS(" + pair[1] + ",B1:B" + last + ")")) << inPlace;
      }
    }
    for (const char* start : {"D1", "D3"}) {
      const std::string inPlace = "=WORKDAY(" + std::string(start) + "," + n + ",A1:A" + last + ")";
      EXPECT_EQ(Run(inPlace), Run("=WORKDAY(" + std::string(start) + "," + n + ",B1:B" + last + ")")) << inPlace;
    }
    EXPECT_EQ(Run("=WORKDAY(D1," + n + ",A1:A" + last + ")"), Run("=WORKDAY(" + literal + "," + n + ",A1:A" + last + ")"));
    for (const char* f : {"XNPV(0.07,", "XIRR("}) {
      const std::string inPlace = "=" + std::string(f) + "C1:C" + last + ",A1:A" + last + ")";
      EXPECT_EQ(Run(inPlace), Run("=" + std::string(f) + "C1:C" + last + ",B1:B" + last + ")")) << inPlace;
    }
  }
}

// WORKDAY steps forward and back over many working days, through months
// whose days are all holidays, across leap days and year ends, and up to
// the first and last years a date can hold, as one day at a time does.
TEST_F(HolidayCells, StepsLikeOneDayAtATime) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 200; ++trial) {
    sheet.Clear(true);
    bool marked[13][32] = {};
    uint32_t rows = 0;
    const int32_t fullMonth = trial % 3 == 0 ? int32_t(1 + random() % 12) : 0;
    for (int32_t d = 1; fullMonth != 0 && d <= DaysInMonth(2004, fullMonth); ++d, ++rows) {
      PutText(sheet, 0, rows, IsoText(Day{2004, fullMonth, d}));
      marked[fullMonth][d] = true;
    }
    for (uint32_t extra = random() % 8; extra > 0; --extra, ++rows) {
      Day holiday{2004, int32_t(1 + random() % 12), 1};
      holiday.day = int32_t(1 + random() % uint32_t(DaysInMonth(2004, holiday.month)));
      PutText(sheet, 0, rows, IsoText(holiday));
      marked[holiday.month][holiday.day] = true;
    }
    const int32_t years[] = {1, 2, 1999, 2000, 2023, 49999, 50000};
    Day first{years[random() % 7], int32_t(1 + random() % 12), 1};
    first.day = int32_t(1 + random() % uint32_t(DaysInMonth(first.year, first.month)));
    const int32_t n = int32_t(random() % 801) - 400;
    Day reached = first;
    int32_t weekday = WeekdayOf(first);
    bool outside = false;
    for (int32_t counted = 0; counted < (n < 0 ? -n : n) && !outside;) {
      reached = n > 0 ? NextDay(reached) : PreviousDay(reached);
      weekday = n > 0 ? weekday % 7 + 1 : (weekday + 5) % 7 + 1;
      outside = reached.year < 1 || reached.year > 50000;
      if (IsWorkday(weekday) && !marked[reached.month][reached.day]) ++counted;
    }
    const std::string step = "=WORKDAY(\"" + IsoText(first) + "\"," + std::to_string(n) +
                             (rows ? ",A1:A" + std::to_string(rows) + ")" : ",)");
    EXPECT_EQ(Run(step), outside ? std::string("#NUM!") : "\"" + IsoText(reached) + "\"") << step;
  }
}

// A short holiday column is looked up row by row and short columns of
// flows and dates pair by pair; beside an empty column the same cells are
// walked in storage order. Both give the same answers: blanks, numbers,
// errors, dates with times, texts that are no date, formulas and columns
// past the rows looked up; flows missing their dates or dates their flows.
// Dates written in the formula read as the same dates from cells.
TEST_F(HolidayCells, ShortColumnsLookedUpMatchTheWalk) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto randomDay = [&random]() {
    Day d{int32_t(2018 + random() % 8), int32_t(1 + random() % 12), 1};
    d.day = int32_t(1 + random() % uint32_t(DaysInMonth(d.year, d.month)));
    return d;
  };
  for (int trial = 0; trial < 160; ++trial) {
    sheet.Clear(true);
    const uint32_t rows = 1 + random() % (trial % 8 == 0 ? 70 : 9);
    const bool oddCells = trial % 3 == 0;
    for (uint32_t row = 0; row < rows; ++row) {
      const Day d = randomDay();
      const uint32_t kind = oddCells ? random() % 12 : 2 + random() % 10;
      switch (kind) {
        case 0:
          PutText(sheet, 0, row, random() % 2 ? std::string("someday") : IsoText(d) + "T08:00:00");
          break;
        case 1:
          if (random() % 2)
            PutNumber(sheet, 0, row, 45000);
          else
            PutText(sheet, 0, row, IsoText(d), kErrorNA);
          break;
        case 2:
          break;  // a blank
        default:
          PutText(sheet, 0, row, IsoText(d));
          break;
      }
      // Flows: mostly beside a date, sometimes missing, a formula or an error.
      const uint32_t flow = random() % 16;
      if (flow == 0 && oddCells) continue;
      if (flow == 1 && oddCells)
        PutFormula(sheet, 2, row, "=1+1", 2.0, nullptr, 0, true);
      else if (flow == 2 && oddCells)
        PutNumber(sheet, 2, row, 0, kErrorDivZero);
      else if (kind != 2 || (oddCells && flow < 5))
        PutNumber(sheet, 2, row, (row == 0 ? -1000.0 : 0.0) + double(random() % 700));
    }
    const Day first = randomDay();
    Day end = first;
    for (uint32_t i = random() % 700; i > 0; --i) end = NextDay(end);
    PutText(sheet, 5, 0, IsoText(first));
    PutText(sheet, 5, 1, IsoText(end));
    const std::string last = std::to_string(rows);
    const std::string column = "A1:A" + last;
    const std::string beside = "A1:B" + last;
    const std::string literals = "\"" + IsoText(first) + "\",\"" + IsoText(end) + "\"";
    const std::string withTimes = "\"" + IsoText(first) + "T00:00:00\",\"" + IsoText(end) + "T00:00:00\"";
    const std::string counted = Run("=NETWORKDAYS(F1,F2," + beside + ")");
    EXPECT_EQ(Run("=NETWORKDAYS(F1,F2," + column + ")"), counted) << column;
    EXPECT_EQ(Run("=NETWORKDAYS(" + literals + "," + column + ")"), counted) << column;
    EXPECT_EQ(Run("=NETWORKDAYS(" + withTimes + "," + column + ")"), counted) << column;
    const std::string n = std::to_string(int32_t(random() % 60) - 30);
    const std::string stepped = Run("=WORKDAY(F1," + n + "," + beside + ")");
    EXPECT_EQ(Run("=WORKDAY(F1," + n + "," + column + ")"), stepped) << column;
    EXPECT_EQ(Run("=WORKDAY(\"" + IsoText(first) + "\"," + n + "," + column + ")"), stepped) << column;
    for (const char* f : {"XNPV(0.07,", "XIRR("}) {
      const std::string inPlace = "=" + std::string(f) + "C1:C" + last + ",A1:A" + last + ")";
      EXPECT_EQ(Run(inPlace), Run("=" + std::string(f) + "C1:D" + last + ",A1:B" + last + ")")) << inPlace;
    }
  }
}

}  // namespace
