#include "core/edit/cell_input.h"
#include "core/edit/cell_text.h"
#include "core/edit/replace_in_range.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

uint32_t CWorkSheet::ParseCellInput(CWorkBook* workbook, const char* text, NumFormatParams* format, uint32_t row,
                                    uint16_t column, void* record, size_t capacity) {
  return ::ParseCellInput(workbook->evaluator, text, format, row, column, record, capacity);
}

size_t CWorkSheet::GetCellText(CWorkBook* workbook, char* buffer, size_t size, uint16_t firstColumn,
                               uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, bool valueFlag,
                               bool arrayFlag) {
  const CellFormats formats{&format, &workbook->styles};
  return ::GetCellText(workbook->evaluator, cells, formats, firstColumn, lastColumn, firstRow, lastRow, valueFlag,
                       arrayFlag, buffer, size);
}

bool CWorkSheet::ReplaceInRange(CWorkBook* workbook, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                uint32_t lastRow, const char* search, const char* replacement, bool matchCase,
                                bool wholeText, ReplaceOutcome* outcome) {
  ReplaceOutcome ignored;
  const CellFormats formats{&format, &workbook->styles};
  if (!::ReplaceInRange(workbook->evaluator, cells, formats, firstColumn, lastColumn, firstRow, lastRow, search,
                        replacement, matchCase, wholeText, outcome ? outcome : &ignored)) {
    workbook->error = kWorkbookOutOfMemory;
    return false;
  }
  return true;
}
