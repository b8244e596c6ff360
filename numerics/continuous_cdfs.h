#ifndef TALVERO_NUMERICS_CONTINUOUS_CDFS_H
#define TALVERO_NUMERICS_CONTINUOUS_CDFS_H

// The cumulative distribution functions built on the incomplete gamma and
// beta functions, always the lower tail P(X <= x), and the F density. NaN
// where a kernel did not converge or an argument is out of the domain
// (a zero deviation, degrees of freedom below 1).

double NormalCdf(double x, double mean, double deviation);
double StdNormalCdf(double z);
// Chi-square with n degrees of freedom: P(n/2, x/2); 0 for x <= 0.
double ChiSquareCdf(double x, double n);
double StudentTCdf(double t, double n);
// 0 for x <= 0.
double FDistCdf(double x, double d1, double d2);
// 0 for x <= 0.
double FDensity(double x, double d1, double d2);

#endif
