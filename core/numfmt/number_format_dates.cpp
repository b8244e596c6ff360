#include <charconv>
#include <cstdio>

#include "core/numfmt/date_time.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"
#include "platform/os_services.h"

namespace {

// Appends a number with at least minDigits digits as literal tokens.
bool AddNumber(NumberFormat* out, uint64_t value, int minDigits) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  int length = static_cast<int>(result.ptr - digits);
  for (int i = length; i < minDigits; ++i) {
    if (!out->AddToken(kTokenLiteral, 0, '0')) return false;
  }
  for (int i = 0; i < length; ++i) {
    if (!out->AddToken(kTokenLiteral, 0, static_cast<uint8_t>(digits[i]))) return false;
  }
  return true;
}

bool AddName(NumberFormat* out, const char* name, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (!out->AddToken(kTokenLiteral, 0, static_cast<uint8_t>(name[i]))) return false;
  }
  return true;
}

// Placeholders after the seconds show the milliseconds' three digits in turn;
// further ones show as placeholders without a digit do.
bool AddMillisecondDigit(NumberFormat* out, const FormatToken& placeholder, const char* millis,
                         int* next) {
  if (*next < 3) return out->AddToken(kTokenLiteral, 0, static_cast<uint8_t>(millis[(*next)++]));
  if (placeholder.character == '0') return out->AddToken(kTokenLiteral, 0, '0');
  if (placeholder.character == '?') return out->AddToken(kTokenBlank, 0, '0');
  return true;
}

}  // namespace

bool NumberFormat::FormatTime(const char* durationText, const NumberFormat& code, int section,
                              const RegionalSettings*) {
  Duration duration{};
  if (!ParseSignedDuration(&duration, durationText)) return false;
  const FormatSection& s = code.sections[section];
  // Years and months have no fixed length and are left out.
  const uint64_t total =
      ((((static_cast<uint64_t>(duration.days) * 24 + static_cast<uint64_t>(duration.hours)) * 60 +
         static_cast<uint64_t>(duration.minutes)) *
            60 +
        static_cast<uint64_t>(duration.seconds)) *
           1000 +
       static_cast<uint64_t>(duration.milliseconds));
  // The largest unit the code shows takes everything above it, each smaller
  // unit the rest: "[h]:mm" shows 90 minutes as 1:30, "[m]" as 90.
  uint64_t rest = total;
  uint64_t days = 0, hours = 0, minutes = 0, seconds = 0;
  if (s.kinds & kTokenDay) {
    days = rest / 86400000;
    rest %= 86400000;
  }
  if (s.kinds & kTokenHour) {
    hours = rest / 3600000;
    rest %= 3600000;
  }
  if (s.kinds & kTokenMinute) {
    minutes = rest / 60000;
    rest %= 60000;
  }
  if (s.kinds & kTokenSecond) {
    seconds = rest / 1000;
    rest %= 1000;
  }
  char millis[8];
  snprintf(millis, sizeof millis, "%03u", static_cast<unsigned>(rest % 1000));
  int nextMillis = 0;

  if (duration.negative && total != 0 && !AddToken(kTokenLiteral, 0, '-')) return false;
  for (int i = s.firstToken; i < s.firstToken + s.tokenCount; ++i) {
    const FormatToken& t = code.tokens[i];
    const int width = t.character == 2 ? 2 : 1;
    bool added = true;
    switch (t.kind & ~kTokenElapsed) {
      case kTokenDay: added = AddNumber(this, days, width); break;
      case kTokenHour: added = AddNumber(this, hours, width); break;
      case kTokenMinute: added = AddNumber(this, minutes, width); break;
      case kTokenSecond: added = AddNumber(this, seconds, width); break;
      case kTokenPlaceholder: added = AddMillisecondDigit(this, t, millis, &nextMillis); break;
      default: added = AddToken(t.kind, 0, t.character); break;
    }
    if (!added) return false;
  }
  return true;
}

bool NumberFormat::FormatDate(const char* dateText, const NumberFormat& code, int section,
                              const RegionalSettings* separators) {
  DateTime value{};
  if (!DecodeIsoDateTime(dateText, true, &value)) return false;
  const FormatSection& s = code.sections[section];
  const uint8_t locale = separators ? separators->localeChoice : kRegionGeneric;
  const bool twelveHour = (s.kinds & kTokenAmPm) != 0;
  char millis[8];
  snprintf(millis, sizeof millis, "%03u", static_cast<unsigned>(value.millisecond % 1000));
  int nextMillis = 0;
  bool dayNumberBefore = false;
  char name[kLocaleNameCapacity];

  for (int i = s.firstToken; i < s.firstToken + s.tokenCount; ++i) {
    const FormatToken& t = code.tokens[i];
    const int count = t.character;
    bool added = true;
    switch (t.kind) {
      case kTokenYear:
        if (!value.hasDate) break;
        // Two-digit years only from 2000 on: "yy" shows 1998 in full.
        if (count == 2 && value.year > 1999) {
          added = AddNumber(this, static_cast<uint64_t>(value.year % 100), 2);
        } else {
          added = AddNumber(this, static_cast<uint64_t>(value.year), 1);
        }
        break;
      case kTokenMonth: {
        if (!value.hasDate) break;
        size_t length = 0;
        if (count <= 2) {
          added = AddNumber(this, static_cast<uint64_t>(value.month), count);
          break;
        }
        if (count == 3 || count == 5) {
          length = GetLocaleAbbrevMonthName(value.month - 1, locale, name, sizeof name);
          if (count == 5 && length > 1) length = 1;
        } else if (dayNumberBefore) {
          // "d mmmm" takes the form a month name has after a day number.
          OsLocalTime now{};
          OsGetLocalTime(&now);
          int day = value.day;
          int last = DaysInMonth(now.year, value.month);
          if (day > last) day = last;
          length = GetLocaleGenitiveMonthName(now.year, value.month, day, locale, name, sizeof name);
        } else {
          length = GetLocaleMonthName(value.month - 1, locale, name, sizeof name);
        }
        added = AddName(this, name, length);
        break;
      }
      case kTokenDay:
        if (count <= 2) dayNumberBefore = true;
        if (!value.hasDate) break;
        if (count <= 2) {
          added = AddNumber(this, static_cast<uint64_t>(value.day), count);
        } else {
          size_t length = count == 3
                              ? GetLocaleAbbrevDayName(value.weekday - 1, locale, name, sizeof name)
                              : GetLocaleDayName(value.weekday - 1, locale, name, sizeof name);
          added = AddName(this, name, length);
        }
        break;
      case kTokenHour: {
        int hour = value.hour;
        if (twelveHour) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        added = AddNumber(this, static_cast<uint64_t>(hour), count);
        break;
      }
      case kTokenMinute: added = AddNumber(this, static_cast<uint64_t>(value.minute), count); break;
      case kTokenSecond: added = AddNumber(this, static_cast<uint64_t>(value.second), count); break;
      case kTokenAmPm: {
        const bool pm = value.hour >= 12;
        added = count == 5 ? AddName(this, pm ? "PM" : "AM", 2) : AddName(this, pm ? "P" : "A", 1);
        break;
      }
      case kTokenPlaceholder: added = AddMillisecondDigit(this, t, millis, &nextMillis); break;
      default: added = AddToken(t.kind, 0, t.character); break;
    }
    if (!added) return false;
  }
  return true;
}
