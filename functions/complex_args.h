#ifndef TALVERO_FUNCTIONS_COMPLEX_ARGS_H
#define TALVERO_FUNCTIONS_COMPLEX_ARGS_H

// Complex numbers as arguments and results of handlers: read from the text
// (or the number written as text) of a slot, written back as "a + bi".

#include <cstdint>

#include "core/base/result_check.h"
#include "core/formula/eval_state.h"

struct Complex {
  double re;
  double im;
};

// The slot's text parsed as a complex number; text that is no complex
// number is "#VALUE!". An empty value reads as the empty text and so fails.
uint8_t GetArgComplex(EvalState& state, uint16_t slot, Complex* z);

// True when a number written as text (15 significant digits) reads back as
// itself: a multiple of 1/16 below 1e10 has at most 10 digits before the
// point and 4 after it, all exact. Inline, as the next two: sums of ranges
// ask for every cell.
inline bool WritesExactly(double x) {
  // Below 1e10 sixteenths fit a 64-bit integer: whole when it holds them.
  if (!(x < 1e10 && x > -1e10)) return false;
  const double sixteenths = x * 16.0;
  return sixteenths == double(int64_t(sixteenths));
}

// The complex number GetArgComplex reads from a slot holding the number x
// without an error, when that needs no text: false when x would be written
// out and read back.
inline bool ComplexOfNumber(double x, Complex* z) {
  if (!WritesExactly(x)) return false;
  *z = Complex{x == 0.0 ? 0.0 : x, 0.0};
  return true;
}

// True when either part is infinite, NaN or denormal.
inline bool IsBadComplex(const Complex& z) { return IsBadNumber(z.re) || IsBadNumber(z.im); }

// The text result with the unit "i"; a bad part makes it "#NUM!".
void SetComplexResult(EvalState& state, const Complex& z, uint32_t error);

// |z| scaled by the larger part, so that squares of large parts do not
// overflow.
double ComplexModulus(const Complex& z);

#endif
