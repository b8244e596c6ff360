#ifndef TALVERO_CORE_TEXT_TO_NUMBER_H
#define TALVERO_CORE_TEXT_TO_NUMBER_H

// The number a text spells, as formulas read texts used as numbers: blanks
// around it, an optional sign, then a number as typed in a formula (digits,
// the current decimal separator, an exponent). False for anything else and
// for numbers the result check refuses.

#include <cstddef>

bool TextToNumberValue(const char* text, size_t length, double* value);

#endif
