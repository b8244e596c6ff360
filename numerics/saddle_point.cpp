#include "numerics/saddle_point.h"

#include <cmath>

namespace {

constexpr double kLnSqrtTwoPi = 0.91893853320467274178;
constexpr double kLnTwoPi = 1.8378770664093454836;
constexpr double kTwoPi = 6.2831853071795864769;

// Below 16 the definition itself is exact enough: its rounding error is
// absolute, and the error enters the callers as an exponent.
double StirlingErrorByDefinition(double n) {
  if (n == 0.0) return 0.0;
  return std::lgamma(n + 1.0) - (n + 0.5) * std::log(n) + n - kLnSqrtTwoPi;
}

// The t, F and beta distributions ask again and again for half-integers
// (half their degrees of freedom): those up to 15 are computed once, by the
// definition itself, so that they keep their bits.
struct HalfIntegerStirlingErrors {
  double values[31];
  HalfIntegerStirlingErrors() {
    for (int i = 0; i < 31; ++i) values[i] = StirlingErrorByDefinition(0.5 * i);
  }
};

// The same callers scale their terms by logarithms of half-integers (a
// count, the rest of the total, the total): those up to 64 are taken once
// from the library itself, so that they keep their bits.
constexpr int kHalfIntegerLogs = 129;

struct HalfIntegerLogs {
  double values[kHalfIntegerLogs];
  HalfIntegerLogs() {
    values[0] = 0.0;  // never handed out
    for (int i = 1; i < kHalfIntegerLogs; ++i) values[i] = std::log(0.5 * i);
  }
};

}  // namespace

double StirlingError(double n) {
  if (n <= 15.0) {
    // Made at the first call, whatever the order of static initialisation.
    static const HalfIntegerStirlingErrors halfIntegers;
    const double twice = n + n;
    if (twice >= 0.0 && twice == static_cast<double>(static_cast<int>(twice)))
      return halfIntegers.values[static_cast<int>(twice)];
    return StirlingErrorByDefinition(n);
  }
  constexpr double s0 = 1.0 / 12.0;
  constexpr double s1 = 1.0 / 360.0;
  constexpr double s2 = 1.0 / 1260.0;
  constexpr double s3 = 1.0 / 1680.0;
  constexpr double s4 = 1.0 / 1188.0;
  const double nn = n * n;
  if (n > 500.0) return (s0 - s1 / nn) / n;
  if (n > 80.0) return (s0 - (s1 - s2 / nn) / nn) / n;
  if (n > 35.0) return (s0 - (s1 - (s2 - s3 / nn) / nn) / nn) / n;
  return (s0 - (s1 - (s2 - (s3 - s4 / nn) / nn) / nn) / nn) / n;
}

double DevianceTerm(double x, double m) {
  if (std::fabs(x - m) < 0.1 * (x + m)) {
    // The series in v = (x - m)/(x + m); its terms fall by v^2 < 0.0082,
    // so 400 of them reach any precision.
    double v = (x - m) / (x + m);
    double sum = (x - m) * v;
    double term = 2.0 * x * v;
    v *= v;
    for (int j = 1; j < 400; ++j) {
      term *= v;
      const double next = sum + term / (2 * j + 1);
      if (next == sum) return next;
      sum = next;
    }
    return sum;
  }
  return x * std::log(x / m) + m - x;
}

double BinomialTerm(double k, double n, double p, double q) {
  if (p == 0.0) return k == 0.0 ? 1.0 : 0.0;
  if (q == 0.0) return k == n ? 1.0 : 0.0;
  if (k == 0.0) {
    if (n == 0.0) return 1.0;
    return std::exp(p < 0.1 ? -DevianceTerm(n, n * q) - n * p : n * std::log(q));
  }
  if (k == n) return std::exp(q < 0.1 ? -DevianceTerm(n, n * p) - n * q : n * std::log(p));
  if (k < 0.0 || k > n) return 0.0;
  const double exponent = StirlingError(n) - StirlingError(k) - StirlingError(n - k) - DevianceTerm(k, n * p) -
                          DevianceTerm(n - k, n * q);
  // ln(2 pi k (n - k) / n); n - k is formed first, since 1 - k/n loses the
  // digits of a small n - k.
  const double lnScale = kLnTwoPi + LogOfCount(k) + LogOfCount(n - k) - LogOfCount(n);
  return std::exp(exponent - 0.5 * lnScale);
}

double LogOfCount(double n) {
  const double twice = n + n;
  if (twice >= 1.0 && twice < double(kHalfIntegerLogs) && twice == static_cast<double>(static_cast<int>(twice))) {
    // Made at the first call, whatever the order of static initialisation.
    static const HalfIntegerLogs halfIntegers;
    return halfIntegers.values[static_cast<int>(twice)];
  }
  return std::log(n);
}

double PoissonTerm(double x, double m) {
  if (m == 0.0) return x == 0.0 ? 1.0 : 0.0;
  if (x == 0.0) return std::exp(-m);
  if (x < 0.0) return 0.0;
  return std::exp(-StirlingError(x) - DevianceTerm(x, m)) / std::sqrt(kTwoPi * x);
}
