#include <gtest/gtest.h>

#include "functions/random_stream.h"

namespace {

TEST(RandomStream, StartsWhereEveryRunStarts) {
  RandomSeedPair pair = kInitialRandomSeeds;
  EXPECT_EQ(NextUniform(&pair), 0.9018255177210872);
  for (int i = 0; i < 100000; ++i) {
    const double u = NextUniform(&pair);
    ASSERT_GT(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

TEST(RandomStream, AZeroSeedHoldsItsComponent) {
  RandomSeedPair pair = {0, 654321};
  NextUniform(&pair);
  EXPECT_EQ(pair.s1, 0);
  EXPECT_NE(pair.s2, 654321);
}

}  // namespace
