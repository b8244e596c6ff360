#include "functions/array_result.h"

#include "core/base/error_code.h"

void SetArrayResult(EvalState& state, ArrayBuilder& builder, uint32_t columns, uint32_t rows, uint32_t error) {
  if (error == kErrorNone && builder.Failed()) error = kErrorMemory;
  CellBlock* chain = builder.Finish();
  EvalValue& result = state.ClearArguments();
  if (error == kErrorNone && !state.arrays.PushChain(chain)) error = kErrorValue;
  if (error != kErrorNone) {
    state.arrays.ReleaseChain(chain);
    result.kind = kEvalEmpty;
    result.error = error;
    return;
  }
  result.SetArray(columns, rows);
}
