#include "numerics/continuous_cdfs.h"

#include <cmath>
#include <limits>

#include "numerics/saddle_point.h"
#include "numerics/special_functions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = 3.14159265358979323846;

}  // namespace

double StdNormalCdf(double z) {
  if (std::isnan(z)) return kNaN;
  // Half of the chi-square tail of z^2 with one degree of freedom; the tail
  // on z's side is taken directly so that it keeps its digits far out.
  double lower = 0.0;
  double upper = 0.0;
  if (!GammaTails(0.5, 0.5 * z * z, &lower, &upper)) return kNaN;
  return z < 0.0 ? 0.5 * upper : 0.5 + 0.5 * lower;
}

double NormalCdf(double x, double mean, double deviation) {
  if (!(deviation > 0.0)) return kNaN;
  return StdNormalCdf((x - mean) / deviation);
}

double ChiSquareCdf(double x, double n) {
  if (!(n >= 1.0)) return kNaN;
  return IncompleteGamma(0.5 * n, 0.5 * x);
}

double StudentTCdf(double t, double n) {
  if (!(n >= 1.0) || std::isnan(t)) return kNaN;
  if (n == 1.0) {
    // Cauchy: the tail beyond |t| is atan(1/|t|)/pi, which keeps its digits
    // where t^2 overflows (and the tail is still far above the smallest
    // double).
    const double tail = std::atan2(1.0, std::fabs(t)) / kPi;
    return t < 0.0 ? tail : 1.0 - tail;
  }
  // The tail beyond |t| is I_w(n/2, 1/2) / 2 with w = n / (n + t^2); w and
  // 1 - w are formed apart so that neither loses digits.
  const double ratio = n / (t * t);  // infinite at t = 0
  const double w = std::isinf(ratio) ? 1.0 : ratio / (1.0 + ratio);
  const double oneMinusW = 1.0 / (1.0 + ratio);
  double lower = 0.0;
  double upper = 0.0;
  if (!BetaTails(0.5 * n, 0.5, w, oneMinusW, &lower, &upper)) return kNaN;
  const double tail = 0.5 * lower;
  return t < 0.0 ? tail : 1.0 - tail;
}

double FDistCdf(double x, double d1, double d2) {
  if (!(d1 >= 1.0) || !(d2 >= 1.0) || std::isnan(x)) return kNaN;
  if (x <= 0.0) return 0.0;
  if (std::isinf(x)) return 1.0;
  // I_z(d1/2, d2/2) with z = d1 x / (d1 x + d2).
  const double scaled = d1 * x;
  if (std::isinf(scaled)) return 1.0;
  double lower = 0.0;
  double upper = 0.0;
  if (!BetaTails(0.5 * d1, 0.5 * d2, scaled / (scaled + d2), d2 / (scaled + d2), &lower, &upper)) return kNaN;
  return lower;
}

double FDensity(double x, double d1, double d2) {
  if (!(d1 >= 1.0) || !(d2 >= 1.0) || std::isnan(x)) return kNaN;
  if (x <= 0.0 || std::isinf(x)) return 0.0;
  // The density as a binomial term in p = d1 x / (d2 + d1 x), q = 1 - p,
  // which stays finite where the powers and gamma functions overflow.
  const double f = 1.0 / (d2 + x * d1);
  const double q = d2 * f;
  const double p = x * d1 * f;
  if (d1 >= 2.0) return d1 * q / 2.0 * BinomialTerm((d1 - 2.0) / 2.0, (d1 + d2 - 2.0) / 2.0, p, q);
  return d1 * d1 * q / (2.0 * p * (d1 + d2)) * BinomialTerm(d1 / 2.0, (d1 + d2) / 2.0, p, q);
}
