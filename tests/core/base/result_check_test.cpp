#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "core/base/result_check.h"
#include "tests/test_seed.h"

namespace {

double FromBits(uint64_t bits) {
  double x = 0;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// Refused exactly when the number is not finite or is subnormal.
bool Refused(double x) {
  const int kind = std::fpclassify(x);
  return kind == FP_NAN || kind == FP_INFINITE || kind == FP_SUBNORMAL;
}

// Every class of double, across random signs, exponents and fractions and
// at the edges of the normal range.
TEST(ResultCheckClasses, RefusesExactlyTheNonFiniteAndSubnormal) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937_64 random(seed);
  const double edges[] = {0.0, -0.0, DBL_MIN, -DBL_MIN, DBL_MAX, -DBL_MAX, std::nextafter(DBL_MIN, 0.0),
                          -std::nextafter(DBL_MIN, 0.0), DBL_TRUE_MIN, -DBL_TRUE_MIN, HUGE_VAL, -HUGE_VAL,
                          std::nan(""), -std::nan("")};
  for (const double x : edges) EXPECT_EQ(IsBadNumber(x), Refused(x)) << x;
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    // Exponents at both ends of the range now and then.
    if (i % 4 == 1) bits &= ~(uint64_t(0x7FF) << 52);
    if (i % 4 == 2) bits |= uint64_t(0x7FF) << 52;
    const double x = FromBits(bits);
    ASSERT_EQ(IsBadNumber(x), Refused(x)) << std::hexfloat << x;
  }
}

}  // namespace
