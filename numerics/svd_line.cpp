#include <cmath>
#include <utility>

#include "numerics/svd.h"

// Every line fit solves an m x 2 system with one right-hand side. The steps
// below are those of SvdLeastSquares for that shape, operation for
// operation and in the same order, so that the fits keep their bits; what
// falls away is what that shape never reads: the parts of the columns a
// reflection zeroes, the rows of B that only feed the residual, the loops
// over columns, and the matrices themselves (V starts as the identity and
// stays 2 x 2). A line's first column is one constant (1 for a line with an
// intercept, 0 for one through the origin), so its reflection is formed
// from that constant alone, and the second column and B are reflected where
// they lie.

namespace {

// V of the decomposition, its elements v[row][column].
struct Rotations2 {
  double v[2][2] = {{1.0, 0.0}, {0.0, 1.0}};

  void RotateColumns(double c, double s) {
    for (int r = 0; r < 2; ++r) {
      const double x = v[r][0];
      const double y = v[r][1];
      v[r][0] = x * c + y * s;
      v[r][1] = y * c - x * s;
    }
  }
};

// Rows i and k of B over its one column.
void RotatePair(double* x, double* y, double c, double s) {
  const double a = *x;
  const double b = *y;
  *x = a * c + b * s;
  *y = b * c - a * s;
}

// The larger of two magnitudes as std::fmax gives it (a NaN loses to a
// number), without the library call.
double LargerMagnitude(double c, double x) { return x > c || c != c ? x : c; }

}  // namespace

