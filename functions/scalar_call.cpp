#include "functions/scalar_call.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"

uint32_t ReadScalarArgs(EvalState& state, const ScalarArg* args, uint16_t count, double* values) {
  const uint16_t first = FirstArg(state);
  uint32_t error = kErrorNone;
  for (uint16_t i = count; i-- > 0;) {
    const ScalarArg& arg = args[i];
    const uint16_t slot = static_cast<uint16_t>(first + i);
    values[i] = arg.byDefault;
    uint8_t argError = 0;
    if (arg.integer) {
      int32_t n = static_cast<int32_t>(arg.byDefault);
      argError = GetArgInt(state, slot, &n, static_cast<int32_t>(arg.min), static_cast<int32_t>(arg.max));
      values[i] = n;
    } else {
      argError = GetArgNumber(state, slot, &values[i], arg.min, arg.max);
    }
    error = LargerErrorOf(error, argError);
  }
  return error;
}

void RunScalarFunction(EvalState& state, const ScalarFunction& function) {
  if (!BeginElementCall(state, function.count)) return;
  double values[4] = {};
  uint32_t error = ReadScalarArgs(state, function.args, function.count, values);
  double result = 0.0;
  if (error == kErrorNone) result = function.compute(values, &error);
  SetNumberResult(state, result, error);
}

bool BeginListCall(EvalState& state, uint16_t minimum, uint16_t maximum, uint32_t scalarMask) {
  const uint16_t given = ArgCount(state);
  const uint16_t positions = given < minimum ? minimum : (given > maximum ? maximum : given);
  return BeginElementCall(state, positions, scalarMask);
}
