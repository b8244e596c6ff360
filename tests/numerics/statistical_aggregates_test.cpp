#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tests/numerics/statistics_formula.h"

namespace {

struct Case {
  const char* formula;
  double number;  // when error is 0
  uint8_t error;
};

// Sheet: A1:A6 hold 4, 5, 6, 3, 5, 4; B1 "label", B2 a number carrying
// "#N/A!"; C1:C3 hold 1e8+1, 1e8+2, 1e8+3; D1:D4 hold 7; E1 is empty.
class StatisticalAggregates : public StatisticsFormulaTest {
 protected:
  void SetUp() override {
    StatisticsFormulaTest::SetUp();
    const double a[] = {4, 5, 6, 3, 5, 4};
    for (uint32_t row = 0; row < 6; ++row) PutNumberCell(0, row, a[row]);
    std::vector<uint8_t> record(kTextCellHeadSize + 6);
    ASSERT_TRUE(BuildTextCell(record.data(), record.size(), 0, 1, "label", 5, 0));
    ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record.data()), nullptr));
    uint8_t na[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(na, sizeof na, 1, 1, 0.0, kErrorNA));
    ASSERT_TRUE(sheet.InsertCell(AsCellRecord(na), nullptr));
    for (uint32_t row = 0; row < 3; ++row) PutNumberCell(2, row, 1e8 + row + 1);
    for (uint32_t row = 0; row < 4; ++row) PutNumberCell(3, row, 7.0);
  }

  void Check(const Case& c) {
    SCOPED_TRACE(c.formula);
    const FormulaOutcome outcome = Evaluate(c.formula);
    ASSERT_EQ(outcome.kind, uint32_t(kEvalNumber));
    EXPECT_STREQ(ErrorName(outcome.error), ErrorName(c.error));
    if (c.error == kErrorNone && outcome.error == kErrorNone) {
      EXPECT_TRUE(RelativelyNear(outcome.number, c.number, 1e-13));
    }
  }
};

TEST_F(StatisticalAggregates, OneListFunctions) {
  const Case cases[] = {
      {"=aveDev(4, 5, 6, 3, 5, 4)", 0.83333333333333333, 0},
      {"=aveDev(A1:A6)", 0.83333333333333333, 0},
      {"=average(4, 5, 6, 3, 5, 4)", 4.5, 0},
      {"=averageA(A1:A6, )", 4.5, 0},
      {"=average(B1)", 0, kErrorNum},
      {"=average(B1:B1)", 0, kErrorNum},
      {"=average(E1:E3)", 0, kErrorNA},
      {"=devSq(4, 5, 8, 7, 11, 4, 3)", 48.0, 0},
      {"=devSq(4, 5, E1, 8, 7, 11, 4, 3)", 48.0, 0},
      {"=geoMean(4, 5, 8, 7, 11, 4, 3)", 5.47698696965696, 0},
      {"=geoMean(4, 0, 8)", 0, kErrorNum},
      {"=geoMean(4, , 8)", 0, kErrorNum},
      {"=harMean(4, 5, 8, 7, 11, 4, 3)", 5.02837596206173, 0},
      {"=harMean(4, 0)", 0, kErrorNum},
      {"=max(4, 5, 8, 7, 11, 4, 3)", 11.0, 0},
      {"=max(-5, B2)", -5.0, 0},
      {"=max(-5, )", 0.0, 0},
      {"=minA(B1:B2)", 0.0, 0},
      {"=min(A1:A6, 9)", 3.0, 0},
      {"=var(1)", 0, kErrorDivZero},
      {"=varP(1)", 0.0, 0},
      {"=var(1, 2, )", 1.0, 0},
      {"=varP(E1:E2)", 0, kErrorDivZero},
      {"=var(A1:A6, B2)", 0, kErrorNA},
      {"=stdev(1345, 1301, 1368, 1322, 1310, 1370, 1318, 1350, 1303, 1299)", 27.4639157198435, 0},
      {"=varA(1345, 1301, 1368, 1322, 1310, 1370, 1318, 1350, 1303, 1299)", 754.266666666667, 0},
      // Values far from 0 keep their spread; equal values have none.
      {"=var(C1:C3)", 1.0, 0},
      {"=stdev(C1:C3)", 1.0, 0},
      {"=stdev(D1:D4)", 0.0, 0},
      {"=stdevP(D1:D4)", 0.0, 0},
      {"=kurt(3, 4, 5, 2, 3, 4, 5, 6, 4, 7)", -0.151799637208416, 0},
      {"=skew(3, 4, 5, 2, 3, 4, 5, 6, 4, 7)", 0.359543071406777, 0},
      {"=kurt(1, 2, 3)", 0, kErrorDivZero},
      {"=skew(D1:D4)", 0, kErrorDivZero},
      {"=kurt(D1:D4)", 0, kErrorDivZero},
      {"=skew(C1:C3)", 0.0, 0},
  };
  for (const Case& c : cases) Check(c);
}

