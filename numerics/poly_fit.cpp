#include "numerics/poly_fit.h"

#include <cmath>
#include <limits>

#include "functions/int_pow.h"
#include "numerics/inverse_cdfs.h"
#include "numerics/linear_algebra.h"

bool PolyRegressionKernel(const Matrix& t, const Matrix& y, const Matrix& sy, int32_t n, int32_t r, Matrix& x,
                          Matrix& b, Matrix& f, Matrix& chi2) {
  Matrix weights;
  if (!weights.Resize(uint32_t(n), 1)) return false;
  double* w = weights.Doubles();
  double total = 0.0;
  double weightedT = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    w[i - 1] = 1.0 / (sy(i, 1) * sy(i, 1));
    total += w[i - 1];
    weightedT += w[i - 1] * t(i, 1);
  }
  const double mean = weightedT / total;
  for (int32_t j = 1; j <= r; ++j)
    for (int32_t k = 1; k <= r; ++k) b(j, k) = 0.0;
  b(1, 1) = 1.0 / std::sqrt(total);
  for (int32_t i = 1; i <= n; ++i) f(i, 1) = b(1, 1);
  if (r >= 2) {
    double spread = 0.0;
    for (int32_t i = 1; i <= n; ++i) spread += w[i - 1] * (t(i, 1) - mean) * (t(i, 1) - mean);
    b(2, 2) = 1.0 / std::sqrt(spread);
    b(2, 1) = -b(2, 2) * mean;
    for (int32_t i = 1; i <= n; ++i) f(i, 2) = b(2, 1) + b(2, 2) * t(i, 1);
  }
  // Three-term recurrence: each new polynomial is t f_j made orthogonal to
  // f_j and f_(j-1), which is enough for all lower ones.
  for (int32_t j = 2; j <= r - 1; ++j) {
    double g = 0.0;
    double d = 0.0;
    for (int32_t i = 1; i <= n; ++i) {
      g += w[i - 1] * t(i, 1) * f(i, j) * f(i, j);
      d += w[i - 1] * t(i, 1) * f(i, j) * f(i, j - 1);
    }
    double norm = 0.0;
    for (int32_t i = 1; i <= n; ++i) {
      const double u = (t(i, 1) - g) * f(i, j) - d * f(i, j - 1);
      f(i, j + 1) = u;
      norm += w[i - 1] * u * u;
    }
    const double s = 1.0 / std::sqrt(norm);
    for (int32_t i = 1; i <= n; ++i) f(i, j + 1) *= s;
    for (int32_t k = 1; k <= j + 1; ++k) {
      const double shifted = k > 1 ? b(j, k - 1) : 0.0;
      const double same = k <= j ? b(j, k) : 0.0;
      const double below = k <= j - 1 ? b(j - 1, k) : 0.0;
      b(j + 1, k) = s * (shifted - g * same - d * below);
    }
  }
  for (int32_t j = 1; j <= r; ++j) {
    double sum = 0.0;
    for (int32_t i = 1; i <= n; ++i) sum += w[i - 1] * y(i, 1) * f(i, j);
    x(j, 1) = sum;
    double squares = 0.0;
    for (int32_t i = 1; i <= n; ++i) {
      double fitted = 0.0;
      for (int32_t q = 1; q <= j; ++q) fitted += x(q, 1) * f(i, q);
      const double residual = y(i, 1) - fitted;
      squares += w[i - 1] * residual * residual;
    }
    chi2(j, 1) = squares;
  }
  return true;
}

void PolyPointBand(const Matrix& a, const Matrix& c, double t, double chi2, double p, int32_t r, double freedom,
                   double* value, double* halfWidth) {
  double scale = 1.0;
  double quantile = 0.0;
  if (chi2 <= 0.0) {
    quantile = StdNormalInv((1.0 + p) / 2.0);
  } else {
    scale = std::sqrt(chi2 / freedom);
    quantile = StudentTInv((p + 1.0) / 2.0, freedom);
  }
  double y = 0.0;
  double w = 0.0;
  for (int32_t i = 1; i <= r; ++i) {
    double term = 0.0;
    for (int32_t k = 1; k <= i; ++k) term += c(i, k) * IntPow(t, k - 1);
    y += a(i, 1) * term;
    w += term * term;
  }
  *value = y;
  *halfWidth = std::sqrt(w) * quantile * scale;
}

