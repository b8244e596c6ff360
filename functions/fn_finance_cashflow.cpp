#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/cash_flows.h"
#include "functions/element_call.h"
#include "functions/finance_args.h"
#include "functions/fn_finance.h"
#include "functions/int_pow.h"
#include "functions/rate_search.h"

namespace {

// Flows up to this many are discounted with a table of factors on the
// stack, one product per flow; more take the squares bit by bit.
constexpr uint32_t kTabledPeriods = 64;

// The flows discounted to one period before the first: the k-th flow by k
// periods.
// Each discount factor is IntPow(q, k) to the last bit: the same products
// of the same repeated squares, only the squares are made once per rate
// rather than once per flow.
double PeriodicValueBySquares(const CashFlows& flows, double q, uint8_t* error) {
  double squares[32];
  squares[0] = q;
  uint32_t squared = 1;
  double sum = 0.0;
  for (uint32_t i = 0; i < flows.count; ++i) {
    const uint32_t periods = i + 1;
    while (squared < 32 && (periods >> squared) != 0) {
      squares[squared] = squares[squared - 1] * squares[squared - 1];
      ++squared;
    }
    double factor = 1.0;
    for (uint32_t bit = 0, bits = periods; bits != 0; ++bit, bits >>= 1)
      if (bits & 1u) factor *= squares[bit];
    sum += flows.amounts[i] / factor;
    if (IsBadNumber(sum)) {
      *error = kErrorNum;
      return 0.0;
    }
  }
  return sum;
}

// The same factors: IntPow multiplies the squares of k's bits from the
// lowest up, so the factor of k is that of k less its highest bit times the
// square of that bit, and the square of a bit is the factor of its power of
// two (1 * x is x to the last bit). Which two factors make each one is
// fixed: looked up, not worked out at every flow of every valuation.
struct FactorSteps {
  uint8_t lower[kTabledPeriods + 1];
  uint8_t upper[kTabledPeriods + 1];
  constexpr FactorSteps() : lower(), upper() {
    uint32_t highest = 1;
    for (uint32_t periods = 2; periods <= kTabledPeriods; ++periods) {
      if ((periods & (periods - 1)) == 0) {
        lower[periods] = uint8_t(highest);
        highest = periods;
      } else {
        lower[periods] = uint8_t(periods - highest);
      }
      upper[periods] = uint8_t(periods == highest ? periods / 2 : highest);
    }
  }
};
constexpr FactorSteps kFactorSteps;

// Checked: each partial sum passes the result check, the first that does
// not failing the value; unchecked for flows whose sums cannot fail.
template <bool kChecked>
double PeriodicValueByTable(const CashFlows& flows, double q, uint8_t* error) {
  double factors[kTabledPeriods + 1];
  factors[1] = q;
  const uint32_t count = flows.count;
  const double* amounts = flows.amounts;
  double sum = 0.0;
  for (uint32_t periods = 1; periods <= count; ++periods) {
    if (periods > 1) factors[periods] = factors[kFactorSteps.lower[periods]] * factors[kFactorSteps.upper[periods]];
    sum += amounts[periods - 1] / factors[periods];
    if (kChecked && IsBadNumber(sum)) {
      *error = kErrorNum;
      return 0.0;
    }
  }
  return sum;
}

double PeriodicValue(const void* context, double rate, uint8_t* error) {
  const CashFlows& flows = *static_cast<const CashFlows*>(context);
  const double q = 1.0 + rate;
  return flows.count <= kTabledPeriods ? PeriodicValueByTable<true>(flows, q, error)
                                       : PeriodicValueBySquares(flows, q, error);
}

// PeriodicValue for flows OneRootValuation accepts (up to kTabledPeriods),
// at the rates it speaks of: no partial sum can fail there, so none is checked.
double PeriodicValueOfOneRoot(const void* context, double rate, uint8_t* error) {
  return PeriodicValueByTable<false>(*static_cast<const CashFlows*>(context), 1.0 + rate, error);
}

}  // namespace

