#ifndef TALVERO_CORE_NUM_FORMAT_PARAMS_H
#define TALVERO_CORE_NUM_FORMAT_PARAMS_H

// The number-format part of a style: a category, the options from which the
// code of a predefined category is built each time it is needed, and the code
// text of a user pattern. Files copy it whole, inside every StyleRecord and
// every chart series, so its layout is fixed byte for byte.

#include <cstddef>
#include <cstdint>

enum NumFormatCategory : uint8_t {
  kNumFormatDefault = 0,
  kNumFormatGeneral = 1,
  kNumFormatCurrency = 2,
  kNumFormatAccounting = 3,
  kNumFormatDate = 4,
  kNumFormatTime = 5,
  kNumFormatDateTime = 6,
  kNumFormatPercent = 7,
  kNumFormatFraction = 8,
  kNumFormatScientific = 9,
  kNumFormatUserPattern = 10,
};

// Negative styles of the general, percent, currency and accounting options.
enum NumFormatNegativeStyle : uint8_t {
  kNegativeMinus = 0,
  kNegativeRed = 1,
  kNegativeParentheses = 2,
  kNegativeRedParentheses = 3,
};

// Where the currency symbol stands relative to the number.
enum NumFormatSymbolPosition : uint8_t {
  kSymbolBefore = 0,
  kSymbolBeforeWithBlank = 1,
  kSymbolAfter = 2,
  kSymbolAfterWithBlank = 3,
};

// Exponent styles of the scientific options.
enum NumFormatExponentStyle : uint8_t {
  kExponentAutomatic = 0,
  kExponentFixedPositive = 1,
  kExponentFixedNegative = 2,
};

constexpr size_t kNumFormatOptionsSize = 24;
constexpr size_t kNumFormatCodeSize = 1032;       // NUL-terminated code text
constexpr size_t kCurrencySymbolSize = 15;        // at most 14 characters and a NUL

#pragma pack(push, 1)

// General (1) and percent (7); percent uses only the first two bytes.
struct NumberFormatOptions {
  uint8_t fixedDecimals;  // flag: decimals is the exact count; clear shows up to 15 digits
  uint8_t decimals;       // 0..14
  uint8_t leadingZeros;   // flag
  uint8_t integerDigits;  // 0..14, when leadingZeros is set
  uint8_t grouping;       // flag: thousands separators
  uint8_t negativeStyle;  // NumFormatNegativeStyle
  uint8_t reserved[18];
};

// Scientific (9): same first two bytes as NumberFormatOptions.
struct ScientificFormatOptions {
  uint8_t fixedDecimals;
  uint8_t decimals;       // 0..14
  uint8_t exponentStyle;  // NumFormatExponentStyle
  uint8_t exponentValue;  // 0..99, when exponentStyle is not automatic
  uint8_t reserved[20];
};

// Currency (2) and accounting (3); accounting uses symbol and decimals only.
struct CurrencyFormatOptions {
  char symbol[kCurrencySymbolSize];  // NUL-terminated
  uint8_t decimals;                  // 0..14
  uint8_t symbolPosition;            // NumFormatSymbolPosition
  uint8_t negativeStyle;             // NumFormatNegativeStyle
  uint8_t reserved[6];
};

// Date (4), time (5) and date/time (6) share one layout so that the date/time
// category is the date options and the time options side by side; date uses
// dateStyle and useLocaleOrder, time uses timeStyle only.
struct DateTimeFormatOptions {
  uint8_t dateStyle;       // 0..10
  uint8_t timeStyle;       // 0..10
  uint8_t useLocaleOrder;  // flag: the current locale's date order, not the one passed
  uint8_t timeFirst;       // flag, date/time only
  uint8_t reserved[20];
};

// Fraction (8).
struct FractionFormatOptions {
  uint8_t fixedDenominator;   // flag: denominator below, else denominatorDigits
  uint8_t denominatorDigits;  // 1..14
  uint8_t reserved1[6];
  uint64_t denominator;       // the fixed denominator
  uint8_t reserved2[8];
};

union NumFormatOptions {
  NumberFormatOptions number;        // general, percent
  ScientificFormatOptions scientific;
  CurrencyFormatOptions currency;    // currency, accounting
  DateTimeFormatOptions dateTime;    // date, time, date/time
  FractionFormatOptions fraction;
  uint32_t words[6];
  uint8_t bytes[kNumFormatOptionsSize];
};

struct NumFormatParams {
  uint8_t category;  // NumFormatCategory; values above 10 are kept as read
  uint8_t reserved[7];
  NumFormatOptions options;
  char code[kNumFormatCodeSize];  // user pattern (category 10), NUL-terminated
};

#pragma pack(pop)

static_assert(sizeof(NumberFormatOptions) == 24, "general options are 24 bytes");
static_assert(sizeof(ScientificFormatOptions) == 24, "scientific options are 24 bytes");
static_assert(sizeof(CurrencyFormatOptions) == 24, "currency options are 24 bytes");
static_assert(sizeof(DateTimeFormatOptions) == 24, "date/time options are 24 bytes");
static_assert(sizeof(FractionFormatOptions) == 24, "fraction options are 24 bytes");
static_assert(sizeof(NumFormatOptions) == kNumFormatOptionsSize, "option block is 24 bytes");
static_assert(sizeof(NumFormatParams) == 1064, "number-format part is 1064 bytes");

static_assert(offsetof(NumFormatParams, category) == 0, "category first");
static_assert(offsetof(NumFormatParams, options) == 8, "options at 8");
static_assert(offsetof(NumFormatParams, code) == 32, "code text at 32");

static_assert(offsetof(NumberFormatOptions, fixedDecimals) == 0, "");
static_assert(offsetof(NumberFormatOptions, decimals) == 1, "");
static_assert(offsetof(NumberFormatOptions, leadingZeros) == 2, "");
static_assert(offsetof(NumberFormatOptions, integerDigits) == 3, "");
static_assert(offsetof(NumberFormatOptions, grouping) == 4, "");
static_assert(offsetof(NumberFormatOptions, negativeStyle) == 5, "");
static_assert(offsetof(ScientificFormatOptions, fixedDecimals) == 0, "");
static_assert(offsetof(ScientificFormatOptions, decimals) == 1, "");
static_assert(offsetof(ScientificFormatOptions, exponentStyle) == 2, "");
static_assert(offsetof(ScientificFormatOptions, exponentValue) == 3, "");
static_assert(offsetof(CurrencyFormatOptions, symbol) == 0, "");
static_assert(offsetof(CurrencyFormatOptions, decimals) == 15, "");
static_assert(offsetof(CurrencyFormatOptions, symbolPosition) == 16, "");
static_assert(offsetof(CurrencyFormatOptions, negativeStyle) == 17, "");
static_assert(offsetof(DateTimeFormatOptions, dateStyle) == 0, "");
static_assert(offsetof(DateTimeFormatOptions, timeStyle) == 1, "");
static_assert(offsetof(DateTimeFormatOptions, useLocaleOrder) == 2, "");
static_assert(offsetof(DateTimeFormatOptions, timeFirst) == 3, "");
static_assert(offsetof(FractionFormatOptions, fixedDenominator) == 0, "");
static_assert(offsetof(FractionFormatOptions, denominatorDigits) == 1, "");
static_assert(offsetof(FractionFormatOptions, denominator) == 8, "");

#endif
