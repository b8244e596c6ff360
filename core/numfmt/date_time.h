#ifndef TALVERO_CORE_DATE_TIME_H
#define TALVERO_CORE_DATE_TIME_H

// Dates, times and durations are never numbers here: cells and formula values
// hold them as ISO 8601 text, and every consumer parses the text when it needs
// the parts. The calendar is the proleptic Gregorian one throughout.

#include <cstddef>
#include <cstdint>
#include <cstring>

struct Duration;

// Largest texts the writers produce (with their NUL) for any record.
constexpr size_t kIsoTextCapacity = 48;
constexpr size_t kDurationTextCapacity = 96;

// Years the date parser accepts.
constexpr int32_t kMinIsoYear = 1;
constexpr int32_t kMaxIsoYear = 50000;

struct DateTime {
  uint8_t hasDate;
  uint8_t hasTime;
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t millisecond;
  uint8_t zoneNegative;
  int32_t zoneHours;
  int32_t zoneMinutes;
  uint16_t dayOfYear;  // 1..366; filled only by ComputeDayOfYear
  uint16_t weekday;    // 1 Sunday .. 7 Saturday; filled only by ComputeDayOfYear

  // Fills dayOfYear and weekday from the date; returns the number of whole
  // weeks since 0001-01-01. The year counts as a 16-bit number here.
  int32_t ComputeDayOfYear();
  // The record plus (or minus, for a negative duration) the duration; false
  // when date parts are added to a record without a date or time parts to one
  // without a time, or when the result's year lies outside kMinIsoYear ..
  // kMaxIsoYear. The result keeps the record's flags and zone; the day is
  // first limited to the target month (31 January plus one month is the last
  // day of February).
  bool AddDuration(const Duration& duration, DateTime* result) const;
  // Seconds since 0001-01-01T00:00:00; milliseconds and the zone are ignored.
  int64_t ToSeconds() const;
};

struct Duration {
  uint8_t negative;  // applies to every part
  int32_t years;
  int32_t months;
  int32_t days;
  int32_t hours;
  int32_t minutes;
  int32_t seconds;
  int32_t milliseconds;
};

// "yyyy-mm-dd", "hh:mm:ss[.fff][+hh:mm]" or both joined by "T"; the whole
// text must be used (trailing blanks, CR and LF allowed). The record is
// cleared first and again on failure.
bool ParseIsoDateTime(DateTime* record, const char* text);
// The parts alone: on success they set the date or the time fields and their
// flag, and leave *end after the blanks, CR and LF that follow. On failure the
// record is untouched and *end is the text.
bool ParseIsoDate(DateTime* record, const char* text, const char** end);
bool ParseIsoTime(DateTime* record, const char* text, const char** end);
// The form dates are written in, "YYYY-MM-DD" exactly, read from length
// bytes (no NUL needed) as ParseIsoDateTime reads it; false for any other
// text, which is then left to that parser.
bool ReadPlainIsoDate(const char* text, size_t length, DateTime* out);

// The date alone of such a text, for readers of many dates that need
// neither a whole record nor its time: the same texts are accepted.
struct PlainDate {
  int32_t year;
  int32_t month;  // 1..12
  int32_t day;
};
// Inline: holiday lists and dated flows read one date per cell.
inline bool ReadPlainIsoDay(const char* text, size_t length, PlainDate* out) {
  if (length != 10) return false;
  // "YYYY-MM-" as one word, its first byte lowest (one load where bytes
  // lie so), and "DD" as another: each test and sum below covers many
  // digits at once.
  uint64_t word = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::memcpy(&word, text, sizeof word);
#else
  for (int i = 0; i < 8; ++i) word |= uint64_t(static_cast<unsigned char>(text[i])) << (8 * i);
#endif
  const uint32_t dayWord =
      uint32_t(static_cast<unsigned char>(text[8])) | uint32_t(static_cast<unsigned char>(text[9])) << 8;
  // Against "0000-00-" and "00": a digit's byte becomes its value, a dash's
  // byte 0, and any other byte something above 9. A byte is at most 9 when
  // adding 0x76 leaves its high bit clear and it had none: the first byte
  // above 9 sets it, and no byte carries into the next before that one.
  constexpr uint64_t kForm = 0x2D30302D30303030ull;
  constexpr uint64_t kDashBytes = 0xFF0000FF00000000ull;
  constexpr uint64_t kHighBits = 0x8080808080808080ull;
  const uint64_t values = word ^ kForm;
  const uint32_t dayValues = dayWord ^ 0x3030u;
  if ((((values + 0x7676767676767676ull) | values) & kHighBits) != 0 || (values & kDashBytes) != 0 ||
      (((dayValues + 0x7676u) | dayValues) & 0x8080u) != 0)
    return false;
  const uint32_t y = uint32_t(values);
  // Neighbouring digits paired into bytes 0 and 2, then the pairs joined.
  const uint32_t pairs = ((y & 0x00FF00FFu) * 10 + ((y >> 8) & 0x00FF00FFu));
  const int32_t year = int32_t((pairs & 0xFFFFu) * 100 + (pairs >> 16));
  const int32_t month = int32_t(((values >> 40) & 0xFF) * 10 + ((values >> 48) & 0xFF));
  const int32_t day = int32_t((dayValues & 0xFFu) * 10 + (dayValues >> 8));
  if (year < kMinIsoYear || uint32_t(month - 1) > 11u || day < 1) return false;
  // Every month has 28 days; past them, 30 or 31 by the month, and
  // February's 29th by the leap rule.
  if (day > 28) {
    if (month == 2) {
      if (day > 29 || !((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return false;
    } else if (day > 30 + ((month + (month >> 3)) & 1)) {
      return false;
    }
  }
  out->year = year;
  out->month = month;
  out->day = day;
  return true;
}
// The days from 0000-12-31 to a date of such a text (0001-01-01 is day 1):
// what a record's ToSeconds counts in days.
inline int64_t PlainDayNumber(const PlainDate& date) {
  static constexpr int32_t kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  const int64_t y = date.year - 1;
  return 365 * y + y / 4 - y / 100 + y / 400 + kDaysBefore[date.month - 1] + date.day +
         (date.month > 2 && leap ? 1 : 0);
}

// Writes the ISO text of a record (empty for neither date nor time). False,
// with an empty buffer, when the text does not fit.
bool DateTimeToIsoText(const DateTime& record, char* buffer, size_t size);

// "[+|-]P[nY][nM][nD][T[nH][nM][n[.fff]S]]", letters in either case.
bool ParseSignedDuration(Duration* record, const char* text);
// Writes a duration so that ParseSignedDuration gives it back; a zero
// duration is "P". False, with an empty buffer, when the text does not fit.
bool DurationToText(const Duration& record, char* buffer, size_t size);

// Days of a month; the month is first brought into 1..12, carrying whole
// years into the year.
int32_t DaysInMonth(int32_t year, int32_t month);
bool IsLeapYear(int32_t year);
// The value brought into [low, high) by a floor remainder (negative values
// wrap to the top).
int32_t FloorMod(int32_t value, int32_t low, int32_t high);

// Parses a date text and a duration text, adds them and writes the ISO text
// of the result.
bool AddDurationToDateText(const char* dateText, const char* durationText, char* buffer,
                           size_t size);

// For display: parses an ISO date, time or date-time, with addZoneOffset
// shifts it by its zone offset (hours and minutes, back for a "-" zone), and
// fills the day of year and weekday when it has a date.
bool DecodeIsoDateTime(const char* text, bool addZoneOffset, DateTime* out);

#endif
