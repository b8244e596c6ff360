#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/numfmt/date_time.h"
#include "tests/functions/calendar_days.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// A valid day of a year from firstYear on, within years years.
Day RandomDay(std::mt19937& random, int32_t firstYear, uint32_t years) {
  Day d{int32_t(firstYear + random() % years), int32_t(1 + random() % 12), 1};
  d.day = int32_t(1 + random() % uint32_t(DaysInMonth(d.year, d.month)));
  return d;
}

bool Later(const Day& a, const Day& b) {
  if (a.year != b.year) return a.year > b.year;
  if (a.month != b.month) return a.month > b.month;
  return a.day > b.day;
}

using WorkingDays = FormulaTableTest;

// Counting whole months at a time must give what walking every day gives,
// across month and year ends, leap days and holidays on any weekday; and
// stepping over working days keeps each month's length right, forwards
// and backwards.
TEST_F(WorkingDays, AgreeWithADayByDayWalk) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 300; ++trial) {
    const Day first = RandomDay(random, 1999, 6);
    const int32_t span = int32_t(random() % 900) - 10;
    Day last = first;
    for (int32_t i = 0; i < span; ++i) last = NextDay(last);
    if (span < 0) last = Day{first.year - 1, first.month, 1};

    bool marked[13][32] = {};
    std::string holidays;
    const int holidayCount = int(random() % 5);
    for (int h = 0; h < holidayCount; ++h) {
      const Day holiday = RandomDay(random, 1990, 20);
      marked[holiday.month][holiday.day] = true;
      holidays += (h ? ",\"" : "{\"") + IsoText(holiday) + "\"";
    }
    if (holidayCount) holidays += "}";

    int64_t expected = 0;
    int32_t weekday = WeekdayOf(first);
    for (Day d = first; !Later(d, last); d = NextDay(d), weekday = weekday % 7 + 1)
      if (weekday != 1 && weekday != 7 && !marked[d.month][d.day]) ++expected;
    const std::string count =
        "=NETWORKDAYS(\"" + IsoText(first) + "\",\"" + IsoText(last) + "\"," + holidays + ")";
    EXPECT_EQ(Run(count), std::to_string(expected)) << count;

    const int32_t n = int32_t(random() % 121) - 60;
    Day reached = first;
    weekday = WeekdayOf(first);
    for (int32_t counted = 0; counted < (n < 0 ? -n : n);) {
      reached = n > 0 ? NextDay(reached) : PreviousDay(reached);
      weekday = n > 0 ? weekday % 7 + 1 : (weekday + 5) % 7 + 1;
      if (weekday != 1 && weekday != 7) ++counted;
    }
    const std::string step = "=WORKDAY(\"" + IsoText(first) + "\"," + std::to_string(n) + ",)";
    EXPECT_EQ(Run(step), "\"" + IsoText(reached) + "\"") << step;
  }
}

}  // namespace
