#include "functions/fn_sums.h"

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/row_cell_args.h"

namespace {

enum class Combine { kAdd, kMultiply, kAddSquare };

// SUM, PRODUCT and SUMSQ. SUM skips the cells of ranges and arrays that
// cannot be read as numbers; the others pass their errors on.
void Aggregate(EvalState& state, Combine combine) {
  if (!RequireArgs(state, 1))
    return;
  // Every cell of every argument is read, whatever the values (entered and
  // left by hand: a scope object would cost the walk's loop a register).
  state.pendingGather.EnterWalk();
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
  state.pendingGather.LeaveWalk();
  SetNumberResult(state, total, error);
}

enum class PairSum { kX2MY2, kX2PY2, kXMY2 };

// A number whose squared differences with any other such number are 0 or
// of a size no sum of them can make bad: two distinct numbers of at least
// 1e-130 in size differ by at least a unit of their last place, about
// 1e-146, whose square is above the smallest normal number; and up to
// about 2^33 squares of differences within 2e140 stay below 1e291.
bool SquaresItsDifferencesSoundly(double x) {
  const double magnitude = x < 0 ? -x : x;
  return magnitude == 0 || (magnitude >= 1e-130 && magnitude <= 1e140);
}

// SUMXMY2's walk goes on past numbers while its sum stays one: it stops at
// a cell whose new value is anything but such a number.
bool DifferencesStopAt(const void*, const CellRecord* cell) {
  return !PendingGather::IsPlainNumberCell(cell) || !SquaresItsDifferencesSoundly(cell->CachedNumber());
}

// SUMXMY2's walk: a search that stops at values of other kinds, its cells
// noted with whether they read as numbers. A pair read of other values
// starts another such walk, so that the cells after it are not taken once a
// value before them changed: the sum that reaches them is then unknown.
constexpr uint8_t kNoKey = 0;
void EnterDifferencesWalk(PendingGather& gather) {
  gather.EnterSearch(&DifferencesStopAt, &kNoKey, sizeof kNoKey);
  gather.SetNoteFlags(PendingGather::kPlainValue);
}

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
  // numbers can, so that sum's walk takes numbers of a narrower size.
  PendingGather& gather = state.pendingGather;
  const bool walks = kind != PairSum::kXMY2;
  if (walks)
    gather.EnterWalk(PendingGather::kPlainValue | PendingGather::kTameValue);
  else
    EnterDifferencesWalk(gather);
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
    if (gather.Open()) {
      if (walks && !(PendingGather::IsTame(a) && PendingGather::IsTame(b))) {
        gather.Close();
      } else if (!walks && !(SquaresItsDifferencesSoundly(a) && SquaresItsDifferencesSoundly(b))) {
        gather.LeaveSearch();
        EnterDifferencesWalk(gather);
      }
    }
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
  if (walks)
    gather.LeaveWalk();
  else
    gather.LeaveSearch();
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
