#include "core/edit/cell_input.h"

#include <cstring>

#include "core/numfmt/date_input.h"
#include "core/numfmt/date_time.h"
#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/numfmt/number_input.h"
#include "core/numfmt/regional_settings.h"

namespace {

constexpr uint8_t kFirstElapsedStyle = 8;
constexpr uint8_t kLastElapsedStyle = 10;

bool IsElapsedStyle(uint8_t style) { return style >= kFirstElapsedStyle && style <= kLastElapsedStyle; }

bool IsDateCategory(uint8_t category) {
  return category == kNumFormatDate || category == kNumFormatTime || category == kNumFormatDateTime;
}

// The format a parse implies replaces the cell's only when it is a category
// of its own and another one than the cell has.
void TakeImpliedFormat(NumFormatParams* format, uint8_t cellCategory, uint8_t category,
                       const NumFormatOptions& options) {
  if (category == kNumFormatDefault || category == cellCategory) return;
  format->category = category;
  format->options = options;
}

uint32_t TextCell(const char* text, uint32_t row, uint16_t column, void* record, size_t capacity) {
  const size_t length = strnlen(text, kMaxCellTextLength);
  return BuildTextCell(record, capacity, row, column, text, static_cast<uint16_t>(length));
}

uint32_t NumberCell(double value, uint32_t row, uint16_t column, void* record, size_t capacity) {
  return BuildNumberCell(record, capacity, row, column, value);
}

// A number in the categories that take numbers as they are typed: fractions
// (8) and currencies (2, 3). Their own typed forms come first, so that "3/4"
// in a fraction cell is not read as a date, and "5 EUR" in a euro cell is a
// number in any locale.
bool ParseInOwnCategory(const char* text, const NumFormatParams& cell, double* value, uint8_t* category,
                        NumFormatOptions* options) {
  const RegionalSettings& current = CurrentRegionalSettings();
  if (cell.category == kNumFormatFraction) {
    *category = cell.category;
    return ParseWithFormat(text, value, category, options, current) &&
           (*category == kNumFormatFraction || *category == kNumFormatDefault);
  }
  if (cell.category != kNumFormatCurrency && cell.category != kNumFormatAccounting) return false;
  RegionalSettings own = current;
  std::memset(own.currency, 0, sizeof own.currency);
  std::memcpy(own.currency, cell.options.currency.symbol,
              strnlen(cell.options.currency.symbol, sizeof own.currency - 1));
  bool parsed = ParseWithFormat(text, value, category, options, own);
  if (!parsed && std::strcmp(own.currency, current.currency) != 0)
    parsed = ParseWithFormat(text, value, category, options, current);
  if (!parsed) return false;
  // A currency typed into an accounting cell keeps the accounting format.
  if (*category == kNumFormatCurrency && cell.category == kNumFormatAccounting) *category = kNumFormatAccounting;
  return *category == kNumFormatDefault || *category == kNumFormatGeneral || *category == cell.category;
}

// "PT1H" or "-P1D" with at least one component: a lone "P" is a letter.
bool IsTypedDuration(const char* text, Duration* duration) {
  return std::strpbrk(text, "0123456789") != nullptr && ParseSignedDuration(duration, text);
}

uint32_t DateTimeCell(const DateTime& value, bool elapsed, const NumFormatParams& format, uint32_t row,
                      uint16_t column, void* record, size_t capacity) {
  char text[kDurationTextCapacity];
  const bool asDuration = !value.hasDate && (elapsed || (format.category == kNumFormatTime &&
                                                         IsElapsedStyle(format.options.dateTime.timeStyle)));
  bool written;
  if (asDuration) {
    Duration duration{};
    duration.days = value.day;
    duration.hours = value.hour;
    duration.minutes = value.minute;
    duration.seconds = value.second;
    duration.milliseconds = value.millisecond;
    written = DurationToText(duration, text, sizeof text);
  } else {
    written = DateTimeToIsoText(value, text, sizeof text);
  }
  if (!written) return 0;
  return BuildTextCell(record, capacity, row, column, text, static_cast<uint16_t>(std::strlen(text)));
}

}  // namespace

