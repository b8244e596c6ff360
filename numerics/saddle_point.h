#ifndef TALVERO_NUMERICS_SADDLE_POINT_H
#define TALVERO_NUMERICS_SADDLE_POINT_H

// Binomial and Poisson terms without factorials: the saddle-point expansion
// keeps full relative precision for any size of argument, where ratios of
// factorial products overflow above 170 and differences of log-gammas lose
// the digits of their large magnitudes. The counts may be non-integer, which
// is what the prefactors of the incomplete gamma and beta functions need.

// ln(n!) - ln(sqrt(2 pi n) (n/e)^n), the error of Stirling's formula; n >= 0.
double StirlingError(double n);
// x ln(x / m) + m - x, computed without cancellation when x is close to m.
double DevianceTerm(double x, double m);
// C(n, k) p^k q^(n-k) with q = 1 - p given separately; 0 <= k <= n.
double BinomialTerm(double k, double n, double p, double q);
// ln n, the same bits as std::log; half-integers up to 64 come from a table.
double LogOfCount(double n);
// m^x e^-m / Gamma(x + 1); x >= 0, m >= 0.
double PoissonTerm(double x, double m);

#endif
