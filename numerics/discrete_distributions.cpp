#include "numerics/discrete_distributions.h"

#include <cmath>
#include <limits>

#include "numerics/saddle_point.h"
#include "numerics/special_functions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

double BinomialDensity(double s, double n, double p) {
  if (s > n) return 0.0;
  return BinomialTerm(s, n, p, 1.0 - p);
}

double BinomialCdf(double s, double n, double p) {
  if (s < 0.0) return 0.0;
  if (s >= n || p == 0.0) return 1.0;
  if (p == 1.0) return 0.0;
  // P(X <= s) = I_{1-p}(n - s, s + 1).
  double lower = 0.0;
  double upper = 0.0;
  if (!BetaTails(n - s, s + 1.0, 1.0 - p, p, &lower, &upper)) return kNaN;
  return lower;
}

double CriticalBinomial(double n, double p, double alpha) {
  if (alpha >= 1.0) return n;
  double lo = 0.0;
  double hi = n;
  // The cumulative probability rises with k; at most 32 halvings.
  while (lo < hi) {
    const double middle = std::floor(lo + (hi - lo) / 2.0);
    const double cdf = BinomialCdf(middle, n, p);
    if (std::isnan(cdf)) return -2.0;
    if (cdf >= alpha)
      hi = middle;
    else
      lo = middle + 1.0;
  }
  return BinomialCdf(lo, n, p) >= alpha ? lo : -1.0;
}

double PoissonDensity(double x, double m) {
  const double whole = std::floor(x);
  const double term = PoissonTerm(whole, m);
  return x == whole ? term : term * std::pow(m, x - whole);
}

double PoissonCdf(double x, double m) {
  // P(X <= k) = Q(k + 1, m).
  double lower = 0.0;
  double upper = 0.0;
  if (!GammaTails(std::floor(x) + 1.0, m, &lower, &upper)) return kNaN;
  return upper;
}

double HypergeometricDensity(double k, double m, double successes, double population) {
  if (m > population) return kNaN;
  const double failures = population - successes;
  if (k > successes || k > m || m - k > failures) return 0.0;
  // C(K, k) C(N - K, m - k) / C(N, m) as three binomial terms of the same
  // probability m / N, whose powers cancel.
  if (population == 0.0) return 1.0;
  const double p = m / population;
  const double q = (population - m) / population;
  return BinomialTerm(k, successes, p, q) * BinomialTerm(m - k, failures, p, q) / BinomialTerm(m, population, p, q);
}
