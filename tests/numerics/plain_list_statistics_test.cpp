#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "tests/core/eval_test_cells.h"
#include "tests/numerics/statistics_formula.h"
#include "tests/test_seed.h"

namespace {

uint64_t Bits(double x) {
  uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

std::string CellName(uint32_t column, uint32_t row) {
  return std::string(1, char('A' + column)) + std::to_string(row + 1);
}

using PlainListStatistics = StatisticsFormulaTest;

// A rectangle of plain numbers (number cells and calculated formulas) is
// gathered into a list and summed from there; the same cells given one by
// one are read by the general reader. Both must agree to the bit, errors
// included: sums that overflow, sums and deviations that pass below the
// normal range on the way, equal values, signed zeros.
TEST_F(PlainListStatistics, RectanglesOfPlainNumbersReadAsTheirCellsOneByOne) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto pick = [&random](uint32_t count) { return uint32_t(random() % count); };
  const double ordinary[] = {-0.0, 0.0, 1.0 / 3.0, 2.5, -3.0, 0.1, 1e8 + 0.3, 1e8 + 2, 7.0, 12345.678};
  // Normal numbers whose sums and differences fall below the normal range,
  // and numbers whose sums overflow.
  const double extreme[] = {2.5e-308, -2.4e-308, DBL_MIN, -3 * DBL_MIN, 1e-300, 1e308, -1e308, 9e307};
  const char* const functions[] = {"average", "var",  "varP",    "stdev",  "stdevP", "aveDev", "devSq",
                                   "kurt",    "skew", "geoMean", "median", "max",    "min"};
  for (uint32_t round = 0; round < 60; ++round) {
    const uint32_t width = 1 + pick(4);
    const uint32_t height = 1 + pick(6);
    const uint32_t left = 5 * (round % 4);
    const uint32_t top = 10 * (round / 4);
    const uint32_t mix = pick(3);  // ordinary numbers only, some extreme ones, mostly extreme ones
    std::string oneByOne;
    for (uint32_t row = top; row < top + height; ++row) {
      for (uint32_t column = left; column < left + width; ++column) {
        const bool isExtreme = mix != 0 && pick(4) < mix * 2 - 1;
        const double x = isExtreme ? extreme[pick(8)] : ordinary[pick(10)];
        if (pick(4) == 0)
          PutFormula(sheet, static_cast<uint16_t>(column), row, "=1", x, nullptr, 0, true);
        else
          PutNumberCell(static_cast<uint16_t>(column), row, x);
        // Positions are taken from the last, cells in storage order.
        oneByOne = oneByOne.empty() ? CellName(column, row) : CellName(column, row) + "," + oneByOne;
      }
    }
    const std::string range = CellName(left, top) + ":" + CellName(left + width - 1, top + height - 1);
    for (const char* function : functions) {
      const std::string gathered = std::string("=") + function + "(" + range + ")";
      SCOPED_TRACE(gathered);
      const FormulaOutcome expected = Evaluate(std::string("=") + function + "(" + oneByOne + ")");
      const FormulaOutcome outcome = Evaluate(gathered);
      ASSERT_EQ(outcome.kind, expected.kind);
      EXPECT_STREQ(ErrorName(outcome.error), ErrorName(expected.error));
      EXPECT_EQ(Bits(outcome.number), Bits(expected.number)) << outcome.number << " " << expected.number;
    }
  }
}

}  // namespace
