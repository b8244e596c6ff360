#include "numerics/linear_algebra.h"

#include <cfloat>
#include <cmath>
#include <memory>
#include <new>
#include <utility>

namespace {

// Columns of the right-hand sides whose sums a substitution keeps at once.
constexpr int32_t kSumChunk = 256;
// Matrices from a worksheet are at most this wide, so their pivot
// tolerances fit the stack.
constexpr int32_t kStackTolerances = 2048;
// The largest n whose elimination is also compiled for that size.
constexpr int32_t kFixedLargest = 4;

// The sizes a routine runs over: the counts the caller gave, or, for the
// small square systems most worksheet calls pass (kN > 0), the same counts
// known when compiling, so that the loops below unroll with every
// operation and its order unchanged. kL < 0 leaves l as given.
template <int32_t kN, int32_t kL>
struct Sizes {
  int32_t n;
  int32_t l;
  Sizes(int32_t givenN, int32_t givenL) : n(kN > 0 ? kN : givenN), l(kL >= 0 ? kL : givenL) {}
};

template <int32_t kN>
void SwapRows(double* x, double* y, int32_t cols) {
  const int32_t count = kN > 0 ? kN : cols;
  for (int32_t j = 0; j < count; ++j) {
    const double t = x[j];
    x[j] = y[j];
    y[j] = t;
  }
}

// The largest magnitude of each row and each column of A as it was given:
// a pivot that vanishes against both is what rounding leaves of zero.
template <int32_t kN>
void MeasureRowsAndColumns(const double* a, size_t stride, int32_t givenN, double* rowMax, double* colMax) {
  const int32_t n = kN > 0 ? kN : givenN;
  for (int32_t j = 0; j < n; ++j) colMax[j] = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    const double* row = a + size_t(i) * stride;
    double largest = 0.0;
    for (int32_t j = 0; j < n; ++j) {
      const double x = std::fabs(row[j]);
      if (x > largest) largest = x;
      if (x > colMax[j]) colMax[j] = x;
    }
    rowMax[i] = largest;
  }
}

// Sums of U(i, k) B(k, j) over k = first..last for the columns j0..j0+count-1,
// each in increasing k, as the plain loop adds them.
void RowSums(const Matrix& u, const Matrix& b, int32_t i, int32_t first, int32_t last, int32_t j0, int32_t count,
             double* sums) {
  for (int32_t j = 0; j < count; ++j) sums[j] = 0.0;
  for (int32_t k = first; k <= last; ++k) {
    const double f = u(i, k);
    const double* row = &b(k, j0);
    for (int32_t j = 0; j < count; ++j) sums[j] += f * row[j];
  }
}

// How a pivot is judged: against the tolerance, or only when it is exactly
// zero before the last column (a determinant is defined for every matrix).
enum class PivotTest { kTolerance, kExactZero };

