#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "core/base/result_check.h"
#include "functions/int_pow.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using CashFlowValues = FormulaTableTest;

// NPV discounts the k-th flow by IntPow(1 + rate, k) to the last bit, with
// the flows in a table or beyond it, gaps and texts in the range, and
// rates that make some sum overflow.
TEST_F(CashFlowValues, DiscountEachFlowByItsIntegerPowerToTheBit) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double kRates[] = {0, 0.05, 0.1234567, 1e-9, 3.5, 1e-300};
  for (int round = 0; round < 200; ++round) {
    sheet.Clear(true);
    const uint32_t rows = 1 + random() % 140;
    const double rate = random() % 4 ? double(random() % 3000) / 9973.0 : kRates[random() % 6];
    double expected = 0;
    bool bad = false;
    uint32_t k = 0;
    for (uint32_t row = 0; row < rows; ++row) {
      if (random() % 9 == 0) continue;  // a gap is no flow
      const double x = random() % 50 ? (double(random() % 20001) - 10000.0) / 7.0 : 1e308;
      PutNumber(sheet, 0, row, x);
      expected += x / IntPow(1.0 + rate, int32_t(++k));
      bad = bad || IsBadNumber(expected);
    }
    PutNumber(sheet, 1, 0, rate);
    const std::string formula = "=NPV(B1,A1:A" + std::to_string(rows) + ")";
    Run(formula);
    const EvalValue& result = state.operands[1];
    if (bad) {
      EXPECT_EQ(result.error, uint32_t(kErrorNum)) << formula;
      continue;
    }
    ASSERT_EQ(result.error, 0u) << formula;
    EXPECT_EQ(std::memcmp(&result.number, &expected, sizeof expected), 0)
        << formula << ": " << result.number << " vs " << expected;
  }
}

// A list of one range reads as the same cells split over two ranges: gaps,
// numbers written as text and one cell that cannot be read.
TEST_F(CashFlowValues, OneRangeReadsAsTheSameCellsSplit) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 300; ++trial) {
    sheet.Clear(true);
    const uint32_t rows = 2 + random() % 8;
    bool errorPut = false;
    for (uint32_t row = 0; row < rows; ++row) {
      switch (random() % 10) {
        case 0:
          break;
        case 1:
          PutText(sheet, 0, row, "12.5");
          break;
        case 2:
          // One cell at most that cannot be read: which range's error wins
          // is another matter.
          if (!errorPut && random() % 2)
            PutText(sheet, 0, row, "text");
          else if (!errorPut)
            PutNumber(sheet, 0, row, 1, kErrorDivZero);
          errorPut = true;
          break;
        default:
          PutNumber(sheet, 0, row, double(int32_t(random() % 2001) - 1000) / 8);
          break;
      }
    }
    const std::string split = std::to_string(1 + random() % (rows - 1));
    const std::string whole = "A1:A" + std::to_string(rows);
    const std::string halves = "A1:A" + split + ",A" + std::to_string(std::stoi(split) + 1) + ":A" + std::to_string(rows);
    for (const char* f : {"NPV(0.05,", "FVSCHEDULE(1.5,", "IRR("}) {
      const std::string end = f[0] == 'I' ? ",)" : ")";
      const std::string one = "=" + std::string(f) + whole + end;
      EXPECT_EQ(Run(one), Run("=" + std::string(f) + halves + end)) << one;
    }
  }
}

}  // namespace
