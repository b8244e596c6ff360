#ifndef TALVERO_CORE_FORMULA_LITERAL_PRINT_H
#define TALVERO_CORE_FORMULA_LITERAL_PRINT_H

// Literals as a formula writes them: quoted texts and numbers in the
// separators of a form.

#include "core/base/bounded_text.h"

// The text in double quotes, or in apostrophes when it holds a double quote
// (there is no escape). False when it holds both, which no formula can say,
// or when out overflows.
bool AppendQuotedText(BoundedText& out, const char* text);

// The number by DoubleToText with the decimal separator of the form, also in
// exponent form, so that the text always reads back in that form.
bool AppendFormulaNumber(BoundedText& out, double value, bool storedForm);

#endif
