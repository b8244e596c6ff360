#include "numerics/scalar_call.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"

bool BroadcastScalarPositions(EvalState& state, const bool* scalar, uint16_t count) {
  const uint16_t first = FirstArg(state);
  const uint16_t given = ArgCount(state);
  uint8_t flags[EvalState::kStackSlots] = {};
  bool any = false;
  for (uint16_t i = 0; i < count && i < given; ++i) {
    if (scalar[i] && IsRangeOrArray(state.operands[first + i])) {
      flags[i] = 1;
      any = true;
    }
  }
  if (any) state.BroadcastArrays(flags, first);
  return any;
}

bool ReadScalarArgs(EvalState& state, const ScalarArg* args, uint16_t count, double* values, uint32_t* error) {
  if (!RequireArgs(state, count)) return false;
  IgnoreArgsBeyond(state, count);
  bool scalar[EvalState::kStackSlots] = {};
  for (uint16_t i = 0; i < count; ++i) scalar[i] = true;
  if (BroadcastScalarPositions(state, scalar, count)) return false;
  const uint16_t first = FirstArg(state);
  *error = kErrorNone;
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
    *error = LargerErrorOf(*error, argError);
  }
  return true;
}

void RunScalarFunction(EvalState& state, const ScalarFunction& function) {
  double values[4] = {};
  uint32_t error = kErrorNone;
  if (!ReadScalarArgs(state, function.args, function.count, values, &error)) return;
  double result = 0.0;
  if (error == kErrorNone) result = function.compute(values, &error);
  SetNumberResult(state, result, error);
}

bool BeginListCall(EvalState& state, uint16_t minimum, uint16_t maximum, const bool* scalar) {
  if (!RequireArgs(state, minimum)) return false;
  IgnoreArgsBeyond(state, maximum);
  return !BroadcastScalarPositions(state, scalar, maximum);
}
