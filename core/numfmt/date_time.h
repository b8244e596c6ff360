#ifndef TALVERO_CORE_DATE_TIME_H
#define TALVERO_CORE_DATE_TIME_H

// Dates, times and durations are never numbers here: cells and formula values
// hold them as ISO 8601 text, and every consumer parses the text when it needs
// the parts. The calendar is the proleptic Gregorian one throughout.

#include <cstddef>
#include <cstdint>

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
