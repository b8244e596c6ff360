// One format change of a selection: one undo step, the attribute applied by
// rectangle, by column or as an outline, and the styles compacted.

#include "core/edit/format_selection.h"

#include <cstring>
#include <new>

#include "core/edit/style_restyler.h"
#include "core/styles/text_measurer.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

// The rows of a column's runs, pulled out of the sheet so that each can be
// restyled and put back or dropped.
bool TakeColumnRuns(SheetFormat* format, uint16_t column, StyleRunStore* taken) {
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  CellCursor out;
  out.flags = kCursorAfterRecord;
  while (const StyleRun* run = format->runs.FindFirstInRect(&walk, column, column, 0, kMaxRow)) {
    const StyleRun piece = {column, column, run->row, run->style};
    if (!taken->InsertRun(piece, &out))
      return false;
  }
  return format->runs.ClearRect(column, column, 0, kMaxRow, nullptr, false);
}

// The formats an apply may change, kept aside so that a failure half way puts
// them back by an exchange, which cannot run out of memory.
struct FormatBackup {
  StyleRunStore runs;
  ColumnRecord columns[kColumnCount];

  bool Take(SheetFormat* format) {
    std::memcpy(columns, format->columns, sizeof columns);
    return runs.CopyRunsFrom(&format->runs);
  }
  void PutBack(SheetFormat* format) {
    format->runs.SwapContents(runs);
    std::memcpy(format->columns, columns, sizeof columns);
    format->ColumnsChanged();
  }
};

class SelectionFormatter {
 public:
  SelectionFormatter(CWorkBook* book, SheetFormat* format, const FormatSelection& s)
      : book_(book), format_(format), s_(s), wholeColumns_(CoversWholeColumns(s)) {}

  // The kind over the whole selection.
  bool ApplyToAll(int kind, const StyleRecord& style, const FontRecord& font) {
    if (wholeColumns_) {
      for (uint32_t column = s_.firstColumn; column <= s_.lastColumn; ++column)
        if (!ApplyFormatToColumn(&book_->styles, uint16_t(column), format_, kind, style, font, &book_->error))
          return false;
      return true;
    }
    return Apply(s_.firstColumn, s_.lastColumn, s_.firstRow, s_.lastRow, kind, style, font);
  }

  // Every border removed, then the template's border on the outer edges:
  // corners first, then the inner cells of the outer rows and columns.
  bool ApplyOutline(const StyleRecord& templateStyle, const FontRecord& font) {
    StyleRecord none;
    std::memset(&none, 0, sizeof none);
    if (!ApplyToAll(kApplyBorders, none, font))
      return false;
    const bool oneRow = s_.firstRow == s_.lastRow;
    const bool oneColumn = s_.firstColumn == s_.lastColumn;
    const uint8_t ifOneRow = oneRow ? kBorderTop | kBorderBottom : 0;
    const uint8_t ifOneColumn = oneColumn ? kBorderLeft | kBorderRight : 0;
    StyleRecord style = templateStyle;
    const auto sides = [&](uint8_t mask) -> const StyleRecord& {
      style.borders.sides = mask;
      return style;
    };
    const bool innerColumns = s_.lastColumn - s_.firstColumn >= 2;
    const bool innerRows = s_.lastRow - s_.firstRow >= 2;
    const uint16_t c1 = s_.firstColumn, c2 = s_.lastColumn;
    const uint32_t r1 = s_.firstRow, r2 = s_.lastRow;
    // The first and last columns of whole columns are restyled as columns,
    // before their corner cells, so that no row of the grid is walked.
    if (wholeColumns_ && innerRows) {
      if (!ApplyFormatToColumn(&book_->styles, c1, format_, kApplyBorders, sides(kBorderLeft | ifOneColumn), font,
                               &book_->error))
        return false;
      if (!oneColumn && !ApplyFormatToColumn(&book_->styles, c2, format_, kApplyBorders, sides(kBorderRight), font,
                                             &book_->error))
        return false;
    }
    const uint8_t topLeft = kBorderTop | kBorderLeft | ifOneRow | ifOneColumn;
    if (!Apply(c1, c1, r1, r1, kApplyBorders, sides(topLeft), font) ||
        !Apply(c2, c2, r1, r1, kApplyBorders, sides(kBorderTop | kBorderRight | ifOneRow | ifOneColumn), font) ||
        !Apply(c2, c2, r2, r2, kApplyBorders, sides(kBorderBottom | kBorderRight | ifOneRow | ifOneColumn), font) ||
        !Apply(c1, c1, r2, r2, kApplyBorders, sides(kBorderBottom | kBorderLeft | ifOneRow | ifOneColumn), font))
      return false;
    if (innerColumns &&
        (!Apply(c1 + 1, c2 - 1, r1, r1, kApplyBorders, sides(kBorderTop | ifOneRow), font) ||
         !Apply(c1 + 1, c2 - 1, r2, r2, kApplyBorders, sides(kBorderBottom | ifOneRow), font)))
      return false;
    if (innerRows && !wholeColumns_ &&
        (!Apply(c1, c1, r1 + 1, r2 - 1, kApplyBorders, sides(kBorderLeft | ifOneColumn), font) ||
         !Apply(c2, c2, r1 + 1, r2 - 1, kApplyBorders, sides(kBorderRight | ifOneColumn), font)))
      return false;
    return true;
  }

 private:
  bool Apply(uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow, int kind,
             const StyleRecord& style, const FontRecord& font) {
    return book_->ApplyFormatToRange(&book_->styles, uint16_t(firstColumn), uint16_t(lastColumn), firstRow, lastRow,
                                     format_, kind, style, font);
  }
  CWorkBook* book_;
  SheetFormat* format_;
  FormatSelection s_;
  bool wholeColumns_;
};

