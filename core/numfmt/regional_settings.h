#ifndef TALVERO_CORE_REGIONAL_SETTINGS_H
#define TALVERO_CORE_REGIONAL_SETTINGS_H

// Separators, date orders and the currency text of a locale. Formulas and
// format codes are stored with the generic instance, so that a file means the
// same on every machine; display and typed input use the current instance,
// which is filled from the user's region choice.

#include <cstddef>
#include <cstdint>

// Region indices: 0 the generic record with the built-in English names,
// 1 the system default locale, 2 the user default locale, 3 and up fixed locales.
constexpr uint8_t kRegionGeneric = 0;
constexpr uint8_t kRegionSystemDefault = 1;
constexpr uint8_t kRegionUserDefault = 2;
constexpr int kRegionCount = 130;

// Date orders of the short and long date styles.
constexpr uint8_t kDateOrderMonthDayYear = 0;
constexpr uint8_t kDateOrderDayMonthYear = 1;
constexpr uint8_t kDateOrderYearMonthDay = 2;

// Up to 13 characters and the NUL.
constexpr size_t kCurrencyTextCapacity = 14;

struct RegionalSettings {
  uint8_t localeChoice;  // the region index the record was filled from
  char decimalSeparator;
  char thousandsSeparator;
  char dateSeparator;
  char timeSeparator;
  char listSeparator;
  char arrayRowSeparator;
  uint8_t shortDateOrder;
  uint8_t longDateOrder;
  char currency[kCurrencyTextCapacity];  // NUL-terminated
  uint8_t spare;
};
static_assert(sizeof(RegionalSettings) == 24, "regional settings record is 24 bytes");
static_assert(offsetof(RegionalSettings, decimalSeparator) == 1, "layout");
static_assert(offsetof(RegionalSettings, arrayRowSeparator) == 6, "layout");
static_assert(offsetof(RegionalSettings, longDateOrder) == 8, "layout");
static_assert(offsetof(RegionalSettings, currency) == 9, "layout");

inline constexpr RegionalSettings kGenericRegionalSettings = {
    kRegionGeneric, '.', ',', '/', ':', ',', ';',
    kDateOrderMonthDayYear, kDateOrderMonthDayYear, "$", 0};

// The process-wide current instance; a copy of the generic one until
// ApplyRegionalSettings fills it.
RegionalSettings& CurrentRegionalSettings();

// Fills the current instance from a region. Returns false, leaving the
// generic record in force, when the region is out of range, its locale is not
// installed, or one of its texts does not fit its field. Without force, a
// record already filled from the same region is kept as it is.
bool ApplyRegionalSettings(uint8_t region, bool force);

// The system locale identifier of a region; 0 for the generic region and for
// indices beyond the table.
uint32_t RegionLocaleId(uint8_t region);

// Sets the list and array-row separators that go with the decimal separator:
// "," and ";" normally, ";" and "\" when the decimal separator is ",". False
// when the decimal separator is ";", which no list separator could then
// tell apart.
bool ChooseListSeparators(RegionalSettings* settings);

// Day names take index 0 Sunday .. 6 Saturday, month names 0 January ..
// 11 December. Names come from the locale of the region given as locale
// choice, the built-in English ones for region 0 or when the system has none.
// The text is cut to fit the buffer; the result is its length (0 for an index
// out of range or a buffer of size 0).
constexpr size_t kLocaleNameCapacity = 80;
size_t GetLocaleAbbrevDayName(int index, uint8_t localeChoice, char* buffer, size_t size);
size_t GetLocaleDayName(int index, uint8_t localeChoice, char* buffer, size_t size);
size_t GetLocaleAbbrevMonthName(int index, uint8_t localeChoice, char* buffer, size_t size);
size_t GetLocaleMonthName(int index, uint8_t localeChoice, char* buffer, size_t size);
// The month name as it stands after a day number ("16 maja" in Polish):
// month 1..12 of the given date. Falls back to the full month name.
size_t GetLocaleGenitiveMonthName(int year, int month, int day, uint8_t localeChoice,
                                  char* buffer, size_t size);

#endif
