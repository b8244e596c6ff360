#include "charts/series/nice_limits.h"

#include <cmath>

#include "charts/series/axis_scale.h"
#include "core/base/result_check.h"

namespace {

constexpr double kSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
// Past the first step that covers the range, a few powers of ten always hold
// it; the bound only keeps a pathological range from searching on.
constexpr int kMaxExponentRise = 40;
// Log limits span at most about 2100 units (base 2 over all doubles); one
// division may need twice that.
constexpr int kMaxLogUnits = 8192;
// Beyond this 10^e is 0 or infinite.
constexpr int kMaxPowerOfTen = 400;

// Limits of n steps that contain [a, b], anchored at a step.
bool Place(double a, double b, double step, int n, double* low, double* high) {
  const double span = n * step;
  if (!(span >= b - a))
    return false;
  double lo;
  double hi;
  if (a < 0 && b <= 0) {
    hi = std::ceil(b / step) * step;
    lo = hi - span;
  } else {
    lo = std::floor(a / step) * step;
    hi = lo + span;
  }
  if (IsBadNumber(lo) || IsBadNumber(hi) || !(lo <= a && hi >= b))
    return false;
  *low = lo;
  *high = hi;
  return true;
}

}  // namespace

double PowerOfTen(int exponent) {
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude > kMaxPowerOfTen)
    return exponent < 0 ? 0.0 : HUGE_VAL;
  double power = 1.0;
  for (int i = 0; i < magnitude; ++i) power *= 10.0;
  return exponent < 0 ? 1.0 / power : power;
}

bool NiceLimits(double* minimum, double* maximum, uint16_t divisions, uint8_t scale) {
  const double a = *minimum;
  const double b = *maximum;
  const double range = b - a;
  if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(range))
    return false;
  // No divisions would leave a span of 0 that contains nothing.
  const int n = divisions > 1 ? divisions : 1;
  if (IsLogScale(scale)) {
    for (int unit = 1; unit <= kMaxLogUnits; ++unit)
      if (Place(a, b, unit, n, minimum, maximum))
        return true;
    return true;
  }
  int e = 0;
  if (a < b) {
    while (PowerOfTen(e) >= range) --e;
    while (PowerOfTen(e) * 10000 <= range) ++e;
  }
  for (int rise = 0; rise <= kMaxExponentRise; ++rise) {
    const double power = PowerOfTen(e + rise);
    for (double k : kSteps)
      if (Place(a, b, power * k, n, minimum, maximum))
        return true;
  }
  return true;
}
