#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/random_stream.h"
#include "numerics/formula_solvers.h"
#include "numerics/numeric_function_table.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// Searches whose numbers-only target is computed from cells found once per
// search, or compiled once per search, must give the same bits as the
// general evaluation at every step:
// random targets over variables in A1:A3 and, in C1:C8, numbers, blanks,
// texts, errors, spill values and formula cells, some calculated.
class SolverFoundCells : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
  }
  void TearDown() override { ResetGlobalOptions(); }

  void Insert(const void* record) { ASSERT_TRUE(sheet->InsertCell(AsCellRecord(const_cast<void*>(record)), nullptr)); }
  void PutNumber(uint32_t row, uint16_t column, double value, uint8_t extra = 0) {
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, column, value, extra));
    Insert(record);
  }
  void PutFormula(uint32_t row, uint16_t column, const std::string& display, uint8_t flags, double cached) {
    char text[kFormulaTextCapacity + 1];
    std::snprintf(text, sizeof text, "%s", display.c_str());
    ASSERT_TRUE(state.TranslateFormula(text, sizeof text, column, row, true)) << display;
    FormulaCellFields fields;
    fields.formula = text;
    fields.formulaLength = uint16_t(std::strlen(text));
    fields.resultFlags = flags;
    fields.cachedNumber = cached;
    uint8_t record[512];
    ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, column, fields));
    Insert(record);
  }

  // The result with its number's bits, or an array's text.
  std::string Run(const char* display) {
    ProcessRandomSeeds().shared = kInitialRandomSeeds;
    char text[kFormulaTextCapacity + 1];
    std::snprintf(text, sizeof text, "%s", display);
    if (!state.TranslateFormula(text, sizeof text, 25, 99, true)) return "UNTRANSLATABLE";
    const uint32_t kind = state.Evaluate(text, 25, 99);
    if (kind == kEvalArray) return TopArrayText(state, state.operands[1]);
    uint64_t bits = 0;
    std::memcpy(&bits, &state.operands[1].number, sizeof bits);
    return std::to_string(kind) + "/" + std::to_string(state.operands[1].error) + "/" + std::to_string(bits);
  }

  void FillCells(std::mt19937& random) {
    std::uniform_real_distribution<double> value(-4.0, 4.0);
    // Now and then a variable a compiled target cannot take straight: a
    // spill value, or a number given by a formula, calculated or not (which
    // only the general evaluation reads).
    for (uint32_t row = 0; row < 3; ++row) {
      const uint32_t kind = random() % 10;
      if (kind == 0)
        PutNumber(row, 0, value(random), kCellSpillValue);
      else if (kind == 1)
        PutFormula(row, 0, "=1+2", kResultCachedNumber | (random() % 2 ? kResultCalculated : 0), value(random));
      else
        PutNumber(row, 0, value(random));
    }
    for (uint32_t row = 0; row < 8; ++row) {
      switch (random() % 7) {
        case 0:
          break;  // blank
        case 1: {
          uint8_t record[64];
          ASSERT_TRUE(BuildTextCell(record, sizeof record, row, 2, "7", 1));
          Insert(record);
          break;
        }
        case 2:
          PutNumber(row, 2, 0.0, kErrorDivZero);
          break;
        case 3:
          PutNumber(row, 2, value(random), kCellSpillValue);
          break;
        case 4:
          // Through one on a variable, a path of formula cells.
          PutFormula(row, 2, random() % 2 ? "=A1*2" : "=1+2", kResultCachedNumber | (random() % 2 ? kResultCalculated : 0), value(random));
          break;
        default:
          PutNumber(row, 2, random() % 4 == 0 ? 0.0 : value(random));
      }
    }
  }

  std::string Expression(std::mt19937& random, int depth) {
    static const char* const kLeaves[] = {"A1", "A1", "A2", "A3", "C1", "C2", "C3", "C4",
                                          "C5", "C6", "C7", "C8", "2",  "0.5", "0", "E9"};
    static const char* const kOperators[] = {"+", "-", "*", "/", "^"};
    if (depth == 0 || random() % 3 == 0) {
      std::string leaf = kLeaves[random() % 16];
      if (random() % 8 == 0) leaf = "-" + leaf;
      if (random() % 12 == 0) leaf += "%";
      return leaf;
    }
    std::string inner = Expression(random, depth - 1) + kOperators[random() % 5] + Expression(random, depth - 1);
    // Now and then a target that is not numbers-only.
    if (random() % 10 == 0) return "ABS(" + inner + ")";
    return "(" + inner + ")";
  }

  std::unique_ptr<CellStore> sheet;
  EvalState state;
};

