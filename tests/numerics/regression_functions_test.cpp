#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

class RegressionFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
    state.sheet = &sheet;
  }
  void TearDown() override { ResetGlobalOptions(); }
  std::string Run(const char* formula) { return EvaluateToText(state, formula, 25, 99); }
  void Put(uint16_t column, uint32_t row, double value) {
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, column, value, 0));
    ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(RegressionFunctions, Examples) {
  static const FormulaCase kCases[] = {
      {"=CHITEST2({10,20},{15,15})", "3.33333333333333"},
      {"=CHITEST({10},{15})", "#NUM!"},
      {"=CHITEST2({10,20},{0,15})", "#NUM!"},
      {"=CHITEST({10,20},{15;15})", "#VALUE!"},
      {"=CORREL({1,2,3},{1,5,3})", "0.5"},
      {"=CORREL({1,2,3},{1,2})", "#N/A!"},
      {"=CORREL({1,2,3},{4,4,4})", "#DIV/0!"},
      {"=SLOPE({2,4,6},{1,2})", "#VALUE!"},
      {"=SLOPE({2},{1})", "#DIV/0!"},
      {"=SLOPE({2,3,4},{1,1,1})", "#DIV/0!"},
      {"=TREND({2;3;4},{0;0;0},,0)", "#DIV/0!"},
      {"=LINEST({3,5;7,9},,)", "#VALUE!"},
      {"=TREND({3,5;7,9},,,)", "#VALUE!"},
      {"=LINEST({3;5;7})", "#SYNTAX!"},
      {"=MEDIAN(1,2,3,4)", "2.5"},
      {"=MEDIAN(5,1,3)", "3"},
      {"=MEDIAN({\"a\",\"b\"})", "#VALUE!"},
      {"=MEDIAN(1,,3)", "1"},
      {"=MODE(1,2,2,3,3)", "2"},
      {"=MODE(5,4,3)", "3"},
      {"=MODE({4,4,1},1,1/0)", "1"},
      {"=POLYREG({1;2;3;4},{2;2;2;2},{1;1;1;1},1,1)", "{4}"},
      {"=POLYREG({1;2;3;4},{1;2;3;5},{1;1;1;1},1,3)", "{8.75}"},
      {"=POLYREG({1;2;3},{1;2;3},{1;1;1},4,1)", "#VALUE!"},
      {"=POLYREG({1;2},{1;2},{0;1},1,1)", "{#NUM!}"},
      {"=POLYPOINTS({4},{0.5},{0},4,1,{1;2},)", "#NUM!"},
      {"=TIMESERIES({1;2;3},3,1,0.9)", "#VALUE!"},
      {"=TIMESERIES({1;2;3},1,1,)", "#NUM!"},
  };
  for (const FormulaCase& c : kCases) EXPECT_EQ(Run(c.formula), c.result) << c.formula;
}

// The numbers of a result as EvaluateToText writes it: one number, or an
// array's elements row by row.
std::vector<double> Numbers(const std::string& text) {
  std::vector<double> values;
  const char* p = text.c_str();
  if (*p == '{') ++p;
  while (*p && *p != '}') {
    char* end = nullptr;
    values.push_back(std::strtod(p, &end));
    if (end == p) return {};
    p = end;
    while (*p == ',' || *p == ';' || *p == ' ') ++p;
  }
  return values;
}

struct NumericCase {
  const char* formula;
  std::vector<double> expected;
  double tolerance;
};

TEST_F(RegressionFunctions, ExamplesWithinRounding) {
  const NumericCase kCases[] = {
      // One row or column is one classification with n - 1 degrees of
      // freedom; a table has (rows - 1)(columns - 1).
      {"=CHITEST({10,20},{15,15})", {0.932110845138171}, 1e-12},
      {"=CHITEST({10;20;30},{20;20;20})", {0.993262053000915}, 1e-12},
      {"=CHITEST({10,20;30,40},{12,18;28,42})", {0.627001516386513}, 1e-12},
      {"=COVAR({1,2,3},{1,2,3})", {2.0 / 3.0}, 1e-13},
      {"=SLOPE({2,4,6},{1,2,3})", {2}, 1e-14},
      {"=INTERCEPT({2,4,6},{1,2,3})", {0}, 1e-14},
      {"=FORECAST(4,{2,4,6},{1,2,3})", {8}, 1e-14},
      {"=LINEST({3;5;7},,)", {-1, 2}, 1e-13},
      {"=LINEST({2;4;6},{1;2;3},0)", {0, 2}, 1e-14},
      {"=TREND({3;5;7},,,)", {3, 5, 7}, 1e-13},
      {"=TREND({3;5;7},,{10,11},)", {19, 21}, 1e-13},
      // A non-negative chi-square asks for the normal band, whatever n.
      {"=POLYPOINTS({4},{0.5},{0},4,1,{1},0.5)", {2, 0.337244875098041}, 1e-8},
      {"=POLYPOINTS({4},{0.5},{0},9,1,{1},0.5)", {2, 0.337244875098041}, 1e-8},
  };
  for (const NumericCase& c : kCases) {
    const std::string text = Run(c.formula);
    const std::vector<double> values = Numbers(text);
    ASSERT_EQ(values.size(), c.expected.size()) << c.formula << " gave " << text;
    for (size_t i = 0; i < values.size(); ++i)
      EXPECT_NEAR(values[i], c.expected[i], c.tolerance * std::fmax(1.0, std::fabs(c.expected[i]))) << c.formula;
  }
}

