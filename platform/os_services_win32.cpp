#include <windows.h>

#include "platform/os_services.h"
#include "platform/os_services_system.h"

void OsSystemLocalTime(OsLocalTime* out) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  *out = OsLocalTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay,
                     st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

// CharUpperA/CharLowerA take a single character in the low word of the pointer
// argument when the high word is zero.
uint8_t OsCharUpper(uint8_t c) {
  return static_cast<uint8_t>(reinterpret_cast<uintptr_t>(
      CharUpperA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(c)))));
}

uint8_t OsCharLower(uint8_t c) {
  return static_cast<uint8_t>(reinterpret_cast<uintptr_t>(
      CharLowerA(reinterpret_cast<LPSTR>(static_cast<uintptr_t>(c)))));
}

bool OsIsCharAlpha(uint8_t c) { return IsCharAlphaA(static_cast<CHAR>(c)) != 0; }

uint16_t OsOemCodePage() { return static_cast<uint16_t>(GetOEMCP()); }

uint32_t OsSysColor(int kind) {
  switch (kind) {
    case kOsColorWindowText: return GetSysColor(COLOR_WINDOWTEXT);
    case kOsColorWindow: return GetSysColor(COLOR_WINDOW);
    case kOsColorButtonFace: return GetSysColor(COLOR_BTNFACE);
    case kOsColorButtonText: return GetSysColor(COLOR_BTNTEXT);
    case kOsColorButtonHighlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case kOsColorButtonShadow: return GetSysColor(COLOR_BTNSHADOW);
    case kOsColorHighlight: return GetSysColor(COLOR_HIGHLIGHT);
    default: return 0;
  }
}

bool OsStockPaletteEntry(int index, uint32_t* colour) {
  if (index < 0 || index >= 20) return false;
  HPALETTE palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  PALETTEENTRY entry;
  if (!palette || GetPaletteEntries(palette, static_cast<UINT>(index), 1, &entry) != 1)
    return false;
  *colour = RGB(entry.peRed, entry.peGreen, entry.peBlue);
  return true;
}

namespace {

// The two defaults are asked by the identifiers they stand for now; the
// user's own changes to separators and names still apply to them.
LCID ResolveLocale(uint32_t localeId) {
  if (localeId == kOsUserDefaultLocale) return GetUserDefaultLCID();
  if (localeId == kOsSystemDefaultLocale) return GetSystemDefaultLCID();
  return static_cast<LCID>(localeId);
}

bool FailEmpty(char* buffer, size_t size) {
  if (size > 0) buffer[0] = '\0';
  return false;
}

int BufferChars(size_t size) { return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size); }

// The system numbers its day-name items from Monday; Sunday is the seventh.
LCTYPE DayItem(LCTYPE monday, LCTYPE sunday, int index) {
  return index == 0 ? sunday : monday + static_cast<LCTYPE>(index - 1);
}

}  // namespace

bool OsIsLocaleInstalled(uint32_t localeId) {
  if (localeId == 0) return false;
  if (localeId == kOsUserDefaultLocale || localeId == kOsSystemDefaultLocale) return true;
  return IsValidLocale(static_cast<LCID>(localeId), LCID_INSTALLED) != 0;
}

bool OsGetLocaleText(uint32_t localeId, OsLocaleItem item, int index, char* buffer,
                     size_t size) {
  if (localeId == 0 || size == 0) return FailEmpty(buffer, size);
  bool dayItem = item == kOsLocaleDayName || item == kOsLocaleAbbrevDayName;
  bool monthItem = item == kOsLocaleMonthName || item == kOsLocaleAbbrevMonthName;
  if ((dayItem && (index < 0 || index > 6)) || (monthItem && (index < 0 || index > 11)))
    return FailEmpty(buffer, size);
  LCTYPE type;
  switch (item) {
    case kOsLocaleDecimalSeparator: type = LOCALE_SDECIMAL; break;
    case kOsLocaleThousandsSeparator: type = LOCALE_STHOUSAND; break;
    case kOsLocaleDateSeparator: type = LOCALE_SDATE; break;
    case kOsLocaleTimeSeparator: type = LOCALE_STIME; break;
    case kOsLocaleShortDateOrder: type = LOCALE_IDATE; break;
    case kOsLocaleLongDateOrder: type = LOCALE_ILDATE; break;
    case kOsLocaleCurrency: type = LOCALE_SCURRENCY; break;
    case kOsLocaleDayName: type = DayItem(LOCALE_SDAYNAME1, LOCALE_SDAYNAME7, index); break;
    case kOsLocaleAbbrevDayName:
      type = DayItem(LOCALE_SABBREVDAYNAME1, LOCALE_SABBREVDAYNAME7, index);
      break;
    case kOsLocaleMonthName: type = LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(index); break;
    case kOsLocaleAbbrevMonthName:
      type = LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(index);
      break;
    default: return FailEmpty(buffer, size);
  }
  // A text longer than the buffer is refused by the system, not cut.
  if (GetLocaleInfoA(ResolveLocale(localeId), type, buffer, BufferChars(size)) == 0)
    return FailEmpty(buffer, size);
  return true;
}

bool OsFormatLocaleDate(uint32_t localeId, int year, int month, int day,
                        const char* picture, char* buffer, size_t size) {
  if (localeId == 0 || size == 0 || !picture || !OsIsValidSystemDate(year, month, day))
    return FailEmpty(buffer, size);
  SYSTEMTIME date = {};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  if (GetDateFormatA(ResolveLocale(localeId), 0, &date, picture, buffer, BufferChars(size)) == 0)
    return FailEmpty(buffer, size);
  return true;
}
