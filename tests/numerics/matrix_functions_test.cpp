#include <gtest/gtest.h>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/random_stream.h"
#include "numerics/numeric_function_table.h"
#include "tests/functions/formula_result_text.h"

namespace {

class MatrixFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
    state.sheet = &sheet;
  }
  void TearDown() override { ResetGlobalOptions(); }
  std::string Run(const char* formula) { return EvaluateToText(state, formula, 25, 99); }
  void ExpectTable(const FormulaCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i) EXPECT_EQ(Run(cases[i].formula), cases[i].result) << cases[i].formula;
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(MatrixFunctions, Examples) {
  static const FormulaCase kCases[] = {
      {"=MTXSVD({1,2;2,3;7,1},{1;2;3},,1)", "{0.37476459510358; 0.38418079096045}"},
      {"=MTXSVD({1,2;2,3;7,1},{1;2;3},,3)", "{0.030131826742}"},  // the residual of the one right-hand side
      {"=MTXSVD({1,2;2,3;7,1},,,6)", "{7.68114574786861, 0; 0, 3; 0, 0}"},
      {"=MTXSVD({1,2;2,3;7,1},{1;2;3},0.5,2)", "1"},
      {"=MTXLSW({1,2;2,3;7,1},{1;2;3},{1,0,0;0,1,0;0,0,1},,1)", "{0.37476459510358; 0.38418079096045}"},
      {"=MTXLSC({1,2;2,3;7,1},{1;2;3},{1,3},{2},,1)", "{0.3390243902439; 0.55365853658537}"},
      {"=MTXLSC({1,2;2,3;7,1},{1;2;3},{1,3},{2},,2)", "0.31951219512195"},
      {"=MTXGAUSS({2,-1,3;1,3,1;4,1,1},{6;8;2},,,1)", "{-0.75; 1.875; 3.125}"},
      {"=MTXGAUSS({2,-1,3;1,3,1;4,1,1},{6;8;2},,,6)", "-32"},
      {"=MTXGAUSS({2,-1,3;1,3,1;4,1,1},,,,5)",
       "{-0.0625, -0.125, 0.3125; -0.09375, 0.3125, -0.03125; 0.34375, 0.1875, -0.21875}"},
      {"=MDETERM({8,5,-2;2,3,1;3,-1,-3})", "3"},
      {"=MDETERM({0,1,0;0,0,1;1,0,0})", "1"},
      {"=MDETERM({0,1;0,2})", "#NULL!"},
      // A singular matrix has the determinant its elimination leaves.
      {"=MDETERM({1,2;2,4})", "0"},
      {"=MDETERM({1,2,3;2,4,6;1,1,1})", "0"},
      {"=MDETERM({1,2,3;4,5,6;7,8,9})", "6.6613381477509e-016"},
      {"=MDETERM({1e-20,0;0,1e-20})", "1e-040"},
      {"=MTXMLT({1;2;3},{1,2,3},{2;2;2})", "{12; 24; 36}"},
      {"=MMULT({1,2},{1,2})", "#VALUE!"},
      {"=MTXT({1,2,3;4,5,6})", "{1, 4; 2, 5; 3, 6}"},
      {"=MTXDIAG(3,{1,2,3})", "{1, 0, 0; 0, 2, 0; 0, 0, 3}"},
      {"=MTXDIAG(3,{5})", "{5, 0, 0; 0, 0, 0; 0, 0, 0}"},
      {"=MTXCHL({4,2;2,3},,,2)", "{2, 1; 0, 1.4142135623731}"},
      {"=MTXCHL({4,2;2,3},{1;1},0,1)", "#NUM!"},
      {"=MTXSVD({1,2;2,3;7,1},{1;2;3},,8)", "#NUM!"},
      {"=MTXLSW({1,2;2,3;7,1},{1;2;3},{1,0,0;0,1,0;0,0,1},,3)", "#NUM!"},
      {"=MTXSVD({1,2,3;4,5,6},{1;2},,1)", "#VALUE!"},
      {"=MTXSVD({2},{4},,1)", "{2}"},
      {"=ROWS(MTXSVD({1,2;2,3;7,1},,,5))*10+COLUMNS(MTXSVD({1,2;2,3;7,1},,,5))", "33"},
      {"=ROWS(MTXSVD({1,2;2,3;7,1},,,4))*10+COLUMNS(MTXSVD({1,2;2,3;7,1},,,4))", "23"},
      {"=ROWS(MTXSVD({1,2;2,3;7,1},,,7))*10+COLUMNS(MTXSVD({1,2;2,3;7,1},,,7))", "22"},
      {"=ROUND(MMULT(MTXSVD({1,2;2,3;7,1},,,4),{1,2;2,3;7,1}),12)", "{1, 0; 0, 1}"},
  };
  ExpectTable(kCases, sizeof kCases / sizeof kCases[0]);
}

