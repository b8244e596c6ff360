#ifndef TALVERO_NUMERICS_ARG_VALUES_H
#define TALVERO_NUMERICS_ARG_VALUES_H

// The values of a one-list statistic's arguments, readable more than once:
// each position is taken from the last to the first; a single value is read
// as a number once and kept, a range or array keeps its cells and is walked
// in place, in storage order, at every pass.

#include <cmath>
#include <cstdint>

#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_range_slots.h"
#include "functions/arg_readers.h"
#include "numerics/plain_number_run.h"

struct ArgValue {
  double number;  // 0 when not readable
  uint8_t error;  // the value's own or its reader's
  bool omitted;   // an empty argument position
  bool empty;     // an empty position, a reference to an empty cell or an empty result
};

class ArgValues {
 public:
  // Takes every argument of the call on top of the stack.
  explicit ArgValues(EvalState& state);
  // Gives the arrays' cells back to the array store.
  ~ArgValues();
  ArgValues(const ArgValues&) = delete;
  ArgValues& operator=(const ArgValues&) = delete;

  // Calls visit(const ArgValue&) for every value, in reading order.
  template <class Visit>
  void ForEach(Visit visit);

  // When every argument is a range or an array and every cell of theirs a
  // plain number (as ReadPlainNumber reads one), at most capacity of them:
  // those numbers in reading order, and their count. Else kNotPlain, and
  // the handler reads through ForEach: nearly every list is plain, and a
  // statistic over a stack array of numbers keeps its sums in registers
  // instead of passing through a visitor per value. Inline, as ForEach:
  // a call costs as much as a short list's sums save.
  static constexpr uint32_t kNotPlain = 0xFFFFFFFFu;
  uint32_t GatherPlainNumbers(double* numbers, uint32_t capacity);
  // After GatherPlainNumbers: whether a number other than 0 lies below
  // 2^-969 in size. Without one, every number is a multiple of 2^-1021, and
  // so is every sum of them, which therefore never falls below the normal
  // range: it is exact while it lies within 2^53 steps of 2^-1021 from 0,
  // and rounded to a coarser multiple beyond that.
  bool GatheredTinyNumbers() const { return gatheredTiny_; }

 private:
  // Set up only for the call's arguments, as their ranges are.
  struct Position {
    bool isRange;
    bool walked;  // a range's walk starts where GetArgRange left it
    ArgValue single;
  };
  ArgValue ReadCell(uint16_t slot, const ArgRange& range, const CellRecord* cell);

  EvalState& state_;
  // Open from before the first argument is read until the ranges are given
  // back.
  PendingGather::WalkScope walk_;
  uint16_t first_;
  uint16_t count_;
  bool gatheredTiny_ = false;
  Position positions_[EvalState::kStackSlots];
  ArgRangeSlots ranges_;
};

template <class Visit>
void ArgValues::ForEach(Visit visit) {
  for (uint16_t i = count_; i-- > 0;) {
    Position& position = positions_[i];
    if (!position.isRange) {
      visit(static_cast<const ArgValue&>(position.single));
      continue;
    }
    ArgRange& range = ranges_[i];
    if (position.walked) RestartArgRange(range);
    position.walked = true;
    WalkArgCells(range, [&](const CellRecord* cell) {
      // Plain numbers, nearly every cell, are read here without a call, and
      // visited as a value the visitor can see has no error.
      double number = 0.0;
      if (ReadPlainNumber(state_, range, cell, &number)) {
        const ArgValue plain{number, 0, false, false};
        visit(plain);
      } else {
        const ArgValue other = ReadCell(static_cast<uint16_t>(first_ + i), range, cell);
        visit(other);
      }
      return true;
    });
  }
}

inline uint32_t ArgValues::GatherPlainNumbers(double* numbers, uint32_t capacity) {
  // A single value is read apart, through the argument reader.
  for (uint16_t i = 0; i < count_; ++i)
    if (!positions_[i].isRange) return kNotPlain;
  gatheredTiny_ = false;
  uint32_t count = 0;
  for (uint16_t i = count_; i-- > 0;) {
    ArgRange& range = ranges_[i];
    Position& position = positions_[i];
    if (position.walked) RestartArgRange(range);
    position.walked = true;
    while (const CellRecord* cell = NextArgCell(range)) {
      if (count == capacity) return kNotPlain;
      if (!TakeNumberCell<false, true>(cell, &numbers[count])) {
        if (!ReadPlainNumber(state_, range, cell, &numbers[count])) return kNotPlain;
        // Tiny numbers are refused above and in runs, and noted here.
        const double x = numbers[count];
        if (x != 0.0 && std::fabs(x) < 0x1p-969) gatheredTiny_ = true;
      }
      ++count;
      count += TakePlainNumberRun<false, true>(range, cell, numbers + count, capacity - count);
    }
  }
  return count;
}

#endif
