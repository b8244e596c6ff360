#ifndef TALVERO_FUNCTIONS_INT_POW_H
#define TALVERO_FUNCTIONS_INT_POW_H

// x to an integer power by repeated squaring: the same bits on every target,
// unlike the runtime's pow. n = 0 gives 1; a negative n gives 1 over the
// power of its magnitude.

#include <cstdint>

double IntPow(double x, int32_t n);

#endif
