#ifndef TALVERO_FUNCTIONS_FINANCE_ARGS_H
#define TALVERO_FUNCTIONS_FINANCE_ARGS_H

// The scalar arguments the financial handlers read, and the frame of those
// whose positions are all scalars.

#include <cstdint>

#include "core/formula/eval_state.h"
#include "functions/scalar_call.h"

constexpr ScalarArg kRateArg = {false, 0.0, kLargestDouble, 0.0};
constexpr ScalarArg kPeriodsArg = {true, 0.0, kLargestInt, 0.0};
constexpr ScalarArg kCountArg = {true, 1.0, kLargestInt, 0.0};
constexpr ScalarArg kAmountArg = {false, -kLargestDouble, kLargestDouble, 0.0};
constexpr ScalarArg kTypeArg = {true, 0.0, 1.0, 0.0};

// False when the call is finished (too few positions, or a range or an
// array took it element by element); else the values and their largest
// error.
bool BeginFinanceCall(EvalState& state, const ScalarArg* args, uint16_t count, double* values, uint32_t* error);

#endif
