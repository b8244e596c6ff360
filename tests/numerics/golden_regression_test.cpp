#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"
#include "tests/core/eval_test_cells.h"

namespace {

// A worksheet whose columns hold the given values from row 1 on, and the
// full-precision values of one formula evaluated over it: a number, or an
// array's elements row by row (an error element, or an error result, as NaN).
class Sheet {
 public:
  explicit Sheet(const std::vector<std::vector<double>>& columns) {
    state_.sheet = &store_;
    for (size_t c = 0; c < columns.size(); ++c)
      for (size_t r = 0; r < columns[c].size(); ++r) {
        uint8_t record[kNumberCellSize];
        EXPECT_TRUE(BuildNumberCell(record, sizeof record, uint32_t(r), uint16_t(c), columns[c][r], 0));
        EXPECT_TRUE(store_.InsertCell(AsCellRecord(record), nullptr));
      }
  }

  std::vector<double> Evaluate(const std::string& formula) {
    char text[kFormulaTextCapacity + 1];
    std::snprintf(text, sizeof text, "%s", formula.c_str());
    if (!state_.TranslateFormula(text, sizeof text, 100, 3000, true)) return {};
    const uint32_t kind = state_.Evaluate(text, 100, 3000);
    const EvalValue& result = state_.operands[1];
    if (kind == kEvalArray) {
      std::vector<double> values;
      CellBlock* chain = state_.arrays.PopChain();
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      cursor.block = chain;
      while (const CellRecord* cell = cursor.Next())
        values.push_back(cell->IsNumber() && cell->ErrorCode() == 0 ? cell->Number() : NAN);
      state_.arrays.PushChain(chain);
      return values;
    }
    if (kind == 0 || result.error != kErrorNone) return {NAN};
    return {result.number};
  }

 private:
  CellStore store_;
  EvalState state_;
};

class GoldenRegression : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
  }
  void TearDown() override { ResetGlobalOptions(); }
};

std::vector<double> ReadNumbers(std::istream& in) {
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

// R's values: tests/golden/regression.txt, written by generate_regression.R.
TEST_F(GoldenRegression, AgreesWithR) {
  std::ifstream file(std::string(TALVERO_GOLDEN_DIR) + "/regression.txt");
  ASSERT_TRUE(file.good());
  std::string line, label, formula;
  double tolerance = 0.0;
  std::vector<std::vector<double>> columns;
  int cases = 0;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string tag;
    fields >> tag;
    if (tag == "case") {
      fields >> label >> tolerance;
      columns.clear();
    } else if (tag == "formula") {
      fields >> formula;
    } else if (tag == "col") {
      columns.push_back(ReadNumbers(fields));
    } else if (tag == "expect") {
      const std::vector<double> expected = ReadNumbers(fields);
      Sheet sheet(columns);
      const std::vector<double> actual = sheet.Evaluate(formula);
      ++cases;
      SCOPED_TRACE(label + " " + formula);
      ASSERT_EQ(actual.size(), expected.size());
      for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance * std::fabs(expected[i]) + 1e-300) << "element " << i;
    }
  }
  EXPECT_EQ(cases, 57);
}

// One NIST StRD linear-regression file: the certified parameters, the
// residual standard deviation and the data (y, then the predictors).
struct StrdFile {
  std::vector<double> parameters;
  double residualDeviation = 0.0;
  std::vector<std::vector<double>> data;  // data[0] = y, data[j] = x_j
};

StrdFile ReadStrd(const std::string& name) {
  StrdFile strd;
  std::ifstream file(std::string(TALVERO_GOLDEN_DIR) + "/nist/" + name + ".dat");
  EXPECT_TRUE(file.good()) << name;
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  int firstData = 0, lastData = 0;
  for (const std::string& line : lines) {
    if (line.find("Data  ") != std::string::npos && line.find("(lines") != std::string::npos)
      std::sscanf(line.c_str() + line.find("(lines"), "(lines %d to %d)", &firstData, &lastData);
    std::istringstream fields(line);
    std::string word;
    fields >> word;
    if (word.size() >= 2 && word[0] == 'B' && std::isdigit(static_cast<unsigned char>(word[1]))) {
      double estimate = 0.0;
      if (fields >> estimate) strd.parameters.push_back(estimate);
    }
    if (word == "Standard") {
      fields >> word >> strd.residualDeviation;
    }
  }
  for (int i = firstData; i <= lastData && i <= int(lines.size()); ++i) {
    std::istringstream fields(lines[size_t(i - 1)]);
    const std::vector<double> row = ReadNumbers(fields);
    if (strd.data.size() < row.size()) strd.data.resize(row.size());
    for (size_t j = 0; j < row.size(); ++j) strd.data[j].push_back(row[j]);
  }
  return strd;
}

// The number of correct significant digits (log relative error), capped at
// 15, as the StRD reports count them.
double CorrectDigits(double value, double certified) {
  if (value == certified) return 15.0;
  const double digits = certified == 0.0 ? -std::log10(std::fabs(value))
                                         : -std::log10(std::fabs(value - certified) / std::fabs(certified));
  return std::isnan(digits) ? 0.0 : std::fmin(digits, 15.0);
}

std::string Range(char column, size_t rows) {
  return std::string(1, column) + "1:" + std::string(1, column) + std::to_string(rows);
}