// Moving every value by 1e8 or 1e9 leaves the spread, the shape and the
// tests' statistics as they are.
TEST_F(StatisticalAggregates, LargeValuesKeepTheirSpread) {
  EXPECT_EQ(Evaluate("=var(100000005, 100000004, 100000007, 100000006)").number, 5.0 / 3.0);
  struct Moved {
    const char* near;
    const char* far;
  };
  const Moved cases[] = {
      {"=varP(5, 4, 7, 6)", "=varPA(100000005, 100000004, 100000007, 100000006)"},
      {"=stdev(5, 4, 7, 6)", "=stdevA(100000005, 100000004, 100000007, 100000006)"},
      {"=stdevP(5, 4, 7, 6)", "=stdevP(100000005, 100000004, 100000007, 100000006)"},
      {"=devSq(4, 5, 8, 7, 11, 4, 3)",
       "=devSq(100000004, 100000005, 100000008, 100000007, 100000011, 100000004, 100000003)"},
      {"=aveDev(4, 5, 6, 3, 5, 4)", "=aveDev(100000004, 100000005, 100000006, 100000003, 100000005, 100000004)"},
      {"=kurt(3, 4, 5, 2, 3, 4, 5, 6, 4, 7)",
       "=kurt(1000000003, 1000000004, 1000000005, 1000000002, 1000000003, 1000000004, 1000000005, 1000000006, "
       "1000000004, 1000000007)"},
      {"=skew(3, 4, 5, 2, 3, 4, 5, 6, 4, 7)",
       "=skew(1000000003, 1000000004, 1000000005, 1000000002, 1000000003, 1000000004, 1000000005, 1000000006, "
       "1000000004, 1000000007)"},
      {"=pearson({9,7,5,3,1}, {10,6,1,5,3})",
       "=pearson({100000009,100000007,100000005,100000003,100000001}, {100000010,100000006,100000001,100000005,"
       "100000003})"},
      {"=stEyx({2, 3, 9, 1, 8}, {6, 5, 11, 7, 5})",
       "=stEyx({100000002, 100000003, 100000009, 100000001, 100000008}, {100000006, 100000005, 100000011, "
       "100000007, 100000005})"},
      {"=fTest({6, 7, 9, 15, 21}, {20, 28, 31, 38, 40})",
       "=fTest({100000006, 100000007, 100000009, 100000015, 100000021}, {100000020, 100000028, 100000031, "
       "100000038, 100000040})"},
      {"=tTest2({3, 4, 5, 8, 9, 1, 2, 4, 5}, {6, 19, 3, 2, 14, 4, 5, 17, 1})",
       "=tTest2({100000003, 100000004, 100000005, 100000008, 100000009, 100000001, 100000002, 100000004, "
       "100000005}, {100000006, 100000019, 100000003, 100000002, 100000014, 100000004, 100000005, 100000017, "
       "100000001})"},
      {"=zTest2({3, 6, 7, 8, 6, 5, 4, 2, 1, 9}, 4)",
       "=zTest2({100000003, 100000006, 100000007, 100000008, 100000006, 100000005, 100000004, 100000002, "
       "100000001, 100000009}, 100000004)"},
  };
  for (const Moved& c : cases) {
    SCOPED_TRACE(c.far);
    const FormulaOutcome near = Evaluate(c.near);
    const FormulaOutcome far = Evaluate(c.far);
    ASSERT_EQ(near.error, kErrorNone);
    ASSERT_EQ(far.error, kErrorNone);
    EXPECT_TRUE(RelativelyNear(far.number, near.number, 1e-13));
  }
}

