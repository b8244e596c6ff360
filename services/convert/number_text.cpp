#include "services/convert/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/numfmt/double_to_text.h"

bool ParseIntegerText(const char* text, int64_t* value) {
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text, &end, 10);
  if (end == text || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return false;
  *value = parsed;
  return true;
}

namespace {

// Longer texts are no number a field would hold.
constexpr size_t kParseCapacity = 400;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool ParseDouble(const char* text, char decimalSeparator, double* result) {
  while (IsBlank(*text)) ++text;
  const size_t length = std::strlen(text);
  if (length == 0 || length >= kParseCapacity) return false;
  char copy[kParseCapacity];
  std::memcpy(copy, text, length + 1);
  if (char* separator = std::strchr(copy, decimalSeparator)) *separator = '.';
  char* end = nullptr;
  const double value = std::strtod(copy, &end);
  if (end == copy) return false;
  while (IsBlank(*end)) ++end;
  // Overflowing texts and "inf"/"nan" would carry a non-number into the
  // options and the dialogs' records.
  if (*end != '\0' || !std::isfinite(value)) return false;
  *result = value;
  return true;
}

size_t FormatDouble(char* buffer, size_t size, char decimalSeparator, double value, int decimals) {
  size_t length = decimals >= 0 ? PrintFixedDecimals(value, decimals, buffer, size)
                                : DoubleToText(value, buffer, size, nullptr);
  if (length == 0) return 0;
  char* point = std::strchr(buffer, '.');
  if (point == nullptr) return length;  // an integer keeps its zeros: 100 stays 100
  *point = decimalSeparator;
  if (std::strchr(buffer, 'e') != nullptr || length < 2) return length;
  while (length > 0 && buffer[length - 1] == '0') --length;
  if (length > 0 && buffer[length - 1] == decimalSeparator) --length;
  buffer[length] = '\0';
  return length;
}
