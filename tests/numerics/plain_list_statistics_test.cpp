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

// The number cells of a row are taken as one run; the same values held as
// calculated formulas are read one by one. Runs are cut by gaps, texts,
// formulas, numbers the reader refuses (below the normal range, -0 for the
// sorting statistics) and block ends, and must stop at the rectangle's
// sides with numbers just outside; lists past the kept capacity too.
TEST_F(PlainListStatistics, NumberCellRunsReadAsTheSameValuesInFormulas) {
  const uint32_t seed = TestSeed(20261208u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto pick = [&random](uint32_t count) { return uint32_t(random() % count); };
  const double values[] = {0.0, -0.0, 2.5, -3.0, 0.1, 7.0, 7.0, 1e8 + 0.3, -1e-300, 3e307, 4e-310};
  const char* const formulas[] = {"trimMean(R,0.2)", "percentile(R,0.3)", "quartile(R,1)", "large(R,2)",
                                  "small(R,4)",      "rank(7,R)",         "median(R)",     "varP(R)",
                                  "stdev(R)",        "kurt(R)",           "skew(R)",       "aveDev(R)",
                                  "devSq(R)",        "average(R)",        "max(R)",        "geoMean(R)"};
  constexpr uint32_t kTwinOffset = 10;
  for (uint32_t round = 0; round < 40; ++round) {
    const uint32_t left = 1 + pick(2);
    const uint32_t width = 1 + pick(7);
    const uint32_t height = 1 + pick(45);  // up to 315 cells: past the 256 kept
    const uint32_t top = 50 * round;
    const uint32_t rare = pick(3);  // how often a cell breaks the run
    for (uint32_t row = top; row < top + height; ++row) {
      // Numbers just outside the rectangle's sides.
      PutNumberCell(static_cast<uint16_t>(left - 1), row, 1.0);
      PutNumberCell(static_cast<uint16_t>(left + width), row, -5.0);
      PutNumberCell(static_cast<uint16_t>(left - 1 + kTwinOffset), row, 1.0);
      PutNumberCell(static_cast<uint16_t>(left + width + kTwinOffset), row, -5.0);
      for (uint32_t column = left; column < left + width; ++column) {
        const uint16_t twin = static_cast<uint16_t>(column + kTwinOffset);
        const uint32_t kind = pick(40);
        // Mostly ordinary numbers; the rare ones (tiny, huge, below normal) by the round's mix.
        const double x = values[pick(7) + (pick(4) < rare ? pick(4) : 0)];
        if (kind < rare) continue;  // a gap
        if (kind < 2 * rare) {
          PutText(sheet, static_cast<uint16_t>(column), row, "t");
          PutText(sheet, twin, row, "t");
        } else {
          if (kind < 3 * rare)
            PutFormula(sheet, static_cast<uint16_t>(column), row, "=1", x, nullptr, 0, true);
          else
            PutNumberCell(static_cast<uint16_t>(column), row, x);
          PutFormula(sheet, twin, row, "=1", x, nullptr, 0, true);
        }
      }
    }
    const auto rectangle = [&](uint32_t from) {
      return CellName(from, top) + ":" + CellName(from + width - 1, top + height - 1);
    };
    for (const char* pattern : formulas) {
      std::string cells = std::string("=") + pattern;
      std::string twins = cells;
      const size_t at = cells.find('R');
      cells.replace(at, 1, rectangle(left));
      twins.replace(at, 1, rectangle(left + kTwinOffset));
      SCOPED_TRACE(cells);
      const FormulaOutcome expected = Evaluate(twins);
      const FormulaOutcome outcome = Evaluate(cells);
      ASSERT_EQ(outcome.kind, expected.kind);
      EXPECT_STREQ(ErrorName(outcome.error), ErrorName(expected.error));
      EXPECT_EQ(Bits(outcome.number), Bits(expected.number)) << outcome.number << " " << expected.number;
    }
  }
}

// A sum of deviations that never shrinks falls below the normal range only
// at its first term above 0: here the first value's, 1.2e-308. A plain sum
// can only with numbers below 2^-969.
TEST_F(PlainListStatistics, SumsBelowNormalFailTheList) {
  const double row[] = {0.0, 5.0, -5.0, 3e-307, -2.4e-307};
  for (uint16_t column = 0; column < 5; ++column) PutNumberCell(column, 0, row[column]);
  const FormulaOutcome outcome = Evaluate("=aveDev(A1:E1)");
  EXPECT_STREQ(ErrorName(outcome.error), ErrorName(kErrorNum));
  // Squared, it is 0, and the sum's first term above 0 is 25.
  EXPECT_STREQ(ErrorName(Evaluate("=devSq(A1:E1)").error), ErrorName(kErrorNone));
  // A plain sum through 1e-309, from numbers at the start of a row and of a run.
  PutNumberCell(0, 1, 3e-308);
  PutNumberCell(1, 1, -2.9e-308);
  PutNumberCell(2, 1, 7.0);
  EXPECT_STREQ(ErrorName(Evaluate("=average(A2:C2)").error), ErrorName(kErrorNum));
}

}  // namespace
