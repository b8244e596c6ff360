#include "view/grid_view/cell_from_text.h"

#include <cstring>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"

namespace {

// The cell's old content goes and the text takes its place; the caller has
// recorded the undo step. False with the old content deleted only when the
// new record could not be made or inserted.
bool PutTextInCell(CWorkBook* book, CWorkSheet* sheet, const char* text, uint32_t row, uint16_t column, bool parse,
                   bool autoFormatting, bool* formatApplied, bool* formulaKeptAsText) {
  sheet->cells.DeleteRange(column, column, row, row, nullptr, true);
  if (!text || !text[0])
    return true;
  const uint16_t styleIndex = sheet->format.CellStyle(row, column);
  const StyleRecord& style = book->styles.StyleAt(styleIndex);
  const NumFormatParams before = style.numFormat;
  NumFormatParams format = before;
  alignas(8) uint8_t record[kCellInputCapacity];
  uint32_t size;
  if (parse) {
    book->evaluator.qualifiedRefTooLong = false;
    size = CWorkSheet::ParseCellInput(book, text, &format, row, column, record, sizeof record);
    *formulaKeptAsText |= text[0] == '=' && book->evaluator.qualifiedRefTooLong;
  } else {
    // Forced text: the bytes as typed, whatever they look like.
    const size_t length = std::strlen(text) < kMaxCellTextLength ? std::strlen(text) : kMaxCellTextLength;
    size = BuildTextCell(record, sizeof record, row, column, text, static_cast<uint16_t>(length));
  }
  if (size == 0 || !sheet->cells.InsertCell(AsCellRecord(record), nullptr))
    return false;
  if (autoFormatting && format.category != before.category) {
    StyleRecord changed = style;
    changed.numFormat = format;
    const FontRecord font = book->styles.FontAt(style.fontIndex);
    *formatApplied |= book->ApplyFormatToRange(&book->styles, column, column, row, row, &sheet->format,
                                               kApplyNumberFormat, changed, font);
  }
  return true;
}

}  // namespace

bool StoreCellFromText(CWorkBook* book, const TextMeasurer& measurer, const char* text, uint32_t row,
                       uint16_t column, bool parse, bool autoFormatting, CellFromTextResult* result) {
  *result = {false, false, false};
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
  if (!PutTextInCell(book, sheet, text, row, column, parse, autoFormatting, &result->formatApplied,
                     &result->formulaKeptAsText)) {
    // The old content goes back; the step that recorded it goes with it.
    const int32_t step = book->undoHistory.Current();
    book->undoHistory.RestoreCells(book, sheet, step);
    book->undoHistory.DropLast(true);
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  const int32_t heightBefore = GetRowHeight(sheet, row, 100);
  const bool fitted = CWorkSheet::AutoRowHeights(book, measurer, sheet, row, row);
  result->rowHeightChanged = GetRowHeight(sheet, row, 100) != heightBefore;
  return fitted;
}

namespace {

// The range's cells row by row and left to right, each with the same text.
struct RangeWalk {
  const UndoRange* range;
  const char* text;
  uint32_t row;
  uint32_t column;
};

bool NextCellOfRange(void* context, uint32_t* row, uint16_t* column, const char** text) {
  RangeWalk& walk = *static_cast<RangeWalk*>(context);
  if (walk.row > walk.range->lastRow)
    return false;
  *row = walk.row;
  *column = static_cast<uint16_t>(walk.column);
  *text = walk.text;
  if (++walk.column > walk.range->lastColumn) {
    walk.column = walk.range->firstColumn;
    ++walk.row;
  }
  return true;
}

}  // namespace

bool StoreTextInRange(CWorkBook* book, const TextMeasurer& measurer, const char* text, const UndoRange& range,
                      bool autoFormatting, bool* formulaKeptAsText) {
  RangeWalk walk = {&range, text, range.firstRow, range.firstColumn};
  return StoreCellTexts(book, measurer, range, CellTextSource{&NextCellOfRange, &walk}, autoFormatting,
                        formulaKeptAsText);
}

bool StoreCellTexts(CWorkBook* book, const TextMeasurer& measurer, const UndoRange& recorded,
                    const CellTextSource& source, bool autoFormatting, bool* formulaKeptAsText) {
  bool keptAsText = false;
  if (!formulaKeptAsText) formulaKeptAsText = &keptAsText;
  *formulaKeptAsText = false;
  CWorkSheet* sheet = book->activeWorksheet;
  if (!sheet)
    return false;
  if (!book->undoHistory.RecordCellsAndStyles(book, recorded, true, true))
    return false;
  bool formatApplied = false;
  bool stored = true;
  uint32_t row = 0;
  uint16_t column = 0;
  const char* text = nullptr;
  while (stored && source.next(source.context, &row, &column, &text)) {
    stored = (!text || !text[0] || sheet->cells.ReserveBlock()) &&
             PutTextInCell(book, sheet, text, row, column, true, autoFormatting, &formatApplied,
                           formulaKeptAsText);
  }
  if (!stored) {
    // The step puts back what the cells stored so far replaced; applied and
    // dropped, it leaves no trace.
    CWorkSheet::Undo(book, book->undoHistory.Current());
    book->undoHistory.DropLast(true);
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  return CWorkSheet::AutoRowHeights(book, measurer, sheet, recorded.firstRow, recorded.lastRow);
}
