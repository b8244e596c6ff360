#include "numerics/sorted_values.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <new>

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "numerics/plain_number_run.h"

bool SortedValues::KeepNumbers(EvalState& state, ArgRange& range, uint32_t* read) {
  uint32_t count = 0;
  while (const CellRecord* cell = NextArgCell(range)) {
    *read = count;
    if (count == kKeptNumbers) return false;
    double number = 0.0;
    if (!TakeNumberCell<true>(cell, &number)) {
      if (!ReadPlainNumber(state, range, cell, &number)) return false;
      // -0 equals 0 but for its sign; only the row sort decides which comes first.
      if (number == 0.0 && std::signbit(number)) {
        *read = count + 1;
        return false;
      }
    }
    numbers_[count++] = number;
    count += TakePlainNumberRun<true>(range, cell, numbers_ + count, kKeptNumbers - count);
  }
  count_ = count;
  return true;
}

void SortedValues::SortNumbers(bool ascending) {
  // Numbers that compare equal are the same number here, so every sort
  // leaves the list the row sort would.
  if (ascending)
    std::sort(numbers_, numbers_ + count_);
  else
    std::sort(numbers_, numbers_ + count_, std::greater<double>());
}

double SortedValues::SelectNumber(uint32_t i) {
  std::nth_element(numbers_, numbers_ + i, numbers_ + count_);
  return numbers_[i];
}

double SortedValues::LargestBefore(uint32_t i) const { return *std::max_element(numbers_, numbers_ + i); }

uint8_t SortedValues::Build(EvalState& state, uint16_t slot, bool ascending, KeptOrder kept) {
  // Every cell is read, from the first in storage order, whatever the
  // values: the plain numbers up to the first other cell, then all.
  PendingGather::WalkScope walk(state.pendingGather);
  return ReadAndSort(state, slot, ascending, kept);
}

uint8_t SortedValues::ReadAndSort(EvalState& state, uint16_t slot, bool ascending, KeptOrder kept) {
  ArgRange range;
  const uint8_t error = GetArgRange(state, slot, &range);
  if (error != kErrorNone) return error;
  // The cells KeepNumbers read (noted, when pending) before it gave up.
  uint32_t read = 0;
  if (KeepNumbers(state, range, &read)) {
    ReleaseArgRange(state, range);
    numbersOnly_ = true;
    // A short list sorts in about the time a selection takes.
    ordered_ = kept == KeptOrder::kSorted || (kept == KeptOrder::kSortedWhenShort && count_ <= kSelectedAbove);
    if (ordered_) SortNumbers(ascending);
    return kErrorNone;
  }
  count_ = 0;
  RestartArgRange(range);
  CellStore& store = store_.emplace();
  bool failed = false;
  CellCursor cursor;
  while (const CellRecord* cell = NextArgCell(range)) {
    // A worksheet's formula cells not yet calculated are noted as for any
    // other reading, so that recalculation orders them first; once: a cell
    // read again would end the cells gathered for the pass there.
    if (range.sheet && count_ >= read) {
      double ignored = 0.0;
      ReadCellNumber(state, slot, range, cell, &ignored);
    }
    // One value per row, in the walk's order.
    if (!store.InsertCellAs(cell, count_, 0, &cursor)) {
      failed = true;
      break;
    }
    ++count_;
  }
  ReleaseArgRange(state, range);
  if (failed) return kErrorMemory;
  if (count_ == 0) return kErrorNone;
  order_ = new (std::nothrow) uint32_t[count_];
  if (!order_) return kErrorMemory;
  const uint16_t keyColumn = 0;
  const uint8_t direction = ascending ? 1 : 0;
  state.SortRows(&store, 0, count_ - 1, 1, &keyColumn, &direction, order_);
  return kErrorNone;
}

const CellRecord* SortedValues::At(uint32_t i) { return store_->GetCell(order_[i], 0); }

uint8_t SortedValues::CellNumberAt(EvalState& state, uint16_t scratch, uint32_t i, double* out) {
  const ArgRange detached{};
  return ReadCellNumber(state, scratch, detached, At(i), out);
}
