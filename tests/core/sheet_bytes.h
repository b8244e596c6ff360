#ifndef TALVERO_TESTS_CORE_SHEET_BYTES_H
#define TALVERO_TESTS_CORE_SHEET_BYTES_H

// What an edit changes of a worksheet, as one text that two states compare
// by: every cell record byte for byte and the style runs, and with them the
// column widths and styles and the rows' records (a row the table does not
// reach counts as the record 0).

#include <string>

#include "core/workbook/worksheet.h"

inline std::string SheetCellsAndRuns(CWorkSheet* sheet) {
  std::string dump;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = sheet->cells.FirstBlock();
  while (const CellRecord* cell = walk.NextInRange(0, kMaxColumn, 0, kMaxRow))
    dump += "cell:" + std::string(reinterpret_cast<const char*>(cell->Bytes()), cell->Size()) + "\n";
  CellCursor runs;
  runs.flags = kCursorAfterRecord;
  runs.block = sheet->format.runs.FirstBlock();
  while (const StyleRun* run = StyleRunStore::NextRun(&runs))
    dump += "run:" + std::to_string(run->firstColumn) + "-" + std::to_string(run->lastColumn) + "@" +
            std::to_string(run->row) + "=" + std::to_string(run->style) + "\n";
  return dump;
}

inline std::string SheetBytes(CWorkSheet* sheet) {
  std::string dump = SheetCellsAndRuns(sheet);
  for (uint32_t column = 0; column < kColumnCount; ++column) {
    const ColumnRecord& record = sheet->format.columns[column];
    if (record.widthWord != 0 || record.styleWord != 0)
      dump += "column:" + std::to_string(column) + "=" + std::to_string(record.widthWord) + "/" +
              std::to_string(record.styleWord) + "\n";
  }
  for (uint32_t row = 0; row < sheet->format.rows.Count(); ++row) {
    const uint16_t record = *sheet->format.rows.At(row);
    if (record != 0) dump += "row:" + std::to_string(row) + "=" + std::to_string(record) + "\n";
  }
  return dump;
}

#endif
