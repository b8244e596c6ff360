#ifndef TALVERO_TESTS_NUMERICS_TWIN_BOOK_CELLS_H
#define TALVERO_TESTS_NUMERICS_TWIN_BOOK_CELLS_H

// Two workbooks given the same edits, one with a shortcut of the evaluator
// switched off: values typed into both, and their stores compared record
// for record.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

inline void TypeValue(CWorkBook& book, CellStore& store, uint16_t column, uint32_t row, const char* text) {
  ASSERT_TRUE(book.undoHistory.RecordCells(&book, UndoRange{column, row, column, row}));
  store.DeleteRange(column, column, row, row, nullptr, true);
  NumFormatParams format{};
  alignas(8) uint8_t record[kCellInputCapacity];
  const uint32_t size = CWorkSheet::ParseCellInput(&book, text, &format, row, column, record, sizeof record);
  ASSERT_NE(size, 0u) << text;
  ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
}

// A formula cell in stored form, its result not yet calculated.
inline void PutFormula(CWorkBook& book, CellStore& store, uint16_t column, uint32_t row, const std::string& text) {
  FormulaCellFields fields;
  fields.formula = text.c_str();
  fields.formulaLength = static_cast<uint16_t>(text.size());
  fields.resultFlags = kResultCachedNumber;
  uint8_t record[2048];
  ASSERT_TRUE(book.undoHistory.RecordCells(&book, UndoRange{column, row, column, row}));
  ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, column, fields));
  ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
}

// A cell as a test writes it: a formula in stored form when the text begins
// with "=", else a value typed in its display form (which the generic
// settings read as stored), a quoted text without its quotes; empty clears
// the cell.
inline void PutTypedOrFormula(CWorkBook& book, CellStore& store, uint16_t column, uint32_t row,
                              const std::string& text) {
  if (text.empty()) {
    store.DeleteRange(column, column, row, row, nullptr, true);
    return;
  }
  if (text[0] != '=') {
    TypeValue(book, store, column, row, text[0] == '"' ? text.substr(1, text.size() - 2).c_str() : text.c_str());
    return;
  }
  store.DeleteRange(column, column, row, row, nullptr, true);
  PutFormula(book, store, column, row, text);
}

// Every record of both stores, byte for byte: values, errors and the
// pass's bookkeeping alike.
inline void ExpectSameCells(const CellStore& kept, const CellStore& scanned, const char* what) {
  CellCursor a;
  a.flags = kCursorAfterRecord;
  a.block = kept.FirstBlock();
  CellCursor b = a;
  b.block = scanned.FirstBlock();
  for (;;) {
    uint32_t sizeA = 0;
    uint32_t sizeB = 0;
    const CellRecord* x = a.Next(&sizeA);
    const CellRecord* y = b.Next(&sizeB);
    ASSERT_EQ(x == nullptr, y == nullptr) << what;
    if (!x) return;
    ASSERT_EQ(sizeA, sizeB) << what << " at column " << x->Column() << ", row " << x->Row();
    ASSERT_EQ(std::memcmp(x, y, sizeA), 0) << what << " at column " << x->Column() << ", row " << x->Row();
  }
}

#endif
