#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "functions/fn_engineering.h"

namespace {

// Both numbers over the full range; an empty second position is 0.
template <class Compare>
void CompareTwoNumbers(EvalState& state, Compare compare) {
  if (!BeginElementCall(state, 2)) return;
  const uint16_t first = FirstArg(state);
  double x = 0.0;
  double y = 0.0;
  uint32_t error = GetArgNumber(state, static_cast<uint16_t>(first + 1), &y, -kLargestNumber, kLargestNumber);
  error = LargerErrorOf(error, GetArgNumber(state, first, &x, -kLargestNumber, kLargestNumber));
  SetNumberResult(state, compare(x, y) ? 1.0 : 0.0, error);
}

}  // namespace

void FnDelta(EvalState& state) {
  CompareTwoNumbers(state, [](double x, double y) { return x == y; });
}

void FnGetStep(EvalState& state) {
  CompareTwoNumbers(state, [](double x, double step) { return x >= step; });
}
