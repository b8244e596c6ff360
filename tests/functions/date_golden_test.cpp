#include <gtest/gtest.h>

#include <string>

#include "tests/functions/formula_result_text.h"
#include "tests/functions/golden_csv.h"

namespace {

// The reference values of tests/golden/dates.csv, computed by Python's
// datetime module; dates and counts compare exactly.
TEST_F(FormulaTableTest, DatesAgreeWithTheReferenceValues) {
  const auto records = ReadGolden("dates.csv");
  ASSERT_GT(records.size(), 200u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  for (const auto& record : records) {
    ASSERT_EQ(record.size(), 3u);
    const std::string expected = record[1] == "text" ? "\"" + record[2] + "\"" : record[2];
    EXPECT_EQ(Run(record[0]), expected) << record[0];
  }
}

}  // namespace
