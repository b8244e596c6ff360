#include "functions/given_int_arg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "tests/test_seed.h"

namespace {

// The inline reading gives the integer, the error and the slot that
// GetArgInt gives, for whole numbers, halves, edges and bounds alike.
TEST(GivenIntArg, ReadsAsGetArgInt) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double edges[] = {0.0, -0.0, 2147483647.0, -2147483648.0, 2147483648.0, 1e300,
                          std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
  EvalState state;
  for (int round = 0; round < 20000; ++round) {
    double x = edges[random() % 8];
    if (random() % 2) x = double(int32_t(random() % 41) - 20) / (random() % 3 ? 1.0 : 2.0);
    const int32_t min = random() % 5 == 0 ? -2147483647 - 1 : int32_t(random() % 21) - 10;
    const int32_t max = random() % 5 == 0 ? 2147483647 : min + int32_t(random() % 20);
    EvalValue value{};
    value.kind = random() % 8 == 0 ? kEvalEmpty : kEvalNumber;
    value.error = random() % 10 == 0 ? kErrorNA : kErrorNone;
    value.number = x;
    state.operands[1] = value;
    state.operands[2] = value;
    int32_t inline_ = 7;
    int32_t general = 7;
    const uint8_t inlineError = GetGivenIntArg(state, 1, &inline_, min, max);
    const uint8_t generalError = GetArgInt(state, 2, &general, min, max);
    ASSERT_EQ(inlineError, generalError) << x << " in " << min << ".." << max << " round " << round;
    ASSERT_EQ(inline_, general) << x << " in " << min << ".." << max << " round " << round;
    ASSERT_EQ(state.operands[1].kind, state.operands[2].kind) << x << " round " << round;
  }
}

}  // namespace
