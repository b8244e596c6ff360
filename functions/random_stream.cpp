#include "functions/random_stream.h"

namespace {

RandomSeeds seeds = {kInitialRandomSeeds, kInitialRandomSeeds};

// Schrage's method: a * s mod m without leaving 32 bits, with m = a * q + r.
int32_t Step(int32_t s, int32_t a, int32_t q, int32_t r, int32_t m) {
  const int32_t k = s / q;
  s = a * (s - k * q) - k * r;
  return s < 0 ? s + m : s;
}

}  // namespace

RandomSeeds& ProcessRandomSeeds() { return seeds; }

double NextUniform(RandomSeedPair* pair) {
  pair->s1 = Step(pair->s1, 40014, 53668, 12211, 2147483563);
  pair->s2 = Step(pair->s2, 40692, 52774, 3791, 2147483399);
  int32_t z = pair->s1 - pair->s2;
  if (z < 1) z += 2147483562;
  return z / 2147483563.0;
}
