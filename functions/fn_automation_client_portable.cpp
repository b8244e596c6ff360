#include "functions/fn_automation_client.h"

#include "core/base/error_code.h"
#include "functions/arg_readers.h"

namespace {

// Without COM no object can be created.
void NoObject(EvalState& state) {
  if (!RequireArgs(state, 3)) return;
  SetErrorResult(state, kErrorRef);
}

}  // namespace

void FnRtd(EvalState& state) { NoObject(state); }

void FnUdf(EvalState& state) { NoObject(state); }
