#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/eval/spill_extents.h"
#include "core/formula/eval_state.h"
#include "core/formula/kept_cell_lookups.h"
#include "core/numfmt/regional_settings.h"
#include "tests/core/eval_test_cells.h"
#include "test_seed.h"

namespace {

std::string Stored(const char* display, uint32_t column, uint32_t row) {
  char text[2 * kFormulaTextCapacity];
  std::strncpy(text, display, sizeof text - 1);
  text[sizeof text - 1] = '\0';
  EvalState translator;
  return translator.TranslateFormula(text, sizeof text, column, row, true) ? text : "";
}

// Everything an evaluation leaves that recalculation reads.
std::string Outcome(EvalState& state, uint32_t kind) {
  const EvalValue& result = state.operands[1];
  uint64_t bits;
  std::memcpy(&bits, &result.number, sizeof bits);
  char text[256];
  std::snprintf(text, sizeof text, "kind %u status %u top %u slot kind %u error %u number %.17g (%016llx) pending %u R%uC%u",
                kind, state.status, state.operandTop, result.kind, result.error, result.number,
                static_cast<unsigned long long>(bits), state.pending.kind, state.pending.cell.row,
                state.pending.cell.column);
  std::string outcome = text;
  if (kind == kEvalText) outcome += std::string(" text ") + state.SlotText(1);
  return outcome;
}

TEST(NumericProgram, MarksFormulasOfNumbersAndSingleCellsOnly) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const struct {
    const char* formula;
    bool numeric;
  } cases[] = {
      {"=A1*2-B1%", true},  {"=-A1^2", true},       {"=5", true},          {"=(A1+1)/B2", true},
      {"=C3", false},       {"=SUM(A1)+1", false},  {"=A1&B1", false},     {"=A1:B2+1", false},
      {"=A1<B1", false},    {"=\"3\"+1", false},    {"=#N/A!+1", false},    {"=1E999*1", false},
      {"=A:A+1", false},    {"=1:1*2", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.formula);
    const std::string stored = Stored(c.formula, 5, 9);
    ASSERT_FALSE(stored.empty());
    ScannedFormulaCache cache;
    EXPECT_EQ(cache.Find(stored.c_str(), stored.size()), nullptr);  // met once: only noted
    const ScannedFormula* scanned = cache.Find(stored.c_str(), stored.size());
    ASSERT_NE(scanned, nullptr);
    EXPECT_EQ(scanned->numeric != 0, c.numeric);
  }
  ResetGlobalOptions();
}

// A random formula of numbers, cells of A1:F8 and arithmetic operators; now
// and then something else, which no evaluation may compute on doubles.
class FormulaMaker {
 public:
  explicit FormulaMaker(std::mt19937& random) : random_(random) {}

  std::string Make() { return "=" + Expression(3); }

 private:
  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }

  std::string Operand() {
    static const char* const kConstants[] = {"0", "1", "2", "0.5", "100", "3", "1E+308", "1E-300", "1E+200", "1E-200"};
    if (Pick(3) == 0) return kConstants[Pick(10)];
    // Arithmetic inside formulas that are not all arithmetic.
    if (Pick(30) == 0) return "\"2\"";
    if (Pick(12) == 0) return "SUM(" + Operand() + ")";
    return std::string(1, char('A' + Pick(6))) + std::to_string(1 + Pick(8));
  }

  std::string Expression(int depth) {
    const uint32_t shape = depth > 0 ? Pick(8) : 0;
    switch (shape) {
      case 0:
      case 1:
        return Operand();
      case 2:
        return "-" + (Pick(2) ? Operand() : "(" + Expression(depth - 1) + ")");
      case 3:
        return Operand() + "%";
      case 4:
        return "(" + Expression(depth - 1) + ")";
      default: {
        static const char* const kOperators[] = {"+", "-", "*", "/", "^", "+", "-", "*", "/", "&", "<"};
        const uint32_t count = Pick(12) == 0 ? 11 : 9;
        return Expression(depth - 1) + kOperators[Pick(count)] + Expression(depth - 1);
      }
    }
  }

  std::mt19937& random_;
};

