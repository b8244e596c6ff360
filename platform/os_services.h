#ifndef TALVERO_PLATFORM_OS_SERVICES_H
#define TALVERO_PLATFORM_OS_SERVICES_H

// The few operating-system services the portable layers use. The Win32 build
// answers from the running system (the ANSI code page, the system colours);
// the POSIX build answers as an English Windows-1252 system would, so that
// the portable layers behave the same in native tests.

#include <cstddef>
#include <cstdint>

struct OsLocalTime {
  uint16_t year;
  uint16_t month;      // 1..12
  uint16_t dayOfWeek;  // 0 Sunday .. 6 Saturday
  uint16_t day;        // 1..31
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};

// The current local date and time, or the test clock's when one is set.
void OsGetLocalTime(OsLocalTime* out);
using OsClock = void (*)(OsLocalTime* out);
// Replaces the clock (null restores the system clock); for tests.
void OsSetClockForTesting(OsClock clock);

// Letter case and letter test of the ANSI code page, one byte at a time.
uint8_t OsCharUpper(uint8_t c);
uint8_t OsCharLower(uint8_t c);
bool OsIsCharAlpha(uint8_t c);
// In place over a NUL-terminated or counted text.
void OsUpperText(char* text, size_t length);
void OsLowerText(char* text, size_t length);
// The system's OEM (DOS) code page number; 437 in the POSIX build.
uint16_t OsOemCodePage();

// Colours are 0x00BBGGRR, as the window system stores them.
enum OsSysColor : int {
  kOsColorWindowText = 1,
  kOsColorWindow,
  kOsColorButtonFace,
  kOsColorButtonText,
  kOsColorButtonHighlight,
  kOsColorButtonShadow,
  kOsColorHighlight,
};
// A system colour of the kinds above; any other index gives black.
uint32_t OsSysColor(int kind);
// Entry 0..19 of the system's stock default palette; false when it cannot be read.
bool OsStockPaletteEntry(int index, uint32_t* colour);

// Locale data, as the system's national language support gives it. Locale
// identifiers are the system's; the two defaults are always available. The
// POSIX build answers as an English (United States) system would, and knows
// no other locale.
constexpr uint32_t kOsSystemDefaultLocale = 0x800;
constexpr uint32_t kOsUserDefaultLocale = 0x400;
constexpr uint32_t kOsEnglishUnitedStates = 0x409;

enum OsLocaleItem : int {
  kOsLocaleDecimalSeparator = 1,
  kOsLocaleThousandsSeparator,
  kOsLocaleDateSeparator,
  kOsLocaleTimeSeparator,
  kOsLocaleShortDateOrder,  // "0" month-day-year, "1" day-month-year, "2" year-month-day
  kOsLocaleLongDateOrder,
  kOsLocaleCurrency,
  kOsLocaleDayName,  // the name items take an index: days 0 Sunday .. 6 Saturday,
  kOsLocaleAbbrevDayName,
  kOsLocaleMonthName,  // months 0 January .. 11 December
  kOsLocaleAbbrevMonthName,
};

// True when the system has the data of the locale.
bool OsIsLocaleInstalled(uint32_t localeId);
// One text of a locale into buffer, whose size counts the NUL. False, with an
// empty buffer when there is room for one, when the locale, the item or the
// index is unknown or the text does not fit.
bool OsGetLocaleText(uint32_t localeId, OsLocaleItem item, int index, char* buffer,
                     size_t size);
// A date written by a picture of the locale's date format ("d", "dd", "ddd",
// "dddd", "M" .. "MMMM", "y", "yy", "yyyy", text in single quotes); false as
// above, and for a date that is not valid.
bool OsFormatLocaleDate(uint32_t localeId, int year, int month, int day,
                        const char* picture, char* buffer, size_t size);

#endif
