#include "core/numfmt/date_time.h"

#include <cstring>

namespace {

constexpr int32_t kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
// Every 400 Gregorian years hold the same number of days.
constexpr int64_t kDaysPer400Years = 146097;
// Duration components must stay below this, so that sums of parts and
// carries fit comfortably in 32 bits.
constexpr int32_t kDurationComponentLimit = 214748354;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsTrailingBlank(char c) { return c == ' ' || c == '\r' || c == '\n'; }

const char* SkipTrailingBlanks(const char* p) {
  while (IsTrailingBlank(*p)) ++p;
  return p;
}

// Exactly count digits, not followed by a further digit.
bool ReadFixedDigits(const char*& p, int count, int32_t* value) {
  int32_t v = 0;
  for (int i = 0; i < count; ++i) {
    if (!IsDigit(p[i])) return false;
    v = v * 10 + (p[i] - '0');
  }
  if (IsDigit(p[count])) return false;
  p += count;
  *value = v;
  return true;
}

int64_t FloorDiv(int64_t value, int64_t divisor) {
  int64_t q = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

// Writes into a fixed buffer; remembers when anything did not fit.
class TextWriter {
 public:
  TextWriter(char* buffer, size_t size) : buffer_(buffer), size_(size) {}

  void Put(char c) {
    if (length_ + 1 < size_)
      buffer_[length_++] = c;
    else
      overflow_ = true;
  }

  // Decimal digits of value, zero-padded to minWidth characters including
  // a minus sign, as the C runtime's "%0*d" writes them.
  void PutNumber(int64_t value, int minWidth) {
    char digits[24];
    int n = 0;
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) magnitude = 0 - magnitude;
    do {
      digits[n++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
      Put('-');
      --minWidth;
    }
    for (int i = n; i < minWidth; ++i) Put('0');
    while (n > 0) Put(digits[--n]);
  }

  bool Finish() {
    if (size_ == 0) return false;
    buffer_[overflow_ ? 0 : length_] = '\0';
    return !overflow_;
  }

 private:
  char* buffer_;
  size_t size_;
  size_t length_ = 0;
  bool overflow_ = false;
};

// Days from 0000-12-31 to the record's date (0001-01-01 is day 1), with the
// year taken as a 16-bit number.
int32_t DayNumber(const DateTime& record, uint16_t* dayOfYear) {
  int32_t before = record.month >= 1 && record.month <= 12 ? kDaysBeforeMonth[record.month - 1] : 0;
  int32_t day = record.day + before + (record.month > 2 && IsLeapYear(record.year) ? 1 : 0);
  int32_t y = static_cast<uint16_t>(record.year - 1);
  *dayOfYear = static_cast<uint16_t>(day);
  return 365 * y + y / 4 - y / 100 + y / 400 + static_cast<uint16_t>(day);
}

void WriteTime(const DateTime& record, TextWriter* out) {
  out->PutNumber(record.hour, 2);
  out->Put(':');
  out->PutNumber(record.minute, 2);
  out->Put(':');
  out->PutNumber(record.second, 2);
  if (record.millisecond != 0) {
    out->Put('.');
    out->PutNumber(record.millisecond, 3);
  }
  if (record.zoneHours != 0 || record.zoneMinutes != 0) {
    out->Put(record.zoneNegative ? '-' : '+');
    out->PutNumber(record.zoneHours, 2);
    out->Put(':');
    out->PutNumber(record.zoneMinutes, 2);
  }
}

// A run of digits below the component limit.
bool ReadDurationNumber(const char*& p, int32_t* value) {
  if (!IsDigit(*p)) return false;
  int32_t v = 0;
  while (IsDigit(*p)) {
    v = v * 10 + (*p - '0');
    if (v >= kDurationComponentLimit) return false;
    ++p;
  }
  *value = v;
  return true;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsLeapYear(int32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t FloorMod(int32_t value, int32_t low, int32_t high) {
  int64_t span = static_cast<int64_t>(high) - low;
  if (span <= 0) return low;
  int64_t offset = static_cast<int64_t>(value) - low;
  return static_cast<int32_t>(low + (offset - FloorDiv(offset, span) * span));
}

int32_t DaysInMonth(int32_t year, int32_t month) {
  static const int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int64_t carry = FloorDiv(static_cast<int64_t>(month) - 1, 12);
  int32_t m = FloorMod(month, 1, 13);
  int32_t y = static_cast<int32_t>(year + carry);
  return kDays[m - 1] + (m == 2 && IsLeapYear(y) ? 1 : 0);
}

bool ParseIsoDate(DateTime* record, const char* text, const char** end) {
  *end = text;
  const char* p = text;
  int digits = 0;
  while (IsDigit(p[digits])) ++digits;
  // Longer years may not begin with "0"; more than five digits exceed the range.
  if (digits < 4 || digits > 5 || (digits > 4 && p[0] == '0')) return false;
  int32_t year = 0;
  for (int i = 0; i < digits; ++i) year = year * 10 + (p[i] - '0');
  p += digits;
  int32_t month = 0, day = 0;
  if (year < kMinIsoYear || year > kMaxIsoYear || *p++ != '-' ||
      !ReadFixedDigits(p, 2, &month) || month < 1 || month > 12 || *p++ != '-' ||
      !ReadFixedDigits(p, 2, &day) || day < 1 || day > DaysInMonth(year, month))
    return false;
  record->hasDate = 1;
  record->year = year;
  record->month = month;
  record->day = day;
  *end = SkipTrailingBlanks(p);
  return true;
}

bool ReadPlainIsoDate(const char* text, size_t length, DateTime* out) {
  PlainDate date;
  if (!ReadPlainIsoDay(text, length, &date)) return false;
  *out = DateTime{};
  out->hasDate = 1;
  out->year = date.year;
  out->month = date.month;
  out->day = date.day;
  return true;
}

bool ParseIsoTime(DateTime* record, const char* text, const char** end) {
  *end = text;
  const char* p = text;
  int32_t hour = 0, minute = 0, second = 0, millisecond = 0;
  if (!ReadFixedDigits(p, 2, &hour) || hour > 23 || *p++ != ':' ||
      !ReadFixedDigits(p, 2, &minute) || minute > 59 || *p++ != ':')
    return false;
  // Seconds may be followed by fraction digits, so only two are read here.
  if (!IsDigit(p[0]) || !IsDigit(p[1])) return false;
  second = (p[0] - '0') * 10 + (p[1] - '0');
  p += 2;
  if (second > 59) return false;
  if (*p == '.') {
    ++p;
    // Read as a decimal fraction: "5" is 500 ms. A fourth digit is left
    // unread, so a whole text with one does not parse.
    int32_t scale = 100;
    if (!IsDigit(*p)) return false;
    for (int i = 0; i < 3 && IsDigit(*p); ++i, ++p, scale /= 10)
      millisecond += (*p - '0') * scale;
  } else if (IsDigit(*p)) {
    return false;
  }
  uint8_t zoneNegative = 0;
  int32_t zoneHours = 0, zoneMinutes = 0;
  if (*p == '+' || *p == '-') {
    zoneNegative = *p == '-';
    ++p;
    if (!ReadFixedDigits(p, 2, &zoneHours) || zoneHours > 23 || *p++ != ':' ||
        !ReadFixedDigits(p, 2, &zoneMinutes) || zoneMinutes > 59)
      return false;
  }
  record->hasTime = 1;
  record->hour = hour;
  record->minute = minute;
  record->second = second;
  record->millisecond = millisecond;
  record->zoneNegative = zoneNegative;
  record->zoneHours = zoneHours;
  record->zoneMinutes = zoneMinutes;
  *end = SkipTrailingBlanks(p);
  return true;
}

bool ParseIsoDateTime(DateTime* record, const char* text) {
  *record = DateTime{};
  if (!text) return false;
  const char* p = text;
  bool ok;
  if (ParseIsoDate(record, text, &p)) {
    if (*p == 'T')
      ok = ParseIsoTime(record, p + 1, &p) && *p == '\0';
    else
      ok = *p == '\0';
  } else {
    ok = ParseIsoTime(record, text, &p) && *p == '\0';
  }
  if (!ok) *record = DateTime{};
  return ok;
}

bool DateTimeToIsoText(const DateTime& record, char* buffer, size_t size) {
  // A date alone of a four-digit year, what date functions nearly always
  // give, written straight: the same text the writer below gives.
  if (record.hasDate && !record.hasTime && record.year >= 0 && record.year <= 9999 && record.month >= 0 &&
      record.month <= 99 && record.day >= 0 && record.day <= 99 && size > 10) {
    // Two digits at a time from a table of "00" .. "99".
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    const auto put = [](char* at, uint32_t pair) { std::memcpy(at, kPairs + 2 * pair, 2); };
    put(buffer, uint32_t(record.year) / 100);
    put(buffer + 2, uint32_t(record.year) % 100);
    buffer[4] = '-';
    put(buffer + 5, uint32_t(record.month));
    buffer[7] = '-';
    put(buffer + 8, uint32_t(record.day));
    buffer[10] = '\0';
    return true;
  }
  TextWriter out(buffer, size);
  if (record.hasDate) {
    out.PutNumber(record.year, 4);
    out.Put('-');
    out.PutNumber(record.month, 2);
    out.Put('-');
    out.PutNumber(record.day, 2);
    if (record.hasTime) out.Put('T');
  }
  if (record.hasTime) WriteTime(record, &out);
  return out.Finish();
}

bool ParseSignedDuration(Duration* record, const char* text) {
  *record = Duration{};
  if (!text) return false;
  Duration d{};
  const char* p = text;
  if (*p == '-') {
    d.negative = 1;
    ++p;
  } else if (*p == '+') {
    ++p;
  }
  if (UpperAscii(*p) != 'P') return false;
  ++p;
  // Units in the order they may appear; each at most once.
  static const char kDateUnits[] = "YMD";
  static const char kTimeUnits[] = "HMS";
  int32_t* dateParts[] = {&d.years, &d.months, &d.days};
  int32_t* timeParts[] = {&d.hours, &d.minutes, &d.seconds};
  bool inTime = false;
  int nextUnit = 0;
  bool timeComponent = false;
  while (*p != '\0' && !IsTrailingBlank(*p)) {
    if (UpperAscii(*p) == 'T' && !inTime) {
      inTime = true;
      nextUnit = 0;
      ++p;
      continue;
    }
    int32_t value = 0;
    if (!ReadDurationNumber(p, &value)) return false;
    int32_t milliseconds = 0;
    if (*p == '.') {
      // Only seconds take a fraction; the unit letter must still follow.
      ++p;
      if (!inTime || !IsDigit(*p)) return false;
      int32_t scale = 100;
      for (int i = 0; i < 3 && IsDigit(*p); ++i, ++p, scale /= 10)
        milliseconds += (*p - '0') * scale;
      if (UpperAscii(*p) != 'S') return false;
    }
    const char* units = inTime ? kTimeUnits : kDateUnits;
    const char* unit = *p != '\0' ? std::strchr(units, UpperAscii(*p)) : nullptr;
    if (!unit || unit - units < nextUnit) return false;
    int index = static_cast<int>(unit - units);
    nextUnit = index + 1;
    *(inTime ? timeParts[index] : dateParts[index]) = value;
    if (inTime && index == 2) d.milliseconds = milliseconds;
    if (inTime) timeComponent = true;
    ++p;
  }
  if (*SkipTrailingBlanks(p) != '\0') return false;
  if (inTime && !timeComponent) return false;
  *record = d;
  return true;
}

bool DurationToText(const Duration& record, char* buffer, size_t size) {
  TextWriter out(buffer, size);
  if (record.years < 0 || record.months < 0 || record.days < 0 || record.hours < 0 ||
      record.minutes < 0 || record.seconds < 0 || record.milliseconds < 0) {
    if (size > 0) buffer[0] = '\0';
    return false;
  }
  // Whole seconds among the milliseconds move to the seconds, so that the
  // fraction is always three digits and parses back.
  int64_t seconds = record.seconds + static_cast<int64_t>(record.milliseconds / 1000);
  int32_t milliseconds = record.milliseconds % 1000;
  if (record.negative) out.Put('-');
  out.Put('P');
  if (record.years) { out.PutNumber(record.years, 0); out.Put('Y'); }
  if (record.months) { out.PutNumber(record.months, 0); out.Put('M'); }
  if (record.days) { out.PutNumber(record.days, 0); out.Put('D'); }
  if (record.hours || record.minutes || seconds || milliseconds) out.Put('T');
  if (record.hours) { out.PutNumber(record.hours, 0); out.Put('H'); }
  if (record.minutes) { out.PutNumber(record.minutes, 0); out.Put('M'); }
  if (seconds || milliseconds) {
    out.PutNumber(seconds, 0);
    if (milliseconds) {
      out.Put('.');
      out.PutNumber(milliseconds, 3);
    }
    out.Put('S');
  }
  return out.Finish();
}

int32_t DateTime::ComputeDayOfYear() {
  int32_t n = DayNumber(*this, &dayOfYear);
  weekday = static_cast<uint16_t>((n % 7 + 7) % 7 + 1);
  return n / 7;
}

int64_t DateTime::ToSeconds() const {
  int64_t seconds = 0;
  if (hasDate) {
    uint16_t unused;
    seconds += (static_cast<int64_t>(DayNumber(*this, &unused)) - 1) * 86400;
  }
  if (hasTime) seconds += static_cast<int64_t>(hour) * 3600 + minute * 60 + second;
  return seconds;
}

bool DateTime::AddDuration(const Duration& duration, DateTime* result) const {
  const Duration& d = duration;
  bool dateParts = d.years || d.months || d.days;
  bool timeParts = d.hours || d.minutes || d.seconds || d.milliseconds;
  if ((dateParts && !hasDate) || (timeParts && !hasTime)) {
    *result = DateTime{};
    return false;
  }
  int64_t sign = d.negative ? -1 : 1;
  DateTime r = *this;
  r.dayOfYear = 0;
  r.weekday = 0;

  int64_t dayCarry = 0;
  if (hasTime) {
    int64_t ms = millisecond + sign * d.milliseconds;
    int64_t s = second + sign * d.seconds + FloorDiv(ms, 1000);
    int64_t m = minute + sign * d.minutes + FloorDiv(s, 60);
    int64_t h = hour + sign * d.hours + FloorDiv(m, 60);
    dayCarry = FloorDiv(h, 24);
    r.millisecond = static_cast<int32_t>(ms - FloorDiv(ms, 1000) * 1000);
    r.second = static_cast<int32_t>(s - FloorDiv(s, 60) * 60);
    r.minute = static_cast<int32_t>(m - FloorDiv(m, 60) * 60);
    r.hour = static_cast<int32_t>(h - dayCarry * 24);
  }
  // A time without a date has no day to carry into: it wraps around midnight.
  if (hasDate) {
    int64_t month0 = static_cast<int64_t>(month) - 1 + sign * d.months;
    int64_t year64 = year + sign * d.years + FloorDiv(month0, 12);
    int32_t m = static_cast<int32_t>(month0 - FloorDiv(month0, 12) * 12) + 1;
    int32_t limit = DaysInMonth(static_cast<int32_t>(year64), m);
    int64_t dayValue = (day > limit ? limit : day) + sign * d.days + dayCarry;
    int64_t cycles = FloorDiv(dayValue - 1, kDaysPer400Years);
    dayValue -= cycles * kDaysPer400Years;
    year64 += cycles * 400;
    int32_t y = static_cast<int32_t>(year64);
    while (dayValue > DaysInMonth(y, m)) {
      dayValue -= DaysInMonth(y, m);
      if (++m > 12) { m = 1; ++y; }
    }
    // A date the parser would refuse is no result: it could not be read back.
    if (y < kMinIsoYear || y > kMaxIsoYear) {
      *result = DateTime{};
      return false;
    }
    r.year = y;
    r.month = m;
    r.day = static_cast<int32_t>(dayValue);
  }
  *result = r;
  return true;
}

bool AddDurationToDateText(const char* dateText, const char* durationText, char* buffer,
                           size_t size) {
  DateTime date, sum;
  Duration duration;
  if (!ParseIsoDateTime(&date, dateText) || !ParseSignedDuration(&duration, durationText) ||
      !date.AddDuration(duration, &sum)) {
    if (size > 0) buffer[0] = '\0';
    return false;
  }
  return DateTimeToIsoText(sum, buffer, size);
}

bool DecodeIsoDateTime(const char* text, bool addZoneOffset, DateTime* out) {
  DateTime record;
  if (!ParseIsoDateTime(&record, text)) {
    *out = record;
    return false;
  }
  if (addZoneOffset && record.hasTime && (record.zoneHours || record.zoneMinutes)) {
    Duration offset{};
    offset.negative = record.zoneNegative;
    offset.hours = record.zoneHours;
    offset.minutes = record.zoneMinutes;
    DateTime shifted;
    if (!record.AddDuration(offset, &shifted)) {
      *out = DateTime{};
      return false;
    }
    // The offset is now part of the clock; it must not be applied again.
    shifted.zoneNegative = 0;
    shifted.zoneHours = 0;
    shifted.zoneMinutes = 0;
    record = shifted;
  }
  if (record.hasDate) record.ComputeDayOfYear();
  *out = record;
  return true;
}
