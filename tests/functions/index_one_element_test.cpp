#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using IndexOneElement = FormulaTableTest;

std::string Cell(uint32_t column, uint32_t row) { return std::string(1, char('A' + column)) + std::to_string(row + 1); }

// INDEX of an array result or a range by two numbers written in the formula
// picks the element that the same positions read from cells pick: over
// random contents (blanks, texts, errors, formulas caching numbers or texts)
// and positions inside, on and past the bounds, fractional or not.
TEST_F(IndexOneElement, PicksWhatPositionsReadFromCellsPick) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double positions[] = {0.0, 0.4, 0.5, 1.0, 1.49, 1.5, 2.0, 2.5, 3.0, 4.0, 5.2, -1.0, 2047.0, 2048.0};
  for (int round = 0; round < 200; ++round) {
    sheet.Clear(true);
    const uint32_t columns = 1 + random() % 4;
    const uint32_t rows = 1 + random() % 4;
    for (uint32_t c = 0; c < columns; ++c)
      for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t error = random() % 8 == 0 ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
        switch (random() % 5) {
          case 0:
            break;  // blank
          case 1:
            PutText(sheet, uint16_t(c), r, "t" + std::to_string(r), error);
            break;
          case 2:
            PutFormula(sheet, uint16_t(c), r, "=1", 0, "f", error, true);
            break;
          case 3:
            PutFormula(sheet, uint16_t(c), r, "=1", -2.5, nullptr, error, true);
            break;
          default:
            PutNumber(sheet, uint16_t(c), r, double(random() % 100) / 4, error);
            break;
        }
      }
    const double m = positions[random() % 14];
    const double n = positions[random() % 14];
    PutNumber(sheet, 6, 0, m);
    PutNumber(sheet, 7, 0, n);
    // TRANSPOSE makes the range an array value (its own shape exchanged).
    const std::string array = "TRANSPOSE(A1:" + Cell(columns - 1, rows - 1) + ")";
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, ",%.17g,%.17g)", m, n);
    ASSERT_EQ(Run("=INDEX(" + array + numbers), Run("=INDEX(" + array + ",G1,H1)"))
        << "round " << round << " " << array << numbers;
    // The same range picked as a reference, from a corner inside the filled cells.
    const std::string range = Cell(columns / 2, rows / 2) + ":" + Cell(columns - 1, rows - 1);
    ASSERT_EQ(Run("=INDEX(" + range + numbers), Run("=INDEX(" + range + ",G1,H1)"))
        << "round " << round << " " << range << numbers;
  }
  // Extra arguments and error values go the general way.
  EXPECT_EQ(Run("=INDEX({1,2;3,4},2,1)"), "3");
  EXPECT_EQ(Run("=INDEX({1,2;3,4},2,1,1)"), "3");
  EXPECT_EQ(Run("=INDEX({1,2;3,4},2,3)"), "#REF!");
  EXPECT_EQ(Run("=INDEX({1,2;3,4},1/0,1)"), "#DIV/0!");
}

}  // namespace
