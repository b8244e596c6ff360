#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using ArrayPicks = FormulaTableTest;

std::string Cell(uint32_t column, uint32_t row) { return std::string(1, char('A' + column)) + std::to_string(row + 1); }

// INDEX of an array result or a range by two numbers written in the formula
// picks what the same positions read from cells pick: random contents
// (blanks, texts, errors, formulas caching numbers or texts), positions
// inside, on and past the bounds, fractional or not.
TEST_F(ArrayPicks, IndexByNumbersPicksWhatPositionsInCellsPick) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double positions[] = {0.0, 0.4, 0.5, 1.0, 1.49, 1.5, 2.0, 2.5, 3.0, 4.0, 5.2, -1.0, 2047.0, 2048.0};
  for (int round = 0; round < 200; ++round) {
    sheet.Clear(true);
    const uint32_t columns = 1 + random() % 4, rows = 1 + random() % 4;
    for (uint16_t c = 0; c < columns; ++c)
      for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t error = random() % 8 == 0 ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
        const uint32_t kind = random() % 5;
        if (kind == 1) PutText(sheet, c, r, "t" + std::to_string(r), error);
        if (kind == 2) PutFormula(sheet, c, r, "=1", 0, "f", error, true);
        if (kind == 3) PutFormula(sheet, c, r, "=1", -2.5, nullptr, error, true);
        if (kind == 4) PutNumber(sheet, c, r, double(random() % 100) / 4, error);
      }
    const double m = positions[random() % 14], n = positions[random() % 14];
    PutNumber(sheet, 6, 0, m);
    PutNumber(sheet, 7, 0, n);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, ",%.17g,%.17g)", m, n);
    // TRANSPOSE makes an array value; the range starts inside the filled cells.
    for (const std::string& x : {"TRANSPOSE(A1:" + Cell(columns - 1, rows - 1) + ")",
                                 Cell(columns / 2, rows / 2) + ":" + Cell(columns - 1, rows - 1)})
      ASSERT_EQ(Run("=INDEX(" + x + numbers), Run("=INDEX(" + x + ",G1,H1)"))
          << "round " << round << " " << x << numbers;
  }
  EXPECT_EQ(Run("=INDEX({1,2;3,4},2,1,1)"), "3");
  EXPECT_EQ(Run("=INDEX({1,2;3,4},1/0,1)"), "#DIV/0!");
}

// An element of an array long enough to take several blocks is picked by
// numbers in the formula as by the same numbers read from cells: elements in
// the first, a middle and the last block, and past the last.
TEST_F(ArrayPicks, IndexOfALongArrayPicksAcrossItsBlocks) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  constexpr uint32_t kLength = 1500;
  for (uint32_t r = 0; r < kLength; ++r) {
    const uint32_t kind = random() % 4;
    if (kind == 1) PutText(sheet, 0, r, std::string(random() % 40, 'x'));
    if (kind >= 2) PutNumber(sheet, 0, r, double(random() % 1000) / 8, random() % 9 == 0 ? uint8_t(kErrorNA) : 0);
  }
  for (int round = 0; round < 60; ++round) {
    const uint32_t n = 1 + random() % (kLength + 2);
    PutNumber(sheet, 7, 0, n);
    const std::string x = "=INDEX(TRANSPOSE(A1:A" + std::to_string(kLength) + "),1,";
    ASSERT_EQ(Run(x + std::to_string(n) + ")"), Run(x + "H1)")) << "round " << round << " column " << n;
  }
}

// With ascending bins, FREQUENCY counts the numbers above the bin before and
// up to each bin, then those above all: for few bins and for more than are
// kept on the stack, with blanks among both lists.
TEST_F(ArrayPicks, FrequencyCountsBetweenAscendingBins) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 60; ++round) {
    sheet.Clear(true);
    const uint32_t dataRows = 1 + random() % 50, binRows = 1 + random() % 80;
    std::vector<double> data, bins;
    for (uint32_t r = 0; r < dataRows; ++r)
      if (random() % 8) PutNumber(sheet, 0, r, data.emplace_back(double(random() % 400) / 4));
    double bound = -5;
    for (uint32_t r = 0; r < binRows; ++r)
      if ((bound += double(random() % 12) / 2), random() % 9) PutNumber(sheet, 1, r, bins.emplace_back(bound));
    std::string expected;
    for (size_t i = 0; i <= bins.size(); ++i)
      expected += (i ? "; " : "{") + std::to_string(std::count_if(data.begin(), data.end(), [&](double v) {
                    return (i == 0 || v > bins[i - 1]) && (i == bins.size() || v <= bins[i]);
                  }));
    const std::string formula = "=FREQUENCY(A1:A" + std::to_string(dataRows) + ",B1:B" + std::to_string(binRows) + ")";
    ASSERT_EQ(Run(formula), expected + "}") << "round " << round << " " << formula;
  }
}

}  // namespace
