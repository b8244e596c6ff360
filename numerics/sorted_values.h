#ifndef TALVERO_NUMERICS_SORTED_VALUES_H
#define TALVERO_NUMERICS_SORTED_VALUES_H

// The cells of a range or array argument copied into a temporary store, one
// per row of column 0 in storage order, and ordered by the evaluator's row
// sort, so that values compare as the sort command compares cells.

#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"

class SortedValues {
 public:
  SortedValues() = default;
  ~SortedValues() { delete[] order_; }
  SortedValues(const SortedValues&) = delete;
  SortedValues& operator=(const SortedValues&) = delete;

  // Reads the argument in slot and sorts its cells; the argument's error,
  // "#MEMORY!" when a copy or the order cannot be had, else 0.
  uint8_t Build(EvalState& state, uint16_t slot, bool ascending);
  uint32_t Count() const { return count_; }
  // The i-th cell in sorted order.
  const CellRecord* At(uint32_t i);
  // The i-th value read as a number through the scratch slot; its error.
  uint8_t NumberAt(EvalState& state, uint16_t scratch, uint32_t i, double* out);

 private:
  CellStore store_;
  uint32_t* order_ = nullptr;
  uint32_t count_ = 0;
};

#endif
