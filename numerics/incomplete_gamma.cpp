#include <cfloat>
#include <cmath>
#include <limits>

#include "numerics/saddle_point.h"
#include "numerics/special_functions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Terms beyond this share of the sum no longer change it.
constexpr double kRelativeTerm = 1e-17;
constexpr double kTiny = 1e-300;

// Both the series and the fraction need about sqrt(a) steps where x is
// close to a; the bound is generous and still ends every call quickly.
int StepLimit(double a) { return 1000 + static_cast<int>(20.0 * std::sqrt(std::fmin(a, 1e12))); }

bool Fail(double* lower, double* upper) {
  *lower = kNaN;
  *upper = kNaN;
  return false;
}

}  // namespace

double LnGamma(double x) { return x > 0.0 ? std::lgamma(x) : kNaN; }

bool GammaTails(double a, double x, double* lower, double* upper) {
  if (!(a > 0.0) || std::isinf(a) || std::isnan(x)) return Fail(lower, upper);
  if (x <= 0.0) {
    *lower = 0.0;
    *upper = 1.0;
    return true;
  }
  if (std::isinf(x)) {
    *lower = 1.0;
    *upper = 0.0;
    return true;
  }
  const int limit = StepLimit(a);
  if (x < a + 1.0) {
    // P(a, x) = x^a e^-x / Gamma(a + 1) * sum of x^n / ((a + 1) ... (a + n)).
    double term = 1.0;
    double sum = 1.0;
    int n = 1;
    for (; n <= limit; ++n) {
      term *= x / (a + n);
      sum += term;
      if (term < kRelativeTerm * sum) break;
    }
    if (n > limit) return Fail(lower, upper);
    *lower = PoissonTerm(a, x) * sum;
    *upper = 1.0 - *lower;
    return true;
  }
  // Q(a, x) = x^a e^-x / Gamma(a) times the continued fraction
  // 1/(x + 1 - a - 1(1 - a)/(x + 3 - a - 2(2 - a)/(x + 5 - a - ...))),
  // evaluated by the modified Lentz method.
  double b = x + 1.0 - a;
  double c = 1.0 / kTiny;
  double d = 1.0 / b;
  double h = d;
  int i = 1;
  for (; i <= limit; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double step = d * c;
    h *= step;
    if (std::fabs(step - 1.0) < 4.0 * DBL_EPSILON) break;
  }
  if (i > limit) return Fail(lower, upper);
  *upper = a * PoissonTerm(a, x) * h;
  *lower = 1.0 - *upper;
  return true;
}

double IncompleteGamma(double a, double x) {
  double lower = 0.0;
  double upper = 0.0;
  GammaTails(a, x, &lower, &upper);
  return lower;
}
