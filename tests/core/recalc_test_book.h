#ifndef TALVERO_TESTS_CORE_RECALC_TEST_BOOK_H
#define TALVERO_TESTS_CORE_RECALC_TEST_BOOK_H

// A workbook fixture for recalculation tests: formulas typed in display
// form, cells read back as they show.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "tests/core/eval_test_cells.h"

// A workbook with Worksheet1 (active) and Worksheet2.
class RecalcTestBook : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(book.NewDocument());
    second = NewWorksheet("Worksheet2", 1);
    ASSERT_NE(second, nullptr);
    book.InsertItems(second, nullptr);
    first = &book.activeWorksheet->cells;
  }
  void TearDown() override { ResetGlobalOptions(); }

  // Stores a display-form formula as an uncalculated formula cell; the
  // previous record's array extent and flag stay, as when a formula is edited.
  void SetFormula(CellStore& store, uint16_t column, uint32_t row, const char* display) {
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, display);
    book.evaluator.sheet = &store;
    ASSERT_TRUE(book.evaluator.TranslateFormula(text, sizeof text, column, row, true)) << display;
    FormulaCellFields fields;
    fields.formula = text;
    fields.formulaLength = static_cast<uint16_t>(std::strlen(text));
    fields.resultFlags = kResultCachedNumber;
    if (const CellRecord* old = store.GetCell(row, column)) {
      if (old->IsFormula() && (old->ResultFlags() & kResultArray)) {
        fields.resultFlags |= kResultArray;
        fields.arrayColumns = old->ArrayColumns();
        fields.arrayRows = old->ArrayRows();
      }
    }
    uint8_t record[2048];
    ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, column, fields));
    ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
  }

  // As the editor stores a typed text: one undo step, the cell and any
  // result it spilled deleted, then the new cell without a result.
  void Type(const char* name, const char* text) {
    const uint16_t column = ColumnOf(name);
    const uint32_t row = RowOf(name);
    ASSERT_TRUE(book.undoHistory.RecordCells(&book, UndoRange{column, row, column, row}));
    first->DeleteRange(column, column, row, row, nullptr, true);
    NumFormatParams format{};
    alignas(8) uint8_t record[kCellInputCapacity];
    const uint32_t size = CWorkSheet::ParseCellInput(&book, text, &format, row, column, record, sizeof record);
    ASSERT_NE(size, 0u) << text;
    ASSERT_TRUE(first->InsertCell(AsCellRecord(record), nullptr));
  }

  // The workbook's recalculation, after which the evaluator must own nothing
  // but what its last result holds.
  bool Recalculate(CellStore* store) { return CheckedOwnership(book.Recalculate(store)); }
  bool RecalculateForMode(bool byCommand) { return CheckedOwnership(book.RecalculateForMode(byCommand)); }
  bool CheckedOwnership(bool result) {
    char message[200] = "";
    EXPECT_TRUE(book.evaluator.CheckStackOwnership(message, sizeof message)) << message;
    return result;
  }

  const CellRecord* Cell(CellStore& store, uint16_t column, uint32_t row) { return store.GetCell(row, column); }

  // "B12" as column 1, row 11; one letter only.
  static uint16_t ColumnOf(const char* name) { return static_cast<uint16_t>(name[0] - 'A'); }
  static uint32_t RowOf(const char* name) { return static_cast<uint32_t>(std::atoi(name + 1) - 1); }
  void SetFormula(const char* name, const char* display) { SetFormula(*first, ColumnOf(name), RowOf(name), display); }
  std::string Shown(const char* name) { return Shown(*first, ColumnOf(name), RowOf(name)); }

  // "3", "#CIRC!", "abc" or "-" for no cell: what the cell shows.
  std::string Shown(CellStore& store, uint16_t column, uint32_t row) {
    const CellRecord* cell = Cell(store, column, row);
    if (!cell) return "-";
    if (cell->ErrorCode()) return ErrorName(cell->ErrorCode());
    char buffer[64];
    if (cell->IsFormula()) {
      if (cell->HasCachedText()) return std::string(cell->CachedText(), cell->CachedTextLength());
      std::snprintf(buffer, sizeof buffer, "%.15g", cell->CachedNumber());
      return buffer;
    }
    if (cell->IsText()) return std::string(cell->Text(), cell->TextLength());
    std::snprintf(buffer, sizeof buffer, "%.15g", cell->Number());
    return buffer;
  }

  void ExpectAllCalculated(CellStore& store) {
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = store.FirstBlock();
    while (const CellRecord* cell = cursor.Next()) {
      if (!cell->IsFormula()) continue;
      EXPECT_TRUE(cell->ResultFlags() & kResultCalculated) << cell->Column() << "," << cell->Row();
      EXPECT_EQ(cell->Pending(), 0);
      EXPECT_FALSE(cell->ResultFlags() & kResultDependantWaits);
    }
    char message[200] = "";
    EXPECT_TRUE(store.CheckInvariants(message, sizeof message)) << message;
  }

  CWorkBook book;
  CellStore* first = nullptr;
  CWorkSheet* second = nullptr;
};

#endif
