#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "functions/cell_integer.h"
#include "functions/complex_args.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using PlainCellReads = FormulaTableTest;

// Numbers around the rounding halves, the bounds of 32-bit integers and
// of the exactly written complex parts, in every kind of cell.
void PutRandomCell(std::mt19937& random, CellStore& sheet) {
  static const double kNumbers[] = {0,   -0.0,  1,   -1,   0.5,  -0.5, 1.4999999999999998, 0.49999999999999994,
                                    2.5, -2.5,  18.75, 1e10, 9999999999.5, 1.0 / 3, 2147483646.5, 2147483646.4,
                                    2147483647, -2147483646.6, -2147483647, -2147483648.0, 3e9, 1e-310, 1e300};
  static const char* const kTexts[] = {"3", "abc", "", "1+2i"};
  const double number = kNumbers[random() % (sizeof kNumbers / sizeof kNumbers[0])];
  const uint8_t error = random() % 5 == 0 ? uint8_t(kErrorDivZero) : uint8_t(kErrorNone);
  switch (random() % 4) {
    case 0:
      PutText(sheet, 0, 0, kTexts[random() % 4], error);
      break;
    case 1:
      PutFormula(sheet, 0, 0, "=1", number, nullptr, error, true);
      break;
    default:
      PutNumber(sheet, 0, 0, number, error);
      break;
  }
}

// Whatever the in-place reads take must be what the reads through the
// argument's slot give, bit for bit: integers within each handler's bounds
// (GCD, AND, MULTINOMIAL) and complex numbers.
TEST_F(PlainCellReads, GiveWhatReadingThroughTheSlotGives) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const int32_t kBounds[][2] = {{-2147483647 - 1, 2147483647}, {0, 2147483647}, {1, 2147483647}};
  uint32_t taken = 0;
  for (int round = 0; round < 3000; ++round) {
    sheet.Clear(true);
    PutRandomCell(random, sheet);
    const CellRecord* cell = sheet.GetCell(0, 0);
    ASSERT_NE(cell, nullptr);
    ArgRange range{};
    range.sheet = &sheet;
    const auto throughSlot = [&](auto read) {
      state.operandTop = 2;
      state.operands[1].Clear();
      CellValueToSlot(state, 1, range, cell);
      const uint8_t error = read();
      state.DisownSlot(1);
      return error;
    };
    const int32_t* bounds = kBounds[random() % 3];
    int32_t inPlace = 0;
    if (ReadPlainInteger(state, range, cell, bounds[0], bounds[1], &inPlace)) {
      ++taken;
      int32_t through = 0;
      ASSERT_EQ(throughSlot([&] { return GetArgInt(state, 1, &through, bounds[0], bounds[1]); }), kErrorNone)
          << "round " << round;
      ASSERT_EQ(inPlace, through) << "round " << round;
    }
    double x = 0;
    Complex z{};
    if (ReadPlainNumber(state, range, cell, &x) && ComplexOfNumber(x, &z)) {
      Complex through{};
      ASSERT_EQ(throughSlot([&] { return GetArgComplex(state, 1, &through); }), kErrorNone) << "round " << round;
      ASSERT_EQ(std::memcmp(&z, &through, sizeof z), 0) << "round " << round;
    }
  }
  EXPECT_GT(taken, 500u);
}

}  // namespace
