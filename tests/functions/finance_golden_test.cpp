#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/functions/formula_result_text.h"
#include "tests/functions/golden_csv.h"

namespace {

// The rate searches stop at their own tolerance, as the other program's do.
double ToleranceOf(const std::string& formula) {
  for (const char* search : {"=IRR(", "=XIRR(", "=RATE("})
    if (formula.compare(0, std::strlen(search), search) == 0) return 1e-10;
  return 1e-12;
}

// The reference values of tests/golden/finance.csv, computed by another
// spreadsheet over random arguments where the definitions agree.
TEST(FinanceGolden, AgreesWithTheReferenceValues) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  ASSERT_TRUE(InstallBuiltinFunctionHandlers());
  const auto records = ReadGolden("finance.csv");
  ASSERT_GE(records.size(), 300u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  CellStore sheet;
  EvalState state;
  state.sheet = &sheet;
  for (const auto& record : records) {
    ASSERT_EQ(record.size(), 4u);
    const std::string& formula = record[1];
    const double expected = std::strtod(record[3].c_str(), nullptr);
    const std::string result = EvaluateToText(state, formula.c_str(), 25, 99);
    char* end = nullptr;
    const double got = std::strtod(result.c_str(), &end);
    EXPECT_TRUE(end && *end == '\0' &&
                std::fabs(got - expected) <= ToleranceOf(formula) * std::fmax(1.0, std::fabs(expected)))
        << formula << " gives " << result << ", expected " << record[3];
  }
  ResetGlobalOptions();
}

}  // namespace
