#ifndef TALVERO_CORE_NUMBER_INPUT_H
#define TALVERO_CORE_NUMBER_INPUT_H

// Typed numbers: "1,234.5", "(5)", "12%", "$5", "5 $", "1e3", "1 1/4", in the
// decimal and thousands separators and the currency text of a locale, and
// the number-format category that the way a number was typed implies.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/num_format_params.h"

struct RegionalSettings;

// Longer texts are never numbers.
constexpr size_t kMaxNumberInputLength = 1024;

// What the lexer found in a typed number.
struct NumberInputLex {
  // Sign, digits, "." and exponent without separators, ready for a decimal
  // conversion; unused for a fraction.
  char mantissa[kMaxNumberInputLength + 8];
  // A fraction's digit runs inside the typed text; the whole part may be empty.
  const char* whole;
  size_t wholeLength;
  const char* numerator;
  size_t numeratorLength;
  const char* denominator;
  size_t denominatorLength;
  bool negative;     // a leading "-"
  bool parentheses;  // "(5)"
  bool percent;
  bool grouping;  // thousands separators were typed
  bool exponent;
  bool fraction;
  bool currency;
  uint8_t currencyPosition;  // NumFormatSymbolPosition
  int decimals;              // digits typed after the decimal separator
};

// Reads the text as a typed number in the separators and currency text
// given. False when the text is no such number.
bool LexNumberInput(const char* text, const RegionalSettings& separators, NumberInputLex* lex);

// The number a typed text stands for, with the category and options the
// typing implies: currency (2) for a currency text, percent (7) or fraction
// (8) for a fraction, scientific (9) for an exponent, percent for "%",
// general (1) for thousands separators or parentheses, else default (0).
// Numbers that are infinite or below the normal range (1/0, 1e999) are
// refused. False, with category 0, when the text is no number.
bool ParseWithFormat(const char* text, double* value, uint8_t* category, NumFormatOptions* options,
                     const RegionalSettings& separators);

#endif
