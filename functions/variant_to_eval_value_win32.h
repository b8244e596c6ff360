#ifndef TALVERO_FUNCTIONS_VARIANT_TO_EVAL_VALUE_H
#define TALVERO_FUNCTIONS_VARIANT_TO_EVAL_VALUE_H

// Values that automation objects hand over, as formula values: what RTD and
// UDF receive, and what the automation server's cell setters are given.
// Texts cross through the ANSI code page, at most 1024 characters.

#include <windows.h>

#include <oleauto.h>

#include "core/formula/eval_state.h"

// Fills value, cleared first, from the variant:
// - the integer types VT_I1, VT_I2, VT_I4, VT_INT, VT_UI2 and VT_UI4, VT_R4,
//   VT_R8, currency and decimal as numbers ("#NUM!" for a number no cell
//   holds);
// - VT_BOOL true as 1, false as 0;
// - VT_UI1 as the number 0 carrying a cell error, its code the byte times 16
//   (a byte beyond the last code is "#VALUE!");
// - VT_DATE as the ISO text of its date (the time of day dropped) and
//   VT_BSTR as its text, pushed on the evaluator's text pool (a full pool:
//   an empty value with "#VALUE!");
// - VT_EMPTY, VT_NULL and every other type as an empty value;
// - an array of one or two dimensions as an array value, its chain pushed on
//   the array stack: rows over the first dimension, columns over the second
//   (one column for one dimension), each element a cell converted as above,
//   except that an element without a value (empty, null, another type or
//   one that cannot be read) is a cell carrying "#VALUE!". More dimensions,
//   or more rows or columns than a worksheet has, give "#REF!"; running out
//   of cells "#MEMORY!", a full array stack "#VALUE!".
// A reference (VT_BYREF) is converted as what it points to.
void VariantToEvalValue(const VARIANT& variant, EvalValue& value, EvalState& state);

// The same conversion of a single value, for the automation server's cell
// setters: kind kEvalNumber (number and error), kEvalText (the text) or
// kEvalEmpty (error kept: a reference that does not end gives none). False
// for an array, which is no single value.
struct VariantScalar {
  uint32_t kind;
  double number;
  uint8_t error;
  char text[kMaxCellTextLength + 1];
};
bool VariantToScalar(const VARIANT& variant, VariantScalar* out);

#endif
