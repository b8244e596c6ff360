#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/numfmt/date_time.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

struct Day {
  int32_t year, month, day;
};

std::string IsoText(const Day& d) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

Day NextDay(Day d) {
  if (++d.day <= DaysInMonth(d.year, d.month)) return d;
  d.day = 1;
  if (++d.month <= 12) return d;
  d.month = 1;
  ++d.year;
  return d;
}

Day PreviousDay(Day d) {
  if (--d.day >= 1) return d;
  if (--d.month < 1) {
    d.month = 12;
    --d.year;
  }
  d.day = DaysInMonth(d.year, d.month);
  return d;
}

int32_t WeekdayOf(const Day& d) {
  DateTime value{};
  value.hasDate = 1;
  value.year = d.year;
  value.month = d.month;
  value.day = d.day;
  value.ComputeDayOfYear();
  return value.weekday;
}

bool Later(const Day& a, const Day& b) {
  if (a.year != b.year) return a.year > b.year;
  if (a.month != b.month) return a.month > b.month;
  return a.day > b.day;
}

using WorkingDays = FormulaTableTest;

// Counting whole months at a time must give what walking every day gives,
// across month and year ends, leap days and holidays on any weekday.
TEST_F(WorkingDays, NetworkdaysAgreesWithADayByDayCount) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 300; ++trial) {
    Day first{int32_t(1999 + random() % 6), int32_t(1 + random() % 12), 1};
    first.day = int32_t(1 + random() % uint32_t(DaysInMonth(first.year, first.month)));
    const int32_t span = int32_t(random() % 900) - 10;
    Day last = first;
    for (int32_t i = 0; i < span; ++i) last = NextDay(last);
    if (span < 0) last = Day{first.year - 1, first.month, 1};

    bool marked[13][32] = {};
    std::string holidays;
    const int holidayCount = int(random() % 5);
    for (int h = 0; h < holidayCount; ++h) {
      Day holiday{int32_t(1990 + random() % 20), int32_t(1 + random() % 12), 1};
      holiday.day = int32_t(1 + random() % uint32_t(DaysInMonth(holiday.year, holiday.month)));
      marked[holiday.month][holiday.day] = true;
      holidays += (h ? ",\"" : "{\"") + IsoText(holiday) + "\"";
    }
    if (holidayCount) holidays += "}";

    int64_t expected = 0;
    int32_t weekday = WeekdayOf(first);
    for (Day d = first; !Later(d, last); d = NextDay(d), weekday = weekday % 7 + 1)
      if (weekday != 1 && weekday != 7 && !marked[d.month][d.day]) ++expected;

    const std::string formula =
        "=NETWORKDAYS(\"" + IsoText(first) + "\",\"" + IsoText(last) + "\"," + holidays + ")";
    EXPECT_EQ(Run(formula), std::to_string(expected)) << formula;
  }
}

// Stepping over working days keeps each month's length right across month
// and year ends, forwards and backwards.
TEST_F(WorkingDays, WorkdayStepsAsADayByDayWalk) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 200; ++trial) {
    Day start{int32_t(1999 + random() % 6), int32_t(1 + random() % 12), 1};
    start.day = int32_t(1 + random() % uint32_t(DaysInMonth(start.year, start.month)));
    const int32_t n = int32_t(random() % 121) - 60;
    Day d = start;
    int32_t weekday = WeekdayOf(start);
    for (int32_t counted = 0; counted < (n < 0 ? -n : n);) {
      d = n > 0 ? NextDay(d) : PreviousDay(d);
      weekday = n > 0 ? weekday % 7 + 1 : (weekday + 5) % 7 + 1;
      if (weekday != 1 && weekday != 7) ++counted;
    }
    const std::string formula = "=WORKDAY(\"" + IsoText(start) + "\"," + std::to_string(n) + ",)";
    EXPECT_EQ(Run(formula), "\"" + IsoText(d) + "\"") << formula;
  }
}

}  // namespace
