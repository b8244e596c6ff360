#include "numerics/arg_values.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"

ArgValues::ArgValues(EvalState& state)
    : state_(state), walk_(state.pendingGather), first_(FirstArg(state)), count_(ArgCount(state)) {
  // Every argument is read, each range's cells at least once from its first
  // in storage order, whatever the values: the handlers that read the values
  // again (or read only those before a cell that is no plain number, then
  // all) find no cell the first reading did not.
  for (uint16_t i = count_; i-- > 0;) {
    const uint16_t slot = static_cast<uint16_t>(first_ + i);
    Position& position = positions_[i];
    position = Position{};
    EvalValue& value = state.operands[slot];
    if (IsRangeOrArray(value)) {
      // Only a range position's walk is ever read, and GetArgRange writes
      // all of it: the slot is not built empty first.
      const uint8_t error = GetArgRange(state, slot, ranges_.Begin(i));
      if (error == kErrorNone) {
        position.isRange = true;
      } else {
        position.single.error = error;
      }
      continue;
    }
    ArgValue& single = position.single;
    single.omitted = IsOmittedArg(value);
    if (!single.omitted) state.ResolveOperand(slot);
    single.empty = IsOmittedArg(value);
    single.error = GetArgNumber(state, slot, &single.number, -kLargestNumber, kLargestNumber);
    state.DisownSlot(slot);
  }
}

ArgValues::~ArgValues() {
  for (uint16_t i = 0; i < count_; ++i)
    if (positions_[i].isRange) ReleaseArgRange(state_, ranges_[i]);
}

ArgValue ArgValues::ReadCell(uint16_t slot, const ArgRange& range, const CellRecord* cell) {
  ArgValue value{};
  CellValueToSlot(state_, slot, range, cell);
  // A formula cell whose result is empty.
  value.empty = IsOmittedArg(state_.operands[slot]);
  value.error = GetArgNumber(state_, slot, &value.number, -kLargestNumber, kLargestNumber);
  state_.DisownSlot(slot);
  return value;
}
