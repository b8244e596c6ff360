#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/numerics/twin_book_cells.h"

namespace {

constexpr uint16_t kColumns = 6;
constexpr uint32_t kRows = 14;

// Stored-form formulas built from random parts: references relative and
// absolute (some off the grid), ranges, numbers, texts, truth values,
// errors, names, array constants, calls and operators, and now and then a
// malformed one. Filled down a column, one text serves several cells.
class FormulaMaker {
 public:
  explicit FormulaMaker(std::mt19937& random) : random_(random) {}

  std::string Formula() {
    if (Pick(12) == 0) {
      static const char* const kMalformed[] = {"=1+", "=(1", "=1 2", "=SUM(1,", "=)", "=$", "=--1", "=1?2",
                                               "=SUM(R[-1]C:RC", "=R0C1+1", "=C2048"};
      return kMalformed[Pick(sizeof kMalformed / sizeof *kMalformed)];
    }
    return "=" + Expression(3);
  }

 private:
  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }

  std::string Part(bool row) {
    const uint32_t kind = Pick(4);
    if (kind == 0) return std::string(row ? "R" : "C");
    if (kind == 1) return (row ? "R" : "C") + std::to_string(1 + Pick(row ? kRows + 2 : kColumns + 1));
    const int distance = int(Pick(7)) - 3;
    return (row ? "R[" : "C[") + std::to_string(distance) + "]";
  }
  std::string Corner() { return Part(true) + Part(false); }
  std::string Range() { return Pick(2) ? Corner() + ":" + Corner() : "R[-1]C[-1]:RC[1]"; }

  std::string Operand(int depth) {
    switch (Pick(depth > 0 ? 14 : 9)) {
      case 0: return std::to_string(Pick(20));
      case 1: return std::to_string(Pick(100)) + ".25";
      case 2: return Pick(2) ? "\"ab\"" : "'Xy'";
      case 3: return Pick(2) ? "1" : "0";
      case 4: return Pick(2) ? "#DIV/0!" : "#N/A!";
      case 5: return Pick(3) ? Corner() : "Worksheet2!" + Corner();
      case 6: return Corner();
      case 7: return Pick(4) ? Corner() : "unknown";
      case 8: return Pick(3) ? "1E3" : "{1,2;3,'a'}";
      case 9: return "SUM(" + Range() + ")";
      case 10: return "IF(" + Expression(depth - 1) + "," + Expression(depth - 1) + "," + Expression(depth - 1) + ")";
      case 11: return "LEN(" + Expression(depth - 1) + ")";
      case 12: {
        static const char* const kRangeCalls[] = {"SUMSQ(", "MAX(", "COUNT(", "AVERAGE(", "PRODUCT(", "MEDIAN("};
        return std::string(kRangeCalls[Pick(6)]) + Range() + "," + Expression(depth - 1) + ")";
      }
      default: return "(" + Expression(depth - 1) + ")";
    }
  }

  std::string Expression(int depth) {
    std::string text = Pick(6) == 0 ? "-" + Operand(depth) : Operand(depth);
    if (Pick(5) == 0) text += "%";
    const uint32_t more = depth > 0 ? Pick(3) : 0;
    for (uint32_t i = 0; i < more; ++i) {
      static const char* const kOperators[] = {"+", "-", "*", "/", "^", "&", "=", "<", "<>", ">="};
      text += kOperators[Pick(sizeof kOperators / sizeof *kOperators)];
      text += Operand(depth - 1);
    }
    return text;
  }

  std::mt19937& random_;
};

class TwinBooks : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    InstallFunctionLibrary();
    for (CWorkBook* book : {&kept, &scanned}) {
      ASSERT_TRUE(book->NewDocument());
      CWorkSheet* second = NewWorksheet("Worksheet2", 1);
      ASSERT_NE(second, nullptr);
      book->InsertItems(second, nullptr);
    }
    scanned.evaluator.scannedFormulas.SetEnabled(false);
  }
  void TearDown() override { ResetGlobalOptions(); }

  static CWorkSheet* Sheet(CWorkBook& book, int index) {
    return index == 0 ? book.activeWorksheet : CWorkSheet::FromItem(book.activeWorksheet->next);
  }

  CWorkBook kept;
  CWorkBook scanned;
};

// The same edits on two workbooks, one evaluating formulas from the tokens
// it kept, one scanning every text: after every recalculation both hold the
// same bytes in every cell.
TEST_F(TwinBooks, KeptTokensGiveWhatScanningGivesOverRandomFormulasAndEdits) {
  const uint32_t seed = TestSeed(60);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  FormulaMaker maker(random);
  const auto pick = [&](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  uint32_t mostKept = 0;

  for (int step = 0; step < 400; ++step) {
    const int sheetIndex = pick(5) == 0 ? 1 : 0;
    const uint16_t column = static_cast<uint16_t>(pick(kColumns));
    const uint32_t row = pick(kRows);
    const uint32_t action = pick(10);
    if (action < 5) {
      // Filled down: the same stored text in several rows.
      const std::string text = maker.Formula();
      const uint32_t count = 1 + pick(4);
      for (CWorkBook* book : {&kept, &scanned})
        for (uint32_t r = row; r < row + count && r < kRows; ++r)
          PutFormula(*book, Sheet(*book, sheetIndex)->cells, column, r, text);
    } else if (action < 7) {
      char text[32];
      static const char* const kValues[] = {"%u", "%u.5", "-%u", "x%u", "2025-01-%02u"};
      std::snprintf(text, sizeof text, kValues[pick(5)], 1 + pick(28));
      for (CWorkBook* book : {&kept, &scanned}) TypeValue(*book, Sheet(*book, sheetIndex)->cells, column, row, text);
    } else if (action == 7) {
      const bool insert = pick(2) == 0;
      for (CWorkBook* book : {&kept, &scanned}) {
        CWorkSheet* sheet = Sheet(*book, sheetIndex);
        const bool done = insert ? book->InsertRows(sheet, row, row) : book->DeleteRows(sheet, row, row);
        (void)done;  // refused the same way in both
      }
    } else if (action == 8) {
      for (CWorkBook* book : {&kept, &scanned}) book->UndoStep();
    } else {
      for (CWorkBook* book : {&kept, &scanned}) book->RedoStep();
    }
    if (::testing::Test::HasFatalFailure()) return;
    if (pick(3) != 0) continue;
    const bool keptOk = kept.Recalculate(nullptr);
    ASSERT_EQ(keptOk, scanned.Recalculate(nullptr)) << "step " << step;
    for (int sheetIndexToCompare : {0, 1}) {
      const std::string what = "step " + std::to_string(step) + ", sheet " + std::to_string(sheetIndexToCompare);
      ExpectSameCells(Sheet(kept, sheetIndexToCompare)->cells, Sheet(scanned, sheetIndexToCompare)->cells,
                      what.c_str());
      if (::testing::Test::HasFatalFailure()) return;
    }
    if (kept.evaluator.scannedFormulas.EntryCount() > mostKept)
      mostKept = kept.evaluator.scannedFormulas.EntryCount();
  }
  // Else the comparison says nothing.
  EXPECT_GT(mostKept, 10u);
  EXPECT_EQ(scanned.evaluator.scannedFormulas.EntryCount(), 0u);
}

}  // namespace
