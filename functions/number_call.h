#ifndef TALVERO_FUNCTIONS_NUMBER_CALL_H
#define TALVERO_FUNCTIONS_NUMBER_CALL_H

// The frame of the handlers that map a fixed number of numeric arguments to
// one number: too few positions are "#SYNTAX!", a range or an array in any
// position applies the handler element by element, and otherwise every
// argument is read from the last position to the first within its bounds
// (an omitted one keeps its default, an out-of-bounds one is "#NUM!"). The
// formula runs only when no argument carries an error; a result that is
// infinite, NaN or denormal is "#NUM!".

#include <cstdint>

#include "core/formula/eval_state.h"

constexpr uint16_t kMaxNumberArgs = 4;

struct NumberArg {
  bool integer;  // rounded half away from zero to a 32-bit integer
  double min;    // inclusive bounds
  double max;
  double byDefault;
};

// The result for the argument values; a domain failure leaves its error
// byte in *error.
using NumberFormula = double (*)(const double* x, uint32_t* error);

struct NumberFunction {
  uint16_t count;
  NumberArg args[kMaxNumberArgs];
  NumberFormula compute;
};

void CallNumberFunction(EvalState& state, const NumberFunction& function);

// Reads positions 0..count - 1 into x as CallNumberFunction does, once the
// call has begun; returns the largest argument error.
uint32_t ReadNumberArgs(EvalState& state, const NumberArg* args, uint16_t count, double* x);

#endif
