#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "functions/aggregate_cells.h"
#include "numerics/matrix.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using MatrixRangeRead = FormulaTableTest;

// Every element of the read matrix is set, whatever the buffer held: blanks,
// errors, texts that spell no number and error results read as 0; numbers
// (-0 kept), numeric texts and calculated results as their number. Random
// sheets and sub-ranges, the matrix's buffer filled with NaN beforehand;
// every other sheet with its rows indexed, as a recalculation pass leaves
// them, so that a column is read at its cells' places.
TEST_F(MatrixRangeRead, SetsEveryElementOverBlanksTextsAndErrors) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  constexpr uint32_t kRows = 6;
  constexpr uint32_t kCols = 5;
  const double numbers[] = {-0.0, 0.0, 2.5, -7.0, 1e-300, 1e300};
  for (int round = 0; round < 400; ++round) {
    sheet.Clear(true);
    double expected[kRows][kCols] = {};
    for (uint32_t r = 0; r < kRows; ++r) {
      for (uint32_t c = 0; c < kCols; ++c) {
        const double number = numbers[random() % 6];
        const bool erring = random() % 5 == 0;
        const uint8_t error = erring ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
        switch (random() % 5) {
          case 0:
            break;  // blank
          case 1:
            PutNumber(sheet, uint16_t(c), r, number, error);
            expected[r][c] = erring ? 0.0 : number;
            break;
          case 2:
            if (random() % 2) {
              PutText(sheet, uint16_t(c), r, "-3", error);
              expected[r][c] = erring ? 0.0 : -3.0;
            } else {
              PutText(sheet, uint16_t(c), r, "abc", error);
            }
            break;
          case 3:
            PutFormula(sheet, uint16_t(c), r, "=1", number, nullptr, error, true);
            expected[r][c] = erring ? 0.0 : number;
            break;
          default:
            PutFormula(sheet, uint16_t(c), r, "=1", 0, "12", error, true);
            expected[r][c] = erring ? 0.0 : 12.0;
            break;
        }
      }
    }
    if (round % 2) {
      ASSERT_TRUE(sheet.BuildPageIndex(0, nullptr));
    }
    const uint32_t r0 = random() % kRows;
    const uint32_t r1 = r0 + random() % (kRows - r0);
    const uint32_t c0 = random() % kCols;
    const uint32_t c1 = c0 + random() % (kCols - c0);
    state.operandTop = 2;
    EvalValue& value = state.operands[1];
    value.Clear();
    value.kind = kEvalRange;
    value.sheet = &sheet;
    value.first.column = uint16_t(c0);
    value.first.row = r0;
    value.second.column = uint16_t(c1);
    value.second.row = r1;
    ArgRange range;
    ASSERT_EQ(GetArgRange(state, 1, &range), kErrorNone);
    Matrix m;
    ASSERT_TRUE(m.Resize(kRows, kCols));
    for (uint32_t i = 0; i < kRows * kCols; ++i) m.Doubles()[i] = std::nan("");
    ASSERT_TRUE(m.Resize(r1 - r0 + 1, c1 - c0 + 1));  // keeps the NaNs
    ASSERT_TRUE(ReadRangeToMatrix(state, 1, range, m));
    ReleaseArgRange(state, range);
    for (uint32_t r = r0; r <= r1; ++r)
      for (uint32_t c = c0; c <= c1; ++c)
        ASSERT_EQ(std::memcmp(&m(r - r0 + 1, c - c0 + 1), &expected[r][c], sizeof(double)), 0)
            << "round " << round << " row " << r << " column " << c << " read " << m(r - r0 + 1, c - c0 + 1) << " expected " << expected[r][c];
  }
}

}  // namespace
