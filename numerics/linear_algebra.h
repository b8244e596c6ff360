#ifndef TALVERO_NUMERICS_LINEAR_ALGEBRA_H
#define TALVERO_NUMERICS_LINEAR_ALGEBRA_H

// Dense linear algebra in place on caller-sized matrices, elements from 1:
// elimination with partial pivoting, substitutions, the Cholesky factor and
// inverse, and products. Nothing here allocates; the caller sizes every
// matrix. Counts below 1 make a routine do nothing.

#include <cstdint>

#include "numerics/matrix.h"

// Eliminates A (n x n) with partial pivoting, applying the same steps to B
// (n x l), then back-substitutes, leaving the solutions of A X = B in B and
// L (below the diagonal, unit diagonal implied) and U in A. With a scale
// vector each row competes by its candidate divided by its largest element
// (at least 1); with a pivot order p(i) names the input row now at i, and
// *exchanges counts the row exchanges. False, with A and B partly
// eliminated, when a pivot is zero or vanishes against its column, so that
// a singular matrix never yields infinite or NaN solutions.
bool GaussEliminate(Matrix& a, Matrix& b, Matrix* scale, Matrix* pivots, int32_t n, int32_t l,
                    int32_t* exchanges = nullptr);

// Eliminates A (n x n) as GaussEliminate does, without right-hand sides and
// without a tolerance, for its determinant (the product of U's diagonal, its
// sign changed by each exchange). False only when a column is exactly zero
// from the diagonal down before the last; the last pivot is never tested, so
// a singular matrix gives what its elimination leaves there (often 0).
bool EliminateForDeterminant(Matrix& a, int32_t n, int32_t* exchanges);

// B := the solution of L X = B (lower triangle and diagonal of L), or of
// U X = B (upper triangle and diagonal of U). A zero diagonal element gives
// infinities; nothing is checked.
void ForwardSubstitution(const Matrix& lower, Matrix& b, int32_t n, int32_t l);
void BackSubstitution(const Matrix& upper, Matrix& b, int32_t n, int32_t l);

// U := the upper triangular factor with U^T U = A, reading A's upper
// triangle. False when A is not positive definite (a diagonal step that is
// not positive), U then incomplete.
bool CholeskyDecompose(const Matrix& a, Matrix& u, int32_t n);
// A := its inverse through the factor (u is scratch), exactly symmetric.
// False when A is not positive definite.
bool CholeskyInvert(Matrix& a, Matrix& u, int32_t n);

// C := A B for A (m x n) and B (n x p); C must not be A or B. The sum of
// each element runs in increasing inner index.
void MatrixMultiply(const Matrix& a, const Matrix& b, Matrix& c, int32_t m, int32_t n, int32_t p);

// C (m x p) := A^T B for A (n x m), B (n x p); C := A B^T for A (m x n),
// B (p x n). The same summation order as MatrixMultiply.
void MatrixMultiplyTransposedLeft(const Matrix& a, const Matrix& b, Matrix& c, int32_t m, int32_t n, int32_t p);
void MatrixMultiplyTransposedRight(const Matrix& a, const Matrix& b, Matrix& c, int32_t m, int32_t n, int32_t p);
// B := s A over the rows x cols block; B may be A.
void MatrixScale(const Matrix& a, Matrix& b, double s, int32_t rows, int32_t cols);

void MatrixIdentity(Matrix& a, int32_t n);
// B(j, i) := A(i, j) over the rows x cols block of A.
void MatrixTransposeInto(const Matrix& a, Matrix& b, int32_t rows, int32_t cols);
// B(i, j) := A(r0 + i - 1, c0 + j - 1).
void CopySubmatrix(const Matrix& a, Matrix& b, int32_t rows, int32_t cols, int32_t r0, int32_t c0);

#endif
