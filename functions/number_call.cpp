#include "functions/number_call.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"

uint32_t ReadNumberArgs(EvalState& state, const NumberArg* args, uint16_t count, double* x) {
  uint32_t error = kErrorNone;
  for (uint16_t i = count; i-- > 0;) {
    const NumberArg& arg = args[i];
    x[i] = arg.byDefault;
    uint8_t argError;
    if (arg.integer) {
      int32_t n = static_cast<int32_t>(arg.byDefault);
      argError = GetArgInt(state, ArgSlot(state, i), &n, static_cast<int32_t>(arg.min), static_cast<int32_t>(arg.max));
      x[i] = n;
    } else {
      argError = GetArgNumber(state, ArgSlot(state, i), &x[i], arg.min, arg.max);
    }
    error = LargerErrorOf(error, argError);
  }
  return error;
}

void CallNumberFunction(EvalState& state, const NumberFunction& function) {
  if (!BeginElementCall(state, function.count)) return;
  double x[kMaxNumberArgs] = {};
  uint32_t error = ReadNumberArgs(state, function.args, function.count, x);
  double result = 0;
  if (error == kErrorNone) result = function.compute(x, &error);
  SetNumberResult(state, result, error);
}
