#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/formula_solvers.h"
#include "numerics/numeric_function_table.h"
#include "tests/test_seed.h"

namespace {

// Root searches over a target filled down a column take the program
// compiled for an earlier row, filled from their own cells: each must give
// the bits of the general evaluation, also after cells change value or turn
// into texts or formulas, a target's text changes, and rows are inserted.
class SolverKeptProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
  }
  void TearDown() override { ResetGlobalOptions(); }

  void Insert(const void* record) { ASSERT_TRUE(sheet->InsertCell(AsCellRecord(const_cast<void*>(record)), nullptr)); }
  void PutNumber(uint32_t row, uint16_t column, double value) {
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, column, value, 0));
    Insert(record);
  }
  void PutText(uint32_t row, uint16_t column) {
    uint8_t record[64];
    ASSERT_TRUE(BuildTextCell(record, sizeof record, row, column, "7", 1));
    Insert(record);
  }
  // form's "#" stands for the row's number.
  void PutFormula(uint32_t row, uint16_t column, const std::string& form, double cached) {
    std::string display;
    for (char c : form) display += c == '#' ? std::to_string(row + 1) : std::string(1, c);
    char text[kFormulaTextCapacity + 1];
    std::snprintf(text, sizeof text, "%s", display.c_str());
    ASSERT_TRUE(state.TranslateFormula(text, sizeof text, column, row, true)) << display;
    FormulaCellFields fields;
    fields.formula = text;
    fields.formulaLength = uint16_t(std::strlen(text));
    fields.resultFlags = kResultCachedNumber | kResultCalculated;
    fields.cachedNumber = cached;
    uint8_t record[512];
    ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, column, fields));
    Insert(record);
    // Met twice, its tokens are kept, as in a recalculation.
    for (int twice = 0; twice < 2; ++twice) state.Evaluate(text, column, row);
  }
  // A number, now and then a blank, a text or a formula cell.
  void PutOperand(std::mt19937& random, uint32_t row, uint16_t column) {
    const uint32_t kind = random() % 12;
    if (kind == 0) return;
    if (kind == 1) return PutText(row, column);
    if (kind == 2) return PutFormula(row, column, "=1+2", 3.0);
    PutNumber(row, column, std::uniform_real_distribution<double>(-4.0, 4.0)(random));
  }

  std::string Run(uint32_t row) {
    char text[kFormulaTextCapacity + 1];
    std::snprintf(text, sizeof text, "=ROOT(B%u,A%u,-3,4,)", row + 1, row + 1);
    if (!state.TranslateFormula(text, sizeof text, 25, 99, true)) return "UNTRANSLATABLE";
    const uint32_t kind = state.Evaluate(text, 25, 99);
    uint64_t bits = 0;
    std::memcpy(&bits, &state.operands[1].number, sizeof bits);
    return std::to_string(kind) + "/" + std::to_string(state.operands[1].error) + "/" + std::to_string(bits);
  }

  // Each row searched the shortcut way after the row before it, then the
  // general way; the count of numbers found.
  uint32_t CompareRows(const std::vector<uint32_t>& rows, const std::string& trace) {
    uint32_t numbers = 0;
    for (uint32_t row : rows) {
      const std::string shortcut = Run(row);
      state.solverFoundCells = 0;
      const std::string general = Run(row);
      state.solverFoundCells = 1;
      EXPECT_EQ(shortcut, general) << "row " << row + 1 << ", " << trace;
      numbers += general.compare(0, 5, "32/0/") == 0;
    }
    return numbers;
  }

  std::unique_ptr<CellStore> sheet;
  EvalState state;
};

TEST_F(SolverKeptProgram, FilledDownTargetsGiveTheGeneralBits) {
  // Folds of cells that never change (C*D, 2*D, C%), absolute references
  // (one the variable's cell in the first row alone), the variable taken
  // more than once.
  static const char* const kForms[] = {"=A#*A#-C#",          "=A#^2-C#*D#",  "=(A#-C#)*(A#+D#)",
                                       "=A#*$C$1-D#",        "=-A#+C#%-2*D#", "=C#-A#*A#*A#",
                                       "=A#*A#-C#-D#-C#*D#", "=A#-C#",         "=A#*$A$1-C#"};
  constexpr uint32_t kRows = 8;
  const uint32_t seed = TestSeed(20261209);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t numbers = 0;
  for (int trial = 0; trial < 60 && !HasFailure(); ++trial) {
    sheet = std::make_unique<CellStore>();
    state.sheet = sheet.get();
    const std::string form = kForms[random() % 9];
    const std::string other = kForms[random() % 9];
    for (uint32_t row = 0; row < kRows; ++row) {
      if (random() % 10 == 0)
        PutText(row, 0);
      else
        PutNumber(row, 0, 1.0);
      PutOperand(random, row, 2);
      PutOperand(random, row, 3);
      PutFormula(row, 1, form, 0.0);
    }
    std::vector<uint32_t> rows;
    for (uint32_t row = 0; row < kRows; ++row) rows.push_back(row);
    numbers += CompareRows(rows, form);
    // Operands changed or turned into texts or formulas, a target given
    // another text, between two passes.
    for (uint32_t change = 0; change < 3; ++change) PutOperand(random, random() % kRows, uint16_t(2 + random() % 2));
    PutFormula(random() % kRows, 1, other, 0.0);
    numbers += CompareRows(rows, form + " then " + other);
    // Rows inserted: the targets below move with their cells.
    ASSERT_TRUE(sheet->InsertRows(3, 4));
    for (uint32_t& row : rows)
      if (row >= 3) row += 2;
    numbers += CompareRows(rows, form + " then " + other + ", rows inserted");
  }
  // Enough searches find a root for the comparison to mean something.
  EXPECT_GT(numbers, 400u);
}

}  // namespace
