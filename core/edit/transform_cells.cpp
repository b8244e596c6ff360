#include "core/edit/convert_cells.h"
#include "core/workbook/workbook.h"
#include "platform/os_services.h"

namespace {

bool IsWordChar(uint8_t c) { return (c >= '0' && c <= '9') || OsIsCharAlpha(c); }

void Capitalize(char* text, size_t length) {
  uint8_t before = ' ';
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    text[i] = static_cast<char>(IsWordChar(before) ? OsCharLower(c) : OsCharUpper(c));
    before = c;
  }
}

}  // namespace

bool CWorkSheet::TransformCells(CWorkBook* workbook, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                uint32_t lastRow, uint8_t mode) {
  if (mode <= kTransformNumbersToLabels)
    return ConvertCells(workbook, this, firstColumn, lastColumn, firstRow, lastRow, mode);
  if (mode != kTransformUpper && mode != kTransformLower && mode != kTransformCapitalize) {
    workbook->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  // A change of letter case keeps every text's length, so the records are
  // rewritten where they lie and nothing can fail half done.
  CellCursor walk = cells.StartRangeWalk(firstRow);
  while (CellRecord* cell = walk.NextInRange(firstColumn, lastColumn, firstRow, lastRow)) {
    if (!cell->IsText() || cell->IsSpillValue()) continue;
    char* text = reinterpret_cast<char*>(cell->Bytes() + kTextCellHeadSize);
    const size_t length = cell->TextLength();
    if (mode == kTransformCapitalize) {
      Capitalize(text, length);
      continue;
    }
    for (size_t i = 0; i < length; ++i) {
      const uint8_t c = static_cast<uint8_t>(text[i]);
      text[i] = static_cast<char>(mode == kTransformUpper ? OsCharUpper(c) : OsCharLower(c));
    }
  }
  return true;
}
