#include "app/document/selection_format.h"

#include "core/workbook/workbook.h"

bool ApplyAttributeToSelection(CWorkBook* book, const SelectionRange& selection, int attributeKind,
                               const StyleRecord& templateStyle, const FontRecord& templateFont) {
  CWorkSheet* sheet = book->activeWorksheet;
  const UndoRange range = {static_cast<uint16_t>(selection.firstColumn), selection.firstRow,
                           static_cast<uint16_t>(selection.lastColumn), selection.lastRow};
  if (sheet == nullptr || !book->undoHistory.RecordCellsAndStyles(book, range, false, true)) {
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  const bool wholeColumns = selection.firstRow == 0 && selection.lastRow == kMaxRow;
  const bool applied =
      wholeColumns ? book->ApplyFormatToColumns(&book->styles, range.firstColumn, range.lastColumn, &sheet->format,
                                                attributeKind, templateStyle, templateFont)
                   : book->ApplyFormatToRange(&book->styles, range.firstColumn, range.lastColumn, range.firstRow,
                                              range.lastRow, &sheet->format, attributeKind, templateStyle,
                                              templateFont);
  if (!applied) {
    book->undoHistory.DropLast(true);
    return false;
  }
  book->CompactStyles();
  return true;
}
