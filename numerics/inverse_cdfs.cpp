#include "numerics/inverse_cdfs.h"

#include <cmath>
#include <limits>

#include "numerics/continuous_cdfs.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kLargest = 1.7976931348623157e308;
constexpr double kFarQuantile = 1e10;
// Doubling from the narrowest start interval (TINV's [0, p] with p near the
// smallest double) reaches the largest doubles in about 2050 moves.
constexpr int kBracketMoves = 2100;
// Enough halvings to walk from the widest bracket down to adjacent doubles.
constexpr int kBisections = 2200;

// The inverse of a gap from the start interval; NaN when no bracket exists.
double InvertGap(double lo, double hi, CdfGap gap, double p, double j, double k, double tolerance) {
  if (!ExpandBracket(&lo, &hi, gap, p, j, k)) return kNaN;
  return BisectRoot(lo, hi, gap, p, j, k, tolerance);
}

bool SameSide(double a, double b) { return std::signbit(a) == std::signbit(b); }

}  // namespace

double StudentTCdfGap(double x, double p, double j, double) { return p - StudentTCdf(x, j); }
double StdNormalCdfGap(double x, double p, double, double) { return p - StdNormalCdf(x); }
double NormalCdfGap(double x, double p, double, double) { return p - NormalCdf(x, 0.0, 1.0); }
double ChiSquareCdfGap(double x, double p, double j, double) { return p - ChiSquareCdf(x, j); }
double FDistCdfGap(double x, double p, double j, double k) { return p - FDistCdf(x, j, k); }

bool ExpandBracket(double* lo, double* hi, CdfGap gap, double p, double j, double k) {
  if (*hi == *lo) *hi = *lo + 1.0;
  double gapLo = gap(*lo, p, j, k);
  double gapHi = gap(*hi, p, j, k);
  for (int move = 0; move < kBracketMoves; ++move) {
    if (std::isnan(gapLo) || std::isnan(gapHi)) return false;
    if (gapLo == 0.0 || gapHi == 0.0 || !SameSide(gapLo, gapHi)) return true;
    // Every gap is p minus a rising cumulative: a gap above 0 at both ends
    // puts the root above the bracket, whatever the gaps' sizes (far in a
    // tail both ends round to the same gap).
    if (gapLo < 0.0) {
      const double oldLo = *lo;
      *lo = oldLo + 2.0 * (oldLo - *hi);
      *hi = oldLo;
      gapHi = gapLo;
      gapLo = gap(*lo, p, j, k);
    } else {
      const double oldHi = *hi;
      *hi = oldHi + 2.0 * (oldHi - *lo);
      *lo = oldHi;
      gapLo = gapHi;
      gapHi = gap(*hi, p, j, k);
    }
    if (std::isinf(*lo) || std::isinf(*hi)) return false;
  }
  return false;
}

double BisectRoot(double lo, double hi, CdfGap gap, double p, double j, double k, double tolerance) {
  double gapLo = gap(lo, p, j, k);
  double gapHi = gap(hi, p, j, k);
  double middle = lo;
  for (int i = 0; i < kBisections; ++i) {
    if (std::isnan(gapLo) || std::isnan(gapHi)) return kNaN;
    if (gapLo == 0.0) return lo;
    if (gapHi == 0.0) return hi;
    // Halves first: the ends may lie near the largest double.
    middle = lo / 2.0 + hi / 2.0;
    if (std::fabs(hi - lo) < tolerance * std::fabs(middle) || middle == lo || middle == hi) return middle;
    const double gapMiddle = gap(middle, p, j, k);
    if (std::isnan(gapMiddle)) return kNaN;
    if (gapMiddle == 0.0) return middle;
    if (SameSide(gapMiddle, gapLo)) {
      lo = middle;
      gapLo = gapMiddle;
    } else {
      hi = middle;
      gapHi = gapMiddle;
    }
  }
  return middle;
}

double StudentTInv(double p, double n) {
  if (p >= 1.0) return kLargest;
  if (p <= 0.0) return -kLargest;
  return InvertGap(0.0, p, StudentTCdfGap, p, n, 0.0, 1e-6);
}

double StdNormalInv(double p) {
  if (p >= 1.0) return kLargest;
  if (p <= 0.0) return -kLargest;
  return InvertGap(0.0, 0.1, StdNormalCdfGap, p, 0.0, 0.0, 1e-8);
}

double NormalInv(double p, double mean, double deviation) {
  if (p >= 1.0) return kFarQuantile;
  if (p <= 0.0) return -kFarQuantile;
  return mean + deviation * InvertGap(0.0, 0.1, NormalCdfGap, p, 0.0, 0.0, 1e-8);
}

double ChiSquareInv(double p, double n) {
  if (p >= 1.0) return kFarQuantile;
  if (p <= 0.0) return 0.0;
  return InvertGap(n / 2.0, n, ChiSquareCdfGap, p, n, 0.0, 1e-8);
}

double FDistInv(double p, double d1, double d2) {
  if (p >= 1.0) return kFarQuantile;
  if (p <= 0.0) return 0.0;
  return InvertGap(0.0, p, FDistCdfGap, p, d1, d2, 1e-8);
}
