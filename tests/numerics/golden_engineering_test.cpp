#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "functions/complex_text.h"
#include "tests/numerics/statistics_formula.h"

namespace {

struct GoldenRow {
  std::string formula;
  double expected;
  double expectedImaginary;
  bool complexResult;
};

// Fields are quoted, with quotes inside doubled.
std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields;
  size_t i = 0;
  while (i < line.size() && line[i] == '"') {
    std::string field;
    for (++i; i < line.size(); ++i) {
      if (line[i] != '"') {
        field += line[i];
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        break;
      }
    }
    fields.push_back(field);
    i += 2;
  }
  return fields;
}

// tests/golden/engineering.csv, written by generate_engineering.py.
std::vector<GoldenRow> ReadGolden() {
  std::vector<GoldenRow> rows;
  const std::string path = std::string(TALVERO_GOLDEN_DIR) + "/engineering.csv";
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return rows;
  std::string line;
  for (int c = std::fgetc(file);; c = std::fgetc(file)) {
    if (c == '\n' || c == EOF) {
      const std::vector<std::string> fields = SplitCsv(line);
      if (fields.size() == 3 && fields[0] != "formula")
        rows.push_back({fields[0], std::strtod(fields[1].c_str(), nullptr), std::strtod(fields[2].c_str(), nullptr),
                        !fields[2].empty()});
      line.clear();
      if (c == EOF) break;
    } else if (c != '\r') {
      line += static_cast<char>(c);
    }
  }
  std::fclose(file);
  return rows;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// What the written text of a part can carry: 15 significant digits, but at
// most 15 digits in all below 1 (0.00012345678901234 keeps 14 decimals), and
// 14 significant digits in the exponent form.
double TextRounding(double x) {
  const double magnitude = std::fabs(x);
  if (magnitude == 0.0) return 0.0;
  if (magnitude < 1e-14 || magnitude > 999999999999999.0) return 5e-14 * magnitude;
  const int integerDigits = magnitude < 1.0 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
  return 0.5 * std::pow(10.0, integerDigits - 15);
}

::testing::AssertionResult PartNear(const char* what, double actual, double expected, double modulus) {
  const double allowed = 1e-14 * modulus + TextRounding(expected);
  if (std::fabs(actual - expected) <= allowed) return ::testing::AssertionSuccess();
  char text[200];
  std::snprintf(text, sizeof text, "%s part %.17g differs from %.17g by %.3g (allowed %.3g)", what, actual, expected,
                std::fabs(actual - expected), allowed);
  return ::testing::AssertionFailure() << text;
}

class GoldenEngineering : public StatisticsFormulaTest {};

TEST_F(GoldenEngineering, AgreeWithReferenceValues) {
  const std::vector<GoldenRow> rows = ReadGolden();
  ASSERT_GT(rows.size(), 500u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  for (const GoldenRow& row : rows) {
    SCOPED_TRACE(row.formula);
    const FormulaOutcome outcome = Evaluate("=" + row.formula);
    EXPECT_EQ(outcome.error, 0) << ErrorName(outcome.error);
    if (outcome.error != 0) continue;
    if (row.complexResult) {
      ASSERT_EQ(outcome.kind, uint32_t(kEvalText));
      double re = 0.0;
      double im = 0.0;
      ASSERT_TRUE(ParseComplex(outcome.text.c_str(), &re, &im)) << outcome.text;
      const double modulus = std::hypot(row.expected, row.expectedImaginary);
      EXPECT_TRUE(PartNear("real", re, row.expected, modulus)) << outcome.text;
      EXPECT_TRUE(PartNear("imaginary", im, row.expectedImaginary, modulus)) << outcome.text;
      continue;
    }
    ASSERT_EQ(outcome.kind, uint32_t(kEvalNumber));
    // The error and Bessel functions come from series, fractions and
    // recurrences; the complex parts and moduli from a few operations.
    const bool special = StartsWith(row.formula, "BESSEL") || StartsWith(row.formula, "ERF");
    const double tolerance = special ? 1e-13 : 1e-14;
    EXPECT_TRUE(RelativelyNear(outcome.number, row.expected, tolerance));
  }
}

}  // namespace
