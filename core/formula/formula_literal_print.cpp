#include "core/formula/formula_literal_print.h"

#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/formula/formula_chars.h"

bool AppendQuotedText(BoundedText& out, const char* text) {
  const bool hasDoubleQuote = std::strchr(text, '"') != nullptr;
  if (hasDoubleQuote && std::strchr(text, '\'') != nullptr) return false;
  const char quote = hasDoubleQuote ? '\'' : '"';
  out.Put(quote);
  out.Append(text);
  out.Put(quote);
  return !out.Overflowed();
}

bool AppendFormulaNumber(BoundedText& out, double value, bool storedForm) {
  char digits[kDoubleTextCapacity];
  const size_t length = DoubleToText(value, digits, sizeof digits, nullptr);
  if (length == 0) return false;
  const char decimal = FormSeparators(storedForm).decimalSeparator;
  for (size_t i = 0; i < length; ++i)
    if (digits[i] == '.') digits[i] = decimal;
  return out.Append(digits, length);
}
