#include "core/edit/cell_input.h"
#include "core/edit/cell_text.h"
#include "core/edit/replace_in_range.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

// The styles that replaced cells take because of the number formats their
// new texts imply, gathered as one-row runs before any cell changes.
struct ImpliedStyles {
  const SheetFormat* format;
  StyleTable* table;
  StyleRunStore runs;
  CellCursor cursor;
  uint8_t failure = kWorkbookNoError;
};

bool TakeImpliedStyle(void* context, uint16_t column, uint32_t row, const NumFormatParams& numFormat) {
  ImpliedStyles& implied = *static_cast<ImpliedStyles*>(context);
  StyleRecord style = implied.table->StyleAt(implied.format->CellStyle(row, column));
  style.numFormat = numFormat;
  uint16_t index = 0;
  if (!implied.table->FindOrAddStyle(style, &index)) {
    implied.failure = kWorkbookTooManyStyles;
    return false;
  }
  if (!implied.runs.InsertRun(StyleRun{column, column, row, index}, &implied.cursor)) {
    implied.failure = kWorkbookOutOfMemory;
    return false;
  }
  return true;
}

// Gives the replaced cells their new styles; false when memory runs out.
bool ApplyImpliedStyles(SheetFormat& format, ImpliedStyles& implied) {
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = implied.runs.FirstBlock();
  while (const StyleRun* run = StyleRunStore::NextRun(&walk)) {
    if (!format.runs.ClearRect(run->firstColumn, run->lastColumn, run->row, run->row, nullptr, false) ||
        !format.runs.InsertRun(*run, nullptr))
      return false;
  }
  return true;
}

}  // namespace

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
  ImpliedStyles implied;
  implied.format = &format;
  implied.table = &workbook->styles;
  implied.cursor.flags = kCursorAfterRecord;
  const ImpliedFormatSink sink{TakeImpliedStyle, &implied};
  if (!::ReplaceInRange(workbook->evaluator, cells, formats, firstColumn, lastColumn, firstRow, lastRow, search,
                        replacement, matchCase, wholeText, outcome ? outcome : &ignored, &sink)) {
    workbook->error = implied.failure != kWorkbookNoError ? implied.failure : uint8_t(kWorkbookOutOfMemory);
    return false;
  }
  // The values are in place; a format that cannot follow leaves them shown
  // through the old one.
  if (!ApplyImpliedStyles(format, implied)) {
    workbook->error = kWorkbookOutOfMemory;
    return false;
  }
  return true;
}
