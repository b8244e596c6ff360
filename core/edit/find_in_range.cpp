// The find command's search: the first cell of a range, in storage order
// from a start cell, whose text matches a wildcard pattern.

#include <cstring>

#include "core/edit/cell_display_text.h"
#include "core/edit/reference_adjust.h"
#include "core/edit/wildcard_find.h"
#include "core/workbook/workbook.h"

namespace {

// What find compares: a formula as it is stored (R1C1 references, generic
// separators), any other cell as shown without a number format.
void SearchedText(const CellRecord& cell, char* buffer, size_t size) {
  if (cell.IsFormula()) {
    const size_t length = cell.FormulaLength() < size - 1 ? cell.FormulaLength() : size - 1;
    std::memcpy(buffer, cell.FormulaText(), length);
    buffer[length] = '\0';
    return;
  }
  NumFormatParams plain;
  std::memset(&plain, 0, sizeof plain);
  FormatCellDisplayText(cell, plain, buffer, size);
}

}  // namespace

bool CWorkBook::FindInRange(const CellRange& range, uint16_t* column, uint32_t* row, const char* pattern,
                            bool matchCase, bool wholeCell) {
  if (!activeWorksheet || !pattern || !*pattern || range.firstColumn > range.lastColumn ||
      range.firstRow > range.lastRow)
    return false;
  const uint32_t startRow = *row;
  const uint16_t startColumn = *column;
  if (startRow > range.lastRow)
    return false;
  char text[kCellTextCapacity];
  const uint32_t firstRow = startRow > range.firstRow ? startRow : range.firstRow;
  CellCursor walk = activeWorksheet->cells.StartRangeWalk(firstRow);
  while (const CellRecord* cell = walk.NextInRange(range.firstColumn, range.lastColumn, firstRow, range.lastRow)) {
    if (cell->Row() == startRow && cell->Column() < startColumn)
      continue;
    SearchedText(*cell, text, sizeof text);
    if (FindWildcardMatch(pattern, text, matchCase, wholeCell) >= 0) {
      *column = cell->Column();
      *row = cell->Row();
      return true;
    }
  }
  return false;
}
