#include "view/grid_view/cell_from_text.h"

#include <cstring>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

bool StoreCellFromText(CWorkBook* book, const TextMeasurer& measurer, const char* text, uint32_t row,
                       uint16_t column, bool parse, bool autoFormatting, CellFromTextResult* result) {
  *result = {false, false};
  CWorkSheet* sheet = book->activeWorksheet;
  if (!sheet)
    return false;
  const UndoRange cell = {column, row, column, row};
  if (!book->undoHistory.RecordCells(book, cell))
    return false;
  // A spare block before the old content goes, so that the new record never
  // finds the cell deleted and no room to take its place.
  if (text && text[0] && !sheet->cells.ReserveBlock()) {
    book->undoHistory.DropLast(true);
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  sheet->cells.DeleteRange(column, column, row, row, nullptr, true);
  if (text && text[0]) {
    const uint16_t styleIndex = sheet->format.CellStyle(row, column);
    const StyleRecord& style = book->styles.StyleAt(styleIndex);
    const NumFormatParams before = style.numFormat;
    NumFormatParams format = before;
    alignas(8) uint8_t record[kCellInputCapacity];
    uint32_t size;
    if (parse) {
      size = CWorkSheet::ParseCellInput(book, text, &format, row, column, record, sizeof record);
    } else {
      // Forced text: the bytes as typed, whatever they look like.
      const size_t length = std::strlen(text) < kMaxCellTextLength ? std::strlen(text) : kMaxCellTextLength;
      size = BuildTextCell(record, sizeof record, row, column, text, static_cast<uint16_t>(length));
    }
    if (size == 0 || !sheet->cells.InsertCell(AsCellRecord(record), nullptr)) {
      // The old content goes back; the step that recorded it goes with it.
      const int32_t step = book->undoHistory.Current();
      book->undoHistory.RestoreCells(book, sheet, step);
      book->undoHistory.DropLast(true);
      book->error = kWorkbookOutOfMemory;
      return false;
    }
    if (autoFormatting && format.category != before.category) {
      StyleRecord changed = style;
      changed.numFormat = format;
      const FontRecord font = book->styles.FontAt(style.fontIndex);
      result->formatApplied = book->ApplyFormatToRange(&book->styles, column, column, row, row, &sheet->format,
                                                       kApplyNumberFormat, changed, font);
    }
  }
  const int32_t heightBefore = GetRowHeight(sheet, row, 100);
  const bool fitted = CWorkSheet::AutoRowHeights(book, measurer, sheet, row, row);
  result->rowHeightChanged = GetRowHeight(sheet, row, 100) != heightBefore;
  return fitted;
}
