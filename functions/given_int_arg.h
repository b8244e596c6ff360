#ifndef TALVERO_FUNCTIONS_GIVEN_INT_ARG_H
#define TALVERO_FUNCTIONS_GIVEN_INT_ARG_H

// GetArgInt for the common integer argument, a whole number constant
// within its bounds, taken inline: lookups and references read two to four
// of them per call, and the call with its general checks costs more than
// taking the number.

#include <cstdint>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/arg_readers.h"

inline uint8_t GetGivenIntArg(EvalState& state, uint16_t slot, int32_t* out, int32_t min, int32_t max) {
  const EvalValue& value = state.operands[slot];
  if (value.kind == kEvalNumber && value.error == kErrorNone) {
    // Within the bounds, the number fits an int32_t; NaN fails the tests.
    // GetArgInt refuses -2147483648 whatever the bounds.
    const double x = value.number;
    if (x >= double(min) && x <= double(max) && x > -2147483648.0 && double(int32_t(x)) == x) {
      *out = int32_t(x);
      return kErrorNone;
    }
  }
  return GetArgInt(state, slot, out, min, max);
}

#endif
