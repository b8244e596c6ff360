#include "functions/annuity_formulas.h"

#include <cmath>

#include "functions/int_pow.h"

namespace {

bool IsZeroRate(double rate) { return 1.0 + rate == 1.0; }

}  // namespace

double AnnuityPayment(double rate, int32_t nper, double pv, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + fv) / nper;
  const double growth = IntPow(1.0 + rate, nper);
  return -(pv * growth + fv) * rate / ((growth - 1.0) * (1.0 + rate * type));
}

double AnnuityFutureValue(double rate, int32_t nper, double pmt, double pv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + pmt * nper);
  const double growth = IntPow(1.0 + rate, nper);
  return -(pv * growth + pmt * (1.0 + rate * type) * (growth - 1.0) / rate);
}

double AnnuityPresentValue(double rate, int32_t nper, double pmt, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pmt * nper + fv);
  const double growth = IntPow(1.0 + rate, nper);
  return -(pmt * (1.0 + rate * type) * (growth - 1.0) / rate + fv) / growth;
}

double AnnuityPeriods(double rate, double pmt, double pv, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + fv) / pmt;
  const double a = pmt * (1.0 + rate * type) / rate;
  // A negative ratio has no logarithm: no number of periods reaches fv.
  const double ratio = (a - fv) / (a + pv);
  if (!(ratio > 0.0)) return NAN;
  return std::log(ratio) / std::log(1.0 + rate);
}

double AnnuityInterest(double rate, int32_t per, int32_t nper, double pv, double fv, int32_t type) {
  if (IsZeroRate(rate)) return 0.0;
  const double pmt = AnnuityPayment(rate, nper, pv, fv, type);
  // A payment at the beginning of the first period comes before any interest.
  if (type == 1) {
    if (per == 1) return 0.0;
    return rate * (AnnuityFutureValue(rate, per - 2, pmt, pv, 1) - pmt);
  }
  return rate * AnnuityFutureValue(rate, per - 1, pmt, pv, 0);
}
