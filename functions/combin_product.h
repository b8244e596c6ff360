#ifndef TALVERO_FUNCTIONS_COMBIN_PRODUCT_H
#define TALVERO_FUNCTIONS_COMBIN_PRODUCT_H

// The binomial coefficient C(n, k) as a double: the product of n - k + 1 .. n
// over the product of 2 .. k, each accumulated in double precision. 0 when k
// lies outside 0..n. For large arguments both products overflow and the
// quotient fails the result check, as callers expect.

#include <cstdint>

double CombinProduct(int32_t n, int32_t k);

#endif
