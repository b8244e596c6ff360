#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "core/numfmt/text_to_number.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// Texts made of what numbers, dates and words are made of.
std::string NumberLikeText(std::mt19937& random) {
  static const char kChars[] = "0123456789012345678.,eE+-+- \t\r\nab:/";
  std::string text;
  for (uint32_t length = random() % 9; length-- > 0;) text += kChars[random() % (sizeof kChars - 1)];
  return text;
}

// A cell of every kind a range may hold, at (column, row); some places
// stay blank.
void PutRandomCell(CellStore& sheet, std::mt19937& random, uint16_t column, uint32_t row) {
  static const char* const kTexts[] = {"12", " -7.5 ", "1e3", "beta12", "2025-03-04", "", "+", "3-4", "1E+2"};
  const char* text = kTexts[random() % 9];
  const uint8_t error = random() % 5 == 0 ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
  const double numbers[] = {0.0, 2.5, -1e308, 1e-310};
  const double number = numbers[random() % 4];
  switch (random() % 6) {
    case 0:
      PutNumber(sheet, column, row, number, error);
      break;
    case 1:
    case 2:
      PutText(sheet, column, row, text, error);
      break;
    case 3:
      PutFormula(sheet, column, row, "=1", number, nullptr, error, random() % 4 != 0);
      break;
    case 4:
      PutFormula(sheet, column, row, "=1", 0, text, error, random() % 4 != 0);
      break;
    default:
      break;
  }
}

// Only texts that cannot be numbers are turned away before they are read.
TEST(MaySpellNumber, NeverRefusesATextThatReadsAsANumber) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t refused = 0;
  for (int round = 0; round < 200000; ++round) {
    const std::string text = NumberLikeText(random);
    double number = 0;
    if (!MaySpellNumber(text.data(), text.size())) {
      ++refused;
      ASSERT_FALSE(TextToNumberValue(text.data(), text.size(), &number)) << "\"" << text << "\"";
    }
  }
  EXPECT_GT(refused, 100000u);
}

using ArgFastPaths = FormulaTableTest;

// COUNT over a range reads its cells in place; over single references it
// reads each through a slot. Both count the same cells, and note the same
// formula not yet calculated.
TEST_F(ArgFastPaths, CountOverARangeCountsAsOverItsCells) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::string cells;
  for (uint32_t row = 1; row <= 3; ++row)
    for (char column = 'A'; column <= 'H'; ++column)
      cells += std::string(cells.empty() ? "" : ",") + column + std::to_string(row);
  for (int round = 0; round < 400; ++round) {
    sheet.Clear(true);
    for (uint32_t row = 0; row < 3; ++row)
      for (uint16_t column = 0; column < 8; ++column) PutRandomCell(sheet, random, column, row);
    const std::string inPlace = Run("=COUNT(A1:H3)");
    const EvalValue pendingInPlace = state.pending;
    ASSERT_EQ(inPlace, Run("=COUNT(" + cells + ")")) << "round " << round;
    ASSERT_EQ(pendingInPlace.kind, state.pending.kind) << "round " << round;
    ASSERT_EQ(pendingInPlace.cell.row, state.pending.cell.row) << "round " << round;
    ASSERT_EQ(pendingInPlace.cell.column, state.pending.cell.column) << "round " << round;
  }
}

// A scalar argument that references a cell reads the number, the error and
// the pending note that resolving the reference first gives, and leaves
// the slot as resolving it leaves it.
TEST_F(ArgFastPaths, ReferenceReadsAsItsResolvedValue) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 3000; ++round) {
    sheet.Clear(true);
    PutRandomCell(sheet, random, 2, 4);
    EvalValue reference{};
    reference.kind = kEvalCellRef;
    reference.cell = RefCorner{2, 4, kRefCell};
    reference.sheet = &sheet;
    state.ResetForFormula(0, 0);
    state.pending.Clear();
    state.operandTop = 3;
    state.operands[1] = reference;
    state.operands[2] = reference;
    double direct = 7;
    const uint8_t directError = GetArgNumber(state, 2, &direct, -1e300, 1e300);
    const EvalValue directSlot = state.operands[2];
    const EvalValue directPending = state.pending;
    state.pending.Clear();
    state.ResolveOperand(1);
    // A resolved blank reads as omitted; a reference to it reads as 0.
    double resolved = sheet.GetCell(4, 2) ? 7 : 0;
    const uint8_t resolvedError = GetArgNumber(state, 1, &resolved, -1e300, 1e300);
    ASSERT_EQ(directError, resolvedError) << "round " << round;
    ASSERT_EQ(std::memcmp(&direct, &resolved, sizeof direct), 0) << "round " << round;
    ASSERT_EQ(std::memcmp(&directSlot, &state.operands[1], sizeof directSlot), 0) << "round " << round;
    ASSERT_EQ(directPending.kind, state.pending.kind) << "round " << round;
  }
}

