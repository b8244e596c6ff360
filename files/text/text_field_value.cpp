#include "files/text/text_field_value.h"

#include <cmath>

#include "core/formula/formula_scanner.h"

namespace {

bool ReadNumberField(const char* text, double* value) {
  const char* p = text;
  const bool negative = *p == '-';
  if (negative)
    while (*++p == ' ') {
    }
  const char* end = nullptr;
  if (!ParseNumberLiteral(p, value, &end, false))
    return false;
  while (*end == ' ') ++end;
  if (*end != '\0' || !std::isfinite(*value))
    return false;
  if (negative)
    *value = -*value;
  return true;
}

}  // namespace

TextFieldValue ReadTextFieldValue(const char* text, bool recognizeValues, double* number) {
  if (!recognizeValues)
    return kTextFieldText;
  if (text[0] == '=')
    return kTextFieldFormula;
  return ReadNumberField(text, number) ? kTextFieldNumber : kTextFieldText;
}
