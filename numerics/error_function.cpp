#include "numerics/error_function.h"

#include <cmath>

#include "numerics/special_functions.h"

namespace {

constexpr double kTwoOverSqrtPi = 1.1283791670955126;
constexpr double kPi = 3.14159265358979323846;
// Below this erf(x) = 2x / sqrt(pi) to the last bit (the next term is
// x^2 / 3 of it), and x^2 would soon underflow.
constexpr double kLinearBelow = 1e-8;
// Beyond this erfc(x) is below the smallest double.
constexpr double kErfcVanishesBeyond = 27.3;

// x * x = square + the returned error exactly (Dekker's product), for
// |x| well below 1e150.
double SquareRoundingError(double x, double square) {
  const double split = 134217729.0 * x;  // 2^27 + 1
  const double high = split - (split - x);
  const double low = x - high;
  return ((high * high - square) + 2.0 * high * low) + low * low;
}

// Both tails for x >= 0.
void Tails(double x, double* erf, double* erfc) {
  if (x < kLinearBelow) {
    *erf = kTwoOverSqrtPi * x;
    *erfc = 1.0 - *erf;
    return;
  }
  if (x > kErfcVanishesBeyond) {
    *erf = 1.0;
    *erfc = 0.0;
    return;
  }
  const double m = x * x;
  double lower = 0.0;
  double upper = 0.0;
  GammaTails(0.5, m, &lower, &upper);
  // Far out, the rounding of x^2 shifts exp(-x^2) by x^2 ulps; the derivative
  // of Q(1/2, m), -exp(-m) / sqrt(pi m), takes it back.
  const double shift = SquareRoundingError(x, m) * std::exp(-m) / std::sqrt(kPi * m);
  *erf = lower + shift;
  *erfc = upper - shift;
}

}  // namespace

double Erf(double x) {
  double erf = 0.0;
  double erfc = 0.0;
  Tails(std::fabs(x), &erf, &erfc);
  return x < 0.0 ? -erf : erf;
}

double Erfc(double x) {
  double erf = 0.0;
  double erfc = 0.0;
  Tails(std::fabs(x), &erf, &erfc);
  return x < 0.0 ? 1.0 + erf : erfc;
}

double ErfBetween(double lower, double upper) {
  if (lower >= 0.0 && upper >= 0.0) return Erfc(lower) - Erfc(upper);
  if (lower <= 0.0 && upper <= 0.0) return Erfc(-upper) - Erfc(-lower);
  return Erf(upper) - Erf(lower);
}
