#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/complex_args.h"
#include "functions/fn_engineering.h"

namespace {

// Walks every position from the last to the first, a range or an array cell
// by cell over its existing cells, folding each complex number into the
// running value. Any error makes the result that error (the largest wins),
// but the walk still reads every position so that the stacks stay in step.
template <class Fold>
void FoldComplexArgs(EvalState& state, Complex start, Fold fold) {
  if (!RequireArgs(state, 1)) return;
  const uint16_t first = FirstArg(state);
  Complex running = start;
  uint32_t error = kErrorNone;
  auto take = [&](uint16_t slot) {
    Complex z{};
    const uint8_t argError = GetArgComplex(state, slot, &z);
    if (argError != kErrorNone) {
      error = LargerErrorOf(error, argError);
      return;
    }
    running = fold(running, z);
    if (IsBadComplex(running)) error = LargerErrorOf(error, kErrorNum);
  };
  for (uint16_t i = ArgCount(state); i-- > 0;) {
    const uint16_t slot = static_cast<uint16_t>(first + i);
    if (!IsRangeOrArray(state.operands[slot])) {
      take(slot);
      continue;
    }
    ArgRange range;
    const uint8_t rangeError = GetArgRange(state, slot, &range);
    error = LargerErrorOf(error, rangeError);
    if (rangeError == kErrorNone) {
      // Every cell is read, whatever the values.
      PendingGather::WalkScope walk(state.pendingGather);
      for (const CellRecord* cell = NextArgCell(range); cell; cell = NextArgCell(range)) {
        // A plain number cell is read without going through the slot; a
        // cell noted as pending here is noted again, to no effect, below.
        double x = 0.0;
        Complex z{};
        if (ReadPlainNumber(state, range, cell, &x) && ComplexOfNumber(x, &z)) {
          running = fold(running, z);
          if (IsBadComplex(running)) error = LargerErrorOf(error, kErrorNum);
          continue;
        }
        CellValueToSlot(state, slot, range, cell);
        take(slot);
        state.DisownSlot(slot);
      }
    }
    ReleaseArgRange(state, range);
  }
  SetComplexResult(state, running, error);
}

}  // namespace

void FnImSum(EvalState& state) {
  FoldComplexArgs(state, Complex{0.0, 0.0}, [](const Complex& s, const Complex& z) {
    return Complex{s.re + z.re, s.im + z.im};
  });
}

void FnImProduct(EvalState& state) {
  FoldComplexArgs(state, Complex{1.0, 0.0}, [](const Complex& p, const Complex& z) {
    return Complex{p.re * z.re - p.im * z.im, p.im * z.re + p.re * z.im};
  });
}
