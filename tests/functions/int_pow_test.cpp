#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "functions/combin_product.h"
#include "functions/int_pow.h"

namespace {

TEST(IntPow, PowersByRepeatedSquaring) {
  EXPECT_EQ(IntPow(2, 10), 1024);
  EXPECT_EQ(IntPow(2, -2), 0.25);
  EXPECT_EQ(IntPow(-3, 3), -27);
  EXPECT_EQ(IntPow(0, 0), 1);
  EXPECT_EQ(IntPow(5, 0), 1);
  EXPECT_EQ(IntPow(1.5, 2), 2.25);
  EXPECT_EQ(IntPow(0, -1), std::numeric_limits<double>::infinity());
  EXPECT_EQ(IntPow(1, std::numeric_limits<int32_t>::min()), 1);
  EXPECT_EQ(IntPow(2, std::numeric_limits<int32_t>::min()), 0);
  EXPECT_EQ(IntPow(10, 400), std::numeric_limits<double>::infinity());
  // Our own arithmetic: exact and the same on every target, close to pow.
  EXPECT_NEAR(IntPow(1.0001, 12345) / std::pow(1.0001, 12345), 1.0, 1e-12);
}

TEST(CombinProduct, BinomialCoefficients) {
  EXPECT_EQ(CombinProduct(5, 2), 10);
  EXPECT_EQ(CombinProduct(10, 0), 1);
  EXPECT_EQ(CombinProduct(10, 10), 1);
  EXPECT_EQ(CombinProduct(52, 5), 2598960);
  EXPECT_EQ(CombinProduct(3, 4), 0);
  EXPECT_EQ(CombinProduct(3, -1), 0);
  EXPECT_TRUE(std::isnan(CombinProduct(1000, 500)));  // both products overflow
}

}  // namespace