void FnNpv(EvalState& state) {
  if (!BeginListCall(state, 2, EvalState::kStackSlots, 0x1u)) return;
  const uint16_t first = FirstArg(state);
  CashFlows flows;
  uint32_t error = ReadValueList(state, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(ArgCount(state) - 1), &flows);
  double rate = 0;
  error = LargerErrorOf(error, GetArgNumber(state, first, &rate, 0.0, kLargestDouble));
  uint8_t valueError = 0;
  const double value = error == kErrorNone ? PeriodicValue(&flows, rate, &valueError) : 0.0;
  SetNumberResult(state, value, LargerErrorOf(error, valueError));
}

void FnIrr(EvalState& state) {
  // The guess, last, applies element by element (within the first 32 positions).
  const uint16_t count = ArgCount(state);
  if (!BeginListCall(state, 2, EvalState::kStackSlots, count >= 2 && count <= 32 ? 1u << (count - 1) : 0u)) return;
  const uint16_t first = FirstArg(state);
  double guess = 0;
  uint32_t error = GetArgNumber(state, static_cast<uint16_t>(first + count - 1), &guess, 0.0, kLargestDouble);
  CashFlows flows;
  error = LargerErrorOf(error, ReadValueList(state, first, static_cast<uint16_t>(count - 1), &flows));
  double rate = 0;
  if (error == kErrorNone) {
    // Flows of one sign have no rate, nor have flows whose value keeps its
    // sign at every rate the search tries (the guess is not negative): the
    // search would widen its bracket to the end for nothing.
    const FlowSurvey survey = SurveyFlows(flows, kTabledPeriods);
    if (!survey.changesSign || survey.keepsSignAboveZeroRate) {
      error = kErrorNum;
    } else {
      // A guess past the first step would search rates the unchecked
      // valuation is not meant for.
      const bool oneRoot = survey.oneRoot && guess <= kFirstRateStep;
      const RateSearchResult found =
          oneRoot ? SearchRateOfOneRoot(PeriodicValueOfOneRoot, &flows, guess, survey.margin, survey.signBelowRoot)
                  : SearchRateNearGuess(PeriodicValue, &flows, guess);
      rate = found.rate;
      error = found.error;
    }
  }
  SetNumberResult(state, rate, error);
}

// One rate serves both to finance the outflows and to reinvest the inflows.
void FnMirr(EvalState& state) {
  if (!BeginElementCall(state, 2, 0x2u)) return;
  const uint16_t first = FirstArg(state);
  double rate = 0;
  const uint32_t rateError = GetArgNumber(state, static_cast<uint16_t>(first + 1), &rate, 0.0, kLargestDouble);
  ArgRange range;
  uint32_t error = LargerErrorOf(rateError, GetRequiredArgRange(state, first, &range));
  CashFlows flows;
  const bool readable = error == kErrorNone;
  if (readable) error = ReadFlowCells(state, first, range, &flows);
  ReleaseArgRange(state, range);
  double result = 0;
  // Fewer than two flows before the first error cell have no rate of return.
  if (readable && flows.count < 2) {
    error = kErrorDivZero;
  } else if (error == kErrorNone) {
    const int32_t n = static_cast<int32_t>(flows.count - 1);
    const double q = 1.0 + rate;
    double inflows = 0;
    double outflows = 0;
    for (int32_t i = 0; i <= n && error == kErrorNone; ++i) {
      const double v = flows.amounts[i];
      if (v >= 0)
        inflows += v * IntPow(q, n - i);
      else
        outflows += v / IntPow(q, i);
      if (IsBadNumber(inflows)) error = kErrorNum;
    }
    result = std::pow(inflows, 1.0 / n) / std::pow(-outflows, 1.0 / n) - 1.0;
  }
  SetNumberResult(state, result, error);
}

void FnFvSchedule(EvalState& state) {
  if (!BeginListCall(state, 2, EvalState::kStackSlots, 0x1u)) return;
  const uint16_t first = FirstArg(state);
  CashFlows rates;
  uint32_t error = ReadValueList(state, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(ArgCount(state) - 1), &rates);
  double value = 0;
  error = LargerErrorOf(error, GetArgNumber(state, first, &value, -kLargestDouble, kLargestDouble));
  for (uint32_t i = 0; i < rates.count && error == kErrorNone; ++i) {
    value *= 1.0 + rates.amounts[i];
    if (IsBadNumber(value)) error = kErrorNum;
  }
  SetNumberResult(state, value, error);
}
