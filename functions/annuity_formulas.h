#ifndef TALVERO_FUNCTIONS_ANNUITY_FORMULAS_H
#define TALVERO_FUNCTIONS_ANNUITY_FORMULAS_H

// The closed formulas of an annuity: a present value pv, nper equal payments
// pmt at the end (type 0) or the beginning (type 1) of each period, and a
// future value fv left after the last payment, at a rate per period. Money
// paid out is negative. When 1 + rate rounds to 1 the formulas divide 0 by
// 0, so they take their limits for a rate of 0 instead. Results may be
// infinite or NaN; the caller's result check turns them into "#NUM!".

#include <cstdint>

// (1 + rate)^n - 1 by repeated squaring, without subtracting 1 from the
// power: 1 + rate loses the low digits of a small rate, and the difference
// of the power and 1 would show that loss many times enlarged.
double GrowthMinusOne(double rate, int32_t n);

double AnnuityPayment(double rate, int32_t nper, double pv, double fv, int32_t type);
double AnnuityFutureValue(double rate, int32_t nper, double pmt, double pv, int32_t type);
double AnnuityPresentValue(double rate, int32_t nper, double pmt, double fv, int32_t type);
double AnnuityPeriods(double rate, double pmt, double pv, double fv, int32_t type);
// The interest part of the payment of period per, payments in arrears: the
// interest on the balance that the earlier payments left.
double AnnuityInterest(double rate, int32_t per, int32_t nper, double pv, double fv);
// The principal part of the payment of period per, so that the interest
// and principal parts add up to the payment. A payment at the beginning of
// the first period comes before any interest and is principal only.
double AnnuityPrincipal(double rate, int32_t per, int32_t nper, double pv, double fv, int32_t type);

#endif
