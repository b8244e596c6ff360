#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/formula/eval_state.h"
#include "core/formula/operator_order_program.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/core/eval_test_cells.h"

namespace {

// The steps kept for a formula met twice, as letters: T take, R range,
// O omitted, A apply, C call.
std::string StepLetters(EvalState& state, const std::string& formula) {
  state.Evaluate(formula.c_str(), 0, 0);
  state.Evaluate(formula.c_str(), 0, 0);
  const ScannedFormula* kept = state.scannedFormulas.FindKept(formula.data(), formula.size(), 0);
  std::string letters;
  for (uint32_t i = 0; kept && i < kept->stepCount; ++i) letters += "TOACR"[kept->steps[i].action];
  return letters;
}

TEST(CornerRangeStep, OnlyARangeOfTwoSingleCellsIsOneStep) {
  ASSERT_TRUE(InstallFunctionLibrary());
  CellStore cells;
  EvalState state(nullptr, &cells);
  EXPECT_EQ(StepLetters(state, "=SUM(R1C1:R2C2,R[1]C:R[3]C[2])"), "RRC");
  // The first ":" joins two corners; the second joins a range and a corner.
  EXPECT_EQ(StepLetters(state, "=R1C1:R2C2:R3C3"), "RTA");
  EXPECT_EQ(StepLetters(state, "=-R1C1:R2C2"), "RA");
  // A qualifier binds less tightly than ":".
  EXPECT_EQ(StepLetters(state, "=SUM('s'!R1C1:R2C2)"), "TRAC");
  // Whole columns and rows and an error are not plain corners.
  EXPECT_EQ(StepLetters(state, "=SUM(C1:C2)"), "TTAC");
  EXPECT_EQ(StepLetters(state, "=SUM(R1:R2)"), "TTAC");
  EXPECT_EQ(StepLetters(state, "=R1C1:#REF!"), "TTA");
}

// One corner as a formula may write it: absolute, relative, off the grid
// from some cells, the formula's own row or column.
std::string RandomCorner(std::mt19937& random) {
  const auto part = [&](char axis) {
    switch (random() % 5) {
      case 0:
        return std::string(1, axis) + std::to_string(1 + random() % 4);
      case 1:
        return std::string(1, axis);
      case 2:
        return std::string(1, axis) + "[" + std::to_string(int(random() % 7) - 3) + "]";
      case 3:
        return std::string(1, axis) + "[" + std::to_string(random() % 2 ? 2097151 : -2097151) + "]";
      default:
        return std::string(1, axis) + "[" + std::to_string(random() % 2 ? 2047 : -2047) + "]";
    }
  };
  return part('R') + part('C');
}

// Ranges of random corners, in order or not, alone or read by functions
// and operators, replayed in cells at the grid's edges: the same outcome as
// the parse that applies ":" to the two corners.
TEST(CornerRangeStep, GivesWhatApplyingTheRangeOperatorGives) {
  ASSERT_TRUE(InstallFunctionLibrary());
  const uint32_t seed = TestSeed(66);
  SCOPED_TRACE(SeedTrace(seed));
  CellStore cells;
  PutNumber(cells, 0, 0, 1.5);
  PutNumber(cells, 1, 1, -2);
  PutText(cells, 2, 2, "x");
  PutFormula(cells, 1, 2, "=1", 4, nullptr, 0, false);  // not yet calculated: noted as pending
  const struct {
    uint16_t column;
    uint32_t row;
  } places[] = {{0, 0}, {2, 2}, {kMaxColumn, kMaxRow}, {3, kMaxRow}};
  static const char* const kShapes[] = {"=%", "=SUM(%)", "=COUNT(%,%)", "=ROWS(%)+COLUMNS(%)", "=-%",
                                        "=%_%", "=INDEX(%,1,1)", "=COUNTA(1,%)", "=%+1", "='s'!%"};
  EvalState parsing(nullptr, &cells);
  parsing.scannedFormulas.SetEnabled(false);
  EvalState replaying(nullptr, &cells);
  std::mt19937 random(seed);
  for (int i = 0; i < 1500; ++i) {
    std::string formula;
    for (const char* c = kShapes[random() % (sizeof kShapes / sizeof *kShapes)]; *c; ++c)
      formula += *c == '%' ? RandomCorner(random) + ":" + RandomCorner(random) : std::string(1, *c);
    SCOPED_TRACE(formula);
    for (int round = 0; round < 2; ++round)
      for (const auto& place : places) {
        for (EvalState* state : {&parsing, &replaying}) state->pending.Clear();
        const uint32_t expected = parsing.Evaluate(formula.c_str(), place.column, place.row);
        const uint32_t got = replaying.Evaluate(formula.c_str(), place.column, place.row);
        const EvalValue& want = parsing.operands[1];
        const EvalValue& have = replaying.operands[1];
        ASSERT_EQ(got, expected) << "in column " << place.column << ", row " << place.row;
        ASSERT_EQ(replaying.status, parsing.status);
        ASSERT_EQ(have.error, want.error);
        ASSERT_EQ(std::memcmp(&have.number, &want.number, sizeof want.number), 0);
        if (got == kEvalArray) {
          ASSERT_EQ(TopArrayText(replaying, have), TopArrayText(parsing, want));
        }
        ASSERT_EQ(replaying.pending.kind, parsing.pending.kind);
        ASSERT_EQ(replaying.pending.cell.row, parsing.pending.cell.row);
        ASSERT_EQ(replaying.pending.cell.column, parsing.pending.cell.column);
        char message[256];
        ASSERT_TRUE(replaying.CheckStackOwnership(message, sizeof message)) << message;
      }
  }
}

}  // namespace