// Cells of every kind the operators read: numbers (zeros, -0, magnitudes
// that overflow or underflow), blanks, texts, errors, formulas calculated
// or not, numbers no result may hold, and a spill area whose formula is not
// yet calculated.
void FillCells(CellStore& store, std::mt19937& random) {
  const auto pick = [&random](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  for (uint16_t column = 0; column < 6; ++column)
    for (uint32_t row = 0; row < 8; ++row) {
      if (column >= 4 && row < 2) continue;  // the spill area
      switch (pick(24)) {
        case 0:
        case 1:
          break;  // blank
        case 2:
          PutNumber(store, column, row, 0.0);
          break;
        case 3:
          PutNumber(store, column, row, -0.0);
          break;
        case 4:
          PutNumber(store, column, row, pick(2) ? 1e308 : -1e-300);
          break;
        case 5:
          PutText(store, column, row, pick(2) ? "12" : "abc");
          break;
        case 6:
          PutNumber(store, column, row, 3, pick(2) ? kErrorNA : kErrorDivZero);
          break;
        case 7:
          PutFormula(store, column, row, "=1", 4.5, nullptr, 0, pick(4) != 0);
          break;
        case 8:
          PutFormula(store, column, row, "=1", 0, pick(2) ? "hi" : nullptr, pick(2) ? kErrorValue : 0, true);
          break;
        case 9:
        case 10:
          PutNumber(store, column, row, pick(2) ? std::nan("") : 1e-310);
          break;
        default:
          PutNumber(store, column, row, double(pick(200)) / 8 - 10);
          break;
      }
    }
  PutFormula(store, 4, 0, "=1", 1, nullptr, 0, false);  // E1, spilling over E1:F2
  PutNumber(store, 5, 0, 2, kCellSpillValue);
  PutNumber(store, 4, 1, 3, kCellSpillValue);
}

// Arithmetic computed on doubles must leave exactly what the operand slots
// leave: the same result bits, error, kind and pending cell, whatever the
// cells hold. The general evaluator takes no shortcut; of the others, one
// finds its cells through kept lookups as a solver's does, while numbers
// change in place as a solver's trials change them.
TEST(NumericProgram, ComputesWhatTheOperandStackComputes) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const uint32_t seed = TestSeed(4021);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  FormulaMaker maker(random);
  EvalState general;
  general.numberShortcuts = 0;
  EvalState kept;
  EvalState solver;
  uint32_t computed = 0;
  for (int round = 0; round < 30; ++round) {
    CellStore sheet;
    FillCells(sheet, random);
    SpillExtent area{&sheet, 4, 0, 5, 1, 0, 0};
    KeptCellLookups lookups;
    EvalState* const states[] = {&general, &kept, &solver};
    for (EvalState* state : states) {
      state->sheet = &sheet;
      state->spillAreas = &area;
      state->spillAreaCount = 1;
      OrderSpillExtents(&area, 1, &state->spillFirstColumn, &state->spillLastColumn);
    }
    solver.keptCells = &lookups;
    for (int n = 0; n < 60; ++n) {
      const std::string display = maker.Make();
      // From a cell far enough down for every reference, or from one where
      // some of them fall off the sheet.
      const uint32_t row = random() % 4 == 0 ? 3 : 9;
      const std::string stored = Stored(display.c_str(), 6, 9);
      SCOPED_TRACE(display + " as " + stored + " in row " + std::to_string(row + 1));
      for (int trial = 0; trial < 3; ++trial) {
        if (trial == 2) {
          // A trial value written in place, as a solver writes it.
          CellRecord* cell = sheet.GetCell(random() % 8, uint16_t(random() % 4));
          if (cell && cell->Type() == kCellNumber) cell->SetNumber(double(random() % 7) - 3);
        }
        std::string outcomes[3];
        for (int i = 0; i < 3; ++i) {
          states[i]->pending.Clear();
          area.calculated = 0;
          outcomes[i] = Outcome(*states[i], states[i]->Evaluate(stored.c_str(), 6, row));
        }
        ASSERT_EQ(outcomes[1], outcomes[0]) << "trial " << trial;
        ASSERT_EQ(outcomes[2], outcomes[0]) << "trial " << trial << ", with kept lookups";
        if (outcomes[0].find("error 0 ") != std::string::npos) ++computed;
      }
    }
    solver.keptCells = nullptr;
  }
  // Most formulas must reach a number, or the comparison says little.
  EXPECT_GT(computed, 1000u);
  ResetGlobalOptions();
}

// Formulas of constants alone are computed once when their tokens are
// kept; each later evaluation takes that number. It must be what the
// operand stack computes, also where an operation overflows, underflows or
// divides by zero, and with or without a sheet.
TEST(NumericProgram, FoldedConstantsMatchTheOperandStack) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const uint32_t seed = TestSeed(5077);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto pick = [&random](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  static const char* const kConstants[] = {"0", "1", "2.5", "1E+308", "1E-300", "3", "-0", "7", "1E-200", "10"};
  static const char* const kOperators[] = {"+", "-", "*", "/", "^"};
  CellStore sheet;
  EvalState general(nullptr, &sheet);
  general.numberShortcuts = 0;
  EvalState folding(nullptr, &sheet);
  EvalState sheetless;
  uint32_t folded = 0;
  for (int n = 0; n < 400; ++n) {
    std::string formula = "=";
    if (pick(3) == 0) formula += "-";
    formula += kConstants[pick(10)];
    for (uint32_t terms = pick(4); terms > 0; --terms) {
      formula += kOperators[pick(5)];
      formula += pick(4) == 0 ? std::string("(") + kConstants[pick(10)] + ")%" : kConstants[pick(10)];
    }
    SCOPED_TRACE(formula);
    const std::string expected = Outcome(general, general.Evaluate(formula.c_str(), 2, 3));
    // The first meeting is only noted, the second keeps the tokens.
    for (int meeting = 0; meeting < 3; ++meeting) {
      ASSERT_EQ(Outcome(folding, folding.Evaluate(formula.c_str(), 2, 3)), expected) << "meeting " << meeting;
      ASSERT_EQ(Outcome(sheetless, sheetless.Evaluate(formula.c_str(), 2, 3)), expected) << "meeting " << meeting;
    }
    const ScannedFormula* kept = folding.scannedFormulas.FindKept(formula.data(), formula.size(), 2);
    ASSERT_NE(kept, nullptr);
    if (kept->constant) ++folded;
  }
  // Most must fold, or the comparison says little about folding.
  EXPECT_GT(folded, 200u);
  ResetGlobalOptions();
}

}  // namespace
