#include "core/formula/operator_order_program.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/core/eval_test_cells.h"

namespace {

// Everything a caller of the evaluation sees, bit for bit: the result's
// kind, status, error, number and text, and the pending cell that
// recalculation reads.
std::string Outcome(EvalState& state, const std::string& formula, uint16_t column, uint32_t row) {
  state.pending.Clear();
  const uint32_t kind = state.Evaluate(formula.c_str(), column, row);
  const EvalValue& result = state.operands[1];
  uint64_t bits;
  std::memcpy(&bits, &result.number, sizeof bits);
  const std::string text = kind == kEvalText    ? state.SlotText(1)
                           : kind == kEvalArray ? TopArrayText(state, result)
                                                : "";
  return std::to_string(kind) + " " + std::to_string(state.status) + " " + std::to_string(result.error) + " " +
         std::to_string(bits) + " [" + text + "] pending " + std::to_string(state.pending.kind) + " " +
         std::to_string(state.pending.cell.column) + " " + std::to_string(state.pending.cell.row);
}

uint32_t StepsKept(EvalState& state, const std::string& formula) {
  // Met twice, a text is kept.
  state.Evaluate(formula.c_str(), 0, 0);
  state.Evaluate(formula.c_str(), 0, 0);
  const ScannedFormula* kept = state.scannedFormulas.FindKept(formula.data(), formula.size(), 0);
  return kept ? kept->stepCount : 0;
}

// Formulas whose parse would stop part way, or whose operand slots depend
// on the values, are parsed every time; the rest replay their steps.
TEST(OperatorOrderProgram, OnlyAParseThatRunsToItsEndWhateverTheValuesIsKept) {
  ASSERT_TRUE(InstallFunctionLibrary());
  CellStore cells;
  EvalState state(nullptr, &cells);
  EvalState parsing(nullptr, &cells);
  parsing.scannedFormulas.SetEnabled(false);
  const auto check = [&](const std::string& formula, bool kept) {
    SCOPED_TRACE(formula);
    EXPECT_EQ(StepsKept(state, formula) != 0, kept);
    EXPECT_EQ(Outcome(state, formula, 0, 0), Outcome(parsing, formula, 0, 0));
  };
  const struct {
    const char* formula;
    bool kept;
  } cases[] = {
      {"=-R1C1^2%", true}, {"=SUM(1,,2)", true}, {"=MOD(5,)", true}, {"=PI()", true},  {"='a'!R1C1", true},
      {"=1 2", false},     {"=1%%", false},      {"=SUM(1", false},  {"=()", false},   {"=R1C1:R2C2_R2C2", false},
  };
  for (const auto& c : cases) check(c.formula, c.kept);

  // Nesting the stacks cannot hold fails in the parse; nesting they just
  // hold is replayed.
  for (int depth : {23, 24}) {
    std::string formula = "1";
    for (int i = 0; i < depth; ++i) formula = "ABS(" + formula + ")";
    check("=" + formula, depth == 23);
  }
}

// Operands of every kind, prefix minus, percent, every binary operator,
// brackets, calls with omitted arguments and sheet qualifiers.
std::string RandomExpression(std::mt19937& random, int depth) {
  static const char* const kOperands[] = {
      "1",    "2.5",  "1E999",  "#DIV/0!", "TRUE",      "'ab'",       "\"3\"",        "''",        "R1C1",
      "R2C1", "R1C2", "R[1]C",  "RC[-1]",  "R4C4",      "R1C1:R2C2",  "R[1]C:R2C[1]", "name",       "R0C1",      "SUM(R1:R2)",
      "COUNT(C1:C2)", "COUNT(C2)"};
  static const char* const kOperators[] = {"+", "-", "*", "/", "^", "&", "=", "<", "<=", ">", ">=", "<>", ":", "_"};
  static const char* const kCalls[] = {"SUM(", "IF(", "CONCATENATE(", "MAX(", "ROUND(", "ISERROR(", "INDEX("};
  const auto pick = [&](uint32_t count) { return uint32_t(random() % count); };
  std::string text;
  for (uint32_t term = 0, terms = depth > 3 ? 1 : 1 + pick(4); term < terms; ++term) {
    if (term > 0) text += kOperators[pick(sizeof kOperators / sizeof *kOperators)];
    if (pick(5) == 0) text += "-";
    const uint32_t shape = depth > 3 ? 0 : pick(4);
    if (shape == 1) {
      text += "(" + RandomExpression(random, depth + 1) + ")";
    } else if (shape == 2) {
      text += kCalls[pick(sizeof kCalls / sizeof *kCalls)];
      for (uint32_t i = 0, arguments = pick(4); i < arguments; ++i)
        text += (i > 0 ? "," : "") + (pick(5) == 0 ? std::string() : RandomExpression(random, depth + 1));
      text += ")";
    } else {
      text += kOperands[pick(sizeof kOperands / sizeof *kOperands)];
    }
    if (pick(6) == 0) text += "%";
  }
  return pick(10) == 0 ? "'s'!" + text : text;
}

// One formula in four has a character added, removed or replaced.
std::string RandomFormula(std::mt19937& random) {
  std::string formula = "=" + RandomExpression(random, 0);
  if (random() % 4 != 0) return formula;
  const std::string character(1, "(),+-%1 _:?"[random() % 11]);
  const size_t at = 1 + random() % formula.size();
  const uint32_t how = random() % 3;
  if (how == 0 || at >= formula.size()) return formula.insert(at, character);
  return how == 1 ? formula.erase(at, 1) : formula.replace(at, 1, character);
}

// Random formulas, well formed and malformed, evaluated in cells far apart.
TEST(OperatorOrderProgram, ReplayGivesWhatParsingGivesOverRandomFormulas) {
  ASSERT_TRUE(InstallFunctionLibrary());
  const uint32_t seed = TestSeed(1208);
  SCOPED_TRACE(SeedTrace(seed));

  CellStore cells;
  PutNumber(cells, 0, 0, 1.5);
  PutNumber(cells, 1, 0, -2);
  PutText(cells, 0, 1, "7");
  PutText(cells, 1, 1, "x");
  PutNumber(cells, 2, 2, 0, kErrorNA);
  PutFormula(cells, 3, 3, "=1", 4, nullptr, 0, false);  // not yet calculated: noted as pending
  const struct {
    uint16_t column;
    uint32_t row;
  } places[] = {{0, 0}, {2, 3}, {kMaxColumn, kMaxRow}};

  EvalState parsing(nullptr, &cells);
  parsing.scannedFormulas.SetEnabled(false);
  EvalState replaying(nullptr, &cells);
  std::mt19937 random(seed);
  uint32_t replayed = 0;
  constexpr uint32_t kFormulas = 3000;
  for (uint32_t i = 0; i < kFormulas; ++i) {
    const std::string formula = RandomFormula(random);
    SCOPED_TRACE(formula);
    // Noted in the first cell, kept in the second, found again after.
    for (int round = 0; round < 2; ++round)
      for (const auto& place : places) {
        ASSERT_EQ(Outcome(replaying, formula, place.column, place.row),
                  Outcome(parsing, formula, place.column, place.row))
            << "in column " << place.column << ", row " << place.row;
        char message[256];
        ASSERT_TRUE(replaying.CheckStackOwnership(message, sizeof message)) << message;
      }
    const ScannedFormula* kept = replaying.scannedFormulas.FindKept(formula.data(), formula.size(), 0);
    if (kept && kept->stepCount) ++replayed;
  }
  // Most well-formed formulas replay; the malformed ones are still parsed.
  EXPECT_GT(replayed, kFormulas / 3);
  EXPECT_LT(replayed, kFormulas);
}

}  // namespace
