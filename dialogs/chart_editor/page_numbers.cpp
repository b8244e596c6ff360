#include "dialogs/chart_editor/page_numbers.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "dialogs/controls/parsed_text.h"
#include "services/convert/number_text.h"

bool ParsePageInteger(const char* text, int minimum, int maximum, int* value) {
  int64_t parsed = 0;
  if (text == nullptr || !ParseIntegerText(text, &parsed) || parsed < minimum || parsed > maximum)
    return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParsePageNumber(const char* text, char decimalSeparator, double* value) {
  if (text == nullptr || (decimalSeparator != '.' && std::strchr(text, '.') != nullptr))
    return false;
  return ParseDouble(text, decimalSeparator, value);
}

void FormatPageInteger(int value, char* out, size_t size) { std::snprintf(out, size, "%d", value); }

void CopyPageText(const char* text, char* out, size_t size) {
  if (size == 0)
    return;
  std::snprintf(out, size, "%s", text != nullptr ? text : "");
}

void CopyTrimmedName(const char* text, char* out, size_t size) {
  CopyPageText(text, out, size);
  size_t length = std::strlen(out);
  while (length > 0 && std::isspace(static_cast<unsigned char>(out[length - 1]))) out[--length] = '\0';
}
