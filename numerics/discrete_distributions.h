#ifndef TALVERO_NUMERICS_DISCRETE_DISTRIBUTIONS_H
#define TALVERO_NUMERICS_DISCRETE_DISTRIBUTIONS_H

// Binomial, Poisson and hypergeometric probabilities. Terms come from the
// saddle-point expansion and cumulative sums from the incomplete beta and
// gamma functions, so any count up to the largest integers costs a bounded
// number of steps. NaN where a kernel did not converge.

// P(X = s) and P(X <= s) for n trials of probability p; s >= 0, n >= 0.
double BinomialDensity(double s, double n, double p);
double BinomialCdf(double s, double n, double p);
// The smallest k in 0..n with BinomialCdf(k, n, p) >= alpha, by bisection
// over k; -1 when none reaches alpha, -2 when a probability is NaN.
double CriticalBinomial(double n, double p, double alpha);

// m^x e^-m / (floor(x))!: the Poisson probability of x for whole x, the
// power taken at x itself otherwise. x >= 0, m > 0.
double PoissonDensity(double x, double m);
// P(X <= floor(x)) for mean m.
double PoissonCdf(double x, double m);

// P(k successes in a sample of m from N holding K successes). 0 where the
// sample cannot hold k successes; NaN when m > N.
double HypergeometricDensity(double k, double m, double successes, double population);

#endif