TEST_F(SolverFoundCells, SearchesGiveTheSameBitsWithAndWithoutFoundCells) {
  static const char* const kSearches[] = {
      "=ROOT(B1,A1,-3,4,)",
      "=ROOT(B2,A1,-3,4,1e-9)",
      "=MINSIMPLEX(B1,A1:A3,{1;1;0},0.5,1e-12,60,2)",
      "=MINSIMPLEX(B2,A1:A3,{1;0;1},0.5,1e-12,60,1)",
      "=MINMC(B1,A1:A3,{1;0;1},-2,2,25)",
      "=ROOT(B3,A1,-3,4,)",
      "=MINSIMPLEX(B3,A1:A3,{1;1;1},0.5,1e-12,60,2)",
      "=ROOT(B4,A1,-0.7,3.1,)",
  };
  // A root near 0 where the first of two operations leaves the range of
  // normal numbers and the second brings it back: the general evaluation
  // refuses that trial, and so must every shortcut.
  static const char* const kTinyMiddles[] = {"=A1*1E-300*1E300", "=1E-300*A1*1E300", "=A1/1E300*1E300"};
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t agreedNumbers = 0;
  for (int trial = 0; trial < 300; ++trial) {
    sheet = std::make_unique<CellStore>();
    state.sheet = sheet.get();
    FillCells(random);
    // One target with a root between -3 and 4 more often than not.
    // A third target of leaves alone, long or short: on either side of the
    // most steps a search compiles.
    std::string leaves = "=A1*A1";
    for (uint32_t leaf = random() % 30; leaf > 0; --leaf) leaves += "-" + Expression(random, 0);
    const std::string targets[] = {"=" + Expression(random, 3), "=A1*A1-" + Expression(random, 1), leaves};
    const std::string tiny = kTinyMiddles[random() % 3];
    PutFormula(3, 1, tiny, kResultCachedNumber, 0.0);
    for (uint32_t row = 0; row < 4; ++row) {
      if (row < 3) PutFormula(row, 1, targets[row], kResultCachedNumber, 0.0);
      // Met twice, the target's tokens are kept, as in a recalculation: the
      // searches take those.
      const CellRecord* target = sheet->GetCell(row, 1);
      const std::string text(target->FormulaText(), target->FormulaLength());
      for (int twice = 0; twice < 2; ++twice) state.Evaluate(text.c_str(), 1, row);
    }
    if (HasFailure()) return;
    for (const char* search : kSearches) {
      state.solverFoundCells = 0;
      const std::string general = Run(search);
      state.solverFoundCells = 1;
      state.solverTrialPrograms = 0;
      const std::string found = Run(search);
      state.solverTrialPrograms = 1;
      state.solverKnownOperations = 0;
      const std::string compiled = Run(search);
      state.solverKnownOperations = 1;
      const std::string known = Run(search);
      ASSERT_EQ(found, general) << search << " over " << targets[0] << ", " << targets[1] << ", " << targets[2] << ", "
                                << tiny;
      ASSERT_EQ(compiled, general) << search << " compiled, over " << targets[0] << ", " << targets[1] << ", "
                                   << targets[2] << ", " << tiny;
      ASSERT_EQ(known, general) << search << " with known operators, over " << targets[0] << ", " << targets[1]
                                << ", " << targets[2] << ", " << tiny;
      agreedNumbers += general.compare(0, 5, "32/0/") == 0;
    }
  }
  // Enough searches succeed for the comparison to mean something.
  EXPECT_GT(agreedNumbers, 100u);
}

}  // namespace
