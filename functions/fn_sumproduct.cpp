#include <cmath>
#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_range_slots.h"
#include "functions/fn_sums.h"
#include "functions/row_cell_args.h"

namespace {

bool IsUncalculatedFormula(const CellRecord* cell) {
  return cell->IsFormula() && !(cell->ResultFlags() & kResultCalculated);
}

// What a pair read while gathering is open adds to the walk's budget: the
// product of two values that stand for the pass (typed in or calculated);
// the product of a cell not yet calculated and its partner, judged by the
// value it is calculated to; 0 for a cell beside a partner that reads as no
// number or 0. a and b as read, 0 for a value that reads as no number; a
// cell listed before (its term its first reading's) leaves the cells
// listed after it to be taken only while no value changed.
void NotePairTerm(PendingGather& gather, uint32_t listed, const CellRecord* cellX, const CellRecord* cellY, double a,
                  double b) {
  const bool pendingX = IsUncalculatedFormula(cellX);
  const bool pendingY = IsUncalculatedFormula(cellY);
  bool noted = true;
  if (!pendingX && !pendingY) {
    gather.AddTerm(a * b);
  } else if (cellX == cellY) {
    noted = gather.SetTermAt(listed, cellX, PendingGather::kTermSquare);
  } else if (pendingX && pendingY) {
    noted = gather.SetTermAt(listed, cellX, PendingGather::kTermPairFirst) &&
            gather.SetTermAt(listed + 1, cellY, PendingGather::kTermPairSecond);
  } else {
    const double partner = pendingX ? b : a;
    noted = gather.SetTermAt(listed, pendingX ? cellX : cellY,
                             partner == 0 ? PendingGather::kTermZero : PendingGather::kTermBeside, partner);
  }
  if (!noted) gather.Untame();
}

// SUMPRODUCT of two worksheet ranges read along their rows (see RowPairs);
// false, with nothing read, for a pair RowPairs does not take.
bool SumRowPairs(EvalState& state, uint16_t first, ArgRange& x, ArgRange& y, double* total, uint32_t* error) {
  RowPairs pairs;
  if (!pairs.Start(x, y)) return false;
  const CellRecord* cellX;
  const CellRecord* cellY;
  // Whether the cells read are being gathered, looked at again only after
  // cells that may be pending were read: while it is, the walk keeps a
  // budget of its terms (see PendingGather::StartBudget), each pair's noted
  // as it is read, so that where the walk stops is judged by the values
  // calculated anew, whatever their sizes.
  PendingGather& gather = state.pendingGather;
  gather.StartBudget();
  bool gathering = gather.Open();
  while (pairs.Next(&cellX, &cellY)) {
    // Only positions where both have a cell can give a non-zero product.
    if (!cellX || !cellY) continue;
    // Two number cells, the common pair, read in place; any other through
    // the readers.
    const bool numbers = cellX->Type() == kCellNumber && cellY->Type() == kCellNumber;
    double a = numbers ? cellX->Number() : 0.0;
    double b = numbers ? cellY->Number() : 0.0;
    if (!numbers || IsBadNumber(a) || IsBadNumber(b)) {
      const uint32_t listed = gather.End();
      const bool readableX = ReadCellNumberInPlace(state, first, x, cellX, &a) == kErrorNone;
      const bool readableY = ReadCellNumberInPlace(state, static_cast<uint16_t>(first + 1), y, cellY, &b) == kErrorNone;
      if (!gathering && (gathering = gather.Open())) gather.AddStartOfTerms(*total);
      if (gathering) NotePairTerm(gather, listed, cellX, cellY, readableX ? a : 0.0, readableY ? b : 0.0);
      if (!readableX || !readableY) continue;
    } else if (gathering) {
      // Two numbers typed in: their product stands for the pass.
      gather.AddTerm(a * b);
    }
    const double product = a * b;
    *total += product;
    if (IsBadNumber(product) || IsBadNumber(*total)) {
      *error = kErrorNum;
      return true;
    }
  }
  return true;
}

}  // namespace