template <int32_t kN, int32_t kL>
bool EliminateWithPivotingSized(Matrix& a, Matrix& b, Matrix* scale, Matrix* pivots, int32_t givenN, int32_t givenL,
                                int32_t* exchanges, PivotTest test) {
  const Sizes<kN, kL> sizes(givenN, givenL);
  const int32_t n = sizes.n;
  const int32_t l = sizes.l;
  if (exchanges) *exchanges = 0;
  if (n < 1) return true;
  double stackTolerances[2 * kStackTolerances];
  std::unique_ptr<double[]> heapTolerances;
  double* rowMax = nullptr;
  if (test == PivotTest::kTolerance) {
    rowMax = stackTolerances;
    if (n > kStackTolerances) {
      heapTolerances.reset(new (std::nothrow) double[2 * size_t(n)]);
      rowMax = heapTolerances.get();
    }
  }
  double* colMax = rowMax ? rowMax + n : nullptr;
  // Rows of A and B a stride apart: the matrices' own widths, which the
  // small sizes are only taken for when they equal n and l.
  double* const elementsA = a.Doubles();
  const size_t strideA = kN > 0 ? size_t(kN) : a.cols;
  double* const elementsB = l > 0 ? b.Doubles() : nullptr;
  const size_t strideB = kL > 0 ? size_t(kL) : b.cols;
  const auto at = [&](int32_t i, int32_t j) -> double& { return elementsA[size_t(i - 1) * strideA + size_t(j - 1)]; };
  if (rowMax) MeasureRowsAndColumns<kN>(elementsA, strideA, n, rowMax, colMax);
  const double tolerance = n * DBL_EPSILON;

  if (scale) {
    for (int32_t i = 1; i <= n; ++i) {
      double largest = 1.0;
      for (int32_t j = 1; j <= n; ++j) largest = std::fmax(largest, std::fabs(at(i, j)));
      (*scale)(i, 1) = largest;
    }
  }
  if (pivots)
    for (int32_t i = 1; i <= n; ++i) pivots->Int32s()[i - 1] = i;

  for (int32_t k = 1; k <= n; ++k) {
    int32_t pivotRow = k;
    if (k < n) {
      double best = scale ? at(k, k) / (*scale)(k, 1) : at(k, k);
      for (int32_t i = k + 1; i <= n; ++i) {
        const double candidate = scale ? at(i, k) / (*scale)(i, 1) : at(i, k);
        if (std::fabs(candidate) > std::fabs(best)) {
          best = candidate;
          pivotRow = i;
        }
      }
    }
    if (pivotRow != k) {
      SwapRows<kN>(&at(k, 1), &at(pivotRow, 1), n);
      if (l > 0) SwapRows<kL>(elementsB + size_t(k - 1) * strideB, elementsB + size_t(pivotRow - 1) * strideB, l);
      if (scale) std::swap((*scale)(k, 1), (*scale)(pivotRow, 1));
      if (pivots) std::swap(pivots->Int32s()[k - 1], pivots->Int32s()[pivotRow - 1]);
      if (rowMax) std::swap(rowMax[k - 1], rowMax[pivotRow - 1]);
      if (exchanges) ++*exchanges;
    }
    const double pivot = at(k, k);
    if (test == PivotTest::kExactZero) {
      if (k == n) break;
      if (pivot == 0.0) return false;
    } else {
      // The measures are never NaN, so the smaller needs no library call.
      double bound = 0.0;
      if (rowMax) bound = tolerance * (rowMax[k - 1] < colMax[k - 1] ? rowMax[k - 1] : colMax[k - 1]);
      if (!(std::fabs(pivot) > bound)) return false;
    }
    const double* pivotA = &at(k, 1);
    const double* pivotB = l > 0 ? elementsB + size_t(k - 1) * strideB : nullptr;
    for (int32_t i = k + 1; i <= n; ++i) {
      double* rowA = &at(i, 1);
      const double f = rowA[k - 1] / pivot;
      rowA[k - 1] = f;
      for (int32_t j = k; j < n; ++j) rowA[j] -= f * pivotA[j];
      if (pivotB) {
        double* rowB = elementsB + size_t(i - 1) * strideB;
        for (int32_t j = 0; j < l; ++j) rowB[j] -= f * pivotB[j];
      }
    }
  }
  return true;
}

bool EliminateWithPivoting(Matrix& a, Matrix& b, Matrix* scale, Matrix* pivots, int32_t n, int32_t l,
                           int32_t* exchanges, PivotTest test) {
  // The shapes a worksheet's small matrices take: a determinant (no
  // right-hand side), an inverse (n right-hand sides) or one system.
  if (n >= 2 && n <= kFixedLargest && a.cols == uint32_t(n) && (l == 0 || b.cols == uint32_t(l))) {
    if (n == 3 && l == 0) return EliminateWithPivotingSized<3, 0>(a, b, scale, pivots, n, l, exchanges, test);
    if (n == 3 && l == 3) return EliminateWithPivotingSized<3, 3>(a, b, scale, pivots, n, l, exchanges, test);
    if (n == 2 && l == 0) return EliminateWithPivotingSized<2, 0>(a, b, scale, pivots, n, l, exchanges, test);
    if (n == 2 && l == 2) return EliminateWithPivotingSized<2, 2>(a, b, scale, pivots, n, l, exchanges, test);
    if (n == 4 && l == 0) return EliminateWithPivotingSized<4, 0>(a, b, scale, pivots, n, l, exchanges, test);
    if (n == 4 && l == 4) return EliminateWithPivotingSized<4, 4>(a, b, scale, pivots, n, l, exchanges, test);
  }
  return EliminateWithPivotingSized<0, -1>(a, b, scale, pivots, n, l, exchanges, test);
}

