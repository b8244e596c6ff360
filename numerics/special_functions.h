#ifndef TALVERO_NUMERICS_SPECIAL_FUNCTIONS_H
#define TALVERO_NUMERICS_SPECIAL_FUNCTIONS_H

// The gamma function and the regularised incomplete gamma and beta functions
// beneath the distributions. Plain functions of doubles without state or
// allocation. Each tail is computed directly where it is the smaller one and
// as the complement of the other elsewhere, so both keep their relative
// precision; a series or continued fraction that does not settle within its
// limit (which grows with the parameters) gives NaN, never a value that only
// looks converged. Callers check their arguments first.

// ln Gamma(x) for x > 0; NaN otherwise.
double LnGamma(double x);

// The lower and upper regularised incomplete gamma functions P(a, x) and
// Q(a, x) for a > 0. x <= 0 gives P = 0. False, with both NaN, when the
// arguments are out of the domain or the evaluation did not converge.
bool GammaTails(double a, double x, double* lower, double* upper);
double IncompleteGamma(double a, double x);

// The regularised incomplete beta function I_x(a, b) and its complement for
// a, b > 0, with y = 1 - x given separately so that callers who know it
// exactly keep it. x <= 0 gives 0 and y <= 0 gives 1. False, with both NaN,
// out of the domain or without convergence.
bool BetaTails(double a, double b, double x, double y, double* lower, double* upper);
double IncompleteBeta(double a, double b, double x);

#endif
