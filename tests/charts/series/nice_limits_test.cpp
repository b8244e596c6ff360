#include "charts/series/nice_limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "charts/series/axis_scale.h"
#include "tests/test_seed.h"

namespace {

struct LimitsCase {
  double a;
  double b;
  uint16_t divisions;
  uint8_t scale;
  double low;
  double high;
};

TEST(NiceLimits, RoundsOutToWholeSteps) {
  const LimitsCase cases[] = {
      {0.5, 9.2, 5, kScaleLinear, 0, 10},    // step 2
      {-7, -2.5, 5, kScaleLinear, -7, -2},   // no positive value: anchored at the top
      {-3, 5, 2, kScaleLinear, -5, 5},       // step 5 puts 0 on a division
      {0.25, 0.75, 5, kScaleLinear, 0.2, 1.2},
      {120, 480, 4, kScaleLinear, 100, 500},
      {3, 3, 1, kScaleLinear, 3, 4},
      {1, 3, 2, kScaleLog10, 1, 3},          // whole log units
      {0, 4, 4, kScaleLog2, 0, 4},
      {-1.5, 2.2, 2, kScaleLogE, -3, 3},
      // No divisions are taken as one instead of searching forever.
      {3, 3, 0, kScaleLinear, 3, 4},
      {0.5, 9.2, 0, kScaleLinear, 0, 10},
  };
  for (const LimitsCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.a << " .. " << c.b << " in " << c.divisions);
    double low = c.a;
    double high = c.b;
    ASSERT_TRUE(NiceLimits(&low, &high, c.divisions, c.scale));
    EXPECT_NEAR(low, c.low, 1e-12);
    EXPECT_NEAR(high, c.high, 1e-12);
  }
}

TEST(NiceLimits, RefusesSpansThatAreNoNumber) {
  const double inf = std::numeric_limits<double>::infinity();
  const double limits[][2] = {{-1e308, 1e308}, {0, inf}, {-inf, 0}, {std::nan(""), 1}};
  for (const auto& l : limits) {
    double low = l[0];
    double high = l[1];
    EXPECT_FALSE(NiceLimits(&low, &high, 5, kScaleLinear)) << l[0] << " .. " << l[1];
    EXPECT_FALSE(NiceLimits(&low, &high, 5, kScaleLog10)) << l[0] << " .. " << l[1];
  }
}

TEST(NiceLimits, KeepsLimitsNoStepFitsUnrounded) {
  // The largest doubles leave no room for a step above them.
  double low = 1e308;
  double high = 1.7e308;
  ASSERT_TRUE(NiceLimits(&low, &high, 3, kScaleLinear));
  EXPECT_TRUE(std::isfinite(low) && std::isfinite(high));
  EXPECT_LE(low, 1e308);
  EXPECT_GE(high, 1.7e308);
}

// The step of a rounded range: its span divided evenly.
bool IsTableStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step)));
  const double mantissa = step / power;
  for (double k : {1.0, 2.0, 5.0, 10.0})
    if (std::fabs(mantissa - k) < 1e-9 * k)
      return true;
  return false;
}

TEST(NiceLimits, RandomRangesGetEvenRoundSteps) {
  const uint32_t seed = TestSeed(4711);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> exponent(-6, 9);
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_int_distribution<int> divisions(0, 10);
  for (int round = 0; round < 3000; ++round) {
    const bool log = round % 4 == 3;
    const uint8_t scale = log ? kScaleLog10 : kScaleLinear;
    double a;
    double b;
    if (log) {
      a = std::floor(unit(random) * 80 - 40) + unit(random);
      b = a + unit(random) * 30;
    } else {
      const double magnitude = std::pow(10.0, exponent(random));
      a = (unit(random) * 2 - 1) * magnitude;
      b = a + unit(random) * magnitude * (unit(random) < 0.1 ? 1e-3 : 2);
    }
    const int n = divisions(random);
    SCOPED_TRACE(::testing::Message() << "round " << round << ": " << a << " .. " << b << " in " << n);
    double low = a;
    double high = b;
    ASSERT_TRUE(NiceLimits(&low, &high, static_cast<uint16_t>(n), scale));
    const int steps = n > 1 ? n : 1;
    EXPECT_LE(low, a);
    EXPECT_GE(high, b);
    if (steps == 1 && a < 0 && b > 0) {
      // One step anchored at a multiple never spans 0: kept unrounded.
      EXPECT_EQ(low, a);
      EXPECT_EQ(high, b);
      continue;
    }
    const double step = (high - low) / steps;
    if (log) {
      EXPECT_EQ(step, std::floor(step));
      EXPECT_GE(step, 1);
      EXPECT_EQ(std::fmod(b <= 0 && a < 0 ? high : low, step), 0.0);
      continue;
    }
    ASSERT_GT(step, 0);
    EXPECT_TRUE(IsTableStep(step)) << "step " << step;
    // The anchored end is a whole number of steps.
    const double anchor = a < 0 && b <= 0 ? high : low;
    const double multiple = anchor / step;
    EXPECT_NEAR(multiple, std::round(multiple), 1e-6 + 1e-9 * std::fabs(multiple));
    // Over two or more divisions the rounding takes at most ten times the
    // range (five times from the 1-2-5 steps, n times for the smallest one).
    if (n >= 2 && b > a) {
      EXPECT_LE(high - low, 10 * (b - a) * (1 + 1e-9));
    }
  }
}

}  // namespace
