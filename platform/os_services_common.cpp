#include "platform/os_services.h"
#include "platform/os_services_system.h"

namespace {
OsClock testClock = nullptr;
}  // namespace

void OsSetClockForTesting(OsClock clock) { testClock = clock; }

void OsGetLocalTime(OsLocalTime* out) {
  if (testClock)
    testClock(out);
  else
    OsSystemLocalTime(out);
}

void OsUpperText(char* text, size_t length) {
  for (size_t i = 0; i < length && text[i]; ++i)
    text[i] = static_cast<char>(OsCharUpper(static_cast<uint8_t>(text[i])));
}

void OsLowerText(char* text, size_t length) {
  for (size_t i = 0; i < length && text[i]; ++i)
    text[i] = static_cast<char>(OsCharLower(static_cast<uint8_t>(text[i])));
}

bool OsIsValidSystemDate(int year, int month, int day) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}
