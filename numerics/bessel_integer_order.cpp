#include "numerics/bessel_integer_order.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "numerics/special_functions.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

#ifdef _WIN32
// The Windows runtime's names, which its header hides in strict standard mode;
// its plain names are deprecated aliases.
extern "C" double _jn(int n, double x);
extern "C" double _yn(int n, double x);
#endif

double RuntimeJn(int n, double x) {
#ifdef _WIN32
  return _jn(n, x);
#else
  return jn(n, x);
#endif
}

double RuntimeYn(int n, double x) {
#ifdef _WIN32
  return _yn(n, x);
#else
  return yn(n, x);
#endif
}

}  // namespace

double BesselJ(int32_t n, double x) {
  if (n <= kBesselOrderLimit) return RuntimeJn(n, x);
  const double ax = std::fabs(x);
  if (ax == 0.0) return 0.0;
  const double logBound = n * std::log(ax / 2.0) - LnGamma(n + 1.0);
  return logBound < std::log(DBL_MIN) ? 0.0 : kNaN;
}

double BesselY(int32_t n, double x) { return n <= kBesselOrderLimit ? RuntimeYn(n, x) : kNaN; }
