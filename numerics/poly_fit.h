#ifndef TALVERO_NUMERICS_POLY_FIT_H
#define TALVERO_NUMERICS_POLY_FIT_H

// Polynomial fits of weighted measurements through orthogonal polynomials,
// and moving polynomials over a series. Orthogonal polynomials keep the
// normal equations diagonal, so high degrees over wide abscissae lose far
// less than a fit in plain powers would.

#include <cstdint>

#include "numerics/matrix.h"

// For r terms over the points (t_i, y_i) with deviations sy_i (n x 1 each):
// B (r x r, lower triangular) := the polynomials orthonormal under the
// weights 1/sy^2 as power series, f_j(t) = sum B(j, k) t^(k-1); F (n x r)
// := their values at the points; x (r x 1) := the fit's coefficients in
// that basis; chi2 (r x 1) := the weighted residual sum of squares of the
// fit of each degree. False when scratch memory cannot be had.
bool PolyRegressionKernel(const Matrix& t, const Matrix& y, const Matrix& sy, int32_t n, int32_t r, Matrix& x,
                          Matrix& b, Matrix& f, Matrix& chi2);

// The fit's value at t and the half-width of its confidence band at
// probability p: with chi2 <= 0 a normal quantile and scale 1, otherwise
// Student's t with the given degrees of freedom and the scale
// sqrt(chi2 / freedom).
void PolyPointBand(const Matrix& a, const Matrix& c, double t, double chi2, double p, int32_t r, double freedom,
                   double* value, double* halfWidth);

// Smooths y (n x 1, n >= 2k + 1) by polynomials of degree l over windows of
// 2k + 1 points and extends it by k points at each end: eta and confidence
// ((n + 2k) x 1) := the smoothed values and the half-widths of the band at
// probability p, position o standing for time o - k. Half-widths with no
// residual degree of freedom (l = 2k) are NaN. False when a working matrix
// cannot be had.
bool TimeSeriesKernel(const Matrix& y, int32_t n, int32_t k, int32_t l, double p, Matrix& eta, Matrix& confidence);

#endif
