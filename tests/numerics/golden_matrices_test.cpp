#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "functions/random_stream.h"
#include "numerics/linear_algebra.h"
#include "numerics/svd.h"
#include "tests/numerics/golden_tagged_cases.h"

namespace {

// One case of tests/golden/matrices.txt: numpy's results for a matrix the
// test rebuilds from the same generator (see generate_matrices.py).
struct GoldenCase {
  std::string kind;
  int32_t m = 0;
  int32_t n = 0;
  int32_t seed = 0;
  double cond = 0.0;
  double det = 0.0;
  std::vector<double> sv;
  std::vector<double> x;
};

std::vector<GoldenCase> ReadCases() {
  return ReadTaggedCases<GoldenCase>(
      "matrices.txt",
      [](GoldenCase& c, std::istringstream& fields) { fields >> c.kind >> c.m >> c.n >> c.seed; },
      [](GoldenCase& c, const std::string& tag, const std::vector<double>& values) {
        if (tag == "cond") c.cond = values.at(0);
        if (tag == "det") c.det = values.at(0);
        if (tag == "sv") c.sv = values;
        if (tag == "x") c.x = values;
      });
}

constexpr double kGrades[] = {1e-3, 1e-2, 1e-1, 1.0, 1e1, 1e2, 1e3};

void Build(const GoldenCase& c, Matrix& a, Matrix& b) {
  ASSERT_TRUE(a.Resize(uint32_t(c.m), uint32_t(c.n)));
  ASSERT_TRUE(b.Resize(uint32_t(c.m), 1));
  RandomSeedPair pair = {c.seed, 654321};
  for (int32_t i = 1; i <= c.m; ++i)
    for (int32_t j = 1; j <= c.n; ++j)
      a(i, j) = c.kind == "hilbert" ? 1.0 / (i + j - 1) : 2.0 * NextUniform(&pair) - 1.0;
  if (c.kind == "near")
    for (int32_t i = 1; i <= c.m; ++i) a(i, c.n) = a(i, 1) + 1e-10 * a(i, c.n);
  if (c.kind == "graded")
    for (int32_t i = 1; i <= c.m; ++i)
      for (int32_t j = 1; j <= c.n; ++j) a(i, j) = a(i, j) * kGrades[(i - 1) % 7];
  for (int32_t i = 1; i <= c.m; ++i) b(i, 1) = 2.0 * NextUniform(&pair) - 1.0;
}

void Copy(const Matrix& from, Matrix& to) {
  ASSERT_TRUE(to.Resize(from.rows, from.cols));
  for (uint32_t i = 1; i <= from.rows; ++i)
    for (uint32_t j = 1; j <= from.cols; ++j) to(i, j) = from(i, j);
}

double NormInf(const Matrix& a) {
  double largest = 0.0;
  for (uint32_t i = 1; i <= a.rows; ++i) {
    double sum = 0.0;
    for (uint32_t j = 1; j <= a.cols; ++j) sum += std::fabs(a(i, j));
    largest = std::fmax(largest, sum);
  }
  return largest;
}

// |A X - B| / (|A| |X| + |B|) in the infinity norm, summed in long double.
double RelativeResidual(const Matrix& a, const Matrix& x, const Matrix& b) {
  double residual = 0.0;
  for (uint32_t i = 1; i <= a.rows; ++i)
    for (uint32_t j = 1; j <= x.cols; ++j) {
      long double sum = -(long double)b(i, j);
      for (uint32_t k = 1; k <= a.cols; ++k) sum += (long double)a(i, k) * x(k, j);
      residual = std::fmax(residual, std::fabs(double(sum)));
    }
  return residual / (NormInf(a) * NormInf(x) + NormInf(b));
}

// |A x - b| in the Euclidean norm.
double ResidualNorm(const Matrix& a, const Matrix& x, const Matrix& b) {
  long double squares = 0.0L;
  for (uint32_t i = 1; i <= a.rows; ++i) {
    long double sum = -(long double)b(i, 1);
    for (uint32_t k = 1; k <= a.cols; ++k) sum += (long double)a(i, k) * x(k, 1);
    squares += sum * sum;
  }
  return std::sqrt(double(squares));
}

double RelativeDifference(const std::vector<double>& got, const std::vector<double>& expected) {
  double difference = 0.0;
  double scale = 0.0;
  for (size_t i = 0; i < expected.size(); ++i) {
    difference = std::fmax(difference, std::fabs(got[i] - expected[i]));
    scale = std::fmax(scale, std::fabs(expected[i]));
  }
  return difference / scale;
}

constexpr double kTolerance = 1e-12;

TEST(GoldenMatrices, SolutionsDeterminantsAndSingularValuesAgreeWithTheReference) {
  const std::vector<GoldenCase> cases = ReadCases();
  ASSERT_GE(cases.size(), 20u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.kind + " " + std::to_string(c.m) + " x " + std::to_string(c.n));
    Matrix a, b;
    Build(c, a, b);
    const uint32_t m = uint32_t(c.m);
    const uint32_t n = uint32_t(c.n);

    // The singular values, and U S V^T giving A back.
    Matrix work, p, u, s, v;
    Copy(a, work);
    ASSERT_TRUE(p.Resize(n, m) && u.Resize(m, m) && s.Resize(m, n) && v.Resize(n, n));
    int32_t rank = 0;
    bool converged = true;
    ASSERT_TRUE(SvdDriver(work, p, u, s, v, c.m, c.n, &rank, &converged, 0.0));
    ASSERT_TRUE(converged);
    std::vector<double> singular(n);
    for (uint32_t i = 1; i <= n; ++i) singular[i - 1] = s(i, i);
    EXPECT_LE(RelativeDifference(singular, c.sv), kTolerance);
    Matrix us, usvt, vt;
    ASSERT_TRUE(us.Resize(m, n) && usvt.Resize(m, n) && vt.Resize(n, n));
    MatrixMultiply(u, s, us, c.m, c.m, c.n);
    MatrixTransposeInto(v, vt, c.n, c.n);
    MatrixMultiply(us, vt, usvt, c.m, c.n, c.n);
    double reconstruction = 0.0;
    for (uint32_t i = 1; i <= m; ++i)
      for (uint32_t j = 1; j <= n; ++j) reconstruction = std::fmax(reconstruction, std::fabs(usvt(i, j) - a(i, j)));
    EXPECT_LE(reconstruction / NormInf(a), kTolerance);

    // Least squares through the decomposition.
    Matrix rhs, x, r;
    Copy(a, work);
    Copy(b, rhs);
    ASSERT_TRUE(x.Resize(n, 1) && r.Resize(1, 1));
    ASSERT_TRUE(SvdLeastSquares(work, rhs, x, r, c.m, c.n, 1, &rank, &converged, 0.0));
    std::vector<double> solution(x.Doubles(), x.Doubles() + n);
    // Near-singular problems have solutions only as exact as their condition
    // allows; their residuals still agree.
    if (c.cond < 1e6) {
      EXPECT_LE(RelativeDifference(solution, c.x), kTolerance);
    }
    if (m == n) {
      EXPECT_LE(RelativeResidual(a, x, b), kTolerance);
    } else {
      Matrix reference;
      ASSERT_TRUE(reference.Resize(n, 1));
      for (uint32_t i = 1; i <= n; ++i) reference(i, 1) = c.x[i - 1];
      const double scale = NormInf(a) * NormInf(x) + NormInf(b);
      EXPECT_LE(std::fabs(ResidualNorm(a, x, b) - ResidualNorm(a, reference, b)), kTolerance * scale);
    }
    if (m != n) continue;

    // Elimination with and without row scaling, the determinant, the inverse.
    for (bool scaled : {false, true}) {
      Matrix lu, solved, scale, pivots;
      Copy(a, lu);
      Copy(b, solved);
      ASSERT_TRUE(scale.Resize(n, 1) && pivots.ResizeInt32(n, 1));
      int32_t exchanges = 0;
      ASSERT_TRUE(GaussEliminate(lu, solved, scaled ? &scale : nullptr, &pivots, c.n, 1, &exchanges));
      EXPECT_LE(RelativeResidual(a, solved, b), kTolerance);
      double det = exchanges % 2 ? -1.0 : 1.0;
      for (uint32_t i = 1; i <= n; ++i) det *= lu(i, i);
      // A determinant is as sensitive as the matrix is ill-conditioned, in
      // any algorithm: beyond 1e4 the reference itself is that inexact.
      EXPECT_LE(std::fabs(det / c.det - 1.0), std::fmax(kTolerance, c.cond * 1e-16)) << "determinant";
    }
    Matrix lu, inverse, identity;
    Copy(a, lu);
    ASSERT_TRUE(inverse.Resize(n, n) && identity.Resize(n, n));
    MatrixIdentity(inverse, c.n);
    MatrixIdentity(identity, c.n);
    ASSERT_TRUE(GaussEliminate(lu, inverse, nullptr, nullptr, c.n, c.n));
    EXPECT_LE(RelativeResidual(a, inverse, identity), kTolerance) << "inverse";
  }
}

}  // namespace
