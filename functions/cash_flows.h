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

// Whether the one-root search may value the flows by the periodic valuation
// of a table of up to maxCount factors, with its margin and the sign below
// the root: at most maxCount (64 at most) flows, each 0 or of a magnitude
// from 1e-150 to 1e150, changing sign once. At rates from kSmallestRate to
// kWidestRateBracket no factor then overflows and every non-zero quotient is
// above 2^-970, so each partial sum, a multiple of 2^-1022, is 0 or a
// normal number: the valuation never fails. Its roundings (at most 2n + 1
// per flow's path) keep it within 1e-12 * sum |a| of the true value
// sum a_k x^k, x = 1 / (1 + rate). With one change of sign that value is
// x^m times a function monotone in x: one root, the sign of the last flow
// below it, and a magnitude that shrinks as the rate rises towards it.
bool OneRootValuation(const CashFlows& flows, uint32_t maxCount, double* margin, int* signBelowRoot);

// What IRR asks of its flows before it searches, found in one pass over
// them rather than three: the answers of ChangesSign,
// KeepSignAboveZeroRate and OneRootValuation (margin and sign set only
// when oneRoot).
struct FlowSurvey {
  bool changesSign;
  bool keepsSignAboveZeroRate;
  bool oneRoot;
  double margin;
  int signBelowRoot;
};
FlowSurvey SurveyFlows(const CashFlows& flows, uint32_t maxOneRootCount);

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