// The sum of the element-wise products: every argument is a range or an
// array of one common shape, and each position's product joins the sum.
// Only positions where every argument has a cell can give a non-zero
// product, so the arguments' existing cells are walked together by their
// offsets. Cells that cannot be read as numbers count as 0, as the family
// skips them.
void FnSumProduct(EvalState& state) {
  if (!RequireArgs(state, 1))
    return;
  const uint16_t first = FirstArg(state);
  const uint16_t count = static_cast<uint16_t>(state.operandTop - first);
  // Every aligned position is read; the walk stops at a bad total, which
  // tame values keep away (their bounds narrow with the count of factors).
  PendingGather::WalkScope walk(state.pendingGather, PendingGather::kTameValue, true, static_cast<uint8_t>(count));
  ArgRangeSlots ranges;
  ranges.Start(count);
  const CellRecord* next[EvalState::kStackSlots];
  double factors[EvalState::kStackSlots];
  uint32_t error = kErrorNone;
  // Two worksheet ranges are taken with their walks left unpositioned: the
  // common pair is read along the rows.
  const bool sheetPair = count == 2 && state.operands[first].kind == kEvalRange &&
                         state.operands[first + 1].kind == kEvalRange && state.operands[first].error == kErrorNone &&
                         state.operands[first].sheet && TakeSheetRange(state, static_cast<uint16_t>(first + 1), &ranges[1]);
  if (sheetPair) {
    TakeSheetRange(state, first, &ranges[0]);
  } else {
    for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot)
      error = LargerErrorOf(error, GetRequiredArgRange(state, slot, &ranges[slot - first]));
  }
  const uint32_t columns = ranges[0].lastColumn - ranges[0].firstColumn;
  const uint32_t rows = ranges[0].lastRow - ranges[0].firstRow;
  for (uint16_t i = 1; i < count && error == kErrorNone; ++i)
    if (ranges[i].lastColumn - ranges[i].firstColumn != columns || ranges[i].lastRow - ranges[i].firstRow != rows)
      error = kErrorValue;

  double total = 0;
  bool summed = false;
  if (sheetPair && error == kErrorNone) summed = SumRowPairs(state, first, ranges[0], ranges[1], &total, &error);
  if (sheetPair && !summed) {
    RestartArgRange(ranges[0]);
    RestartArgRange(ranges[1]);
  }
  if (error == kErrorNone && !summed) {
    for (uint16_t i = 0; i < count; ++i) next[i] = NextArgCell(ranges[i]);
    for (;;) {
      // The furthest next key: no position before it has a cell in every argument.
      uint64_t key = 0;
      bool ended = false;
      for (uint16_t i = 0; i < count; ++i) {
        if (!next[i]) {
          ended = true;
          break;
        }
        const uint64_t k = CellKey(ranges[i], next[i]);
        if (k > key)
          key = k;
      }
      if (ended)
        break;
      bool aligned = true;
      for (uint16_t i = 0; i < count; ++i) {
        while (next[i] && CellKey(ranges[i], next[i]) < key) next[i] = NextArgCell(ranges[i]);
        if (!next[i] || CellKey(ranges[i], next[i]) != key)
          aligned = false;
      }
      if (!aligned)
        continue;
      double product = 1;
      bool readable = true;
      for (uint16_t i = 0; i < count; ++i) {
        double x = 0;
        if (ReadCellNumberInPlace(state, static_cast<uint16_t>(first + i), ranges[i], next[i], &x) != kErrorNone) {
          readable = false;
          x = 0;
        }
        factors[i] = x;
        product *= x;
        next[i] = NextArgCell(ranges[i]);
      }
      // Every factor of a position whose product the gathering may see
      // change, those read before a first uncalculated cell of it included.
      if (state.pendingGather.Open()) {
        bool tame = true;
        for (uint16_t i = 0; i < count; ++i) tame = tame && PendingGather::IsTame(factors[i], static_cast<uint8_t>(count));
        if (!tame) state.pendingGather.Untame();
      }
      if (!readable)
        continue;
      total += product;
      if (IsBadNumber(product) || IsBadNumber(total)) {
        error = kErrorNum;
        break;
      }
    }
  }
  for (uint16_t i = count; i-- > 0;) ReleaseArgRange(state, ranges[i]);
  SetNumberResult(state, total, error);
}
