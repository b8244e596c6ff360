#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/numerics/statistics_formula.h"
#include "tests/test_seed.h"

namespace {

struct Case {
  const char* formula;
  double number;  // when error is 0 and text is null
  uint8_t error;
  const char* text = nullptr;
};

// Sheet: A1:A3 hold 3, 1, 2; B1:B3 the texts "pear", "Apple", "fig";
// C1:C10 hold 1 .. 10.
class OrderStatistics : public StatisticsFormulaTest {
 protected:
  void SetUp() override {
    StatisticsFormulaTest::SetUp();
    PutNumberCell(0, 0, 3);
    PutNumberCell(0, 1, 1);
    PutNumberCell(0, 2, 2);
    const char* texts[] = {"pear", "Apple", "fig"};
    for (uint32_t row = 0; row < 3; ++row) {
      const std::string text = texts[row];
      std::vector<uint8_t> record(kTextCellHeadSize + text.size() + 1);
      ASSERT_TRUE(BuildTextCell(record.data(), record.size(), row, 1, text.data(),
                                static_cast<uint16_t>(text.size()), 0));
      ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record.data()), nullptr));
    }
    for (uint32_t row = 0; row < 10; ++row) PutNumberCell(2, row, row + 1.0);
  }

  void Check(const Case& c) {
    SCOPED_TRACE(c.formula);
    const FormulaOutcome outcome = Evaluate(c.formula);
    if (c.text) {
      ASSERT_EQ(outcome.kind, uint32_t(kEvalText));
      EXPECT_EQ(outcome.text, c.text);
      return;
    }
    ASSERT_EQ(outcome.kind, uint32_t(kEvalNumber));
    EXPECT_STREQ(ErrorName(outcome.error), ErrorName(c.error));
    if (c.error == kErrorNone && outcome.error == kErrorNone) {
      EXPECT_TRUE(RelativelyNear(outcome.number, c.number, 1e-14));
    }
  }
};

