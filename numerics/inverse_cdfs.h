#ifndef TALVERO_NUMERICS_INVERSE_CDFS_H
#define TALVERO_NUMERICS_INVERSE_CDFS_H

// Inverses of the lower-tail cumulative functions: the argument at which a
// cumulative function reaches probability p, found by widening a bracket
// until the gap p - cdf(x) changes sign and halving it to a tolerance
// relative to the root. Probabilities outside (0, 1) give finite sentinels;
// a gap that cannot be bracketed or evaluated gives NaN.

// p minus a cumulative probability at x; j and k are the degrees of freedom
// where the distribution has them.
using CdfGap = double (*)(double x, double p, double j, double k);

double StudentTCdfGap(double x, double p, double j, double k);
double StdNormalCdfGap(double x, double p, double j, double k);
double NormalCdfGap(double x, double p, double j, double k);
double ChiSquareCdfGap(double x, double p, double j, double k);
double FDistCdfGap(double x, double p, double j, double k);

// Widens [lo, hi] in place, doubling its width towards the root (below the
// bracket when both gaps are negative, above it when both are positive),
// until the gaps at the ends differ in sign (at most 2100 moves). False when
// no sign change was found.
bool ExpandBracket(double* lo, double* hi, CdfGap gap, double p, double j, double k);
// Halves [lo, hi], whose ends' gaps differ in sign, until its width is below
// tolerance times the midpoint's magnitude or no double lies between its
// ends; the root is an end whose gap is exactly 0, else the last midpoint.
// NaN when a gap is NaN.
double BisectRoot(double lo, double hi, CdfGap gap, double p, double j, double k, double tolerance);

// The largest double for p >= 1, its negative for p <= 0.
double StudentTInv(double p, double n);
double StdNormalInv(double p);
// 1e10 for p >= 1 and -1e10 for p <= 0, whatever the mean and deviation.
double NormalInv(double p, double mean, double deviation);
// 1e10 for p >= 1, 0 for p <= 0.
double ChiSquareInv(double p, double n);
double FDistInv(double p, double d1, double d2);

#endif
