#ifndef TALVERO_NUMERICS_ERROR_FUNCTION_H
#define TALVERO_NUMERICS_ERROR_FUNCTION_H

// The error function and its complement through the incomplete gamma
// function: erf(x) = P(1/2, x^2) for x >= 0, erfc(x) = Q(1/2, x^2). Each is
// taken from the tail that keeps its relative precision, never as the
// difference of a number close to 1 from 1.

double Erf(double x);
double Erfc(double x);
// erf(upper) - erf(lower), from the complements where both lie on one side
// of 0, so that nearby bounds far out keep their digits.
double ErfBetween(double lower, double upper);

#endif
