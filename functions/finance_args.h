#ifndef TALVERO_FUNCTIONS_FINANCE_ARGS_H
#define TALVERO_FUNCTIONS_FINANCE_ARGS_H

// The scalar arguments of the financial handlers, read within bounds from
// the last position to the first: an omitted one keeps its default, one out
// of its bounds is "#NUM!".

#include <cstdint>

#include "core/formula/eval_state.h"

constexpr double kLargestFinanceNumber = 1.7976931348623157e308;
constexpr double kLargestFinanceInt = 2147483647.0;

struct FinanceArg {
  bool integer;  // read rounded, as a 32-bit integer
  double min;    // inclusive bounds
  double max;
  double byDefault;
};

// The kinds the family reads.
constexpr FinanceArg kRateArg = {false, 0.0, kLargestFinanceNumber, 0.0};
constexpr FinanceArg kPeriodsArg = {true, 0.0, kLargestFinanceInt, 0.0};
constexpr FinanceArg kCountArg = {true, 1.0, kLargestFinanceInt, 0.0};
constexpr FinanceArg kAmountArg = {false, -kLargestFinanceNumber, kLargestFinanceNumber, 0.0};
constexpr FinanceArg kTypeArg = {true, 0.0, 1.0, 0.0};

// Reads positions 0 .. count - 1 of the call into values; returns the
// largest argument error.
uint32_t ReadFinanceArgs(EvalState& state, const FinanceArg* args, uint16_t count, double* values);

// The frame of a handler whose positions are all scalars applied element by
// element: false when the call is finished (too few positions, or a range
// or an array took it element by element); else the values and their
// largest error.
bool BeginFinanceCall(EvalState& state, const FinanceArg* args, uint16_t count, double* values, uint32_t* error);

// For handlers with a list among their positions: when the position holds
// a range or an array, the call is applied element by element over it alone
// and true is returned.
bool BroadcastPosition(EvalState& state, uint16_t position);

#endif
