#ifndef TALVERO_FUNCTIONS_SCALAR_CALL_H
#define TALVERO_FUNCTIONS_SCALAR_CALL_H

// The frames of handlers over numbers: scalar arguments read within bounds
// from the last to the first (an omitted one keeps its default, one out of
// its bounds is "#NUM!"), and element-wise application when a range or an
// array stands where a scalar is expected. A result that is not a usable
// number (infinite, NaN, denormal) is "#NUM!".

#include <cstdint>

#include "core/formula/eval_state.h"

constexpr double kLargestDouble = 1.7976931348623157e308;
constexpr double kLargestInt = 2147483647.0;

struct ScalarArg {
  bool integer;  // read rounded, as a 32-bit integer
  double min;    // inclusive bounds
  double max;
  double byDefault;
};

// A handler's computation over its argument values: the result, or an
// error byte left in *error.
using ScalarFormula = double (*)(const double* values, uint32_t* error);

struct ScalarFunction {
  uint16_t count;  // positions required; further ones are ignored
  ScalarArg args[4];
  ScalarFormula compute;
};

// The whole frame of a handler whose arguments are all scalars: reads them,
// computes unless an argument failed, and stores the result.
void RunScalarFunction(EvalState& state, const ScalarFunction& function);
// Reads positions 0..count - 1 into values as RunScalarFunction does, once
// the call has begun; returns the largest argument error.
uint32_t ReadScalarArgs(EvalState& state, const ScalarArg* args, uint16_t count, double* values);

// The frame of handlers with list arguments among their scalars: at least
// minimum positions (else the syntax status), those beyond maximum ignored,
// and a range or array in a position whose bit is set in scalarMask applying
// the handler element by element. False when the call is already finished.
bool BeginListCall(EvalState& state, uint16_t minimum, uint16_t maximum, uint32_t scalarMask);

#endif