// Faults of the elimination, the factor and the decomposition that give a
// clear error, or the right answer, instead of infinities or a non-factor.
TEST_F(MatrixFunctions, SingularAndIndefiniteMatricesGiveErrors) {
  static const FormulaCase kCases[] = {
      {"=MINVERSE({1,0;0,0})", "#NULL!"},
      {"=MINVERSE({1,2,3;4,5,6;7,8,9})", "#NULL!"},
      {"=MTXGAUSS({1,2;2,4},{1;1},,,1)", "#NULL!"},
      {"=MINVERSE({1e-20,0;0,1e20})", "{1e+020, 0; 0, 1e-020}"},
      {"=MTXCHL({-4},{1},,1)", "#NUM!"},
      {"=MTXCHL({1,2;2,1},,,4)", "#NUM!"},
      {"=MTXLSW({1,2;2,3;7,1},{1;2;3},{1,0,0;0,-1,0;0,0,1},,1)", "#NUM!"},
      {"=MTXCHL({4,2;2,3},{2;1},3,1)", "{0.5; 0}"},
      {"=MTXSVD({0,1;0,2;0,3},{1;2;3},,1)", "{0; 1}"},
      {"=MTXSVD({0,1;0,2;0,3},,,6)", "{3.74165738677394, 0; 0, 0; 0, 0}"},
  };
  ExpectTable(kCases, sizeof kCases / sizeof kCases[0]);
}

TEST_F(MatrixFunctions, ArgumentsAndShapes) {
  static const FormulaCase kCases[] = {
      {"=MTXT({1,2})", "{1; 2}"},
      {"=MTXT({1,2},{3})", "#SYNTAX!"},
      {"=MTXDIAG(2)", "#SYNTAX!"},
      {"=MTXDIAG(2047,1)", "#REF!"},
      {"=MTXGAUSS({1,2;3,4},{1;2;3},,,1)", "#VALUE!"},
      {"=MTXGAUSS({1,2;3,4},{1;2;3},,,6)", "-2"},
      {"=MTXGAUSS({1,2;3,4},{1;1},,2,1)", "#NUM!"},
      {"=MTXGAUSS({0,1;1,0},,,0,4)", "{0, 1; 1, 0}"},
      {"=MDETERM({1,2,3})", "#VALUE!"},
      {"=MDETERM(5)", "#VALUE!"},
      {"=MMULT({1,2;3,4})", "{1, 2; 3, 4}"},
      {"=MMULT({2},{2},{2},{2},{2},{2},{2},{2},{2},{2},{2},{2})", "{4096}"},
      {"=MTXGAUSS({4,1;2,3},{1;2},3,1,1)", "{0.1; 0.6}"},
      {"=MMULT({1,\"2\";\"x\",4},{1;1})", "{3; 4}"},
      {"=MTXFWSUBST({2,0;1,1},{2;3})", "{1; 2}"},
      {"=MTXBKSUBST({1,1;0,2},{3;2})", "{2; 1}"},
      {"=MTXBKSUBST({1,1;0,0},{3;2})", "{#NUM!; #NUM!}"},
      // A turned column, a lone element, and products of changing shapes.
      {"=MTXT({1;2;3})", "{1, 2, 3}"},
      {"=MTXT({7})", "{7}"},
      {"=MTXT({1;\"x\";3})", "{1, 0, 3}"},
      {"=MMULT({1,2},{3;4},{5,6},{1;1})", "{121}"},
      {"=MMULT({1;2},{3,4},{1,0;0,1})", "{3, 4; 6, 8}"},
      {"=MMULT({1;2},{3,4},{1,1,1;0,1,2},{1;1;1})", "{21; 42}"},
      {"=MMULT({1;2},{3,4},{1,2})", "#VALUE!"},
  };
  ExpectTable(kCases, sizeof kCases / sizeof kCases[0]);
}

TEST_F(MatrixFunctions, RandomStreamsRepeatTheirFixedSequences) {
  ProcessRandomSeeds() = {kInitialRandomSeeds, kInitialRandomSeeds};
  EXPECT_EQ(Run("=RAND()"), "0.90182551772109");
  EXPECT_EQ(Run("=RAND(1)"), "#SYNTAX!");
  const std::string seeded = Run("=MTXRAND(4,10000,25000)");
  EXPECT_EQ(seeded.substr(0, 17), "{0.71261246808435") << seeded;
  EXPECT_EQ(Run("=MTXRAND(4,10000,25000)"), seeded);
  // The seeds restart the stream that RAND continues.
  const std::string first = Run("=MTXRAND(1,10000,25000)");
  const std::string next = Run("=RAND()");
  EXPECT_EQ(Run("=MTXRAND(2,10000,25000)"), first.substr(0, first.size() - 1) + "; " + next + "}");
  static const FormulaCase kDeviates[] = {
      {"=MTXRAND2(3,1,2,3,0,0)", "{0; 0; 0}"},
      {"=MTXRAND2(3,1,2,5,1,0)", "{1; 1; 1}"},
      {"=MTXRAND2(2,1,2,5,0,0)", "{#NUM!; #NUM!}"},
      {"=MTXRAND2(2,1,2,5,1.5,0)", "{#NUM!; #NUM!}"},
      {"=MTXRAND2(3,1,2,4,1,0)", "{1; 1; 1}"},
      {"=MTXRAND2(3,1,2,4,0,0)", "{0; 0; 0}"},
      {"=MTXRAND2(2,1,2,3,1000,0)", "{#NUM!; #NUM!}"},
      {"=MTXRAND2(2,1,2,6,0,0)", "#NUM!"},
      {"=MTXRAND(0,1,1)", "#NUM!"},
  };
  ExpectTable(kDeviates, sizeof kDeviates / sizeof kDeviates[0]);
}

}  // namespace
