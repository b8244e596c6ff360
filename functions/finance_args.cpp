#include "functions/finance_args.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"

uint32_t ReadFinanceArgs(EvalState& state, const FinanceArg* args, uint16_t count, double* values) {
  const uint16_t first = FirstArg(state);
  uint32_t error = kErrorNone;
  for (uint16_t i = count; i-- > 0;) {
    const FinanceArg& arg = args[i];
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

bool BeginFinanceCall(EvalState& state, const FinanceArg* args, uint16_t count, double* values, uint32_t* error) {
  if (!BeginElementCall(state, count)) return false;
  *error = ReadFinanceArgs(state, args, count, values);
  return true;
}

bool BroadcastPosition(EvalState& state, uint16_t position) {
  const uint16_t first = FirstArg(state);
  if (!IsRangeOrArray(state.operands[first + position])) return false;
  uint8_t flags[EvalState::kStackSlots] = {};
  flags[position] = 1;
  state.BroadcastArrays(flags, first);
  return true;
}
