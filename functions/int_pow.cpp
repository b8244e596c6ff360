#include "functions/int_pow.h"

double IntPow(double x, int32_t n) {
  // The magnitude as unsigned, so that the most negative exponent works too.
  uint32_t bits = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  double result = 1.0;
  double square = x;
  while (bits != 0) {
    if (bits & 1u) result *= square;
    bits >>= 1;
    if (bits != 0) square *= square;
  }
  return n < 0 ? 1.0 / result : result;
}
