#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using FrequencyBins = FormulaTableTest;

// With ascending bins, each count is that of the numbers above the bin
// before and up to its own, the last one those above every bin; for few
// bins and for more than are kept on the stack, with blanks among both
// lists.
TEST_F(FrequencyBins, CountsTheNumbersBetweenAscendingBins) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 60; ++round) {
    sheet.Clear(true);
    const uint32_t dataRows = 1 + random() % 50;
    const uint32_t binRows = 1 + random() % 80;
    std::vector<double> data;
    std::vector<double> bins;
    for (uint32_t r = 0; r < dataRows; ++r) {
      if (random() % 8 == 0) continue;
      data.push_back(double(random() % 400) / 4);
      PutNumber(sheet, 0, r, data.back());
    }
    double bound = -5;
    for (uint32_t r = 0; r < binRows; ++r) {
      bound += double(random() % 12) / 2;
      if (random() % 9 == 0) continue;
      bins.push_back(bound);
      PutNumber(sheet, 1, r, bound);
    }
    std::string expected = "{";
    for (size_t i = 0; i <= bins.size(); ++i) {
      const size_t count = std::count_if(data.begin(), data.end(), [&](double v) {
        return (i == 0 || v > bins[i - 1]) && (i == bins.size() || v <= bins[i]);
      });
      expected += (i ? "; " : "") + std::to_string(count);
    }
    expected += "}";
    if (bins.empty()) expected = "{" + std::to_string(data.size()) + "}";
    const std::string formula =
        "=FREQUENCY(A1:A" + std::to_string(dataRows) + ",B1:B" + std::to_string(binRows) + ")";
    ASSERT_EQ(Run(formula), expected) << "round " << round << " " << formula;
  }
}

}  // namespace