namespace {

// v' M v for the power vector v = (1, t, .., t^l).
double PowerForm(const Matrix& m, const double* powers, int32_t terms) {
  double sum = 0.0;
  for (int32_t i = 1; i <= terms; ++i)
    for (int32_t j = 1; j <= terms; ++j) sum += powers[i - 1] * m(i, j) * powers[j - 1];
  return sum;
}

double PowerValue(const Matrix& a, const double* powers, int32_t terms) {
  double sum = 0.0;
  for (int32_t i = 1; i <= terms; ++i) sum += powers[i - 1] * a(i, 1);
  return sum;
}

void FillPowers(double t, double* powers, int32_t terms) {
  powers[0] = 1.0;
  for (int32_t i = 1; i < terms; ++i) powers[i] = powers[i - 1] * t;
}

}  // namespace

bool TimeSeriesKernel(const Matrix& y, int32_t n, int32_t k, int32_t l, double p, Matrix& eta, Matrix& confidence) {
  const int32_t width = 2 * k + 1;
  const int32_t terms = l + 1;
  Matrix design, moments, factor, smoothing, window, coefficients, powers;
  if (!design.Resize(uint32_t(width), uint32_t(terms)) || !moments.Resize(uint32_t(terms), uint32_t(terms)) ||
      !factor.Resize(uint32_t(terms), uint32_t(terms)) || !smoothing.Resize(uint32_t(terms), uint32_t(width)) ||
      !window.Resize(uint32_t(width), 1) || !coefficients.Resize(uint32_t(terms), 1) ||
      !powers.Resize(uint32_t(terms), 1))
    return false;
  for (int32_t row = 1; row <= width; ++row) {
    const double t = row - 1 - k;
    design(row, 1) = -1.0;
    for (int32_t c = 2; c <= terms; ++c) design(row, c) = t * design(row, c - 1);
  }
  const int32_t freedom = width - 1 - l;
  // With as many coefficients as points the polynomial passes through every
  // point and leaves no residual to estimate a spread from.
  const double quantile =
      freedom > 0 ? StudentTInv((p + 1.0) / 2.0, freedom) : std::numeric_limits<double>::quiet_NaN();
  MatrixMultiplyTransposedLeft(design, design, moments, terms, width, terms);
  if (!CholeskyInvert(moments, factor, terms)) {
    for (int32_t o = 1; o <= n + 2 * k; ++o) eta(o, 1) = confidence(o, 1) = std::numeric_limits<double>::quiet_NaN();
    return true;
  }
  MatrixMultiplyTransposedRight(moments, design, smoothing, terms, terms, width);
  MatrixScale(smoothing, smoothing, -1.0, terms, width);
  double* v = powers.Doubles();
  for (int32_t i = width; i <= n; ++i) {
    for (int32_t row = 1; row <= width; ++row) window(row, 1) = y(i - width + row, 1);
    MatrixMultiply(smoothing, window, coefficients, terms, width, 1);
    double squares = 0.0;
    for (int32_t row = 1; row <= width; ++row) {
      FillPowers(row - 1 - k, v, terms);
      const double residual = window(row, 1) - PowerValue(coefficients, v, terms);
      squares += residual * residual;
    }
    const double s2 = freedom > 0 ? squares / freedom : std::numeric_limits<double>::quiet_NaN();
    eta(i, 1) = coefficients(1, 1);
    confidence(i, 1) = std::sqrt(std::fabs(moments(1, 1))) * std::sqrt(s2) * quantile;
    // The end windows' polynomials also give the k measured points beside
    // their centres and extend the series by k points beyond the data.
    auto extend = [&](int32_t position, double t) {
      FillPowers(t, v, terms);
      eta(position, 1) = PowerValue(coefficients, v, terms);
      confidence(position, 1) = std::sqrt(std::fabs(s2 * PowerForm(moments, v, terms))) * quantile;
    };
    if (i == width)
      for (int32_t o = 1; o <= 2 * k; ++o) extend(o, o - width);
    if (i == n)
      for (int32_t o = 1; o <= 2 * k; ++o) extend(n + o, o);
  }
  return true;
}
