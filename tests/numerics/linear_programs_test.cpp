#include <gtest/gtest.h>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/linear_program.h"
#include "numerics/numeric_function_table.h"
#include "tests/functions/formula_result_text.h"

namespace {

class LinearPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
    state.sheet = &sheet;
  }
  void TearDown() override { ResetGlobalOptions(); }
  void ExpectTable(const FormulaCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i)
      EXPECT_EQ(EvaluateToText(state, cases[i].formula, 25, 99), cases[i].result) << cases[i].formula;
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(LinearPrograms, ExamplesAndErrors) {
  static const FormulaCase kCases[] = {
      {"=LPROG({2,1,1;1,1,3},{1;0},{5;10},{4;2;2},1,,)", "{1; 0; 3}"},
      {"=LPROGINT({2.5,1.5,1;1,1.5,3},{1;0},{15;10},{1;1;2},{1;0;1},1,,)", "{4; 0; 2}"},
      {"=LPROGBIN({2.5,1.5,1;1,1.5,3},{1;0},{15;10},{1;1;2},{1;0;1},1,,)", "{1; 4; 1}"},
      // A "<=" row with a negative right-hand side is the negated ">=" row.
      {"=LPROG({-1,-1},{1},{-2},{-1;-2},1,,)", "{2; 0}"},
      {"=LPROG({1,1},{-1},{2},{-1;-2},1,,)", "{2; 0}"},
      {"=LPROG({1,1},{1},{4},{1;1},0,,)>=2", "1"},
      {"=LPROG({1,1},{1},{4},{1;1},9,,)", "#NULL!"},
      {"=LPROG({1,-1},{1},{4},{1;1},1,,)", "#VALUE!"},                 // unbounded
      {"=LPROG({1,1;1,0},{1;-1},{1;2},{1;1},1,,)", "#NULL!"},          // infeasible
      {"=LPROG({1,1;1,0},{1,1;-1,1},{1;2},{1;1},1,,)", "#VALUE!"},     // s with two columns
      {"=LPROG({1,1;1,0},{1;-1},{1;2},{1;1;1;1},1,,)", "#VALUE!"},
      {"=LPROGINT({1,1},{1},{4},{1;1},{1;2},1,,)", "#NUM!"},
      {"=LPROGINT({2,2},{1},{3},{1;1},,1,,)", "{1.5; 0}"},              // no variable restricted
      // A penalty derived from the coefficients is too small for this
      // optimum; the rows can be met, so the answer is no "#NULL!".
      {"=LPROG({1,0,0;100,-1,0;0,100,-1},{-1;1;1},{1;0;0},{0;0;-1},1,,)", "{1; 100; 10000}"},
      {"=LPROGINT({1,0,0;100,-1,0;0,100,-1},{-1;1;1},{1;0;0},{0;0;-1},{1;1;1},1,,)", "{1; 100; 10000}"},
      {"=LPROG({1,1},{1},{4},{1;1},1,)", "#SYNTAX!"},
      {"=QPROG({1,2;1,1},{1;1},{10;9},{10;25},{10,2;2,1},1,)", "{0; 5}"},
      {"=QPROG({1,1},{0},{5},{10;25},{10,2;2,1},1,)", "{0; 5}"},
      {"=QPROG({1,1},{1},{100},{10;25},{10,2;2,1},1,)", "{0; 12.5}"},
      {"=QPROG({1,2;1,1},{1;1},{10;9},{10;25},{10,2,1;2,1,1},1,)", "#VALUE!"},
      {"=QPROG({1,2;1,1},{1;1},{10;9},{10;25;1},{10,2;2,1},1,)", "#VALUE!"},
      {"=QPROG({1,2;1,1},{1;1},{10;9},{10;25},{10,2;2,1},1,-1)", "#NUM!"},
      {"=QPROG({1,1},{-1},{-1},{10;25},{10,2;2,1},1,)", "{0; 12.5}"},
      {"=QPROG({1,1;1,1},{1;-1},{1;3},{10;25},{10,2;2,1},1,)", "#NULL!"},
      // The rows say x1 + 3 x2 = 7 twice over.
      {"=QPROG({1,3;1,3},{1;-1},{7;7},{-2;-3},{3,1;1,2},1,)", "{0; 2.33333333333333}"},
      // The optimum is unique: one vector, and no second one.
      {"=QPROG({1,2;1,1},{1;1},{10;9},{10;25},{10,2;2,1},0,)", "1"},
      {"=QPROG({1,2;1,1},{1;1},{10;9},{10;25},{10,2;2,1},2,)", "#NULL!"},
      {"=QPROG({1,1},{-1},{1},{0;0},{-1,0;0,-1},1,)", "#VALUE!"},  // C not semidefinite: unbounded
  };
  ExpectTable(kCases, sizeof kCases / sizeof kCases[0]);
}

// Beale's problem cycles forever under the steepest-column rule with the
// first-row tie break; it must reach its optimum 0.05 in a bounded number of
// pivots.
TEST(SimplexKernel, DegenerateCyclingProblemEnds) {
  Matrix a, s, b, c, x;
  ASSERT_TRUE(a.Resize(3, 4) && s.Resize(3, 1) && b.Resize(3, 1) && c.Resize(4, 1) && x.Resize(4, 1));
  const double rows[3][4] = {{0.25, -60, -0.04, 9}, {0.5, -90, -0.02, 3}, {0, 0, 1, 0}};
  for (uint32_t i = 1; i <= 3; ++i) {
    for (uint32_t j = 1; j <= 4; ++j) a(i, j) = rows[i - 1][j - 1];
    s(i, 1) = 1;
    b(i, 1) = i == 3 ? 1 : 0;
  }
  const double costs[4] = {0.75, -150, 0.02, -6};
  for (uint32_t j = 1; j <= 4; ++j) c(j, 1) = costs[j - 1];
  int32_t vector = 1;
  ASSERT_EQ(SimplexLinearProgram(a, s, b, c, x, &vector, 3, 4, 1e-12, 0), kProgramSolved);
  double z = 0;
  for (uint32_t j = 1; j <= 4; ++j) z += c(j, 1) * x(j, 1);
  EXPECT_NEAR(z, 0.05, 1e-12);
}

}  // namespace
