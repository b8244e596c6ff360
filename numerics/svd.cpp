#include "numerics/svd.h"

#include <cmath>
#include <memory>
#include <new>

#include "numerics/linear_algebra.h"

namespace {

// A scratch vector of doubles, indexed from 1 and cleared; null when memory
// ran out. Those of small problems, most calls, stay off the heap.
class ScratchVector {
 public:
  explicit ScratchVector(int32_t count) {
    const size_t size = size_t(count) + 1;
    if (size <= kInlineCount) {
      data_ = inline_;
    } else {
      heap_.reset(new (std::nothrow) double[size]);
      data_ = heap_.get();
    }
    if (data_)
      for (size_t i = 0; i < size; ++i) data_[i] = 0.0;
  }
  ScratchVector(const ScratchVector&) = delete;
  ScratchVector& operator=(const ScratchVector&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  double* get() { return data_; }
  double& operator[](int32_t i) { return data_[i]; }

 private:
  static constexpr size_t kInlineCount = 65;
  double inline_[kInlineCount];
  std::unique_ptr<double[]> heap_;
  double* data_ = nullptr;
};

int32_t Larger(int32_t a, int32_t b) { return a > b ? a : b; }

// Applies the reflection (v over p and q..last, from 1) to the columns
// j0..j1 of M, as HouseholderApply does to each column, with the sums of all
// columns gathered row by row. sums holds j1 - j0 + 1 doubles.
void ApplyToColumns(const double* v, double up, double b, Matrix& m, int32_t p, int32_t q, int32_t last, int32_t j0,
                    int32_t j1, double* sums) {
  if (b == 0.0 || j1 < j0) return;
  const int32_t count = j1 - j0 + 1;
  if (count == 1) {
    // One column, the usual right-hand side and the last columns of A: the
    // same operations in the same order on one running sum, without the
    // loops over columns around each of them.
    const uint32_t column = uint32_t(j0);
    double sum = up * m(uint32_t(p), column);
    for (int32_t i = q; i <= last; ++i) sum += v[i - 1] * m(uint32_t(i), column);
    sum *= b;
    m(uint32_t(p), column) += sum * up;
    for (int32_t i = q; i <= last; ++i) m(uint32_t(i), column) += sum * v[i - 1];
    return;
  }
  const double* rowP = &m(p, j0);
  for (int32_t j = 0; j < count; ++j) sums[j] = up * rowP[j];
  for (int32_t i = q; i <= last; ++i) {
    const double vi = v[i - 1];
    const double* row = &m(i, j0);
    for (int32_t j = 0; j < count; ++j) sums[j] += vi * row[j];
  }
  for (int32_t j = 0; j < count; ++j) sums[j] *= b;
  double* outP = &m(p, j0);
  for (int32_t j = 0; j < count; ++j) outP[j] += sums[j] * up;
  for (int32_t i = q; i <= last; ++i) {
    const double vi = v[i - 1];
    double* row = &m(i, j0);
    for (int32_t j = 0; j < count; ++j) row[j] += sums[j] * vi;
  }
}

// Rotates columns i and k of the n x n block of M: (x, y) := (c x + s y, c y - s x).
void RotateColumns(Matrix& m, int32_t n, int32_t i, int32_t k, double c, double s) {
  for (int32_t r = 1; r <= n; ++r) {
    const double x = m(r, i);
    const double y = m(r, k);
    m(r, i) = x * c + y * s;
    m(r, k) = y * c - x * s;
  }
}

// Rotates rows i and k of M over its columns 1..l.
void RotateRows(Matrix& m, int32_t l, int32_t i, int32_t k, double c, double s) {
  if (l < 1) return;
  double* x = &m(i, 1);
  double* y = &m(k, 1);
  for (int32_t j = 0; j < l; ++j) {
    const double a = x[j];
    const double b = y[j];
    x[j] = a * c + b * s;
    y[j] = b * c - a * s;
  }
}

bool SvdDecompose(Matrix& a, Matrix& b, double* d, double* e, int32_t m, int32_t n, int32_t l) {
  const int32_t size = Larger(Larger(m, n), l);
  ScratchVector v(size);
  ScratchVector sums(size);
  ScratchVector upRow(n);
  ScratchVector bRow(n);
  if (!v || !sums || !upRow || !bRow) return false;
  for (int32_t i = 1; i <= n; ++i) {
    if (i < n || m > n) {
      for (int32_t r = 1; r <= m; ++r) v[r - 1] = a(r, i);
      double up = 0.0;
      double factor = 0.0;
      HouseholderDefine(v.get(), &up, &factor, m, i, i + 1);
      ApplyToColumns(v.get(), up, factor, a, i, i + 1, m, i, n, sums.get());
      ApplyToColumns(v.get(), up, factor, b, i, i + 1, m, 1, l, sums.get());
    }
    if (i < n - 1) {
      for (int32_t k = 1; k <= n; ++k) v[k - 1] = a(i, k);
      HouseholderDefine(v.get(), &upRow[i], &bRow[i], n, i + 1, i + 2);
      for (int32_t j = i; j <= m; ++j) HouseholderApply(v.get(), upRow[i], bRow[i], &a(j, 1), n, i + 1, i + 2);
      // Row i keeps the vector of its reflection for building V.
      for (int32_t k = i + 2; k <= n; ++k) a(i, k) = v[k - 1];
    }
  }
  d[1] = a(1, 1);
  e[1] = 0.0;
  for (int32_t i = 2; i <= n; ++i) {
    d[i] = a(i, i);
    e[i] = a(i - 1, i);
  }
  for (int32_t i = n; i >= 1; --i) {
    if (i <= n - 1)
      for (int32_t k = 1; k <= n; ++k) v[k - 1] = a(i, k);
    for (int32_t k = 1; k <= n; ++k) a(i, k) = 0.0;
    a(i, i) = 1.0;
    if (i < n - 1) ApplyToColumns(v.get(), upRow[i], bRow[i], a, i + 1, i + 2, n, i, n, sums.get());
  }
  return true;
}

// d(k) is negligible: e(k) is chased up the bidiagonal by rotations of the
// columns i and k, each one's fill-in -s e(i) handed to the next, so that
// the product of the factors stays A.
void SvdCancelAtDiagonal(Matrix& a, double* d, double* e, int32_t n, int32_t k) {
  double f = e[k];
  e[k] = 0.0;
  for (int32_t i = k - 1; i >= 1; --i) {
    double c = 1.0;
    double s = 0.0;
    GivensDefineApply(&d[i], &f, &c, &s);
    if (i > 1) {
      f = -s * e[i];
      e[i] = c * e[i];
    }
    RotateColumns(a, n, i, k, c, s);
  }
}

// d(l - 1) is negligible: e(l) is chased along row l - 1 by rotations of
// the rows l - 1 and i of B, the fill-in -s e(i + 1) handed on likewise.
void SvdCancelAtSplit(Matrix& b, double* d, double* e, int32_t lCount, int32_t l, int32_t k) {
  double f = e[l];
  e[l] = 0.0;
  for (int32_t i = l; i <= k; ++i) {
    double c = 1.0;
    double s = 0.0;
    GivensDefineApply(&d[i], &f, &c, &s);
    if (i < k) {
      f = -s * e[i + 1];
      e[i + 1] = c * e[i + 1];
    }
    RotateRows(b, lCount, i, l - 1, c, s);
  }
}

void SvdQrStep(Matrix& a, Matrix& b, double* d, double* e, int32_t n, int32_t lCount, int32_t l, int32_t k) {
  double f = ((d[k - 1] - d[k]) * (d[k - 1] + d[k]) + (e[k - 1] - e[k]) * (e[k - 1] + e[k])) / (2.0 * e[k] * d[k - 1]);
  const double g = std::fabs(f) <= 1e10 ? std::sqrt(f * f + 1.0) : std::fabs(f);
  const double t = f >= 0.0 ? f + g : f - g;
  f = ((d[l] - d[k]) * (d[l] + d[k]) + e[k] * (d[k - 1] / t - e[k])) / d[l];
  double h = 0.0;
  for (int32_t i = l; i < k; ++i) {
    double c = 1.0;
    double s = 0.0;
    if (i == l)
      GivensDefine(f, e[i + 1], &c, &s);
    else
      GivensDefineApply(&e[i], &h, &c, &s);
    const double di = d[i];
    const double ei1 = e[i + 1];
    d[i] = di * c + ei1 * s;
    e[i + 1] = ei1 * c - di * s;
    h = d[i + 1] * s;
    d[i + 1] = d[i + 1] * c;
    RotateColumns(a, n, i, i + 1, c, s);
    GivensDefineApply(&d[i], &h, &c, &s);
    const double e1 = e[i + 1];
    const double d1 = d[i + 1];
    e[i + 1] = e1 * c + d1 * s;
    d[i + 1] = d1 * c - e1 * s;
    if (i < k - 1) {
      h = e[i + 2] * s;
      e[i + 2] = e[i + 2] * c;
    }
    RotateRows(b, lCount, i, i + 1, c, s);
  }
}

void SvdDiagonalize(Matrix& a, Matrix& b, double* d, double* e, int32_t n, int32_t lCount, bool* converged) {
  *converged = true;
  double bmx = d[1];
  for (int32_t i = 2; i <= n; ++i) bmx = std::fmax(bmx, std::fabs(d[i]) + std::fabs(e[i]));
  const auto negligible = [bmx](double x) { return (x + bmx) - bmx == 0.0; };
  const auto negligibleE = [bmx](double x) { return (bmx - x) - bmx == 0.0; };
  int64_t iterations = 0;
  const int64_t limit = 10 * int64_t(n);
  for (int32_t k = n; k >= 1; --k) {
    for (;;) {
      if (k > 1 && negligible(d[k])) SvdCancelAtDiagonal(a, d, e, n, k);
      int32_t l = k;
      for (; l >= 1; --l) {
        if (l == 1) break;
        if (negligibleE(e[l])) break;
        if (negligible(d[l - 1])) {
          SvdCancelAtSplit(b, d, e, lCount, l, k);
          break;
        }
      }
      if (l == k) break;
      SvdQrStep(a, b, d, e, n, lCount, l, k);
      if (++iterations > limit) {
        *converged = false;
        break;
      }
    }
    if (d[k] < 0.0) {
      d[k] = -d[k];
      for (int32_t r = 1; r <= n; ++r) a(r, k) = -a(r, k);
    }
  }
}

void SvdSort(Matrix& a, Matrix& b, double* d, int32_t n, int32_t l) {
  bool ordered = true;
  for (int32_t i = 2; i <= n; ++i)
    if (d[i] > d[i - 1]) ordered = false;
  if (ordered) return;
  for (int32_t i = 1; i < n; ++i) {
    int32_t j = i;
    for (int32_t k = i + 1; k <= n; ++k)
      if (d[k] > d[j]) j = k;
    if (j == i) continue;
    std::swap(d[i], d[j]);
    for (int32_t r = 1; r <= n; ++r) std::swap(a(r, i), a(r, j));
    if (l > 0) {
      double* x = &b(i, 1);
      double* y = &b(j, 1);
      for (int32_t c = 0; c < l; ++c) std::swap(x[c], y[c]);
    }
  }
}

void SvdSolve(const Matrix& a, Matrix& b, const double* d, Matrix& x, Matrix* r, int32_t m, int32_t n, int32_t l,
              double minMaxRatio, int32_t* rank) {
  double fraction = std::fabs(minMaxRatio);
  if (!(fraction >= 1e-15)) fraction = 1e-15;
  const double threshold = fraction * d[1];
  *rank = n;
  for (int32_t i = 1; i <= n; ++i)
    if (!(d[i] > threshold)) {
      *rank = i - 1;
      break;
    }
  if (r)
    for (int32_t j = 1; j <= l; ++j) (*r)(j, 1) = 0.0;
  for (int32_t i = 1; i <= m; ++i) {
    if (l < 1) break;
    double* row = &b(i, 1);
    if (i > *rank) {
      if (r)
        for (int32_t j = 0; j < l; ++j) (*r)(j + 1, 1) += row[j] * row[j];
      if (i <= n)
        for (int32_t j = 0; j < l; ++j) row[j] = 0.0;
    } else {
      const double inverse = 1.0 / d[i];
      for (int32_t j = 0; j < l; ++j) row[j] *= inverse;
    }
  }
  MatrixMultiply(a, b, x, n, n, l);
}

}  // namespace

bool HouseholderDefine(const double* v, double* up, double* b, int32_t count, int32_t p, int32_t q) {
  double c = std::fabs(v[p - 1]);
  for (int32_t i = q; i <= count; ++i) c = std::fmax(c, std::fabs(v[i - 1]));
  if (!(c > 0.0)) {
    *up = 0.0;
    *b = 0.0;
    return false;
  }
  const double vp = v[p - 1] / c;
  double sum = vp * vp;
  for (int32_t i = q; i <= count; ++i) {
    const double x = v[i - 1] / c;
    sum += x * x;
  }
  double sd = c * std::sqrt(std::fabs(sum));
  if (v[p - 1] > 0.0) sd = -sd;
  *up = v[p - 1] - sd;
  *b = 1.0 / (sd * *up);
  return true;
}

void HouseholderApply(const double* v, double up, double b, double* c, int32_t count, int32_t p, int32_t q) {
  if (b == 0.0) return;
  double s = up * c[p - 1];
  for (int32_t i = q; i <= count; ++i) s += v[i - 1] * c[i - 1];
  s *= b;
  c[p - 1] += s * up;
  for (int32_t i = q; i <= count; ++i) c[i - 1] += s * v[i - 1];
}

bool SvdLeastSquares(Matrix& a, Matrix& b, Matrix& x, Matrix& r, int32_t m, int32_t n, int32_t l, int32_t* rank,
                     bool* converged, double minMaxRatio) {
  const int32_t size = Larger(m, n);
  ScratchVector d(size);
  ScratchVector e(size);
  if (!d || !e || !SvdDecompose(a, b, d.get(), e.get(), m, n, l)) return false;
  SvdDiagonalize(a, b, d.get(), e.get(), n, l, converged);
  SvdSort(a, b, d.get(), n, l);
  SvdSolve(a, b, d.get(), x, &r, m, n, l, minMaxRatio, rank);
  return true;
}

bool SvdDriver(Matrix& a, Matrix& p, Matrix& u, Matrix& s, Matrix& v, int32_t m, int32_t n, int32_t* rank,
               bool* converged, double minMaxRatio) {
  Matrix w;
  if (!w.Resize(uint32_t(m), uint32_t(m))) return false;
  MatrixIdentity(w, m);
  ScratchVector d(Larger(m, n));
  ScratchVector e(Larger(m, n));
  if (!d || !e || !SvdDecompose(a, w, d.get(), e.get(), m, n, m)) return false;
  SvdDiagonalize(a, w, d.get(), e.get(), n, m, converged);
  SvdSort(a, w, d.get(), n, m);
  CopySubmatrix(a, v, n, n, 1, 1);
  MatrixTransposeInto(w, u, m, m);
  SvdSolve(a, w, d.get(), p, nullptr, m, n, m, minMaxRatio, rank);
  for (int32_t i = 1; i <= m; ++i)
    for (int32_t j = 1; j <= n; ++j) s(i, j) = i == j && i <= *rank ? d[i] : 0.0;
  return true;
}

bool ConstrainedLeastSquares(Matrix& a, Matrix& b, Matrix& e, Matrix& d, Matrix& x, Matrix& r, int32_t m, int32_t n,
                             int32_t l, bool* converged, double minMaxRatio) {
  const int32_t free = n - l;
  Matrix vectors, a2, b2, x2, lower;
  ScratchVector ups(l);
  ScratchVector factors(l);
  if (!ups || !factors || !vectors.Resize(uint32_t(l), uint32_t(n)) || !a2.Resize(uint32_t(m), uint32_t(free)) ||
      !b2.Resize(uint32_t(m), 1) || !x2.Resize(uint32_t(free), 1) || !lower.Resize(uint32_t(l), 1))
    return false;
  for (int32_t i = 1; i <= l; ++i) {
    double* v = &vectors(i, 1);
    for (int32_t k = 1; k <= n; ++k) v[k - 1] = e(i, k);
    HouseholderDefine(v, &ups[i], &factors[i], n, i, i + 1);
    for (int32_t j = i; j <= l; ++j) HouseholderApply(v, ups[i], factors[i], &e(j, 1), n, i, i + 1);
    for (int32_t j = 1; j <= m; ++j) HouseholderApply(v, ups[i], factors[i], &a(j, 1), n, i, i + 1);
  }
  for (int32_t i = 1; i <= l; ++i) lower(i, 1) = d(i, 1);
  ForwardSubstitution(e, lower, l, 1);
  for (int32_t j = 1; j <= m; ++j) {
    double t = b(j, 1);
    for (int32_t k = 1; k <= l; ++k) t -= a(j, k) * lower(k, 1);
    b2(j, 1) = t;
    for (int32_t k = 1; k <= free; ++k) a2(j, k) = a(j, l + k);
  }
  int32_t rank = 0;
  if (!SvdLeastSquares(a2, b2, x2, r, m, free, 1, &rank, converged, minMaxRatio)) return false;
  if (*converged) {
    for (int32_t i = 1; i <= l; ++i) x(i, 1) = lower(i, 1);
    for (int32_t i = 1; i <= free; ++i) x(l + i, 1) = x2(i, 1);
    for (int32_t i = l; i >= 1; --i) HouseholderApply(&vectors(i, 1), ups[i], factors[i], x.Doubles(), n, i, i + 1);
  }
  return true;
}
