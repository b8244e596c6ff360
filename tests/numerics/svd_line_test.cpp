#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "numerics/svd.h"
#include "tests/test_seed.h"

namespace {

// The bits of a number; every NaN alike, since which NaN an operation
// passes on depends on the order the compiler gives its operands, and no
// NaN leaves a function as a result.
uint64_t Bits(double value) {
  if (std::isnan(value)) return 1;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// One element of a test column: mostly ordinary numbers, with zeros,
// repeats, huge and tiny magnitudes, and now and then a value that is not
// finite, so that every branch of the iteration (negligible elements, the
// sign fixes, the exchange of the values, the iteration limit) is met.
double Element(std::mt19937& random, double previous) {
  switch (random() % 16) {
    case 0:
      return 0.0;
    case 1:
      return previous;
    case 2:
      return double(int(random() % 2001) - 1000) * 1e200;
    case 3:
      return double(int(random() % 2001) - 1000) * 1e-200;
    case 4:
      return random() % 4 == 0 ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
    case 5:
      return -0.0;
    default:
      return double(int(random() % 20001) - 10000) / 64.0;
  }
}

// The line fit's own steps against the general decomposition of the same
// m x 2 matrix, its first column one constant (1, 0 or any number): the
// same solution bits, rank and convergence.
TEST(SvdLine, AgreesBitForBitWithTheGeneralLeastSquares) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 4000; ++trial) {
    const int32_t m = trial % 50 == 49 ? 65 + int32_t(random() % 40) : 2 + int32_t(random() % 12);
    const int shape = int(random() % 3);
    const size_t points = size_t(m);
    std::vector<double> first(points), second(points), y(points);
    const double constant = shape == 0 ? 1.0 : shape == 1 ? 0.0 : Element(random, 1.0);
    for (int32_t k = 0; k < m; ++k) {
      first[size_t(k)] = constant;
      second[size_t(k)] = Element(random, k ? second[size_t(k - 1)] : 1.0);
      y[size_t(k)] = Element(random, k ? y[size_t(k - 1)] : 2.0);
    }
    const double ratio = random() % 8 == 0 ? 1e-3 : 0.0;

    Matrix a, b, x, r;
    ASSERT_TRUE(a.Resize(uint32_t(m), 2) && b.Resize(uint32_t(m), 1) && x.Resize(2, 1) && r.Resize(1, 1));
    for (int32_t k = 0; k < m; ++k) {
      a(uint32_t(k + 1), 1) = first[size_t(k)];
      a(uint32_t(k + 1), 2) = second[size_t(k)];
      b(uint32_t(k + 1), 1) = y[size_t(k)];
    }
    int32_t rank = -1;
    bool converged = true;
    ASSERT_TRUE(SvdLeastSquares(a, b, x, r, m, 2, 1, &rank, &converged, ratio));

    double line[2] = {7.0, 7.0};
    int32_t lineRank = -1;
    bool lineConverged = true;
    LineLeastSquares(constant, second.data(), y.data(), m, ratio, line, &lineRank, &lineConverged);
    EXPECT_EQ(lineRank, rank) << "trial " << trial;
    EXPECT_EQ(lineConverged, converged) << "trial " << trial;
    EXPECT_EQ(Bits(line[0]), Bits(x(1, 1))) << "trial " << trial << ": " << line[0] << " vs " << x(1, 1);
    EXPECT_EQ(Bits(line[1]), Bits(x(2, 1))) << "trial " << trial << ": " << line[1] << " vs " << x(2, 1);
    if (HasFailure()) return;
  }
}

}  // namespace
