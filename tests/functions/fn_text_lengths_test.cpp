#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using TextLengths = FormulaTableTest;

// LEN over a range gives an element per cell and CONCATENATE reads its
// cells in place; each element of LEN must be what LEN of that one cell gives, bit for bit (texts, numbers
// in their text form, errors passed on; absent cells give no element), and
// CONCATENATE must join what it gives for each cell alone.
TEST_F(TextLengths, EachElementIsTheLengthOfItsCell) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double numbers[] = {0, -1.5, 1e20, 123456789012345678.0, 1.0 / 3, 2.5e-15, 42};
  const char* const texts[] = {"", "a", "beta 12", "  x  ", "2009-05-16", "#N/A!"};
  for (int trial = 0; trial < 20; ++trial) {
    CellStore cells;
    state.sheet = &cells;
    for (uint16_t column = 0; column < 3; ++column) {
      for (uint32_t row = 0; row < 6; ++row) {
        const uint8_t error = random() % 6 == 0 ? kErrorDivZero : 0;
        switch (random() % 4) {
          case 0:
            PutNumber(cells, column, row, numbers[random() % 7], error);
            break;
          case 1:
            PutText(cells, column, row, texts[random() % 6], error);
            break;
          case 2:
            PutFormula(cells, column, row, "=1", 0, texts[random() % 6], error, true);
            break;
          default:
            break;  // absent
        }
      }
    }
    // The elements as the array holds them, numbers and errors bit for bit.
    ASSERT_EQ(Run("=LEN(A1:C6)").substr(0, 1), "{");
    struct Element {
      bool present = false;
      double number = 0;
      uint8_t error = 0;
    } elements[6][3];
    CellBlock* chain = state.arrays.PopChain();
    CellCursor walk;
    walk.flags = kCursorAfterRecord;
    walk.block = chain;
    while (const CellRecord* element = walk.Next())
      elements[element->Row()][element->Column()] = {true, element->Number(), element->ErrorCode()};
    state.arrays.PushChain(chain);
    // CONCATENATE reads the cells the same way: their texts joined, or the
    // largest error.
    std::string joined;
    uint8_t largestError = 0;
    for (uint32_t row = 0; row < 6; ++row) {
      for (uint16_t column = 0; column < 3; ++column) {
        const std::string cell = std::string(1, char('A' + column)) + std::to_string(row + 1);
        const std::string text = Run("=CONCATENATE(" + cell + ")");
        if (state.operands[1].error > largestError) largestError = static_cast<uint8_t>(state.operands[1].error);
        if (text.size() >= 2 && text[0] == '"') joined += text.substr(1, text.size() - 2);
      }
    }
    EXPECT_EQ(Run("=CONCATENATE(A1:C6)"), largestError ? ErrorName(largestError) : "\"" + joined + "\"");

    for (uint32_t row = 0; row < 6; ++row) {
      for (uint16_t column = 0; column < 3; ++column) {
        const std::string cell = std::string(1, char('A' + column)) + std::to_string(row + 1);
        SCOPED_TRACE(cell);
        const Element& element = elements[row][column];
        EXPECT_EQ(element.present, cells.GetCell(row, column) != nullptr);
        if (!element.present) continue;
        Run("=LEN(" + cell + ")");
        EXPECT_EQ(element.error, state.operands[1].error);
        EXPECT_EQ(std::memcmp(&element.number, &state.operands[1].number, sizeof(double)), 0);
      }
    }
    state.sheet = &sheet;
  }
}

}  // namespace
