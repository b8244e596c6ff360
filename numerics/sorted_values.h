#ifndef TALVERO_NUMERICS_SORTED_VALUES_H
#define TALVERO_NUMERICS_SORTED_VALUES_H

// The cells of a range or array argument copied into a temporary store, one
// per row of column 0 in storage order, and ordered by the evaluator's row
// sort, so that values compare as the sort command compares cells. When
// every cell is a plain number other than -0 (the common case) the numbers
// themselves are kept and sorted: equal numbers are then identical, so they
// come out as the row sort would order their cells.

#include <cstdint>
#include <optional>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"
#include "functions/arg_readers.h"

class SortedValues {
 public:
  SortedValues() = default;
  ~SortedValues() { delete[] order_; }
  SortedValues(const SortedValues&) = delete;
  SortedValues& operator=(const SortedValues&) = delete;

  // How kept numbers are left: sorted; sorted when the list is short, else
  // in reading order for SelectNumber; in reading order, for a caller that
  // only counts and compares them.
  enum class KeptOrder : uint8_t { kSorted, kSortedWhenShort, kAsRead };
  // Reads the argument in slot and sorts its cells; the argument's error,
  // "#MEMORY!" when a copy or the order cannot be had, else 0. Kept numbers
  // are left as kept says.
  uint8_t Build(EvalState& state, uint16_t slot, bool ascending, KeptOrder kept = KeptOrder::kSorted);
  uint32_t Count() const { return count_; }
  // True when the values are the kept numbers, which Number gives.
  bool NumbersOnly() const { return numbersOnly_; }
  bool Ordered() const { return ordered_; }
  double Number(uint32_t i) const { return numbers_[i]; }
  // Kept numbers left unordered, ascending: the i-th of the order, put at i
  // with every number before it no larger. Equal numbers are identical, so
  // it is the number the full order has there.
  double SelectNumber(uint32_t i);
  // After SelectNumber(i), i > 0: the (i - 1)-th of the order.
  double LargestBefore(uint32_t i) const;
  // The i-th cell in sorted order; only when not NumbersOnly.
  const CellRecord* At(uint32_t i);
  // The i-th value read as a number through the scratch slot; its error.
  uint8_t NumberAt(EvalState& state, uint16_t scratch, uint32_t i, double* out) {
    if (!numbersOnly_) return CellNumberAt(state, scratch, i, out);
    *out = numbers_[i];
    return 0;
  }

 private:
  // Build's reading and sorting, inside its walk.
  uint8_t ReadAndSort(EvalState& state, uint16_t slot, bool ascending, KeptOrder kept);
  // The most numbers kept; a longer list is copied into the store.
  static constexpr uint32_t kKeptNumbers = 256;
  // Lists no longer than this are sorted even when only selections are asked.
  static constexpr uint32_t kSelectedAbove = 12;

  // False when the list is no list of such numbers, *read then the count
  // of its first cells read.
  bool KeepNumbers(EvalState& state, ArgRange& range, uint32_t* read);
  uint8_t CellNumberAt(EvalState& state, uint16_t scratch, uint32_t i, double* out);
  void SortNumbers(bool ascending);

  double numbers_[kKeptNumbers];
  bool numbersOnly_ = false;
  bool ordered_ = true;
  // Made only for a list the kept numbers cannot hold: a store is costly to
  // set up and to tear down.
  std::optional<CellStore> store_;
  uint32_t* order_ = nullptr;
  uint32_t count_ = 0;
};

#endif