// The power-series coefficients of a POLYREG fit, B^T x, and the residual
// standard deviation from its last chi-square, all with unit deviations.
void PolynomialFit(const StrdFile& strd, size_t terms, std::vector<double>* coefficients, double* deviation) {
  const size_t n = strd.data[0].size();
  Sheet sheet({strd.data[1], strd.data[0], std::vector<double>(n, 1.0)});
  const std::string call = "=POLYREG(" + Range('A', n) + "," + Range('B', n) + "," + Range('C', n) + "," +
                           std::to_string(terms) + ",";
  const std::vector<double> x = sheet.Evaluate(call + "1)");
  const std::vector<double> b = sheet.Evaluate(call + "2)");
  const std::vector<double> chi2 = sheet.Evaluate(call + "3)");
  ASSERT_EQ(x.size(), terms);
  ASSERT_EQ(b.size(), terms * terms);
  ASSERT_EQ(chi2.size(), terms);
  coefficients->assign(terms, 0.0);
  for (size_t k = 0; k < terms; ++k)
    for (size_t j = k; j < terms; ++j) (*coefficients)[k] += b[j * terms + k] * x[j];
  *deviation = std::sqrt(chi2[terms - 1] / double(n - terms));
}

struct StrdCase {
  const char* name;
  double parameterDigits;  // the fewest correct digits reached, kept from regressing
  double deviationDigits;
};

void ExpectDigits(const char* name, const std::vector<double>& values, const std::vector<double>& certified,
                  double value, double certifiedValue, const StrdCase& c) {
  ASSERT_EQ(values.size(), certified.size()) << name;
  double fewest = 15.0;
  for (size_t i = 0; i < values.size(); ++i) fewest = std::fmin(fewest, CorrectDigits(values[i], certified[i]));
  std::printf("%-13s parameters %5.1f digits", name, fewest);
  EXPECT_GE(fewest, c.parameterDigits) << name;
  // Fits that give no residual deviation pass NaN.
  if (!std::isnan(value)) {
    const double deviation = CorrectDigits(value, certifiedValue);
    std::printf(", residual deviation %5.1f digits", deviation);
    EXPECT_GE(deviation, c.deviationDigits) << name;
  }
  std::printf("\n");
}

// The certified values of the NIST StRD linear-regression files, as the
// files shipped with Debian's gretl-data carry them: Norris by the line
// fits, Pontius, the Wamplers and Filip by POLYREG, NoInt1 and NoInt2 by
// LINEST through the origin, Longley by least squares over a design matrix.
TEST_F(GoldenRegression, ReachesTheCertifiedDigitsOfTheStrdFiles) {
  // Wampler1 is an exact polynomial: its certified deviation is 0, and the
  // digits count the deviation's distance from 0. Converting orthogonal to
  // power coefficients costs the Wamplers' wide abscissae their digits.
  const StrdCase kPolynomials[] = {
      {"Norris", 12.0, 13.5},  {"Pontius", 11.5, 13.0},  {"Wampler1", 9.0, 9.5},  {"Wampler2", 12.5, 14.0},
      {"Wampler3", 9.0, 14.0}, {"Wampler4", 9.5, 14.0}, {"Wampler5", 8.0, 14.0}, {"Filip", 12.0, 14.0},
  };
  for (const StrdCase& c : kPolynomials) {
    const StrdFile strd = ReadStrd(c.name);
    std::vector<double> coefficients;
    double deviation = 0.0;
    PolynomialFit(strd, strd.parameters.size(), &coefficients, &deviation);
    ExpectDigits(c.name, coefficients, strd.parameters, deviation, strd.residualDeviation, c);
  }
  {
    const StrdFile strd = ReadStrd("Norris");
    const size_t n = strd.data[0].size();
    Sheet sheet({strd.data[1], strd.data[0]});
    const std::string lists = Range('B', n) + "," + Range('A', n) + ")";
    const std::vector<double> fit = {sheet.Evaluate("=INTERCEPT(" + lists)[0], sheet.Evaluate("=SLOPE(" + lists)[0]};
    ExpectDigits("Norris line", fit, strd.parameters, sheet.Evaluate("=STEYX(" + lists)[0], strd.residualDeviation,
                 {"", 12.0, 10.0});
    const std::vector<double> linest = sheet.Evaluate("=LINEST(" + Range('B', n) + "," + Range('A', n) + ",)");
    ExpectDigits("Norris LINEST", linest, strd.parameters, NAN, strd.residualDeviation,
                 {"", 12.0, 0.0});
  }
  for (const char* name : {"NoInt1", "NoInt2"}) {
    const StrdFile strd = ReadStrd(name);
    const size_t n = strd.data[0].size();
    Sheet sheet({strd.data[1], strd.data[0]});
    const std::vector<double> fit = sheet.Evaluate("=LINEST(" + Range('B', n) + "," + Range('A', n) + ",0)");
    ASSERT_EQ(fit.size(), 2u) << name;
    EXPECT_EQ(fit[0], 0.0) << name;
    ExpectDigits(name, {fit[1]}, strd.parameters, NAN, strd.residualDeviation, {"", 12.0, 0.0});
  }
  {
    const StrdFile strd = ReadStrd("Longley");
    const size_t n = strd.data[0].size();
    // A column of ones, the six predictors, then y.
    std::vector<std::vector<double>> columns = {std::vector<double>(n, 1.0)};
    for (size_t j = 1; j < strd.data.size(); ++j) columns.push_back(strd.data[j]);
    columns.push_back(strd.data[0]);
    Sheet sheet(columns);
    const std::string call = "=MTXSVD(A1:G" + std::to_string(n) + "," + Range('H', n) + ",,";
    const std::vector<double> fit = sheet.Evaluate(call + "1)");
    const std::vector<double> squares = sheet.Evaluate(call + "3)");
    ASSERT_EQ(squares.size(), 1u);
    ExpectDigits("Longley", fit, strd.parameters, std::sqrt(squares[0] / double(n - 7)), strd.residualDeviation,
                 {"", 9.5, 11.5});
  }
}

}  // namespace
