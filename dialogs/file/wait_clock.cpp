#include "dialogs/file/wait_clock.h"

#include <cstdint>
#include <cstdio>

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

}  // namespace

int64_t SecondsOfLocalTime(const OsLocalTime& time) {
  return DaysFromCivil(time.year, time.month, time.day) * 86400 + time.hour * 3600 + time.minute * 60 +
         time.second;
}

void FormatWaitClock(int64_t seconds, char* out, size_t size) {
  if (seconds < 0) seconds = 0;
  // A wait of more than 2^31 hours is no wait anyone sees.
  const int64_t hours = seconds / 3600 > INT32_MAX ? INT32_MAX : seconds / 3600;
  std::snprintf(out, size, "%02d:%02d:%02d", static_cast<int>(hours),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}