TEST_F(StatisticalAggregates, TwoListFunctions) {
  const Case cases[] = {
      {"=pearson({9,7,5,3,1}, {10,6,1,5,3})", 0.69937860618024, 0},
      {"=rsq({9,7,5,3,1}, {10,6,1,5,3})", 0.48913043478261, 0},
      {"=pearson({9,7,5,3,1}, {10;6;1;5;3})", 0, kErrorNA},
      {"=pearson({1,2}, {1,2,3})", 0, kErrorNA},
      {"=pearson(D1:D4, A1:A4)", 0, kErrorNum},
      {"=stEyx({2, 3, 9, 1, 8}, {6, 5, 11, 7, 5})", 3.74560674557182, 0},
      {"=stEyx({2, 3}, {6, 5})", 0, kErrorNA},
      {"=fTest({6, 7, 9, 15, 21}, {20, 28, 31, 38, 40})", 0.6758410766069126, 0},  // R: pf(var(b) / var(a), 4, 4),
      {"=fTest({6}, {20, 28})", 0, kErrorDivZero},
      {"=tTest2({3, 4, 5, 8, 9, 1, 2, 4, 5}, {6, 19, 3, 2, 14, 4, 5, 17, 1})", -1.3622298275595, 0},
      {"=tTest({1, 2}, {3, 4}, 3)", 0, kErrorNum},
      {"=tTest({1}, {3, 4}, 1)", 0, kErrorNA},
      {"=tTest(D1:D4, D1:D4, 2)", 0, kErrorDivZero},
      {"=tTest({1, 2, 3}, {3, 4})", 0, kErrorSyntax},
  };
  for (const Case& c : cases) {
    if (c.error == kErrorSyntax) {
      EXPECT_EQ(Evaluate(c.formula).kind, 0u) << c.formula;
      continue;
    }
    Check(c);
  }
}

// Short lists are read once and their values kept; longer ones are read
// again from their cells: both sides of that bound give the same statistics.
TEST_F(StatisticalAggregates, ListsLongerThanTheKeptValues) {
  for (const uint32_t n : {255u, 256u, 257u, 300u}) {
    const uint32_t first = 1000 * n;
    std::vector<double> x;
    for (uint32_t i = 0; i < n; ++i) {
      x.push_back((i * 37 % 101) / 4.0 + (i % 7 == 0 ? 40.0 : 0.0));
      PutNumberCell(5, first - 1 + i, x.back());
    }
    double mean = 0.0;
    for (const double v : x) mean += v;
    mean /= n;
    double absolute = 0.0, squares = 0.0;
    for (const double v : x) {
      absolute += std::fabs(v - mean);
      squares += (v - mean) * (v - mean);
    }
    const double s = std::sqrt(squares / (n - 1.0));
    double fourth = 0.0;
    for (const double v : x) fourth += std::pow((v - mean) / s, 4);
    std::vector<double> sorted = x;
    std::sort(sorted.begin(), sorted.end());
    const double m = n;
    const std::string list = "(F" + std::to_string(first) + ":F" + std::to_string(first + n - 1);
    const struct {
      std::string formula;
      double expected;
    } cases[] = {
        {"=aveDev" + list + ")", absolute / n},
        {"=devSq" + list + ")", squares},
        {"=kurt" + list + ")",
         m * (m + 1) / ((m - 1) * (m - 2) * (m - 3)) * fourth - 3 * (m - 1) * (m - 1) / ((m - 2) * (m - 3))},
        {"=median" + list + ")", n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2},
        {"=large" + list + ", 3)", sorted[n - 3]},
        {"=percentile" + list + ", 0.5)", n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.formula);
      const FormulaOutcome outcome = Evaluate(c.formula);
      ASSERT_EQ(outcome.kind, uint32_t(kEvalNumber));
      EXPECT_EQ(outcome.error, 0);
      EXPECT_TRUE(RelativelyNear(outcome.number, c.expected, 1e-12));
    }
  }
}

}  // namespace
