#include <gtest/gtest.h>

#include "numerics/linear_algebra.h"

// The inverse through the factor times the matrix is the identity, also
// where the inverse factor's off-diagonal terms build on one another.
TEST(CholeskyInvert, GivesTheInverse) {
  const double kMatrix[3][3] = {{4, 2, 0.6}, {2, 3, -1}, {0.6, -1, 5}};
  Matrix a, u, inverse, product;
  ASSERT_TRUE(a.Resize(3, 3) && u.Resize(3, 3) && inverse.Resize(3, 3) && product.Resize(3, 3));
  for (uint32_t i = 1; i <= 3; ++i)
    for (uint32_t j = 1; j <= 3; ++j) a(i, j) = inverse(i, j) = kMatrix[i - 1][j - 1];
  ASSERT_TRUE(CholeskyInvert(inverse, u, 3));
  MatrixMultiply(a, inverse, product, 3, 3, 3);
  for (uint32_t i = 1; i <= 3; ++i)
    for (uint32_t j = 1; j <= 3; ++j) EXPECT_NEAR(product(i, j), i == j ? 1.0 : 0.0, 1e-14) << i << "," << j;
  ASSERT_TRUE(a.Resize(2, 2));
  a(1, 1) = 4, a(1, 2) = 2, a(2, 1) = 2, a(2, 2) = 3;
  ASSERT_TRUE(CholeskyInvert(a, u, 2));
  EXPECT_DOUBLE_EQ(a(1, 1), 0.375);
  EXPECT_DOUBLE_EQ(a(1, 2), -0.25);
  EXPECT_DOUBLE_EQ(a(2, 2), 0.5);
}