// U X = B for the small square shapes, the sums in the order RowSums keeps
// them (from 0, in increasing k).
template <int32_t kN>
void BackSubstitutionSized(const Matrix& upper, Matrix& b) {
  const double* const u = upper.Doubles();
  double* const x = b.Doubles();
  for (int32_t i = kN - 1; i >= 0; --i) {
    double sums[kN];
    for (int32_t j = 0; j < kN; ++j) sums[j] = 0.0;
    for (int32_t k = i + 1; k < kN; ++k) {
      const double f = u[i * kN + k];
      for (int32_t j = 0; j < kN; ++j) sums[j] += f * x[k * kN + j];
    }
    const double d = u[i * kN + i];
    for (int32_t j = 0; j < kN; ++j) x[i * kN + j] = (x[i * kN + j] - sums[j]) / d;
  }
}

}  // namespace

bool GaussEliminate(Matrix& a, Matrix& b, Matrix* scale, Matrix* pivots, int32_t n, int32_t l, int32_t* exchanges) {
  if (!EliminateWithPivoting(a, b, scale, pivots, n, l, exchanges, PivotTest::kTolerance)) return false;
  BackSubstitution(a, b, n, l);
  return true;
}

bool EliminateForDeterminant(Matrix& a, int32_t n, int32_t* exchanges) {
  Matrix none;
  return EliminateWithPivoting(a, none, nullptr, nullptr, n, 0, exchanges, PivotTest::kExactZero);
}

void ForwardSubstitution(const Matrix& lower, Matrix& b, int32_t n, int32_t l) {
  double sums[kSumChunk];
  for (int32_t j0 = 1; j0 <= l; j0 += kSumChunk) {
    const int32_t count = l - j0 + 1 < kSumChunk ? l - j0 + 1 : kSumChunk;
    for (int32_t i = 1; i <= n; ++i) {
      RowSums(lower, b, i, 1, i - 1, j0, count, sums);
      double* row = &b(i, j0);
      const double d = lower(i, i);
      for (int32_t j = 0; j < count; ++j) row[j] = (row[j] - sums[j]) / d;
    }
  }
}

void BackSubstitution(const Matrix& upper, Matrix& b, int32_t n, int32_t l) {
  if (n == l && upper.cols == uint32_t(n) && b.cols == uint32_t(l)) {
    if (n == 3) return BackSubstitutionSized<3>(upper, b);
    if (n == 2) return BackSubstitutionSized<2>(upper, b);
    if (n == 4) return BackSubstitutionSized<4>(upper, b);
  }
  double sums[kSumChunk];
  for (int32_t j0 = 1; j0 <= l; j0 += kSumChunk) {
    const int32_t count = l - j0 + 1 < kSumChunk ? l - j0 + 1 : kSumChunk;
    for (int32_t i = n; i >= 1; --i) {
      RowSums(upper, b, i, i + 1, n, j0, count, sums);
      double* row = &b(i, j0);
      const double d = upper(i, i);
      for (int32_t j = 0; j < count; ++j) row[j] = (row[j] - sums[j]) / d;
    }
  }
}

bool CholeskyDecompose(const Matrix& a, Matrix& u, int32_t n) {
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j) u(i, j) = 0.0;
  for (int32_t i = 1; i <= n; ++i) {
    for (int32_t j = i; j <= n; ++j) {
      double t = a(i, j);
      for (int32_t k = 1; k < i; ++k) t -= u(k, i) * u(k, j);
      if (j == i) {
        // Not positive definite: no real factor exists.
        if (!(t > 0.0)) return false;
        u(i, i) = std::sqrt(t);
      } else {
        u(i, j) = t / u(i, i);
      }
    }
  }
  return true;
}