// Integer arguments: whole numbers within the bounds are taken as they
// are, anything else rounded half away from zero, and the stored integer
// and the error follow the rounded value, as for numbers read from texts.
TEST_F(ArgFastPaths, IntegerArgumentsRoundAndCheckBoundsAlike) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double edges[] = {0.0, -0.0, 2147483647.0, -2147483647.0, -2147483648.0, 2147483648.0, 1e300, 4503599627370497.0};
  for (int round = 0; round < 20000; ++round) {
    double x = edges[random() % 8];
    if (random() % 2) x = double(int32_t(random() % 2001) - 1000) / (random() % 3 ? 1.0 : 2.0);
    const int32_t min = random() % 4 == 0 ? -2147483647 - 1 : int32_t(random() % 21) - 10;
    const int32_t max = random() % 4 == 0 ? 2147483647 : min + int32_t(random() % 21);
    state.ResetForFormula(0, 0);
    state.operandTop = 2;
    state.operands[1].Clear();
    state.operands[1].kind = kEvalNumber;
    state.operands[1].number = x;
    int32_t got = 12345;
    const uint8_t error = GetArgInt(state, 1, &got, min, max);
    const double rounded = std::trunc(x >= 0 ? x + 0.5 : x - 0.5);
    const double limit = 2147483647.0;
    const int32_t stored = int32_t(rounded > limit ? limit : rounded < -limit ? -limit : rounded);
    const bool valid = x >= -limit && x <= limit && rounded >= min && rounded <= max;
    ASSERT_EQ(got, stored) << x << " in " << min << ".." << max;
    ASSERT_EQ(error, valid ? uint8_t(kErrorNone) : uint8_t(kErrorNum)) << x << " in " << min << ".." << max;
  }
}

// SUMPRODUCT walks its ranges' existing cells together: over sparse
// rectangles of numbers, texts and blanks, the sum of the products of the
// positions where every argument holds a number, in storage order.
TEST_F(ArgFastPaths, SumProductOverSparseRangesMultipliesWhereAllHoldNumbers) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 300; ++round) {
    sheet.Clear(true);
    const uint16_t arguments = uint16_t(2 + random() % 2);
    double values[3][4][3];
    bool numbers[3][4][3];
    for (uint16_t a = 0; a < arguments; ++a)
      for (uint32_t row = 0; row < 4; ++row)
        for (uint16_t column = 0; column < 3; ++column) {
          const uint16_t at = uint16_t(a * 4 + column);
          values[a][row][column] = double(int(random() % 19) - 9) / 2;
          numbers[a][row][column] = random() % 3 != 0;
          if (numbers[a][row][column])
            PutNumber(sheet, at, row, values[a][row][column]);
          else if (random() % 2)
            PutText(sheet, at, row, "x");
        }
    double expected = 0;
    for (uint32_t row = 0; row < 4; ++row)
      for (uint16_t column = 0; column < 3; ++column) {
        double product = 1;
        bool all = true;
        for (uint16_t a = 0; a < arguments; ++a) {
          all = all && numbers[a][row][column];
          product *= values[a][row][column];
        }
        if (all) expected += product;
      }
    char text[32];
    std::snprintf(text, sizeof text, "%g", expected);
    ASSERT_EQ(Run(arguments == 2 ? "=SUMPRODUCT(A1:C4,E1:G4)" : "=SUMPRODUCT(A1:C4,E1:G4,I1:K4)"), text)
        << "round " << round;
  }
}

}  // namespace
