#include "core/numfmt/regional_settings.h"

#include <cstring>

#include "platform/os_services.h"

namespace {

RegionalSettings currentSettings = kGenericRegionalSettings;

// Regions 3 and up: the fixed locales the user can choose, in the order the
// settings profile stores their index.
const uint32_t kRegionLocales[kRegionCount] = {
    0, kOsSystemDefaultLocale, kOsUserDefaultLocale,
    0x436, 0x41c, 0x401, 0x801, 0xc01, 0x1001, 0x1401, 0x1801, 0x1c01, 0x2001,
    0x2401, 0x2801, 0x2c01, 0x3001, 0x3401, 0x3801, 0x3c01, 0x4001, 0x42c, 0x82c,
    0x42d, 0x423, 0x402, 0x455, 0x403, 0x404, 0x804, 0xc04, 0x1004, 0x1404,
    0x41a, 0x405, 0x406, 0x413, 0x813, 0x409, 0x809, 0xc09, 0x1009, 0x1409,
    0x1809, 0x1c09, 0x2009, 0x2409, 0x2809, 0x2c09, 0x3009, 0x3409, 0x425, 0x438,
    0x429, 0x40b, 0x40c, 0x80c, 0xc0c, 0x100c, 0x140c, 0x180c, 0x407, 0x807,
    0xc07, 0x1007, 0x1407, 0x408, 0x40d, 0x40e, 0x40f, 0x421, 0x410, 0x810,
    0x411, 0x860, 0x43f, 0x412, 0x812, 0x426, 0x427, 0x827, 0x42f, 0x43e,
    0x83e, 0x458, 0x414, 0x814, 0x415, 0x416, 0x816, 0x418, 0x419, 0xc1a,
    0x81a, 0x459, 0x41b, 0x424, 0x40a, 0x80a, 0xc0a, 0x100a, 0x140a, 0x180a,
    0x1c0a, 0x200a, 0x240a, 0x280a, 0x2c0a, 0x300a, 0x340a, 0x380a, 0x3c0a, 0x400a,
    0x440a, 0x480a, 0x4c0a, 0x500a, 0x430, 0x441, 0x41d, 0x81d, 0x444, 0x41e,
    0x41f, 0x422, 0x420, 0x820, 0x443, 0x843, 0x42a,
};

const char* const kEnglishDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};
const char* const kEnglishAbbrevDayNames[7] = {"Sun", "Mon", "Tue", "Wed",
                                               "Thu", "Fri", "Sat"};
const char* const kEnglishMonthNames[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
const char* const kEnglishAbbrevMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A separator is one character: the two-character buffer refuses longer ones.
bool ReadSeparator(uint32_t localeId, OsLocaleItem item, char* out) {
  char text[2];
  if (!OsGetLocaleText(localeId, item, 0, text, sizeof text)) return false;
  *out = text[0];
  return true;
}

// Orders beyond the three known ones would index past the format tables.
bool ReadDateOrder(uint32_t localeId, OsLocaleItem item, uint8_t* out) {
  char text[2];
  if (!OsGetLocaleText(localeId, item, 0, text, sizeof text)) return false;
  if (text[0] < '0' || text[0] > '2') return false;
  *out = static_cast<uint8_t>(text[0] - '0');
  return true;
}

bool FillFromLocale(uint32_t localeId, RegionalSettings* settings) {
  return ReadSeparator(localeId, kOsLocaleDecimalSeparator, &settings->decimalSeparator) &&
         ReadSeparator(localeId, kOsLocaleThousandsSeparator, &settings->thousandsSeparator) &&
         ChooseListSeparators(settings) &&
         ReadSeparator(localeId, kOsLocaleDateSeparator, &settings->dateSeparator) &&
         ReadSeparator(localeId, kOsLocaleTimeSeparator, &settings->timeSeparator) &&
         ReadDateOrder(localeId, kOsLocaleShortDateOrder, &settings->shortDateOrder) &&
         ReadDateOrder(localeId, kOsLocaleLongDateOrder, &settings->longDateOrder) &&
         OsGetLocaleText(localeId, kOsLocaleCurrency, 0, settings->currency,
                         sizeof settings->currency);
}

size_t CopyCut(const char* text, char* buffer, size_t size) {
  size_t length = std::strlen(text);
  if (length >= size) length = size - 1;
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return length;
}

size_t LocaleName(OsLocaleItem item, int index, int count, const char* const* english,
                  uint8_t localeChoice, char* buffer, size_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  if (index < 0 || index >= count) return 0;
  char text[kLocaleNameCapacity];
  const char* name = english[index];
  uint32_t localeId = RegionLocaleId(localeChoice);
  // An empty name would leave a date unreadable; the English one serves instead.
  if (localeId != 0 && OsGetLocaleText(localeId, item, index, text, sizeof text) && text[0])
    name = text;
  return CopyCut(name, buffer, size);
}

}  // namespace

