#include "core/formula/builtin_function_table.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"

void FnNotImplemented(EvalState& state) {
  EvalValue& result = state.ClearArguments();
  result.kind = kEvalEmpty;
  result.error = kErrorImpl;
}
