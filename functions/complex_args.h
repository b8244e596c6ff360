#ifndef TALVERO_FUNCTIONS_COMPLEX_ARGS_H
#define TALVERO_FUNCTIONS_COMPLEX_ARGS_H

// Complex numbers as arguments and results of handlers: read from the text
// (or the number written as text) of a slot, written back as "a + bi".

#include <cstdint>

#include "core/formula/eval_state.h"

struct Complex {
  double re;
  double im;
};

// The slot's text parsed as a complex number; text that is no complex
// number is "#VALUE!". An empty value reads as the empty text and so fails.
uint8_t GetArgComplex(EvalState& state, uint16_t slot, Complex* z);

// The complex number GetArgComplex reads from a slot holding the number x
// without an error, when that needs no text: false when x would be written
// out and read back.
bool ComplexOfNumber(double x, Complex* z);

// True when either part is infinite, NaN or denormal.
bool IsBadComplex(const Complex& z);

// The text result with the unit "i"; a bad part makes it "#NUM!".
void SetComplexResult(EvalState& state, const Complex& z, uint32_t error);

// |z| scaled by the larger part, so that squares of large parts do not
// overflow.
double ComplexModulus(const Complex& z);

#endif
