#include <cmath>

#include "core/base/error_code.h"
#include "functions/annuity_formulas.h"
#include "functions/arg_readers.h"
#include "functions/finance_args.h"
#include "functions/fn_finance.h"

namespace {

int32_t Int(double value) { return static_cast<int32_t>(value); }

// CUMIPMT and CUMPRINC: a loan of pv over nper payments in arrears, and
// the periods start .. end of it.
enum class CumulativePart { kInterest, kPrincipal };

void Cumulative(EvalState& state, CumulativePart part) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg, kRateArg, kCountArg, kCountArg};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  const double rate = v[0];
  const int32_t nper = Int(v[1]);
  const double pv = v[2];
  const int32_t start = Int(v[3]);
  const int32_t end = Int(v[4]);
  if (error == kErrorNone && (start > nper || end > nper)) error = kErrorValue;
  double result = 0.0;
  if (error == kErrorNone && start <= end) {
    // The principal parts are pv rate q^(k-1) / (q^nper - 1), so both sums
    // over the periods have closed forms: no loop over up to 2^31 periods.
    const double periods = double(end) - start + 1.0;
    const double payment = -AnnuityPayment(rate, nper, pv, 0.0, 0);
    double principal = periods * payment;
    if (1.0 + rate != 1.0)
      principal = pv * (1.0 + GrowthMinusOne(rate, start - 1)) * GrowthMinusOne(rate, end - start + 1) /
                  GrowthMinusOne(rate, nper);
    result = part == CumulativePart::kPrincipal ? -principal : -(periods * payment - principal);
  }
  SetNumberResult(state, result, error);
}

}  // namespace

void FnPmt(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg, kAmountArg, kAmountArg, kTypeArg};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : AnnuityPayment(v[0], Int(v[1]), v[2], v[3], Int(v[4])), error);
}

void FnPv(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg, kAmountArg, kAmountArg, kTypeArg};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : AnnuityPresentValue(v[0], Int(v[1]), v[2], v[3], Int(v[4])), error);
}

void FnFv(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg, kAmountArg, kAmountArg, kTypeArg};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : AnnuityFutureValue(v[0], Int(v[1]), v[2], v[3], Int(v[4])), error);
}

void FnNper(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kAmountArg, kAmountArg, kAmountArg, kTypeArg};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : AnnuityPeriods(v[0], v[1], v[2], v[3], Int(v[4])), error);
}

// Payments in arrears: IPMT takes no type.
void FnIpmt(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg, kPeriodsArg, kAmountArg, kAmountArg};
  double v[5];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 5, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : AnnuityInterest(v[0], Int(v[1]), Int(v[2]), v[3], v[4]), error);
}

void FnPpmt(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg, kPeriodsArg, kAmountArg, kAmountArg, kTypeArg};
  double v[6];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 6, v, &error)) return;
  SetNumberResult(state, error ? 0.0 : AnnuityPrincipal(v[0], Int(v[1]), Int(v[2]), v[3], v[4], Int(v[5])), error);
}

void FnCumIpmt(EvalState& state) { Cumulative(state, CumulativePart::kInterest); }
void FnCumPrinc(EvalState& state) { Cumulative(state, CumulativePart::kPrincipal); }

void FnEffect(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg};
  double v[2];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 2, v, &error)) return;
  const int32_t nper = Int(v[1]);
  SetNumberResult(state, error || nper == 0 ? 0.0 : GrowthMinusOne(v[0] / nper, nper), error);
}

void FnNominal(EvalState& state) {
  static constexpr ScalarArg kArgs[] = {kRateArg, kPeriodsArg};
  double v[2];
  uint32_t error = kErrorNone;
  if (!BeginFinanceCall(state, kArgs, 2, v, &error)) return;
  // The root of 1 + rate less 1, without the cancellation of subtracting 1;
  // no periods leave a rate of 0 unchanged and make any other infinite.
  const double nper = v[1];
  double result = 0.0;
  if (error == kErrorNone) result = nper == 0 ? (v[0] == 0 ? 0.0 : NAN) : std::expm1(std::log1p(v[0]) / nper) * nper;
  SetNumberResult(state, result, error);
}
