#include <cfloat>
#include <cmath>
#include <limits>

#include "numerics/saddle_point.h"
#include "numerics/special_functions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTiny = 1e-300;

// The fraction converges in about sqrt(max(a, b)) steps on the side of the
// mean where it is used.
int StepLimit(double a, double b) {
  return 1000 + static_cast<int>(20.0 * std::sqrt(std::fmin(std::fmax(a, b), 1e12)));
}

// The continued fraction of I_x(a, b) / (x^a y^b / (a B(a, b))), by the
// modified Lentz method; NaN without convergence.
double BetaFraction(double a, double b, double x) {
  const double sum = a + b;
  const double aPlus = a + 1.0;
  const double aMinus = a - 1.0;
  double c = 1.0;
  double d = 1.0 - sum * x / aPlus;
  if (std::fabs(d) < kTiny) d = kTiny;
  d = 1.0 / d;
  double h = d;
  const int limit = StepLimit(a, b);
  for (int m = 1; m <= limit; ++m) {
    const int m2 = 2 * m;
    double coefficient = m * (b - m) * x / ((aMinus + m2) * (a + m2));
    d = 1.0 + coefficient * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1.0 + coefficient / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    h *= d * c;
    coefficient = -(a + m) * (sum + m) * x / ((a + m2) * (aPlus + m2));
    d = 1.0 + coefficient * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1.0 + coefficient / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double step = d * c;
    h *= step;
    if (std::fabs(step - 1.0) < 4.0 * DBL_EPSILON) return h;
  }
  return kNaN;
}

// I_x(a, b) on the side where the fraction converges. The factor
// x^a y^b / B(a, b) is a binomial term, free of overflow and of the
// cancellation between log-gammas of large parameters.
double LowerTailByFraction(double a, double b, double x, double y) {
  return BinomialTerm(a, a + b, x, y) * (b / (a + b)) * BetaFraction(a, b, x);
}

}  // namespace

bool BetaTails(double a, double b, double x, double y, double* lower, double* upper) {
  if (!(a > 0.0) || !(b > 0.0) || std::isinf(a) || std::isinf(b) || std::isnan(x) || std::isnan(y)) {
    *lower = kNaN;
    *upper = kNaN;
    return false;
  }
  if (x <= 0.0 || y <= 0.0) {
    *lower = x <= 0.0 ? 0.0 : 1.0;
    *upper = 1.0 - *lower;
    return true;
  }
  if (x < (a + 1.0) / (a + b + 2.0)) {
    *lower = LowerTailByFraction(a, b, x, y);
    *upper = 1.0 - *lower;
  } else {
    *upper = LowerTailByFraction(b, a, y, x);
    *lower = 1.0 - *upper;
  }
  return !std::isnan(*lower);
}

double IncompleteBeta(double a, double b, double x) {
  double lower = 0.0;
  double upper = 0.0;
  BetaTails(a, b, x, 1.0 - x, &lower, &upper);
  return lower;
}
