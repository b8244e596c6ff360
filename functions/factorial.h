#ifndef TALVERO_FUNCTIONS_FACTORIAL_H
#define TALVERO_FUNCTIONS_FACTORIAL_H

// Factorials as plain products in doubles, largest factor first. Both stop
// multiplying once the product is no longer a usable number, so callers
// see an infinite product and refuse it. 0! and 0!! are 1.

#include <cstdint>

// k * (k - 1) * ... * 2
double Factorial(int64_t k);
// k * (k - 2) * (k - 4) * ... down to 2 or 1
double DoubleFactorial(int64_t k);

#endif
