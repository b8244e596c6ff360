#ifndef TALVERO_FUNCTIONS_CASH_FLOWS_H
#define TALVERO_FUNCTIONS_CASH_FLOWS_H

// Cash flows read once from a call's arguments and kept for valuation at
// any number of rates. Ranges and arrays give their existing cells in
// storage order; empty cells are no flows.

#include <cstdint>

#include "core/formula/eval_state.h"
#include "functions/arg_readers.h"

struct CashFlows {
  // Most calls read a few flows: those are kept here, more on the heap.
  static constexpr uint32_t kInlineCapacity = 32;

  double* amounts = inlineAmounts_;
  double* days = inlineDays_;  // dated flows: days after the first flow's date
  uint32_t count = 0;
  uint32_t capacity = kInlineCapacity;

  CashFlows() = default;
  ~CashFlows();
  CashFlows(const CashFlows&) = delete;
  CashFlows& operator=(const CashFlows&) = delete;

  // False when memory runs out. Inline: most flows are appended to room
  // already there.
  bool Append(double amount, double day = 0.0) {
    if (count == capacity && !Grow()) return false;
    amounts[count] = amount;
    days[count] = day;
    ++count;
    return true;
  }
  // Whether some flow is below 0 and some above: without both no rate
  // makes their value 0.
  bool ChangesSign() const;
  // Whether their value, discounted at any rate above 0, keeps the sign of
  // the first flows: the flows change sign once, and the later ones fall
  // short of the earlier ones by more than rounding could make up. Every
  // such rate discounts the later flows more than the earlier ones, so no
  // search among rates above 0 can find a value of the other sign.
  bool KeepSignAboveZeroRate() const;

 private:
  // Twice the room, on the heap; false when memory runs out.
  bool Grow();

  double inlineAmounts_[kInlineCapacity];
  double inlineDays_[kInlineCapacity];
};

// The values of positions first .. first + count - 1 of the call in their
// order (NPV, IRR, FVSCHEDULE), read from the last to the first: a number
// or a text that spells one, an omitted position as 0, and the cells of a
// range or an array. Returns the largest error of the single values, else
// that of the first range or array with error cells, whose other readable
// cells are still taken; nothing after it is taken.
uint8_t ReadValueList(EvalState& state, uint16_t first, uint16_t count, CashFlows* out);

// The cells of a range or array argument up to its first error cell, whose
// error is returned (MIRR).
uint8_t ReadFlowCells(EvalState& state, uint16_t slot, ArgRange& range, CashFlows* out);

// Flows and their ISO dates (XNPV, XIRR): two ranges or arrays of one
// shape whose cells stand at the same places. A flow without its date, or
// cells at different places, is "#VALUE!". A pair carrying an error is not
// taken; the largest such error is returned.
uint8_t ReadDatedFlows(EvalState& state, uint16_t flowsSlot, uint16_t datesSlot, CashFlows* out);

#endif