// The last row whose height an automatic fit can change: below it rows hold
// no cell, no run and no row record.
uint32_t LastRowToFit(CWorkSheet* sheet) {
  uint32_t last = sheet->format.rows.Count() > 0 ? sheet->format.rows.Count() - 1 : 0;
  uint16_t c1 = 0, c2 = 0;
  uint32_t r1 = 0, r2 = 0;
  if (sheet->cells.GetUsedRange(&c1, &c2, &r1, &r2) && r2 > last)
    last = r2;
  const CellBlock* block = sheet->format.runs.FirstBlock();
  while (block && block->next) block = block->next;
  if (block && block->used >= kStyleRunSize) {
    const uint32_t row = AsStyleRun(block->payload + block->used - kStyleRunSize)->row;
    if (row > last)
      last = row;
  }
  return last;
}

bool RefitsRowHeights(int kind) {
  return kind == kApplyFontSize || kind == kApplyFaceName || kind == kApplyTextControl;
}

}  // namespace

bool CoversWholeColumns(const FormatSelection& selection) {
  return selection.firstRow == 0 && selection.lastRow >= kMaxRow;
}

bool ApplyFormatToColumn(StyleTable* table, uint16_t column, SheetFormat* format, int kind,
                         const StyleRecord& templateStyle, const FontRecord& templateFont, uint8_t* error) {
  uint8_t failure = kWorkbookNoError;
  if (!error)
    error = &failure;
  if (!table || !format || column > kMaxColumn) {
    *error = kWorkbookInvalidCacheIndex;
    return false;
  }
  StyleRestyler* restyler = new (std::nothrow) StyleRestyler(table, kind, templateStyle, templateFont);
  StyleRunStore* taken = new (std::nothrow) StyleRunStore;
  uint16_t columnStyle = 0;
  *error = kWorkbookOutOfMemory;
  bool done = restyler && taken;
  if (done && !restyler->Map(format->columns[column].Style(), &columnStyle)) {
    *error = kWorkbookTooManyStyles;
    done = false;
  }
  if (done) {
    format->columns[column].SetStyle(columnStyle);
    format->ColumnsChanged();
    done = TakeColumnRuns(format, column, taken);
  }
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  CellCursor out;
  out.flags = kCursorAfterRecord;
  while (done) {
    const StyleRun* run = taken->FindFirstInRect(&walk, column, column, 0, kMaxRow);
    if (!run)
      break;
    uint16_t style = 0;
    if (!restyler->Map(run->style, &style)) {
      *error = kWorkbookTooManyStyles;
      done = false;
    } else if (style != columnStyle) {
      done = format->runs.InsertRun(StyleRun{column, column, run->row, style}, &out);
    }
  }
  delete restyler;
  delete taken;
  if (done)
    *error = kWorkbookNoError;
  return done;
}

bool ApplyFormatToRectangle(CWorkBook* book, const FormatSelection& rect, int kind, const StyleRecord& templateStyle,
                            const FontRecord& templateFont) {
  CWorkSheet* sheet = book ? book->activeWorksheet : nullptr;
  if (!sheet)
    return false;
  FormatBackup* backup = new (std::nothrow) FormatBackup;
  if (!backup || !backup->Take(&sheet->format)) {
    delete backup;
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  SelectionFormatter formatter(book, &sheet->format, rect);
  const bool applied = kind == kApplyOutline ? formatter.ApplyOutline(templateStyle, templateFont)
                                             : formatter.ApplyToAll(kind, templateStyle, templateFont);
  if (!applied) {
    const uint8_t error = book->error;
    backup->PutBack(&sheet->format);
    delete backup;
    book->CompactStyles();
    book->error = error;
    return false;
  }
  delete backup;
  book->CompactStyles();
  return true;
}

void RefitRowHeightsOfRows(CWorkBook* book, const TextMeasurer& measurer, uint32_t firstRow, uint32_t lastRow) {
  CWorkSheet* sheet = book ? book->activeWorksheet : nullptr;
  if (!sheet)
    return;
  const uint32_t last = LastRowToFit(sheet);
  if (firstRow <= last)
    CWorkSheet::AutoRowHeights(book, measurer, sheet, firstRow, lastRow < last ? lastRow : last);
}

bool ApplyFormatToSelection(CWorkBook* book, const FormatSelection& selection, int kind,
                            const StyleRecord& templateStyle, const FontRecord& templateFont,
                            const TextMeasurer* measurer) {
  CWorkSheet* sheet = book ? book->activeWorksheet : nullptr;
  if (!sheet)
    return false;
  FormatSelection s = selection;
  if (s.lastColumn > kMaxColumn)
    s.lastColumn = kMaxColumn;
  if (s.lastRow > kMaxRow)
    s.lastRow = kMaxRow;
  if (s.firstColumn > s.lastColumn || s.firstRow > s.lastRow) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  const UndoRange range = {s.firstColumn, s.firstRow, s.lastColumn, s.lastRow};
  if (!book->undoHistory.RecordCellsAndStyles(book, range, false, true))
    return false;
  UndoRecord& step = book->undoHistory.Record(book->undoHistory.Current());
  step.cursorColumn = s.currentColumn;
  step.cursorRow = s.currentRow;
  if (!ApplyFormatToRectangle(book, s, kind, templateStyle, templateFont)) {
    const uint8_t error = book->error;
    book->undoHistory.DropLast(true);
    book->error = error;
    return false;
  }
  if (measurer && RefitsRowHeights(kind))
    RefitRowHeightsOfRows(book, *measurer, s.firstRow, s.lastRow);
  return true;
}
