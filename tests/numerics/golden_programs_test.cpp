#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/linear_program.h"
#include "tests/numerics/golden_tagged_cases.h"

namespace {

// One problem of tests/golden/programs.txt with glpsol's optimum.
struct GoldenProgram {
  bool integer = false;
  uint32_t m = 0;
  uint32_t n = 0;
  std::vector<double> a, s, b, c, f;
  double z = 0.0;
};

std::vector<GoldenProgram> ReadPrograms() {
  return ReadTaggedCases<GoldenProgram>(
      "programs.txt",
      [](GoldenProgram& p, std::istringstream& fields) {
        std::string kind;
        fields >> kind >> p.m >> p.n;
        p.integer = kind == "int";
      },
      [](GoldenProgram& p, const std::string& tag, const std::vector<double>& values) {
        if (tag == "A") p.a = values;
        if (tag == "s") p.s = values;
        if (tag == "b") p.b = values;
        if (tag == "c") p.c = values;
        if (tag == "f") p.f = values;
        if (tag == "z") p.z = values.at(0);
      });
}

void Fill(Matrix& m, const std::vector<double>& values, uint32_t rows, uint32_t cols) {
  ASSERT_TRUE(m.Resize(rows, cols));
  ASSERT_EQ(values.size(), size_t(rows) * cols);
  for (uint32_t i = 1; i <= rows; ++i)
    for (uint32_t j = 1; j <= cols; ++j) m(i, j) = values[size_t(i - 1) * cols + (j - 1)];
}

TEST(GoldenPrograms, OptimaMatchGlpsol) {
  const std::vector<GoldenProgram> programs = ReadPrograms();
  ASSERT_GE(programs.size(), 100u);
  for (size_t k = 0; k < programs.size(); ++k) {
    const GoldenProgram& p = programs[k];
    Matrix a, s, b, c, f, x;
    Fill(a, p.a, p.m, p.n);
    Fill(s, p.s, p.m, 1);
    Fill(b, p.b, p.m, 1);
    Fill(c, p.c, p.n, 1);
    ASSERT_TRUE(f.Resize(p.n, 1) && x.Resize(p.n, 1));
    f.Zero();
    if (p.integer) Fill(f, p.f, p.n, 1);
    int32_t vector = 1;
    const ProgramStatus status = p.integer ? BranchBoundProgram(a, s, b, c, f, x, &vector, p.m, p.n, 0, 0, false)
                                           : SimplexLinearProgram(a, s, b, c, x, &vector, p.m, p.n, 0, 0);
    ASSERT_EQ(status, kProgramSolved) << "problem " << k;
    double z = 0.0;
    for (uint32_t j = 1; j <= p.n; ++j) z += c(j, 1) * x(j, 1);
    EXPECT_NEAR(z, p.z, 1e-9 * std::fmax(1.0, std::fabs(p.z))) << "problem " << k;
  }
}

// One problem of tests/golden/quadratic_programs.txt with its exact optimum.
struct GoldenQuadraticProgram {
  uint32_t m = 0;
  uint32_t n = 0;
  std::vector<double> a, s, b, p, c, x;
};

std::vector<GoldenQuadraticProgram> ReadQuadraticPrograms() {
  return ReadTaggedCases<GoldenQuadraticProgram>(
      "quadratic_programs.txt", [](GoldenQuadraticProgram& q, std::istringstream& fields) { fields >> q.m >> q.n; },
      [](GoldenQuadraticProgram& q, const std::string& tag, const std::vector<double>& values) {
        if (tag == "A") q.a = values;
        if (tag == "s") q.s = values;
        if (tag == "b") q.b = values;
        if (tag == "p") q.p = values;
        if (tag == "C") q.c = values;
        if (tag == "x") q.x = values;
      });
}

ProgramStatus SolveQuadraticProgram(const GoldenQuadraticProgram& q, int32_t* vector, std::vector<double>& x) {
  Matrix a, s, b, p, c, result;
  Fill(a, q.a, q.m, q.n);
  Fill(s, q.s, q.m, 1);
  Fill(b, q.b, q.m, 1);
  Fill(p, q.p, q.n, 1);
  Fill(c, q.c, q.n, q.n);
  EXPECT_TRUE(result.Resize(q.n, 1));
  result.Zero();
  const ProgramStatus status = QuadraticProgram(a, s, b, p, c, result, vector, q.m, q.n, 0);
  x.assign(result.Doubles(), result.Doubles() + q.n);
  return status;
}

// C is positive definite in every problem, so the optimum vector is unique:
// vector 1 is it, vector 0 counts one, vector 2 does not exist. Some
// problems repeat rows, so that rows depend on each other or meet only as
// an equality.
TEST(GoldenPrograms, QuadraticOptimaMatchExactKktPoints) {
  const std::vector<GoldenQuadraticProgram> programs = ReadQuadraticPrograms();
  ASSERT_GE(programs.size(), 300u);
  for (size_t k = 0; k < programs.size(); ++k) {
    const GoldenQuadraticProgram& q = programs[k];
    std::vector<double> x;
    int32_t vector = 1;
    EXPECT_EQ(SolveQuadraticProgram(q, &vector, x), kProgramSolved) << "problem " << k;
    for (uint32_t j = 0; j < q.n; ++j)
      EXPECT_NEAR(x[j], q.x[j], 1e-9 * std::fmax(1.0, std::fabs(q.x[j]))) << "problem " << k << ", x" << j + 1;
    vector = 0;
    EXPECT_EQ(SolveQuadraticProgram(q, &vector, x), kProgramSolved) << "problem " << k;
    EXPECT_EQ(vector, 1) << "problem " << k;
    vector = 2;
    EXPECT_EQ(SolveQuadraticProgram(q, &vector, x), kProgramInfeasible) << "problem " << k;
  }
}

}  // namespace

