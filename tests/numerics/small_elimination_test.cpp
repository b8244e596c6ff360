#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "numerics/linear_algebra.h"
#include "tests/test_seed.h"

namespace {

// Every NaN alike: which one an operation passes on is the compiler's choice.
uint64_t Bits(double value) {
  if (std::isnan(value)) return 1;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Mostly small whole numbers (so that singular and collinear matrices are
// common), with repeats, zeros, huge and tiny magnitudes and now and then a
// value that is not finite.
double Element(std::mt19937& random, double previous) {
  switch (random() % 12) {
    case 0:
      return 0.0;
    case 1:
      return previous;
    case 2:
      return double(int(random() % 2001) - 1000) * 1e200;
    case 3:
      return double(int(random() % 2001) - 1000) * 1e-200;
    case 4:
      return random() % 8 == 0 ? std::numeric_limits<double>::infinity() : 2.0 * previous;
    case 5:
    case 6:
      return std::ldexp(double(int(random() % 2000001) - 1000000), -int(random() % 20));
    default:
      return double(int(random() % 9) - 4);
  }
}

// The same n x n system twice: once in matrices of exactly its shape, which
// take the small sizes' compiled path, and once a column wider, which the
// general path takes; the results must agree to the bit.
struct Pair {
  Matrix exact, wide;
  void Size(int32_t rows, int32_t cols) {
    ASSERT_TRUE(exact.Resize(uint32_t(rows), uint32_t(cols)));
    ASSERT_TRUE(wide.Resize(uint32_t(rows), uint32_t(cols + 1)));
    wide.Zero();
  }
  void Set(uint32_t i, uint32_t j, double x) {
    exact(i, j) = x;
    wide(i, j) = x;
  }
  void ExpectSame(int32_t rows, int32_t cols, const char* what) const {
    for (int32_t i = 1; i <= rows; ++i)
      for (int32_t j = 1; j <= cols; ++j)
        ASSERT_EQ(Bits(exact(uint32_t(i), uint32_t(j))), Bits(wide(uint32_t(i), uint32_t(j))))
            << what << " (" << i << ", " << j << ")";
  }
};

TEST(SmallElimination, CompiledSizesMatchTheGeneralPathBitForBit) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    const int32_t n = 2 + int32_t(round % 3);
    Pair a, b, determinant;
    a.Size(n, n);
    b.Size(n, n);
    determinant.Size(n, n);
    double previous = 1.0;
    for (int32_t i = 1; i <= n; ++i)
      for (int32_t j = 1; j <= n; ++j) {
        previous = Element(random, previous);
        a.Set(uint32_t(i), uint32_t(j), previous);
        determinant.Set(uint32_t(i), uint32_t(j), previous);
        b.Set(uint32_t(i), uint32_t(j), i == j ? 1.0 : 0.0);
      }
    const bool inverted = GaussEliminate(a.exact, b.exact, nullptr, nullptr, n, n);
    ASSERT_EQ(inverted, GaussEliminate(a.wide, b.wide, nullptr, nullptr, n, n)) << "round " << round;
    a.ExpectSame(n, n, "factors");
    b.ExpectSame(n, n, "inverse");

    int32_t exchanges = 0;
    int32_t wideExchanges = 0;
    const bool eliminated = EliminateForDeterminant(determinant.exact, n, &exchanges);
    ASSERT_EQ(eliminated, EliminateForDeterminant(determinant.wide, n, &wideExchanges)) << "round " << round;
    ASSERT_EQ(exchanges, wideExchanges);
    determinant.ExpectSame(n, n, "determinant");
    failures += !inverted;
    if (HasFatalFailure()) return;
  }
  // The draw meets singular matrices as well as regular ones.
  EXPECT_GT(failures, 100);
  EXPECT_LT(failures, 2900);
}

}  // namespace
