#include "functions/element_call.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"

bool BeginElementCall(EvalState& state, uint16_t positions, uint32_t broadcastMask) {
  if (!RequireArgs(state, positions)) return false;
  IgnoreArgsBeyond(state, positions);
  const uint16_t first = FirstArg(state);
  const uint16_t looked = positions < 32 ? positions : 32;
  const auto broadcasts = [&](uint16_t i) {
    return (broadcastMask >> i & 1u) && IsRangeOrArray(state.operands[first + i]);
  };
  // Nearly every call has scalars in its scalar positions: the flags for
  // BroadcastArrays are only built once a range or an array turns up.
  uint16_t i = 0;
  while (i < looked && !broadcasts(i)) ++i;
  if (i == looked) return true;
  uint8_t flags[EvalState::kStackSlots] = {};
  for (; i < looked; ++i) flags[i] = broadcasts(i);
  state.BroadcastArrays(flags, first);
  return false;
}

void SetTextOrError(EvalState& state, const char* text, size_t length, uint32_t error) {
  if (error != kErrorNone)
    SetErrorResult(state, error);
  else
    SetTextResult(state, text, length, kErrorNone);
}
