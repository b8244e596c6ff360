#ifndef TALVERO_BENCH_TYPED_CELL_H
#define TALVERO_BENCH_TYPED_CELL_H

// A cell typed as the cell-input path reads a typed text, put in place of
// whatever stood there: the benchmarks' way of filling a workbook.

#include <cstdint>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

inline bool TypeCell(CWorkBook& book, CWorkSheet& sheet, const char* text, uint32_t row, uint16_t column) {
  static uint8_t record[kCellInputCapacity];
  NumFormatParams format{};
  sheet.cells.DeleteRange(column, column, row, row, nullptr, false);
  const uint32_t size = CWorkSheet::ParseCellInput(&book, text, &format, row, column, record, sizeof record);
  return size != 0 && sheet.cells.InsertCell(AsCellRecord(record), nullptr);
}

#endif