bool CholeskyInvert(Matrix& a, Matrix& u, int32_t n) {
  if (!CholeskyDecompose(a, u, n)) return false;
  // U := its inverse, column by column from the last (upper triangular):
  // column j of the inverse needs the rows of U left of it still unchanged.
  for (int32_t j = n; j >= 1; --j) {
    u(j, j) = 1.0 / u(j, j);
    for (int32_t i = j - 1; i >= 1; --i) {
      double s = 0.0;
      for (int32_t k = i + 1; k <= j; ++k) s += u(i, k) * u(k, j);
      u(i, j) = -s / u(i, i);
    }
  }
  // inverse(A) = inverse(U) inverse(U)^T, upper triangle, mirrored below.
  for (int32_t i = 1; i <= n; ++i) {
    for (int32_t j = i; j <= n; ++j) {
      double s = 0.0;
      for (int32_t k = j; k <= n; ++k) s += u(i, k) * u(j, k);
      a(i, j) = s;
    }
    for (int32_t j = 1; j < i; ++j) a(i, j) = a(j, i);
  }
  return true;
}

void MatrixMultiply(const Matrix& a, const Matrix& b, Matrix& c, int32_t m, int32_t n, int32_t p) {
  if (m < 1 || p < 1) return;
  for (int32_t i = 1; i <= m; ++i) {
    double* row = &c(i, 1);
    for (int32_t j = 0; j < p; ++j) row[j] = 0.0;
    // Row by row of B, so that each element's sum still runs in increasing k.
    for (int32_t k = 1; k <= n; ++k) {
      const double f = a(i, k);
      const double* rowB = &b(k, 1);
      for (int32_t j = 0; j < p; ++j) row[j] += f * rowB[j];
    }
  }
}

void MatrixMultiplyTransposedLeft(const Matrix& a, const Matrix& b, Matrix& c, int32_t m, int32_t n, int32_t p) {
  if (m < 1 || p < 1) return;
  for (int32_t i = 1; i <= m; ++i)
    for (int32_t j = 1; j <= p; ++j) {
      double sum = 0.0;
      for (int32_t k = 1; k <= n; ++k) sum += a(k, i) * b(k, j);
      c(i, j) = sum;
    }
}

void MatrixMultiplyTransposedRight(const Matrix& a, const Matrix& b, Matrix& c, int32_t m, int32_t n, int32_t p) {
  if (m < 1 || p < 1) return;
  for (int32_t i = 1; i <= m; ++i)
    for (int32_t j = 1; j <= p; ++j) {
      double sum = 0.0;
      for (int32_t k = 1; k <= n; ++k) sum += a(i, k) * b(j, k);
      c(i, j) = sum;
    }
}

void MatrixScale(const Matrix& a, Matrix& b, double s, int32_t rows, int32_t cols) {
  for (int32_t i = 1; i <= rows; ++i)
    for (int32_t j = 1; j <= cols; ++j) b(i, j) = s * a(i, j);
}

void MatrixIdentity(Matrix& a, int32_t n) {
  for (int32_t i = 1; i <= n; ++i) {
    double* row = &a(i, 1);
    for (int32_t j = 0; j < n; ++j) row[j] = 0.0;
    row[i - 1] = 1.0;
  }
}

void MatrixTransposeInto(const Matrix& a, Matrix& b, int32_t rows, int32_t cols) {
  for (int32_t i = 1; i <= rows; ++i)
    for (int32_t j = 1; j <= cols; ++j) b(j, i) = a(i, j);
}

void CopySubmatrix(const Matrix& a, Matrix& b, int32_t rows, int32_t cols, int32_t r0, int32_t c0) {
  for (int32_t i = 1; i <= rows; ++i)
    for (int32_t j = 1; j <= cols; ++j) b(i, j) = a(r0 + i - 1, c0 + j - 1);
}
