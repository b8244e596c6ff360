#ifndef TALVERO_TESTS_TEST_RANDOM_H
#define TALVERO_TESTS_TEST_RANDOM_H

// A small seeded generator (splitmix64) for randomized tests: the same seed
// gives the same cases on every platform, unlike the standard distributions.

#include <cstdint>

struct TestRng {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t n) { return uint32_t(Next() % n); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }
};

#endif
