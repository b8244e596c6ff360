#ifndef TALVERO_TESTS_FUNCTIONS_CALENDAR_DAYS_H
#define TALVERO_TESTS_FUNCTIONS_CALENDAR_DAYS_H

// Days walked one by one, the plain model the working-day tests check the
// date functions against.

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/numfmt/date_time.h"

struct Day {
  int32_t year, month, day;
};

inline std::string IsoText(const Day& d) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

inline Day NextDay(Day d) {
  if (++d.day <= DaysInMonth(d.year, d.month)) return d;
  d.day = 1;
  if (++d.month <= 12) return d;
  d.month = 1;
  ++d.year;
  return d;
}

inline Day PreviousDay(Day d) {
  if (--d.day >= 1) return d;
  if (--d.month < 1) {
    d.month = 12;
    --d.year;
  }
  d.day = DaysInMonth(d.year, d.month);
  return d;
}

inline int32_t WeekdayOf(const Day& d) {
  DateTime value{};
  value.hasDate = 1;
  value.year = d.year;
  value.month = d.month;
  value.day = d.day;
  value.ComputeDayOfYear();
  return value.weekday;
}

#endif
