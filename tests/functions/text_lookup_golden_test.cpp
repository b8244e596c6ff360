#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_ref_text.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/functions/golden_csv.h"

namespace {

// The reference values of tests/golden/text_lookup.csv, computed by another
// spreadsheet for the functions whose definitions agree.
TEST(TextLookupGolden, AgreesWithTheReferenceValues) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  const auto records = ReadGolden("text_lookup.csv");
  ASSERT_GT(records.size(), 50u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  CellStore sheet;
  EvalState state;
  state.sheet = &sheet;
  int formulas = 0;
  for (const auto& record : records) {
    ASSERT_EQ(record.size(), 4u);
    const std::string& what = record[1];
    const std::string& type = record[2];
    const std::string& value = record[3];
    if (record[0] == "cell") {
      RefCorner corner;
      const char* end = nullptr;
      ASSERT_NE(ParseA1Reference(what.c_str(), &corner, &end), 0u) << what;
      if (type == "text")
        PutText(sheet, static_cast<uint16_t>(corner.column), corner.row, value);
      else
        PutNumber(sheet, static_cast<uint16_t>(corner.column), corner.row, std::strtod(value.c_str(), nullptr));
      continue;
    }
    ++formulas;
    const std::string result = EvaluateToText(state, what.c_str(), 25, 99);
    if (type == "number") {
      const double expected = std::strtod(value.c_str(), nullptr);
      char* end = nullptr;
      const double got = std::strtod(result.c_str(), &end);
      EXPECT_TRUE(end && *end == '\0' && std::fabs(got - expected) <= 1e-12 * std::fmax(1.0, std::fabs(expected)))
          << what << " gives " << result << ", expected " << value;
    } else if (type == "text") {
      EXPECT_EQ(result, "\"" + value + "\"") << what;
    } else {
      EXPECT_EQ(result, value) << what;
    }
  }
  EXPECT_GT(formulas, 50);
  ResetGlobalOptions();
}

}  // namespace
