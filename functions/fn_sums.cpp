#include "functions/fn_sums.h"

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/row_cell_args.h"

namespace {

enum class Combine { kAdd, kMultiply, kAddSquare };

// SUM, PRODUCT and SUMSQ. SUM skips the cells of ranges and arrays that
// cannot be read as numbers; the others pass their errors on.
// Aggregate's reading, inside its caller's walk. Out of line: the walk's
// scope object would cost the loop its registers.
[[gnu::noinline]] void AggregateArgs(EvalState& state, Combine combine) {
  const uint16_t first = FirstArg(state);
  const bool skipCellErrors = combine == Combine::kAdd;
  double total = combine == Combine::kMultiply ? 1.0 : 0.0;
  uint32_t error = kErrorNone;
  const auto add = [&](double x) {
    if (error != kErrorNone)
      return;
    switch (combine) {
      case Combine::kAdd:
        total += x;
        break;
      case Combine::kMultiply:
        total *= x;
        break;
      case Combine::kAddSquare:
        total += x * x;
        break;
    }
    if (IsBadNumber(total))
      error = kErrorNum;
  };
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot) {
    if (IsRangeOrArray(state.operands[slot])) {
      ArgRange range;
      error = LargerErrorOf(error, GetArgRange(state, slot, &range));
      while (const CellRecord* cell = NextArgCell(range)) {
        double x = 0;
        const uint8_t cellError = ReadCellNumberInPlace(state, slot, range, cell, &x);
        if (cellError != kErrorNone) {
          if (!skipCellErrors)
            error = LargerErrorOf(error, cellError);
          continue;
        }
        add(x);
      }
      ReleaseArgRange(state, range);
      continue;
    }
    if (IsOmittedArg(state.operands[slot]))
      continue;
    double x = 0;
    error = LargerErrorOf(error, GetArgNumber(state, slot, &x, -kLargestNumber, kLargestNumber));
    add(x);
  }
  SetNumberResult(state, total, error);
}

void Aggregate(EvalState& state, Combine combine) {
  if (!RequireArgs(state, 1))
    return;
  // Every cell of every argument is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  AggregateArgs(state, combine);
}

enum class PairSum { kX2MY2, kX2PY2, kXMY2 };

void SumOfPairs(EvalState& state, PairSum kind) {
  if (!RequireArgs(state, 2))
    return;
  IgnoreArgsBeyond(state, 2);
  const uint16_t first = FirstArg(state);
  ArgRange x;
  ArgRange y;
  // Read from the last to the first, as they lie on the array stack.
  // Two worksheet ranges of one shape are read along their rows, their
  // walks left unpositioned.
  const bool sheetPair = state.operands[first].kind == kEvalRange && state.operands[first].error == kErrorNone &&
                         state.operands[first].sheet && TakeSheetRange(state, static_cast<uint16_t>(first + 1), &y);
  uint32_t argumentError = kErrorNone;
  if (sheetPair) {
    TakeSheetRange(state, first, &x);
  } else {
    argumentError = GetRequiredArgRange(state, static_cast<uint16_t>(first + 1), &y);
    argumentError = LargerErrorOf(argumentError, GetRequiredArgRange(state, first, &x));
  }
  uint32_t error = argumentError;
  double sum = 0;
  // The pairs are read on while both cells are numbers and the sum stays
  // one. Squares of numbers of ordinary size (tame) cannot make it stop
  // being one, whatever their order; squared differences of two close
  // numbers can, so that sum's walk is left to the values.
  PendingGather& gather = state.pendingGather;
  const bool walks = kind != PairSum::kXMY2;
  PendingGather::WalkScope pairsWalk(gather, PendingGather::kPlainValue | PendingGather::kTameValue, walks);
  // Adds a position's pair; false once an error ends the sum.
  const auto add = [&](const CellRecord* cellX, const CellRecord* cellY) {
    double a = 0;
    double b = 0;
    if (cellX)
      error = LargerErrorOf(error, ReadCellNumberInPlace(state, first, x, cellX, &a));
    if (cellY)
      error = LargerErrorOf(error, ReadCellNumberInPlace(state, first, y, cellY, &b));
    if (error != kErrorNone)
      return false;
    if (gather.Open() && walks && !(PendingGather::IsTame(a) && PendingGather::IsTame(b)))
      gather.Close();
    switch (kind) {
      case PairSum::kX2MY2:
        sum += a * a - b * b;
        break;
      case PairSum::kX2PY2:
        sum += a * a + b * b;
        break;
      case PairSum::kXMY2:
        sum += (a - b) * (a - b);
        break;
    }
    if (IsBadNumber(sum))
      error = kErrorNum;
    return error == kErrorNone;
  };
  if (error == kErrorNone) {
    const CellRecord* cellX;
    const CellRecord* cellY;
    RowPairs rows;
    if (sheetPair && rows.Start(x, y)) {
      while (rows.Next(&cellX, &cellY) && add(cellX, cellY)) {
      }
    } else {
      if (sheetPair) {
        RestartArgRange(x);
        RestartArgRange(y);
      }
      PairedWalk walk(x, y);
      while (walk.Next(&cellX, &cellY) && add(cellX, cellY)) {
      }
    }
  }
  ReleaseArgRange(state, y);
  ReleaseArgRange(state, x);
  SetNumberResult(state, sum, error);
  // A cell's error still shows the sum reached before it.
  if (error != kErrorNone && argumentError == kErrorNone && !IsBadNumber(sum))
    state.operands[state.operandTop].number = sum;
}

}  // namespace

void FnSum(EvalState& state) { Aggregate(state, Combine::kAdd); }
void FnProduct(EvalState& state) { Aggregate(state, Combine::kMultiply); }
void FnSumSq(EvalState& state) { Aggregate(state, Combine::kAddSquare); }

void FnSumX2MY2(EvalState& state) { SumOfPairs(state, PairSum::kX2MY2); }
void FnSumX2PY2(EvalState& state) { SumOfPairs(state, PairSum::kX2PY2); }
void FnSumXMY2(EvalState& state) { SumOfPairs(state, PairSum::kXMY2); }
