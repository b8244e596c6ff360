#include "files/xbase/xbase_cell_value.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/edit/cell_display_text.h"
#include "core/workbook/workbook.h"

XBaseFieldValue XBaseValueOfCell(const CellRecord* cell) {
  XBaseFieldValue value;
  if (!cell)
    return value;
  value.present = true;
  if (cell->ErrorCode() != 0) {
    value.isText = true;
    value.text = ErrorName(cell->ErrorCode());
    value.length = std::strlen(value.text);
  } else if (cell->IsText()) {
    value.isText = true;
    value.text = cell->Text();
    value.length = cell->TextLength();
  } else if (cell->IsNumber()) {
    value.number = cell->Number();
  } else if (cell->HasCachedText()) {
    value.isText = true;
    value.text = cell->CachedText();
    value.length = cell->CachedTextLength();
  } else if (cell->ResultFlags() & kResultCachedNumber) {
    value.number = cell->CachedNumber();
  } else {
    value.present = false;
  }
  return value;
}

size_t XBaseNumberText(const CWorkBook& book, const CWorkSheet& sheet, const CellRecord& cell, CellCursor* runCursor,
                       char* out) {
  NumFormatParams plain{};
  const NumFormatParams* format = &plain;
  if (const StyleRun* run = sheet.format.runs.FindRun(cell.Row(), cell.Column(), runCursor)) {
    const NumFormatParams& styled = book.styles.StyleAt(run->style).numFormat;
    if (styled.category != kNumFormatGeneral)
      format = &styled;
  }
  FormatCellDisplayText(cell, *format, out, kCellTextCapacity);
  return std::strlen(out);
}
