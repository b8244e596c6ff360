#ifndef TALVERO_NUMERICS_BESSEL_INTEGER_ORDER_H
#define TALVERO_NUMERICS_BESSEL_INTEGER_ORDER_H

// Bessel functions of the first and second kind of integer order n >= 0,
// from the runtime library. The runtime's recurrences take one step per
// order, which for orders in the millions or billions keeps a call busy for
// seconds to minutes; above kBesselOrderLimit only what the order alone
// decides is answered.

#include <cstdint>

constexpr int32_t kBesselOrderLimit = 100000;

// J_n(x). Above the order limit: 0 where |J_n(x)| <= |x/2|^n / n! lies
// below the smallest normal double, else NaN (not computed).
double BesselJ(int32_t n, double x);
// Y_n(x): infinite or NaN at x <= 0 as the runtime gives it. Above the order
// limit NaN (it overflows for x below about n, and is not computed beyond).
double BesselY(int32_t n, double x);

#endif