RegionalSettings& CurrentRegionalSettings() { return currentSettings; }

uint32_t RegionLocaleId(uint8_t region) {
  return region < kRegionCount ? kRegionLocales[region] : 0;
}

bool ChooseListSeparators(RegionalSettings* settings) {
  switch (settings->decimalSeparator) {
    case ',':
      settings->listSeparator = ';';
      settings->arrayRowSeparator = '\\';
      return true;
    case ';':
      return false;
    default:
      settings->listSeparator = kGenericRegionalSettings.listSeparator;
      settings->arrayRowSeparator = kGenericRegionalSettings.arrayRowSeparator;
      return true;
  }
}

bool ApplyRegionalSettings(uint8_t region, bool force) {
  if (region == kRegionGeneric) {
    currentSettings = kGenericRegionalSettings;
    return true;
  }
  uint32_t localeId = RegionLocaleId(region);
  // The two defaults are used even when the system calls them not installed.
  bool isDefault = region == kRegionSystemDefault || region == kRegionUserDefault;
  if (localeId == 0 || (!isDefault && !OsIsLocaleInstalled(localeId))) {
    currentSettings = kGenericRegionalSettings;
    return false;
  }
  if (currentSettings.localeChoice == region && !force) return true;
  RegionalSettings filled = kGenericRegionalSettings;
  if (!FillFromLocale(localeId, &filled)) {
    currentSettings = kGenericRegionalSettings;
    return false;
  }
  filled.localeChoice = region;
  currentSettings = filled;
  return true;
}

size_t GetLocaleAbbrevDayName(int index, uint8_t localeChoice, char* buffer, size_t size) {
  return LocaleName(kOsLocaleAbbrevDayName, index, 7, kEnglishAbbrevDayNames, localeChoice,
                    buffer, size);
}

size_t GetLocaleDayName(int index, uint8_t localeChoice, char* buffer, size_t size) {
  return LocaleName(kOsLocaleDayName, index, 7, kEnglishDayNames, localeChoice, buffer, size);
}

size_t GetLocaleAbbrevMonthName(int index, uint8_t localeChoice, char* buffer, size_t size) {
  return LocaleName(kOsLocaleAbbrevMonthName, index, 12, kEnglishAbbrevMonthNames,
                    localeChoice, buffer, size);
}

size_t GetLocaleMonthName(int index, uint8_t localeChoice, char* buffer, size_t size) {
  return LocaleName(kOsLocaleMonthName, index, 12, kEnglishMonthNames, localeChoice, buffer,
                    size);
}

size_t GetLocaleGenitiveMonthName(int year, int month, int day, uint8_t localeChoice,
                                  char* buffer, size_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  if (month < 1 || month > 12) return 0;
  uint32_t localeId = RegionLocaleId(localeChoice);
  char text[kLocaleNameCapacity];
  // The day number written before the name is two digits; what follows it is
  // the month in the form that stands after a day.
  if (localeId != 0 &&
      OsFormatLocaleDate(localeId, year, month, day, "ddMMMM", text, sizeof text) &&
      std::strlen(text) > 2)
    return CopyCut(text + 2, buffer, size);
  return GetLocaleMonthName(month - 1, localeChoice, buffer, size);
}