TEST_F(OrderStatistics, SelectionsRanksAndTrimmedMeans) {
  const Case cases[] = {
      {"=small(A1:A3, 1)", 1.0, 0},
      {"=large(A1:A3, 1)", 3.0, 0},
      {"=large(A1:A3, 4)", 0, kErrorNum},
      {"=large({1}, 0)", 0, kErrorNum},
      {"=large(B1:B3, 1)", 0, 0, "pear"},
      {"=small(B1:B3, 1)", 0, 0, "Apple"},
      {"=percentile({1, 2, 3, 4}, 0.5)", 2.5, 0},
      {"=percentile({4, 1, 3, 2}, 0)", 1.0, 0},
      {"=percentile({1, 2, 3, 4}, 1)", 4.0, 0},
      {"=percentile({1, 2, 3, 4}, 0.3)", 1.9, 0},
      {"=percentile({7}, 0.5)", 0, kErrorValue},
      {"=percentile(E1:E4, 0.5)", 0, kErrorNum},
      {"=quartile(C1:C10, 1)", 3.25, 0},
      {"=quartile(C1:C10, 5)", 0, kErrorNum},
      {"=percentRank({1, 2, 3, 4}, 2)", 0.333, 0},
      {"=percentRank({1, 2, 3, 4}, 2.5)", 0.5, 0},
      {"=percentRank({1, 2, 3, 4}, 0)", 0.0, 0},
      {"=percentRank({1, 2, 3, 4}, 5)", 0, kErrorValue},
      {"=percentRank({1, 2, 3, 4}, 2, 1)", 0.3, 0},
      {"=rank(3, {1, 2, 3, 3, 5})", 2.0, 0},
      {"=rank(3, {1, 2, 3, 3, 5}, 1)", 3.0, 0},
      {"=rank(2.5, {1, 2, 3}, 1)", 2.5, 0},
      {"=rank(2.5, {1, 2, 3})", 1.5, 0},
      {"=rank(9, {1, 2, 3}, 1)", 0, kErrorValue},
      {"=rank(0, {1, 2, 3}, 1)", 0, kErrorValue},
      {"=trimMean(C1:C10, 0.2)", 5.5, 0},
      {"=trimMean({1, 2, 3, 4, 5, 6, 7, 8, 9, 100}, 0.2)", 5.5, 0},
      {"=trimMean({1, 2, 3, 4, 5, 6, 7, 8, 9, 100}, 0.3)", 5.5, 0},
      {"=trimMean({1, 2, 3, 4, 5, 6, 7, 8, 9, 100}, 0)", 14.5, 0},
      {"=trimMean({1, 2}, 1)", 0, kErrorNum},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(OrderStatistics, ProbabilitiesAndZTests) {
  const Case cases[] = {
      {"=prob({1, 2, 3, 4}, {0.1, 0.2, 0.3, 0.4}, 2, 3)", 0.5, 0},
      {"=prob({1, 2, 3, 4}, {0.1, 0.2, 0.3, 0.4}, 2)", 0.2, 0},
      {"=prob({1, 2, 3}, {0.1, 0.2, 0.3, 0.4}, 2, 3)", 0, kErrorNA},
      {"=zTest({7}, 4)", 0, kErrorDivZero},
      {"=zTest2({3, 6, 7, 8, 6, 5, 4, 2, 1, 9}, 4, 2)", 1.7392527130926085, 0},
      {"=zTest({3, 6, 7, 8, 6, 5, 4, 2, 1, 9}, 4, 2)", 0.040995160500191474, 0},
      {"=zTest({5, 5, 5}, 4)", 0, kErrorDivZero},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(OrderStatistics, ScalarRangesApplyElementByElement) {
  const FormulaOutcome outcome = Evaluate("=small(C1:C10, A1:A3)");
  ASSERT_EQ(outcome.kind, uint32_t(kEvalArray));
  EXPECT_EQ(outcome.error, 0);
}

// Lists of plain numbers are sorted as numbers; a list holding -0 goes
// through the cell sort. Both must give the same results, duplicates and
// ties included: column D holds each list with +0 where column E has -0.
TEST_F(OrderStatistics, PlainNumbersAgreeWithTheCellSort) {
  const uint32_t seed = TestSeed(20261207u);
  SCOPED_TRACE(SeedTrace(seed));
  std::srand(seed);
  const auto pick = [](int count) { return std::rand() % count; };
  for (uint32_t round = 0; round < 60; ++round) {
    const uint32_t first = 100 * round + 1;
    const uint32_t n = 1 + uint32_t(pick(40));
    const uint32_t zeroAt = uint32_t(pick(int(n)));
    std::vector<double> values;
    for (uint32_t i = 0; i < n; ++i) {
      const double value = i == zeroAt ? 0.0 : (pick(21) - 10) / 2.0;
      values.push_back(value);
      PutNumberCell(3, first - 1 + i, value);
      PutNumberCell(4, first - 1 + i, i == zeroAt ? -0.0 : value);
    }
    const double x = pick(2) ? values[uint32_t(pick(int(n)))] : (pick(25) - 12) / 2.0;
    char k[32], fraction[32], target[32];
    std::snprintf(k, sizeof k, "%d", 1 + pick(int(n)));
    std::snprintf(fraction, sizeof fraction, "%g", pick(21) / 20.0);
    std::snprintf(target, sizeof target, "%g", x);
    const std::string calls[] = {
        std::string("large({L}, ") + k + ")",       std::string("small({L}, ") + k + ")",
        std::string("percentile({L}, ") + fraction + ")", "quartile({L}, " + std::to_string(pick(5)) + ")",
        std::string("rank(") + target + ", {L})",   std::string("rank(") + target + ", {L}, 1)",
        std::string("percentRank({L}, ") + target + ")", std::string("trimMean({L}, ") + fraction + ")",
        "median({L})"};
    for (const std::string& call : calls) {
      std::string plain = "=" + call;
      std::string signedZero = plain;
      const std::string rows = std::to_string(first) + ":";
      plain.replace(plain.find("{L}"), 3, "D" + rows + "D" + std::to_string(first + n - 1));
      signedZero.replace(signedZero.find("{L}"), 3, "E" + rows + "E" + std::to_string(first + n - 1));
      SCOPED_TRACE(plain);
      const FormulaOutcome expected = Evaluate(signedZero);
      const FormulaOutcome outcome = Evaluate(plain);
      ASSERT_EQ(outcome.kind, expected.kind);
      EXPECT_STREQ(ErrorName(outcome.error), ErrorName(expected.error));
      EXPECT_EQ(outcome.number, expected.number);
    }
  }
}

}  // namespace
