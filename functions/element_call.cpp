#include "functions/element_call.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"

bool BeginElementCall(EvalState& state, uint16_t positions, uint32_t broadcastMask) {
  if (!RequireArgs(state, positions)) return false;
  IgnoreArgsBeyond(state, positions);
  const uint16_t first = FirstArg(state);
  uint8_t flags[EvalState::kStackSlots] = {};
  bool any = false;
  for (uint16_t i = 0; i < positions && i < 32; ++i) {
    flags[i] = (broadcastMask >> i & 1u) && IsRangeOrArray(state.operands[first + i]);
    any = any || flags[i];
  }
  if (!any) return true;
  state.BroadcastArrays(flags, first);
  return false;
}

void SetTextOrError(EvalState& state, const char* text, size_t length, uint32_t error) {
  if (error != kErrorNone)
    SetErrorResult(state, error);
  else
    SetTextResult(state, text, length, kErrorNone);
}
