#ifndef TALVERO_NUMERICS_SVD_H
#define TALVERO_NUMERICS_SVD_H

// Least squares through the singular value decomposition: Householder
// bidiagonalisation, implicit-shift QR steps with Givens rotations, sorting
// of the singular values and a solution that drops the values below a
// fraction of the largest. A is m x n with m >= n (callers check); the
// stages overwrite A (its top n x n block ends as V) and B (it ends as U
// transposed times B).

#include <cmath>
#include <cstdint>

#include "numerics/matrix.h"

// The rotation for (a, b): c = a / r, s = b / r with r = sqrt(a^2 + b^2) >= 0;
// c = 1, s = 0 for a = b = 0. The applying form sets a := r and b := 0.
// Inline: the 2 x 2 iterations of a line fit call them a few times each,
// and the call would cost as much as the rotation.
inline void GivensDefine(double a, double b, double* c, double* s) {
  if (std::fabs(b) < std::fabs(a)) {
    const double t = b / a;
    double cc = 1.0 / std::sqrt(t * t + 1.0);
    if (a < 0.0) cc = -cc;
    *c = cc;
    *s = cc * t;
  } else if (b == 0.0) {
    *c = 1.0;
    *s = 0.0;
  } else {
    const double t = a / b;
    double ss = 1.0 / std::sqrt(t * t + 1.0);
    if (b < 0.0) ss = -ss;
    *s = ss;
    *c = ss * t;
  }
}

inline void GivensDefineApply(double* a, double* b, double* c, double* s) {
  if (std::fabs(*b) < std::fabs(*a)) {
    const double t = *b / *a;
    const double root = std::sqrt(t * t + 1.0);
    double cc = 1.0 / root;
    if (*a < 0.0) cc = -cc;
    *c = cc;
    *s = cc * t;
    *a = std::fabs(*a) * root;
    *b = 0.0;
  } else if (*b == 0.0) {
    *c = 1.0;
    *s = 0.0;
  } else {
    const double t = *a / *b;
    const double root = std::sqrt(t * t + 1.0);
    double ss = 1.0 / root;
    if (*b < 0.0) ss = -ss;
    *s = ss;
    *c = ss * t;
    *a = std::fabs(*b) * root;
    *b = 0.0;
  }
}

// The reflection that zeroes v(q..N) against v(p) (elements from 1). A
// vector that is zero over p and q..N needs none: up = b = 0, and applying
// that leaves every vector as it is. False in that case.
bool HouseholderDefine(const double* v, double* up, double* b, int32_t count, int32_t p, int32_t q);
void HouseholderApply(const double* v, double up, double b, double* c, int32_t count, int32_t p, int32_t q);

// X (n x l) := the least-squares solutions of A X ~ B (m x l); R(j) := the
// residual sum of squares of column j. Singular values at or below
// max(|minMaxRatio|, 1e-15) times the largest count as zero; *rank is the
// number kept. *converged is cleared when the QR steps run out. False when
// scratch memory cannot be had.
bool SvdLeastSquares(Matrix& a, Matrix& b, Matrix& x, Matrix& r, int32_t m, int32_t n, int32_t l, int32_t* rank,
                     bool* converged, double minMaxRatio);
// The same for an m x 2 matrix whose first column is c in every row, its
// second column and the one right-hand side given as arrays that the
// solution overwrites, with the same bits in x and *rank and without the
// residual. m >= 2.
void LineLeastSquares(double c, double* second, double* y, int32_t m, double minMaxRatio, double x[2], int32_t* rank,
                      bool* converged);
// P (n x m) := the pseudo-inverse; U (m x m), S (m x n), V (n x n) with
// A ~ U S V^T, S holding the kept singular values in decreasing order.
bool SvdDriver(Matrix& a, Matrix& p, Matrix& u, Matrix& s, Matrix& v, int32_t m, int32_t n, int32_t* rank,
               bool* converged, double minMaxRatio);
// x (n x 1) := the least-squares solution of A x ~ b subject to E x = d
// (E is l x n, l < n); r (1 x 1) := its residual sum of squares.
bool ConstrainedLeastSquares(Matrix& a, Matrix& b, Matrix& e, Matrix& d, Matrix& x, Matrix& r, int32_t m, int32_t n,
                             int32_t l, bool* converged, double minMaxRatio);

#endif