// As many coefficients as window points: the values pass through the data
// and extend it, the bands have no degree of freedom and are errors.
TEST_F(RegressionFunctions, TimeSeriesWithoutResidualFreedom) {
  const std::string text = Run("=TIMESERIES({1;4;9},2,1,0.9)");
  const char* p = text.c_str();
  const double kExpected[] = {0, 1, 4, 9, 16};
  for (double expected : kExpected) {
    p += std::strspn(p, "{; ");
    char* end = nullptr;
    EXPECT_NEAR(std::strtod(p, &end), expected, 1e-13) << text;
    ASSERT_EQ(std::strncmp(end, ", #NUM!", 7), 0) << text;
    p = end + 7;
  }
}

TEST_F(RegressionFunctions, EmptyCellsOfPairedArraysReadAsZero) {
  Put(0, 0, 1.0);
  Put(0, 2, 3.0);
  for (uint32_t row = 0; row < 3; ++row) Put(1, row, row + 1.0);
  // {1, 0, 3} against {1, 2, 3}, all three elements counted.
  EXPECT_NEAR(Numbers(Run("=CORREL(A1:A3,B1:B3)")).at(0), 0.654653670707977, 1e-14);
  EXPECT_NEAR(Numbers(Run("=COVAR(A1:A3,B1:B3)")).at(0), 2.0 / 3.0, 1e-14);
}

// A trend of more values than a short column holds gives every one of them.
// Without known x the r-th value (from 0) lies at x = r + 2, and so does
// the r-th new one.
TEST_F(RegressionFunctions, LongTrendsGiveEveryValue) {
  for (uint32_t row = 0; row < 70; ++row) {
    Put(0, row, row + 1.0);
    Put(1, row, 1.0 + 2.0 * (row + 1.0));
    Put(2, row, 100.0 + row);
    Put(3, row, 1.0 + 2.0 * (row + 2.0));
  }
  struct Case {
    const char* formula;
    size_t count;
    double firstX;
  };
  const Case kCases[] = {
      {"=TREND(D1:D70,,,)", 70, 2.0}, {"=TREND(B1:B70,A1:A70,C1:C70,)", 70, 100.0}, {"=TREND(D1:D64,,,)", 64, 2.0}};
  for (const Case& c : kCases) {
    const std::vector<double> values = Numbers(Run(c.formula));
    ASSERT_EQ(values.size(), c.count) << c.formula;
    for (size_t k = 0; k < values.size(); ++k) {
      const double y = 1.0 + 2.0 * (c.firstX + double(k));
      EXPECT_NEAR(values[k], y, 1e-11 * y) << c.formula << " at " << k;
    }
  }
}

// A polynomial of degree below the number of terms is reproduced exactly:
// its chi-square vanishes and the band's values are the polynomial's.
TEST_F(RegressionFunctions, PolynomialOfLowerDegreeIsReproduced) {
  const uint32_t seed = TestSeed(7u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (uint32_t row = 0; row < 12; ++row) {
    const double t = row * 0.75 - 3.0 + (random() % 100) / 1000.0;
    Put(0, row, t);
    Put(1, row, 2.0 - 0.5 * t + 0.25 * t * t * t);
    Put(2, row, 0.5 + (random() % 100) / 100.0);
  }
  const std::string chi2 = Run("=POLYREG(A1:A12,B1:B12,C1:C12,5,3)");
  const std::vector<double> values = Numbers(chi2);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_GT(values[2], 1.0);  // a parabola misses the cubic
  EXPECT_LT(std::fabs(values[3]), 1e-20);
  EXPECT_LT(std::fabs(values[4]), 1e-20);
  const std::string band = Run(
      "=POLYPOINTS(POLYREG(A1:A12,B1:B12,C1:C12,5,1),POLYREG(A1:A12,B1:B12,C1:C12,5,2),"
      "POLYREG(A1:A12,B1:B12,C1:C12,5,3),12,4,{2},0.9)");
  ASSERT_EQ(Numbers(band).size(), 2u) << band;
  EXPECT_NEAR(Numbers(band)[0], 3.0, 1e-12);
}

}  // namespace
