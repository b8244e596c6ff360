#ifndef TALVERO_FUNCTIONS_ARG_RANGE_SLOTS_H
#define TALVERO_FUNCTIONS_ARG_RANGE_SLOTS_H

// Room for the ranges of every argument a call may take. Only the ranges a
// handler starts are built: a call may take EvalState::kStackSlots
// arguments, most take two or three, and building all of them costs more
// than reading a short range.

#include <cstdint>
#include <new>

#include "core/formula/eval_state.h"
#include "functions/arg_readers.h"

class ArgRangeSlots {
 public:
  static constexpr uint16_t kCapacity = EvalState::kStackSlots;

  ArgRangeSlots() {}
  ArgRangeSlots(const ArgRangeSlots&) = delete;
  ArgRangeSlots& operator=(const ArgRangeSlots&) = delete;

  // Builds the first count ranges empty; only those may be used.
  void Start(uint16_t count) {
    for (uint16_t i = 0; i < count && i < kCapacity; ++i) new (&slots_[i].range) ArgRange{};
  }
  // Builds range i unset, for a reader that writes all of it (GetArgRange);
  // it may be used from then on.
  ArgRange* Begin(uint16_t i) { return new (&slots_[i].range) ArgRange; }
  ArgRange& operator[](uint16_t i) { return slots_[i].range; }
  const ArgRange& operator[](uint16_t i) const { return slots_[i].range; }

 private:
  union Slot {
    Slot() {}
    ArgRange range;
  };
  Slot slots_[kCapacity];
};

#endif
