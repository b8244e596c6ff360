#include "core/builtin_function_table.h"
#include "core/error_code.h"
#include "core/eval_state.h"

void FnNotImplemented(EvalState& state) {
  EvalValue& result = state.ClearArguments();
  result.kind = kEvalEmpty;
  result.error = kErrorImpl;
}
