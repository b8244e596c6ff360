#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "tests/numerics/statistics_formula.h"
#include "tests/test_seed.h"

namespace {

uint64_t Bits(double x) {
  uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

using OneListReadings = StatisticsFormulaTest;

// A range's plain number cells are read in place, every other cell through
// the argument reader that reads single arguments. The same cells given one
// by one, last first (positions are taken from the last), are all read by
// that reader in the same order: every one-list statistic must come out the
// same to the bit, errors included.
TEST_F(OneListReadings, RangeCellsReadAsTheSameCellsOneByOne) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto pick = [&random](uint32_t count) { return uint32_t(random() % count); };
  const double numbers[] = {-0.0, 0.0, 1.0, 2.5, -3.0, 0.1, 1e8 + 1, 1e8 + 2, 7.0, 1e300};
  const char* const texts[] = {"5", "abc", "", "-0.5"};
  const char* const functions[] = {"average", "var", "varP", "stdev", "stdevP", "aveDev", "devSq", "kurt",
                                   "skew",    "geoMean", "harMean", "median", "mode", "max", "min"};
  for (uint32_t round = 0; round < 40; ++round) {
    const uint32_t column = round % 20;
    const uint32_t first = 30 * (round / 20) + 1;
    const uint32_t n = 1 + pick(16);
    std::string oneByOne;
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t row = first - 1 + i;
      // Half of the lists hold numbers only, so that most statistics get a value.
      const uint32_t kind = round % 2 == 0 ? 0 : pick(10);
      if (kind < 7) {
        // Mostly positive values now and then, for the means that need them.
        const double x = numbers[round % 4 == 0 ? 2 + pick(4) : pick(10)];
        PutNumberCell(static_cast<uint16_t>(column), row, x);
      } else if (kind < 9) {
        const std::string text = texts[pick(4)];
        std::vector<uint8_t> record(kTextCellHeadSize + text.size() + 1);
        ASSERT_TRUE(BuildTextCell(record.data(), record.size(), row, static_cast<uint16_t>(column), text.data(),
                                  static_cast<uint16_t>(text.size()), 0));
        ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record.data()), nullptr));
      } else {
        uint8_t record[kNumberCellSize];
        ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, static_cast<uint16_t>(column), 1.0, kErrorNA));
        ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
      }
      const std::string cell = std::string(1, char('A' + column)) + std::to_string(row + 1);
      oneByOne = i == 0 ? cell : cell + "," + oneByOne;
    }
    const std::string range = std::string(1, char('A' + column)) + std::to_string(first) + ":" +
                              std::string(1, char('A' + column)) + std::to_string(first + n - 1);
    for (const char* function : functions) {
      const std::string inPlace = std::string("=") + function + "(" + range + ")";
      SCOPED_TRACE(inPlace);
      const FormulaOutcome expected = Evaluate(std::string("=") + function + "(" + oneByOne + ")");
      const FormulaOutcome outcome = Evaluate(inPlace);
      ASSERT_EQ(outcome.kind, expected.kind);
      EXPECT_STREQ(ErrorName(outcome.error), ErrorName(expected.error));
      EXPECT_EQ(Bits(outcome.number), Bits(expected.number)) << outcome.number << " " << expected.number;
    }
  }
}

}  // namespace
