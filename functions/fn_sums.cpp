#include "functions/fn_sums.h"

#include <cmath>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/row_cell_args.h"
#include "functions/sum_stretches.h"

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

// SUMXMY2's walk goes on past numbers while its sum of squared differences
// stays one, read in stretches (see sum_stretches.h): the squares are never
// negative, so a stretch whose sum starts above 0 takes any numbers whose
// squared differences stay within the terms' share (sizes up to half its
// root), and one whose sum starts at 0 takes 0 and numbers of at least
// 1e-130 in size too: two distinct ones differ by a unit of their last
// place at least, about 1e-146, whose square is normal.
struct DifferencesKey {
  double smallest;  // the least size of a number but 0
  double largest;   // the largest size; below 0 none
};

bool DifferencesKeyTakes(const DifferencesKey& key, double x) {
  const double magnitude = x < 0 ? -x : x;
  return magnitude <= key.largest && (magnitude == 0 || magnitude >= key.smallest);
}

// The key of a stretch whose sum is sum before its first listed cell, for
// squared differences of at most termLimit each.
DifferencesKey DifferencesKeyAfter(double sum, double termLimit) {
  switch (SumWayAfter(sum, false)) {
    case kRisingWay: return DifferencesKey{0.0, std::sqrt(termLimit) / 2};
    case kMultiplesWay: return DifferencesKey{1e-130, std::sqrt(termLimit) / 2};
    default: return DifferencesKey{0.0, -1.0};
  }
}

// Whether the walk stops at (or after) a cell calculated anew: at anything
// but a number its stretch takes.
bool DifferencesStopAt(const void* bytes, const CellRecord* cell) {
  DifferencesKey key;
  std::memcpy(&key, bytes, sizeof key);
  return !PendingGather::IsPlainNumberCell(cell) || !DifferencesKeyTakes(key, cell->CachedNumber());
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
  // numbers can, so that sum's walk goes in stretches, each key following
  // the walk until the stretch lists its first cell.
  PendingGather& gather = state.pendingGather;
  const bool walks = kind != PairSum::kXMY2;
  const double pairs = (double(x.lastColumn) - x.firstColumn + 1) * (double(x.lastRow) - x.firstRow + 1) +
                       (double(y.lastColumn) - y.firstColumn + 1) * (double(y.lastRow) - y.firstRow + 1);
  const double termLimit = SumTermLimit(pairs);
  DifferencesKey key = DifferencesKeyAfter(0.0, termLimit);
  bool committed = false;
  PendingGather::WalkScope pairsWalk(gather, PendingGather::kPlainValue | PendingGather::kTameValue, walks);
  PendingGather::SearchScope stretch(gather, &DifferencesStopAt, &key, sizeof key, !walks);
  // Whether a pair whose cells not yet calculated were just listed holds,
  // only in those, stored values the stretch does not take (none, or left
  // by a file written elsewhere): the evaluation is to be made again, and
  // reading on past the pair lists the rest, each taken only if those cells
  // become values the stretch takes; their very values kept end the list
  // there.
  const auto PassedOverStale = [&](const CellRecord* cellX, uint32_t errorX, double a, const CellRecord* cellY,
                                   uint32_t errorY, double b, uint32_t listed) {
    if (!gather.Open() || key.largest < 0) return false;
    const bool staleX = errorX != kErrorNone || !DifferencesKeyTakes(key, a);
    const bool staleY = errorY != kErrorNone || !DifferencesKeyTakes(key, b);
    const bool listedX = cellX && gather.ListedAt(listed, cellX);
    const uint32_t atY = listedX && cellY != cellX ? listed + 1 : listed;
    const bool listedY = cellY && gather.ListedAt(atY, cellY);
    if (!(staleX || staleY) || (staleX && !listedX) || (staleY && !listedY)) return false;
    if (staleX) gather.EndListIfKeptAt(listed);
    if (staleY) gather.EndListIfKeptAt(atY);
    return true;
  };
  // Adds a position's pair; false once an error ends the sum.
  const auto add = [&](const CellRecord* cellX, const CellRecord* cellY) {
    double a = 0;
    double b = 0;
    if (!walks && !committed) key = DifferencesKeyAfter(sum, termLimit);
    const uint32_t listed = gather.End();
    const uint32_t errorX = cellX ? uint32_t(ReadCellNumberInPlace(state, first, x, cellX, &a)) : uint32_t(kErrorNone);
    const uint32_t errorY = cellY ? uint32_t(ReadCellNumberInPlace(state, first, y, cellY, &b)) : uint32_t(kErrorNone);
    if (!walks && gather.End() != listed && PassedOverStale(cellX, errorX, a, cellY, errorY, b, listed)) {
      committed = true;
      return true;
    }
    error = LargerErrorOf(error, LargerErrorOf(errorX, errorY));
    if (error != kErrorNone)
      return false;
    if (walks) {
      if (gather.Open() && !(PendingGather::IsTame(a) && PendingGather::IsTame(b))) gather.Close();
    } else {
      if (!committed && gather.End() != listed) committed = true;
      if (committed && gather.Open() && !(DifferencesKeyTakes(key, a) && DifferencesKeyTakes(key, b))) {
        // After a change before it, the sum that reaches the cells after it
        // is unknown.
        stretch.Restart(&DifferencesStopAt, &key, sizeof key);
        committed = false;
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
