#include <cstdint>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_range_slots.h"
#include "functions/fn_sums.h"

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
  ArgRangeSlots ranges;
  ranges.Start(count);
  const CellRecord* next[EvalState::kStackSlots];
  uint32_t error = kErrorNone;
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first; --slot)
    error = LargerErrorOf(error, GetRequiredArgRange(state, slot, &ranges[slot - first]));
  const uint32_t columns = ranges[0].lastColumn - ranges[0].firstColumn;
  const uint32_t rows = ranges[0].lastRow - ranges[0].firstRow;
  for (uint16_t i = 1; i < count && error == kErrorNone; ++i)
    if (ranges[i].lastColumn - ranges[i].firstColumn != columns || ranges[i].lastRow - ranges[i].firstRow != rows)
      error = kErrorValue;

  double total = 0;
  if (error == kErrorNone) {
    // Each argument's next cell and its key, kept rather than derived again
    // at every comparison; an argument at its end has the largest key.
    uint64_t keys[EvalState::kStackSlots];
    const auto advance = [&](uint16_t i) {
      next[i] = NextArgCell(ranges[i]);
      keys[i] = next[i] ? CellKey(ranges[i], next[i]) : UINT64_MAX;
    };
    for (uint16_t i = 0; i < count; ++i) advance(i);
    for (;;) {
      // The furthest next key: no position before it has a cell in every argument.
      uint64_t key = 0;
      for (uint16_t i = 0; i < count; ++i)
        if (keys[i] > key)
          key = keys[i];
      if (key == UINT64_MAX)
        break;
      bool aligned = true;
      for (uint16_t i = 0; i < count; ++i) {
        while (keys[i] < key) advance(i);
        if (keys[i] != key)
          aligned = false;
      }
      if (!aligned)
        continue;
      double product = 1;
      bool readable = true;
      for (uint16_t i = 0; i < count; ++i) {
        double x = 0;
        if (ReadCellNumberInPlace(state, static_cast<uint16_t>(first + i), ranges[i], next[i], &x) != kErrorNone)
          readable = false;
        product *= x;
        advance(i);
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
