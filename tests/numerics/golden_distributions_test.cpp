#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "numerics/special_functions.h"
#include "tests/numerics/statistics_formula.h"

namespace {

struct GoldenRow {
  std::string name;
  std::vector<std::string> args;
  double expected;
  double tolerance;
};

// Fields are quoted and hold no quotes; array constants hold commas.
std::vector<std::string> SplitQuoted(const std::string& line) {
  std::vector<std::string> fields;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] != '"') break;
    const size_t end = line.find('"', i + 1);
    fields.push_back(line.substr(i + 1, end - i - 1));
    i = end + 2;
  }
  return fields;
}

std::vector<std::string> ReadLines(const char* name) {
  std::vector<std::string> lines;
  const std::string path = std::string(TALVERO_GOLDEN_DIR) + "/" + name;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return lines;
  std::string line;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += static_cast<char>(c);
    }
  }
  std::fclose(file);
  return lines;
}

// tests/golden/distributions.csv, written by generate_distributions.R.
std::vector<GoldenRow> ReadGolden() {
  std::vector<GoldenRow> rows;
  for (const std::string& line : ReadLines("distributions.csv")) {
    const std::vector<std::string> fields = SplitQuoted(line);
    if (fields.size() == 7 && fields[0] == "name") continue;
    if (fields.size() != 7) continue;
    GoldenRow row{fields[0], {}, std::strtod(fields[5].c_str(), nullptr), std::strtod(fields[6].c_str(), nullptr)};
    for (int i = 1; i <= 4; ++i)
      if (!fields[i].empty()) row.args.push_back(fields[i]);
    rows.push_back(row);
  }
  return rows;
}

double Arg(const GoldenRow& row, size_t i) { return std::strtod(row.args[i].c_str(), nullptr); }

class GoldenDistributions : public StatisticsFormulaTest {};

TEST_F(GoldenDistributions, AgreeWithReferenceValues) {
  const std::vector<GoldenRow> rows = ReadGolden();
  ASSERT_GT(rows.size(), 400u) << "golden file missing: " << TALVERO_GOLDEN_DIR;
  for (const GoldenRow& row : rows) {
    std::string call = row.name;
    for (size_t i = 0; i < row.args.size(); ++i) call += (i ? ", " : "") + row.args[i];
    SCOPED_TRACE(call);
    double actual = 0.0;
    if (row.name == "LnGamma") {
      actual = LnGamma(Arg(row, 0));
    } else if (row.name == "IncompleteGamma") {
      actual = IncompleteGamma(Arg(row, 0), Arg(row, 1));
    } else if (row.name == "IncompleteBeta") {
      actual = IncompleteBeta(Arg(row, 0), Arg(row, 1), Arg(row, 2));
    } else {
      const FormulaOutcome outcome = Evaluate("=" + call + ")");
      EXPECT_EQ(outcome.kind, uint32_t(kEvalNumber));
      EXPECT_EQ(outcome.error, 0) << ErrorName(outcome.error);
      if (outcome.kind != kEvalNumber || outcome.error != 0) continue;
      actual = outcome.number;
    }
    EXPECT_TRUE(RelativelyNear(actual, row.expected, row.tolerance));
  }
}

}  // namespace
