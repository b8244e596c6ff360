#include "core/builtin_function_table.h"
#include "core/error_code.h"
#include "core/eval_state.h"

void FnNotImplemented(EvalState& state) {
  const uint16_t first = state.operands[state.operandTop].firstArgument;
  // The arguments may own pool strings and arrays; dropping them unread
  // would leave the pool and the array stack out of step with the stack.
  if (state.operandTop > first)
    state.ReleaseValues(static_cast<uint16_t>(state.operandTop - 1),
                        static_cast<uint16_t>(state.operandTop - first));
  state.operandTop = first;
  EvalValue& result = state.operands[first];
  result.Clear();
  result.kind = kEvalEmpty;
  result.error = kErrorImpl;
}
