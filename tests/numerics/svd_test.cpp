#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "numerics/linear_algebra.h"
#include "numerics/svd.h"
#include "tests/test_seed.h"

namespace {

// U S V^T of the decomposition of a (m x n, given row by row), less a; the
// largest difference relative to the largest element of a.
double ReconstructionError(const std::vector<double>& values, int32_t m, int32_t n, int32_t* rank) {
  Matrix a, p, u, s, v;
  EXPECT_TRUE(a.Resize(uint32_t(m), uint32_t(n)) && p.Resize(uint32_t(n), uint32_t(m)) &&
              u.Resize(uint32_t(m), uint32_t(m)) && s.Resize(uint32_t(m), uint32_t(n)) &&
              v.Resize(uint32_t(n), uint32_t(n)));
  double largest = 0.0;
  for (int32_t i = 0; i < m * n; ++i) {
    a.Doubles()[i] = values[size_t(i)];
    largest = std::fmax(largest, std::fabs(values[size_t(i)]));
  }
  bool converged = true;
  EXPECT_TRUE(SvdDriver(a, p, u, s, v, m, n, rank, &converged, 0.0));
  EXPECT_TRUE(converged);
  double error = 0.0;
  for (int32_t i = 1; i <= m; ++i)
    for (int32_t j = 1; j <= n; ++j) {
      double sum = 0.0;
      for (int32_t k = 1; k <= n; ++k) sum += u(uint32_t(i), uint32_t(k)) * s(uint32_t(k), uint32_t(k)) * v(uint32_t(j), uint32_t(k));
      error = std::fmax(error, std::fabs(sum - values[size_t((i - 1) * n + (j - 1))]));
    }
  return largest > 0 ? error / largest : error;
}

// Matrices whose bidiagonal form meets zero columns, zero rows and
// singular values that vanish during the iteration: the factors still give
// the matrix back, with the rank counted.
TEST(Svd, RankDeficientMatricesKeepTheirFactorisation) {
  struct Case {
    int32_t m, n;
    std::vector<double> values;
    int32_t rank;
  };
  const Case kCases[] = {
      {3, 2, {0, 1, 0, 2, 0, 3}, 1},
      {3, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
      {4, 3, {1, 2, 3, 2, 4, 6, 3, 6, 9, 4, 8, 12}, 1},
      {4, 4, {1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1}, 2},
      {5, 4, {2, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 0, 0}, 4},
      {3, 3, {1, 1, 0, 0, 0, 1, 0, 0, 1}, 2},
  };
  for (const Case& c : kCases) {
    int32_t rank = -1;
    EXPECT_LE(ReconstructionError(c.values, c.m, c.n, &rank), 1e-14) << c.m << " x " << c.n;
    EXPECT_EQ(rank, c.rank) << c.m << " x " << c.n;
  }
}

// Random products of a tall and a wide factor have the inner count as rank.
TEST(Svd, RandomLowRankProducts) {
  unsigned seed = 20261207;
  if (const char* chosen = std::getenv("TALVERO_TEST_SEED")) seed = unsigned(std::strtoul(chosen, nullptr, 10));
  SCOPED_TRACE(::testing::Message() << "seed " << seed << " (TALVERO_TEST_SEED reruns it)");
  std::mt19937 random(seed);
  const auto draw = [&random](int count) { return int(random() % unsigned(count)); };
  for (int trial = 0; trial < 30; ++trial) {
    const int32_t n = 2 + draw(8);
    const int32_t m = n + draw(5);
    const int32_t inner = 1 + draw(n);
    std::vector<double> left(size_t(m * inner)), right(size_t(inner * n)), values(size_t(m * n), 0.0);
    for (double& x : left) x = draw(7) - 3;
    for (double& x : right) x = draw(7) - 3;
    for (int32_t i = 0; i < m; ++i)
      for (int32_t j = 0; j < n; ++j)
        for (int32_t k = 0; k < inner; ++k)
          values[size_t(i * n + j)] += left[size_t(i * inner + k)] * right[size_t(k * n + j)];
    int32_t rank = -1;
    EXPECT_LE(ReconstructionError(values, m, n, &rank), 1e-13) << "trial " << trial;
    EXPECT_LE(rank, inner) << "trial " << trial;
  }
}

// Small fits keep their matrices and scratch off the heap: the same fits
// with heap matrices give the same bits, and fits past the small sizes
// still find the line.
TEST(Svd, LineFitsAgreeWhereverTheirMatricesLive) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto fit = [](const std::vector<double>& xs, const std::vector<double>& ys, bool onHeap, double out[3]) {
    const int32_t m = int32_t(xs.size());
    Matrix a, b, x, r;
    // A buffer sized larger first is kept for the smaller shape.
    if (onHeap) {
      ASSERT_TRUE(a.Resize(200, 200) && b.Resize(200, 200) && x.Resize(200, 200) && r.Resize(200, 200));
    }
    ASSERT_TRUE(a.Resize(uint32_t(m), 2) && b.Resize(uint32_t(m), 1) && x.Resize(2, 1) && r.Resize(1, 1));
    for (int32_t k = 1; k <= m; ++k) {
      a(uint32_t(k), 1) = 1.0;
      a(uint32_t(k), 2) = xs[size_t(k - 1)];
      b(uint32_t(k), 1) = ys[size_t(k - 1)];
    }
    int32_t rank = 0;
    bool converged = true;
    ASSERT_TRUE(SvdLeastSquares(a, b, x, r, m, 2, 1, &rank, &converged, 0.0));
    EXPECT_TRUE(converged);
    out[0] = x(1, 1);
    out[1] = x(2, 1);
    out[2] = r(1, 1);
  };
  for (int trial = 0; trial < 40; ++trial) {
    const size_t points = trial < 38 ? 2 + random() % 40 : 100 + random() % 20;
    std::vector<double> xs(points), ys(points);
    for (size_t k = 0; k < points; ++k) {
      xs[k] = double(random() % 1000) / 8.0;
      ys[k] = 3.0 + 0.5 * xs[k] + double(int(random() % 64) - 32) / 16.0;
    }
    double inside[3], heap[3];
    fit(xs, ys, false, inside);
    fit(xs, ys, true, heap);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(inside[i], heap[i]) << "trial " << trial << ", value " << i;
    if (points >= 100) {
      EXPECT_NEAR(inside[1], 0.5, 0.05) << "trial " << trial;
    }
  }
}

// A right-hand side solved alone gives the very bits it gives beside
// another one: a single column takes a path of its own through the
// reflections, which must not change a sum's order.
TEST(Svd, OneRightHandSideAsAmongSeveral) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 60; ++trial) {
    const int32_t n = 1 + int32_t(random() % 5);
    const int32_t m = n + int32_t(random() % 30);
    Matrix a1, a2, b1, b2, x1, x2, r1, r2;
    ASSERT_TRUE(a1.Resize(uint32_t(m), uint32_t(n)) && a2.Resize(uint32_t(m), uint32_t(n)) &&
                b1.Resize(uint32_t(m), 1) && b2.Resize(uint32_t(m), 2) && x1.Resize(uint32_t(n), 1) &&
                x2.Resize(uint32_t(n), 2) && r1.Resize(1, 1) && r2.Resize(2, 1));
    for (int32_t i = 1; i <= m; ++i) {
      for (int32_t j = 1; j <= n; ++j)
        a1(uint32_t(i), uint32_t(j)) = a2(uint32_t(i), uint32_t(j)) =
            random() % 5 == 0 ? 0.0 : double(int(random() % 2001) - 1000) / 64.0;
      b1(uint32_t(i), 1) = b2(uint32_t(i), 1) = double(int(random() % 2001) - 1000) / 16.0;
      b2(uint32_t(i), 2) = double(random() % 100);
    }
    int32_t rank1 = 0, rank2 = 0;
    bool converged1 = true, converged2 = true;
    ASSERT_TRUE(SvdLeastSquares(a1, b1, x1, r1, m, n, 1, &rank1, &converged1, 0.0));
    ASSERT_TRUE(SvdLeastSquares(a2, b2, x2, r2, m, n, 2, &rank2, &converged2, 0.0));
    EXPECT_EQ(rank1, rank2);
    for (int32_t j = 1; j <= n; ++j) EXPECT_EQ(x1(uint32_t(j), 1), x2(uint32_t(j), 1)) << "trial " << trial;
    EXPECT_EQ(r1(1, 1), r2(1, 1)) << "trial " << trial;
  }
}

}  // namespace
