#include <sys/time.h>

#include <cstring>
#include <ctime>

#include "platform/os_services.h"
#include "platform/os_services_system.h"

void OsSystemLocalTime(OsLocalTime* out) {
  timeval now;
  gettimeofday(&now, nullptr);
  time_t seconds = now.tv_sec;
  tm local;
  localtime_r(&seconds, &local);
  *out = OsLocalTime{static_cast<uint16_t>(local.tm_year + 1900),
                     static_cast<uint16_t>(local.tm_mon + 1),
                     static_cast<uint16_t>(local.tm_wday),
                     static_cast<uint16_t>(local.tm_mday),
                     static_cast<uint16_t>(local.tm_hour),
                     static_cast<uint16_t>(local.tm_min),
                     static_cast<uint16_t>(local.tm_sec),
                     static_cast<uint16_t>(now.tv_usec / 1000)};
}

// Windows-1252, the code page of an English Windows system.
namespace {

bool IsLower1252(uint8_t c) {
  return (c >= 'a' && c <= 'z') || c == 0x9A || c == 0x9C || c == 0x9E || c == 0xFF ||
         (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

bool IsUpper1252(uint8_t c) {
  return (c >= 'A' && c <= 'Z') || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F ||
         (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

}  // namespace

uint8_t OsCharUpper(uint8_t c) {
  if (!IsLower1252(c)) return c;
  if (c == 0xFF) return 0x9F;
  if (c >= 0x9A && c <= 0x9E) return static_cast<uint8_t>(c - 0x10);
  return static_cast<uint8_t>(c - 0x20);
}

uint8_t OsCharLower(uint8_t c) {
  if (!IsUpper1252(c)) return c;
  if (c == 0x9F) return 0xFF;
  if (c >= 0x8A && c <= 0x8E) return static_cast<uint8_t>(c + 0x10);
  return static_cast<uint8_t>(c + 0x20);
}

bool OsIsCharAlpha(uint8_t c) {
  // Letters without a case partner: f-hook, the ordinal indicators, micro and sharp s.
  return IsLower1252(c) || IsUpper1252(c) || c == 0x83 || c == 0xAA || c == 0xB5 ||
         c == 0xBA || c == 0xDF;
}

// The DOS code page of an English (United States) system.
uint16_t OsOemCodePage() { return 437; }

uint32_t OsSysColor(int kind) {
  switch (kind) {
    case kOsColorWindowText: return 0x000000;
    case kOsColorWindow: return 0xFFFFFF;
    case kOsColorButtonFace: return 0xF0F0F0;
    case kOsColorButtonText: return 0x000000;
    case kOsColorButtonHighlight: return 0xFFFFFF;
    case kOsColorButtonShadow: return 0xA0A0A0;
    case kOsColorHighlight: return 0xD77800;
    default: return 0;
  }
}

bool OsStockPaletteEntry(int index, uint32_t* colour) {
  // The 20 static colours of the system palette, as 0x00BBGGRR.
  static const uint32_t kStock[20] = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
      0xC0C0C0, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF,
      0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  if (index < 0 || index >= 20) return false;
  *colour = kStock[index];
  return true;
}

// Locale data of an English (United States) system. The two default locales
// are that locale; no other one is installed.
namespace {

const char* const kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
const char* const kAbbrevDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonthNames[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};
const char* const kAbbrevMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsEnglishUnitedStates(uint32_t localeId) {
  return localeId == kOsEnglishUnitedStates || localeId == kOsUserDefaultLocale ||
         localeId == kOsSystemDefaultLocale;
}

bool FailEmpty(char* buffer, size_t size) {
  if (size > 0) buffer[0] = '\0';
  return false;
}

// Appends text at *length; false when it and a NUL would not fit.
bool Append(const char* text, size_t count, char* buffer, size_t size, size_t* length) {
  if (count >= size - *length) return false;
  std::memcpy(buffer + *length, text, count);
  *length += count;
  buffer[*length] = '\0';
  return true;
}

bool AppendNumber(int value, int minDigits, char* buffer, size_t size, size_t* length) {
  char digits[12];
  int n = 0;
  unsigned v = static_cast<unsigned>(value);
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n < minDigits) digits[n++] = '0';
  char text[12];
  for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  return Append(text, static_cast<size_t>(n), buffer, size, length);
}

// Day of the week, 0 Sunday .. 6 Saturday.
int Weekday(int year, int month, int day) {
  static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  int y = year - 1;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  long n = 365L * y + y / 4 - y / 100 + y / 400 + kBefore[month - 1] + day +
           (leap && month > 2 ? 1 : 0);
  return static_cast<int>(n % 7);  // 0001-01-01 (n = 1) was a Monday
}

}  // namespace

bool OsIsLocaleInstalled(uint32_t localeId) { return IsEnglishUnitedStates(localeId); }

bool OsGetLocaleText(uint32_t localeId, OsLocaleItem item, int index, char* buffer,
                     size_t size) {
  if (!IsEnglishUnitedStates(localeId)) return FailEmpty(buffer, size);
  const char* text = nullptr;
  switch (item) {
    case kOsLocaleDecimalSeparator: text = "."; break;
    case kOsLocaleThousandsSeparator: text = ","; break;
    case kOsLocaleDateSeparator: text = "/"; break;
    case kOsLocaleTimeSeparator: text = ":"; break;
    case kOsLocaleShortDateOrder: text = "0"; break;
    case kOsLocaleLongDateOrder: text = "0"; break;
    case kOsLocaleCurrency: text = "$"; break;
    case kOsLocaleDayName: if (index >= 0 && index < 7) text = kDayNames[index]; break;
    case kOsLocaleAbbrevDayName:
      if (index >= 0 && index < 7) text = kAbbrevDayNames[index];
      break;
    case kOsLocaleMonthName: if (index >= 0 && index < 12) text = kMonthNames[index]; break;
    case kOsLocaleAbbrevMonthName:
      if (index >= 0 && index < 12) text = kAbbrevMonthNames[index];
      break;
  }
  size_t length = 0;
  if (!text || size == 0 || !Append(text, std::strlen(text), buffer, size, &length))
    return FailEmpty(buffer, size);
  return true;
}

bool OsFormatLocaleDate(uint32_t localeId, int year, int month, int day,
                        const char* picture, char* buffer, size_t size) {
  if (size == 0 || !picture || !IsEnglishUnitedStates(localeId) ||
      !OsIsValidSystemDate(year, month, day))
    return FailEmpty(buffer, size);
  buffer[0] = '\0';
  size_t length = 0;
  const char* p = picture;
  while (*p) {
    char c = *p;
    if (c == '\'') {
      // Quoted text; two quotes stand for one.
      ++p;
      while (*p) {
        if (*p == '\'' && p[1] != '\'') break;
        if (*p == '\'') ++p;
        if (!Append(p, 1, buffer, size, &length)) return FailEmpty(buffer, size);
        ++p;
      }
      if (*p == '\'') ++p;
      continue;
    }
    int count = 0;
    while (p[count] == c) ++count;
    bool ok = true;
    if (c == 'd') {
      int weekday = Weekday(year, month, day);
      if (count == 1) ok = AppendNumber(day, 1, buffer, size, &length);
      else if (count == 2) ok = AppendNumber(day, 2, buffer, size, &length);
      else if (count == 3)
        ok = Append(kAbbrevDayNames[weekday], std::strlen(kAbbrevDayNames[weekday]), buffer,
                    size, &length);
      else
        ok = Append(kDayNames[weekday], std::strlen(kDayNames[weekday]), buffer, size, &length);
    } else if (c == 'M') {
      const char* name = count == 3 ? kAbbrevMonthNames[month - 1] : kMonthNames[month - 1];
      if (count <= 2) ok = AppendNumber(month, count, buffer, size, &length);
      else ok = Append(name, std::strlen(name), buffer, size, &length);
    } else if (c == 'y') {
      if (count <= 2) ok = AppendNumber(year % 100, count, buffer, size, &length);
      else ok = AppendNumber(year, 1, buffer, size, &length);
    } else {
      ok = Append(p, static_cast<size_t>(count), buffer, size, &length);
    }
    if (!ok) return FailEmpty(buffer, size);
    p += count;
  }
  return true;
}
