#include "functions/finance_args.h"

#include "functions/element_call.h"

bool BeginFinanceCall(EvalState& state, const ScalarArg* args, uint16_t count, double* values, uint32_t* error) {
  if (!BeginElementCall(state, count)) return false;
  *error = ReadScalarArgs(state, args, count, values);
  return true;
}
