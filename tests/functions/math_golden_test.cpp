#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "tests/functions/formula_result_text.h"
#include "tests/functions/golden_csv.h"

namespace {

// The reference values of tests/golden/math.csv, computed by Python's math
// and fractions modules: exact where this program's arithmetic is exact,
// else within the relative tolerance of each row.
TEST_F(FormulaTableTest, MathAgreesWithTheReferenceValues) {
  const auto records = ReadGolden("math.csv");
  ASSERT_GT(records.size(), 300u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  for (const auto& record : records) {
    ASSERT_EQ(record.size(), 4u);
    const std::string& formula = record[0];
    const std::string shown = Run(formula);
    if (record[1] == "error") {
      EXPECT_EQ(shown, record[2]) << formula;
      continue;
    }
    ASSERT_EQ(state.operands[1].error, 0u) << formula << " gives " << shown;
    // The double itself: the shown text has only 15 digits.
    const double got = state.operands[1].number;
    const double expected = std::strtod(record[2].c_str(), nullptr);
    const double tolerance = std::strtod(record[3].c_str(), nullptr);
    EXPECT_LE(std::fabs(got - expected), tolerance * std::fabs(expected))
        << formula << " gives " << got << ", expected " << record[2];
  }
}

}  // namespace
