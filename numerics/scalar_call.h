#ifndef TALVERO_NUMERICS_SCALAR_CALL_H
#define TALVERO_NUMERICS_SCALAR_CALL_H

// The frame of the handlers whose arguments are all scalars: too few
// positions set the syntax status, a range or an array in any position
// applies the handler element by element, and otherwise every argument is
// read from the last to the first within its bounds, an omitted one keeping
// its default.

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

// Reads the call's arguments into values (count of them). False when the
// call is already finished (too few positions, or applied element by
// element); otherwise *error holds the largest argument error.
bool ReadScalarArgs(EvalState& state, const ScalarArg* args, uint16_t count, double* values, uint32_t* error);

// The whole frame: reads, then computes unless an argument failed, and
// stores the result.
void RunScalarFunction(EvalState& state, const ScalarFunction& function);

// Hands the call to element-wise application when any of the first count
// positions holds a range or an array; true when it did.
bool BroadcastScalarPositions(EvalState& state, const bool* scalar, uint16_t count);

// The frame of handlers with list arguments among their scalars: at least
// minimum positions (else the syntax status), those beyond maximum ignored,
// and a range or array in a scalar position applying the handler element
// by element. False when the call is already finished.
bool BeginListCall(EvalState& state, uint16_t minimum, uint16_t maximum, const bool* scalar);

#endif
