#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/annuity_formulas.h"
#include "functions/arg_readers.h"
#include "functions/cash_flows.h"
#include "functions/element_call.h"
#include "functions/finance_args.h"
#include "functions/fn_finance.h"
#include "functions/rate_search.h"

namespace {

constexpr double kDaysPerYear = 365.0;
// Below this the payments repay the present and future values at a rate of 0.
constexpr double kBalancedAnnuity = 1e-14;

// Each flow discounted to the first flow's date over its days in years of
// 365 days; a date before it gives a negative exponent.
double DatedValue(const void* context, double rate, uint8_t* error) {
  const CashFlows& flows = *static_cast<const CashFlows*>(context);
  double sum = 0.0;
  for (uint32_t i = 0; i < flows.count; ++i) {
    // A power of 0 is 1 for every base, and a division by 1 changes nothing:
    // the first flow's own date needs no power.
    const double days = flows.days[i];
    sum += days == 0.0 ? flows.amounts[i] : flows.amounts[i] / std::pow(1.0 + rate, days / kDaysPerYear);
    if (IsBadNumber(sum)) {
      *error = kErrorNum;
      return 0.0;
    }
  }
  return sum;
}

struct Annuity {
  int32_t nper;
  double pmt;
  double pv;
  double fv;
  int32_t type;
};

// What is left after the payments: 0 at the annuity's rate.
double AnnuityBalance(const void* context, double rate, uint8_t*) {
  const Annuity& a = *static_cast<const Annuity*>(context);
  const double growth = GrowthMinusOne(rate, a.nper);
  return (1.0 + rate * a.type) * a.pmt * growth / rate + (1.0 + growth) * a.pv + a.fv;
}

}  // namespace

void FnXnpv(EvalState& state) {
  if (!BeginElementCall(state, 3, 0x1u)) return;
  const uint16_t first = FirstArg(state);
  CashFlows flows;
  uint32_t error = ReadDatedFlows(state, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2), &flows);
  double rate = 0;
  error = LargerErrorOf(error, GetArgNumber(state, first, &rate, 0.0, kLargestDouble));
  uint8_t valueError = 0;
  const double value = error == kErrorNone ? DatedValue(&flows, rate, &valueError) : 0.0;
  SetNumberResult(state, value, LargerErrorOf(error, valueError));
}

void FnXirr(EvalState& state) {
  if (!BeginElementCall(state, 3, 0x0u)) return;
  const uint16_t first = FirstArg(state);
  double guess = 0;
  uint32_t error = GetArgNumber(state, static_cast<uint16_t>(first + 2), &guess, 0.0, kLargestDouble);
  CashFlows flows;
  error = LargerErrorOf(error, ReadDatedFlows(state, first, static_cast<uint16_t>(first + 1), &flows));
  double rate = 0;
  if (error == kErrorNone) {
    // Flows of one sign have no rate; the search would widen to its end.
    if (!flows.ChangesSign()) {
      error = kErrorNum;
    } else {
      const RateSearchResult found = SearchRateNearGuess(DatedValue, &flows, guess);
      rate = found.rate;
      error = found.error;
    }
  }
  SetNumberResult(state, rate, error);
}

void FnRate(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kPeriodsArg, kAmountArg, kAmountArg, kAmountArg, kTypeArg, kRateArg};
  double v[6];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 6, v, &error)) return;
  const Annuity annuity = {static_cast<int32_t>(v[0]), v[1], v[2], v[3], static_cast<int32_t>(v[4])};
  double rate = 0;
  if (error == kErrorNone && std::fabs(annuity.nper * annuity.pmt + annuity.pv + annuity.fv) > kBalancedAnnuity) {
    const RateSearchResult found = SearchAnnuityRate(AnnuityBalance, &annuity, v[5]);
    rate = found.rate;
    error = found.error;
  }
  SetNumberResult(state, rate, error);
}
