#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "functions/wildcard_match.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

std::string RandomText(std::mt19937& random, const char* alphabet, uint32_t maxLength) {
  const size_t letters = std::char_traits<char>::length(alphabet);
  std::string text(random() % (maxLength + 1), ' ');
  for (char& c : text) c = alphabet[random() % letters];
  return text;
}

using Criteria = FormulaTableTest;

// COUNTIF, SUMIF and the exact lookups settle plain texts and texts ending
// in stars without the pattern search; they must find exactly the texts the
// pattern search finds whole ("<>" exactly the others).
TEST_F(Criteria, TextPatternsMatchAsTheWildcardMatcherDoes) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  constexpr uint32_t kTexts = 24;
  std::vector<std::string> texts;
  for (uint32_t row = 0; row < kTexts; ++row) {
    texts.push_back(RandomText(random, "abBc*", 4));
    PutText(sheet, 0, row, texts.back());
    PutNumber(sheet, 1, row, row + 1);
  }
  for (int trial = 0; trial < 200; ++trial) {
    // Mostly the simple shapes, now and then a "?" or "~" as well.
    std::string pattern = RandomText(random, trial % 5 == 0 ? "aBc?~" : "abBc", 3);
    if (random() % 2) pattern += std::string(1 + random() % 2, '*');
    int count = 0;
    double sum = 0;
    std::string firstMatch = "#N/A!";
    for (uint32_t row = 0; row < kTexts; ++row) {
      bool whole = false;
      if (WildcardMatch(pattern.c_str(), texts[row].c_str(), &whole) == 0 && whole) {
        if (count == 0) firstMatch = std::to_string(row + 1);
        ++count;
        sum += row + 1;
      }
    }
    SCOPED_TRACE(pattern);
    EXPECT_EQ(Run("=COUNTIF(A1:A24,\"" + pattern + "\")"), std::to_string(count));
    EXPECT_EQ(Run("=COUNTIF(A1:A24,\"<>" + pattern + "\")"), std::to_string(int(kTexts) - count));
    char expected[64];
    DoubleToText(sum, expected, sizeof expected, nullptr);
    EXPECT_EQ(Run("=SUMIF(A1:A24,\"" + pattern + "\",B1:B24)"), expected);
    EXPECT_EQ(Run("=MATCH(\"" + pattern + "\",A1:A24,0)"), firstMatch);
  }
}

}  // namespace

namespace {

// Every comparison a criterion can spell, against numbers written as
// integers, decimals and negative values, counts the cells a plain
// comparison counts.
TEST_F(Criteria, OperatorsCompareNumbersAsWritten) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  constexpr uint32_t kCells = 20;
  double cells[kCells];
  for (uint32_t row = 0; row < kCells; ++row) {
    cells[row] = double(int(random() % 21) - 10) / 4.0;
    PutNumber(sheet, 0, row, cells[row]);
  }
  const char* const operators[] = {"", "=", "<>", "<", "<=", ">", ">="};
  for (int trial = 0; trial < 300; ++trial) {
    const int op = int(random() % 7);
    const double operand = double(int(random() % 25) - 12) / 4.0;
    int count = 0;
    for (double x : cells) {
      const bool met[] = {x == operand, x == operand, x != operand, x < operand,
                          x <= operand, x > operand, x >= operand};
      count += met[op];
    }
    char criterion[32];
    std::snprintf(criterion, sizeof criterion, "%s%g", operators[op], operand);
    SCOPED_TRACE(criterion);
    EXPECT_EQ(Run(std::string("=COUNTIF(A1:A20,\"") + criterion + "\")"), std::to_string(count));
  }
}

}  // namespace

namespace {

// A criterion text read before is taken again as it was read: criteria of
// equal length, shared beginnings and texts too long to keep, met again in
// any order, count and sum what the same criterion read afresh (after as
// many others as are ever kept) counts and sums.
TEST_F(Criteria, CriteriaTakenAgainMatchAsReadAfresh) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  static const char* const kTexts[] = {"2", "20", "b", "beta", "B", "2.5", "", "b2", "-1"};
  for (uint32_t row = 0; row < 20; ++row) {
    if (random() % 3 == 0)
      PutText(sheet, 0, row, kTexts[random() % 9]);
    else
      PutNumber(sheet, 0, row, double(int(random() % 9) - 2) / 2.0);
    PutNumber(sheet, 1, row, row + 1);
  }
  static const char* const kOperators[] = {"", "=", "<>", "<", "<=", ">", ">="};
  static const char* const kOperands[] = {"2", "20", "2.5", "b", "b*", "beta", "B", "2*", "", "-1", "1e1", "b?"};
  uint32_t flushes = 0;
  for (int trial = 0; trial < 300; ++trial) {
    std::string criterion = std::string(kOperators[random() % 7]) + kOperands[random() % 12];
    if (random() % 6 == 0) criterion += std::string(random() % 2 ? 30 : 20, '*');
    const std::string formulas[] = {"=COUNTIF(A1:A20,\"" + criterion + "\")",
                                    "=SUMIF(A1:A20,\"" + criterion + "\",B1:B20)"};
    SCOPED_TRACE(criterion);
    for (const std::string& formula : formulas) {
      const std::string taken = Run(formula);
      // Criteria of their own push every kept one out.
      for (int i = 0; i < 8; ++i) Run("=COUNTIF(B1:B20,\"<>#" + std::to_string(flushes++) + "\")");
      EXPECT_EQ(Run(formula), taken) << formula;
    }
  }
}

}  // namespace
