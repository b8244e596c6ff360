#include "dialogs/controls/parsed_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "services/convert/column_letters.h"
#include "services/convert/number_text.h"
#include "platform/os_services.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int64_t Clamp(int64_t value, int64_t minimum, int64_t maximum) {
  if (value < minimum) return minimum;
  if (value > maximum) return maximum;
  return value;
}

bool StepInteger(const ParsedEditRules& rules, const char* text, int delta, char* out, size_t size) {
  int64_t value = 0;
  if (!ParseIntegerText(text, &value)) return false;
  // Far beyond the limits a sum could overflow; the clamp decides anyway.
  value = Clamp(value, INT32_MIN, INT32_MAX) + delta;
  std::snprintf(out, size, "%d", static_cast<int>(Clamp(value, rules.minimum, rules.maximum)));
  return true;
}

bool StepDecimal(const ParsedEditRules& rules, const char* text, int delta, char* out, size_t size) {
  double value = 0;
  if (!ParseDouble(text, rules.decimalSeparator, &value)) return false;
  value += delta * 0.1;
  if (value < rules.minimumDouble) value = rules.minimumDouble;
  if (value > rules.maximumDouble) value = rules.maximumDouble;
  char written[kFormatDoubleCapacity];
  if (FormatDouble(written, sizeof written, rules.decimalSeparator, value, rules.decimals) == 0) return false;
  std::snprintf(out, size, "%s", written);
  return true;
}

bool StepColumn(const ParsedEditRules& rules, const char* text, int delta, char* out, size_t size) {
  char upper[kParsedTextCapacity];
  std::snprintf(upper, sizeof upper, "%s", text);
  size_t length = std::strlen(upper);
  while (length > 0 && IsBlank(upper[length - 1])) upper[--length] = '\0';
  OsUpperText(upper, length);
  uint32_t number = 0;
  if (!ColumnLettersToNumber(upper, &number)) return false;
  const int64_t stepped = Clamp(static_cast<int64_t>(number) + delta, rules.minimum, rules.maximum);
  char letters[kColumnLettersCapacity];
  ColumnNumberToLetters(letters, stepped > 0 ? static_cast<uint32_t>(stepped) : 0);
  std::snprintf(out, size, "%s", letters);
  return true;
}

}  // namespace

bool AcceptsParsedChar(const ParsedEditRules& rules, char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u < 32) return true;
  switch (rules.mode) {
    case kParsedInteger: return (c >= '0' && c <= '9') || c == '-';
    case kParsedDecimal: return (c >= '0' && c <= '9') || c == '-' || c == rules.decimalSeparator;
    case kParsedColumn: return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    default: return true;
  }
}

bool StepParsedText(const ParsedEditRules& rules, const char* text, int delta, char* out, size_t size) {
  if (size == 0) return false;
  char read[kParsedTextCapacity];
  std::snprintf(read, sizeof read, "%s", text);
  bool stepped = true;
  switch (rules.mode) {
    case kParsedInteger: stepped = StepInteger(rules, read, delta, out, size); break;
    case kParsedDecimal: stepped = StepDecimal(rules, read, delta, out, size); break;
    case kParsedColumn: stepped = StepColumn(rules, read, delta, out, size); break;
    default: std::snprintf(out, size, "%s", text); break;
  }
  if (!stepped) std::snprintf(out, size, "%s", text);
  return stepped;
}

uint8_t ReadParsedInteger(const char* text, int32_t minimum, int32_t maximum, int32_t* value) {
  const char* at = text;
  while (IsBlank(*at)) ++at;
  const bool negative = *at == '-';
  if (*at == '-' || *at == '+') ++at;
  if (!IsDigit(*at)) return kFieldNoNumber;
  // A magnitude past that of every 32-bit value, of either sign, lies beyond
  // any limits; it stops growing there, so that digits without end neither
  // overflow nor come back within the limits.
  constexpr int64_t kBeyondAnyLimit = -static_cast<int64_t>(INT32_MIN) + 1;
  int64_t magnitude = 0;
  for (; IsDigit(*at); ++at) {
    magnitude = magnitude * 10 + (*at - '0');
    if (magnitude > kBeyondAnyLimit) magnitude = kBeyondAnyLimit;
  }
  while (IsBlank(*at)) ++at;
  if (*at != '\0') return kFieldNoNumber;
  const int64_t number = negative ? -magnitude : magnitude;
  if (number < minimum || number > maximum) return kFieldOutOfLimits;
  *value = static_cast<int32_t>(number);
  return kFieldValue;
}