bool FormulaDisplayFormDiffers() {
  const RegionalSettings& current = CurrentRegionalSettings();
  const RegionalSettings& generic = kGenericRegionalSettings;
  return AddressingA1 != 0 || current.decimalSeparator != generic.decimalSeparator ||
         current.thousandsSeparator != generic.thousandsSeparator ||
         current.listSeparator != generic.listSeparator ||
         current.arrayRowSeparator != generic.arrayRowSeparator;
}

uint32_t ParseValueInput(const char* text, NumFormatParams* format, uint32_t row, uint16_t column,
                         void* record, size_t capacity) {
  if (!text) text = "";
  if (text[0] == '#') {
    const uint8_t error = ErrorCodeFromText(text);
    if (error != kErrorNone) return BuildNumberCell(record, capacity, row, column, 0.0, error);
  }
  const uint8_t cellCategory = format->category;
  const RegionalSettings& current = CurrentRegionalSettings();
  double number = 0;
  uint8_t category = cellCategory;
  NumFormatOptions options = format->options;

  if (ParseInOwnCategory(text, *format, &number, &category, &options)) {
    TakeImpliedFormat(format, cellCategory, category, options);
    return NumberCell(number, row, column, record, capacity);
  }

  DateTime value;
  bool elapsed = false;
  category = cellCategory;
  options = format->options;
  if (ParseValueWithHint(text, &value, &category, &options, current, &elapsed)) {
    TakeImpliedFormat(format, cellCategory, category, options);
    // A duration read by an elapsed style is shown by one.
    if (elapsed && !IsElapsedStyle(format->options.dateTime.timeStyle) && format->category == kNumFormatTime)
      format->options = options;
    return DateTimeCell(value, elapsed, *format, row, column, record, capacity);
  }

  Duration duration;
  if (IsTypedDuration(text, &duration)) {
    // A duration is shown by an elapsed time style: the cell's own, else one
    // with days when the duration has days.
    if (cellCategory != kNumFormatTime || !IsElapsedStyle(format->options.dateTime.timeStyle)) {
      std::memset(&options, 0, sizeof options);
      if (IsDateCategory(cellCategory)) options.dateTime = format->options.dateTime;
      options.dateTime.timeStyle = duration.days != 0 ? kLastElapsedStyle : kLastElapsedStyle - 1;
      format->category = kNumFormatTime;
      format->options = options;
    }
    return TextCell(text, row, column, record, capacity);
  }

  if (ParseWithFormat(text, &number, &category, &options, current)) {
    TakeImpliedFormat(format, cellCategory, category, options);
    return NumberCell(number, row, column, record, capacity);
  }
  return TextCell(text, row, column, record, capacity);
}

uint32_t ParseCellInput(EvalState& translator, const char* text, NumFormatParams* format, uint32_t row,
                        uint16_t column, void* record, size_t capacity) {
  if (!text || text[0] != '=') return ParseValueInput(text, format, row, column, record, capacity);
  char formula[kFormulaTextCapacity + 1];
  const size_t length = strnlen(text, sizeof formula);
  bool stored = length < sizeof formula;
  if (stored) {
    std::memcpy(formula, text, length + 1);
    if (FormulaDisplayFormDiffers())
      stored = translator.TranslateFormula(formula, sizeof formula, column, row, true);
  }
  if (!stored) return TextCell(text, row, column, record, capacity);
  FormulaCellFields fields;
  fields.formula = formula;
  fields.formulaLength = static_cast<uint16_t>(std::strlen(formula));
  fields.resultFlags = kResultCachedNumber;
  fields.cachedNumber = 0.0;
  return BuildFormulaCell(record, capacity, row, column, fields);
}
