#include "functions/annuity_formulas.h"

#include <cmath>

namespace {

bool IsZeroRate(double rate) { return 1.0 + rate == 1.0; }

}  // namespace

double GrowthMinusOne(double rate, int32_t n) {
  uint32_t bits = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  double result = 0.0;
  double square = rate;
  while (bits != 0) {
    if (bits & 1u) result += square + result * square;
    bits >>= 1;
    if (bits != 0) square *= 2.0 + square;
  }
  return n < 0 ? -result / (1.0 + result) : result;
}

double AnnuityPayment(double rate, int32_t nper, double pv, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + fv) / nper;
  const double growth = GrowthMinusOne(rate, nper);
  return -(pv * (1.0 + growth) + fv) * rate / (growth * (1.0 + rate * type));
}

double AnnuityFutureValue(double rate, int32_t nper, double pmt, double pv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + pmt * nper);
  const double growth = GrowthMinusOne(rate, nper);
  return -(pv * (1.0 + growth) + pmt * (1.0 + rate * type) * growth / rate);
}

double AnnuityPresentValue(double rate, int32_t nper, double pmt, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pmt * nper + fv);
  const double growth = GrowthMinusOne(rate, nper);
  return -(pmt * (1.0 + rate * type) * growth / rate + fv) / (1.0 + growth);
}

double AnnuityPeriods(double rate, double pmt, double pv, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + fv) / pmt;
  const double a = pmt * (1.0 + rate * type) / rate;
  // A ratio that is not positive has no logarithm: no number of periods
  // reaches fv.
  const double ratio = (a - fv) / (a + pv);
  if (!(ratio > 0.0)) return NAN;
  return std::log(ratio) / std::log1p(rate);
}

// The balance before period per is (pv q^(per-1) (q^(nper-per+1) - 1) -
// fv (q^(per-1) - 1)) / (q^nper - 1): no difference of large terms when fv
// is 0.
double AnnuityInterest(double rate, int32_t per, int32_t nper, double pv, double fv) {
  if (IsZeroRate(rate)) return 0.0;
  const double before = GrowthMinusOne(rate, per - 1);
  const double balance = pv * (1.0 + before) * GrowthMinusOne(rate, nper - per + 1) - fv * before;
  return -rate * balance / GrowthMinusOne(rate, nper);
}

// The principal parts grow by q each period from -rate (pv + fv) / (q^nper - 1).
double AnnuityPrincipal(double rate, int32_t per, int32_t nper, double pv, double fv, int32_t type) {
  if (IsZeroRate(rate)) return -(pv + fv) / nper;
  if (type == 1 && per == 1) return AnnuityPayment(rate, nper, pv, fv, type);
  const double growth = GrowthMinusOne(rate, per - 1 - type);
  return -rate * (pv + fv) * (1.0 + growth) / GrowthMinusOne(rate, nper);
}