void LineLeastSquares(double c, double* second, double* b, int32_t m, double minMaxRatio, double x[2], int32_t* rank,
                      bool* converged) {
  double* col = second;
  // The first column's reflection. Every element of that column is c, so
  // its scale, its squares and its products are formed once, each the same
  // operation the general reflection repeats per element; of the column
  // itself only its top element is read again.
  double d1 = c;
  const double scale = std::fabs(c);
  if (scale > 0.0) {
    const double unit = c / scale;
    const double unitSquare = unit * unit;
    double sum = unitSquare;
    for (int32_t i = 1; i < m; ++i) sum += unitSquare;
    double sd = scale * std::sqrt(std::fabs(sum));
    if (c > 0.0) sd = -sd;
    const double up = c - sd;
    const double factor = 1.0 / (sd * up);
    if (factor != 0.0) {
      const double square = c * c;
      double sum0 = up * c;
      for (int32_t i = 1; i < m; ++i) sum0 += square;
      // The sums against the second column and against B, each in
      // increasing row, in one pass.
      double sum1 = up * col[0];
      double sumB = up * b[0];
      for (int32_t i = 1; i < m; ++i) {
        sum1 += c * col[i];
        sumB += c * b[i];
      }
      sum0 *= factor;
      sum1 *= factor;
      sumB *= factor;
      d1 += sum0 * up;
      col[0] += sum1 * up;
      b[0] += sumB * up;
      for (int32_t i = 1; i < m; ++i) {
        col[i] += sum1 * c;
        b[i] += sumB * c;
      }
    }
  }
  // The second column's reflection, when rows remain below it; B's rows
  // from the third on then only feed the residual.
  double d2 = col[1];
  if (m > 2) {
    double largest = std::fabs(col[1]);
    for (int32_t i = 2; i < m; ++i) largest = LargerMagnitude(largest, std::fabs(col[i]));
    if (largest > 0.0) {
      const double top = col[1] / largest;
      double scaled = top * top;
      for (int32_t i = 2; i < m; ++i) {
        const double v = col[i] / largest;
        scaled += v * v;
      }
      double sd = largest * std::sqrt(std::fabs(scaled));
      if (col[1] > 0.0) sd = -sd;
      const double up2 = col[1] - sd;
      const double factor2 = 1.0 / (sd * up2);
      if (factor2 != 0.0) {
        double sum = up2 * col[1];
        double sumB = up2 * b[1];
        for (int32_t i = 2; i < m; ++i) {
          sum += col[i] * col[i];
          sumB += col[i] * b[i];
        }
        sum *= factor2;
        d2 += sum * up2;
        sumB *= factor2;
        b[1] += sumB * up2;
      }
    }
  }
  const double e1 = 0.0;
  double e2 = col[0];
  double b1 = b[0];
  double b2 = b[1];

  // Diagonalisation of the 2 x 2 bidiagonal.
  Rotations2 v;
  *converged = true;
  double bmx = d1;
  bmx = std::fmax(bmx, std::fabs(d2) + std::fabs(e2));
  const auto negligible = [bmx](double value) { return (value + bmx) - bmx == 0.0; };
  const auto negligibleE = [bmx](double value) { return (bmx - value) - bmx == 0.0; };
  const int64_t limit = 20;
  int64_t iterations = 0;
  for (;;) {
    if (negligible(d2)) {
      double f = e2;
      e2 = 0.0;
      double c = 1.0;
      double s = 0.0;
      GivensDefineApply(&d1, &f, &c, &s);
      v.RotateColumns(c, s);
    }
    if (negligibleE(e2)) break;
    if (negligible(d1)) {
      double f = e2;
      e2 = 0.0;
      double c = 1.0;
      double s = 0.0;
      GivensDefineApply(&d2, &f, &c, &s);
      RotatePair(&b2, &b1, c, s);
      break;
    }
    double f = ((d1 - d2) * (d1 + d2) + (e1 - e2) * (e1 + e2)) / (2.0 * e2 * d1);
    const double g = std::fabs(f) <= 1e10 ? std::sqrt(f * f + 1.0) : std::fabs(f);
    const double t = f >= 0.0 ? f + g : f - g;
    f = ((d1 - d2) * (d1 + d2) + e2 * (d1 / t - e2)) / d1;
    double c = 1.0;
    double s = 0.0;
    GivensDefine(f, e2, &c, &s);
    const double di = d1;
    const double ei1 = e2;
    d1 = di * c + ei1 * s;
    e2 = ei1 * c - di * s;
    double h = d2 * s;
    d2 = d2 * c;
    v.RotateColumns(c, s);
    GivensDefineApply(&d1, &h, &c, &s);
    const double eNext = e2;
    const double dNext = d2;
    e2 = eNext * c + dNext * s;
    d2 = dNext * c - eNext * s;
    RotatePair(&b1, &b2, c, s);
    if (++iterations > limit) {
      *converged = false;
      break;
    }
  }
  if (d2 < 0.0) {
    d2 = -d2;
    for (int r = 0; r < 2; ++r) v.v[r][1] = -v.v[r][1];
  }
  if (d1 < 0.0) {
    d1 = -d1;
    for (int r = 0; r < 2; ++r) v.v[r][0] = -v.v[r][0];
  }

  // Sorting and the solution.
  if (d2 > d1) {
    std::swap(d1, d2);
    for (int r = 0; r < 2; ++r) std::swap(v.v[r][0], v.v[r][1]);
    std::swap(b1, b2);
  }
  double fraction = std::fabs(minMaxRatio);
  if (!(fraction >= 1e-15)) fraction = 1e-15;
  const double threshold = fraction * d1;
  *rank = !(d1 > threshold) ? 0 : (!(d2 > threshold) ? 1 : 2);
  if (*rank < 1) {
    b1 = 0.0;
  } else {
    const double inverse = 1.0 / d1;
    b1 *= inverse;
  }
  if (*rank < 2) {
    b2 = 0.0;
  } else {
    const double inverse = 1.0 / d2;
    b2 *= inverse;
  }
  for (int r = 0; r < 2; ++r) {
    double sum = 0.0;
    sum += v.v[r][0] * b1;
    sum += v.v[r][1] * b2;
    x[r] = sum;
  }
}
