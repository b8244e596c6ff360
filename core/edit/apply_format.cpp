// Setting one attribute on a rectangle of cells while every other attribute
// of every cell stays: each distinct piece of the old formatting gets the
// attribute applied to a copy of its style.

#include <new>

#include "core/edit/style_restyler.h"
#include "core/workbook/workbook.h"

bool CWorkBook::ApplyFormatToRange(StyleTable* table, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                   uint32_t lastRow, SheetFormat* format, int attributeKind,
                                   const StyleRecord& templateStyle, const FontRecord& templateFont) {
  if (!table || !format || firstColumn > lastColumn || lastColumn > kMaxColumn || firstRow > lastRow ||
      lastRow > kMaxRow) {
    error = kWorkbookInvalidCacheIndex;
    return false;
  }
  SheetFormat* before = new (std::nothrow) SheetFormat;
  StyleRestyler* restyler = new (std::nothrow) StyleRestyler(table, attributeKind, templateStyle, templateFont);
  // All runs are kept aside: putting them back is an exchange, which cannot
  // run out of memory as re-inserting the old runs could.
  StyleRunStore* saved = new (std::nothrow) StyleRunStore;
  // ClearRect changes nothing when it fails.
  if (!before || !restyler || !saved || !saved->CopyRunsFrom(&format->runs) ||
      !format->CopyRect(firstColumn, lastColumn, firstRow, lastRow, before, nullptr) ||
      !format->runs.ClearRect(firstColumn, lastColumn, firstRow, lastRow, nullptr, false)) {
    delete before;
    delete restyler;
    delete saved;
    error = kWorkbookOutOfMemory;
    return false;
  }

  uint8_t failure = kWorkbookNoError;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  CellCursor out;
  out.flags = kCursorAfterRecord;
  auto insert = [&](uint32_t first, uint32_t last, uint32_t row, uint16_t style) {
    const StyleRun run = {uint16_t(first), uint16_t(last), row, style};
    if (!format->runs.InsertRun(run, &out))
      failure = kWorkbookOutOfMemory;
  };
  for (uint32_t row = firstRow; row <= lastRow && !failure; ++row) {
    uint32_t column = firstColumn;
    while (!failure) {
      const StyleRun* run = before->runs.FindFirstInRect(&walk, firstColumn, lastColumn, row, row);
      const uint32_t gapEnd = run ? (run->firstColumn > firstColumn ? run->firstColumn : firstColumn)
                                  : uint32_t(lastColumn) + 1;
      // Cells without a run show their column's style: columns of one style
      // form one group.
      while (column < gapEnd && !failure) {
        const uint16_t columnStyle = format->columns[column].Style();
        uint32_t end = column;
        while (end + 1 < gapEnd && format->columns[end + 1].Style() == columnStyle) ++end;
        uint16_t style = 0;
        if (!restyler->Map(columnStyle < table->styleCount ? columnStyle : 0, &style))
          failure = kWorkbookTooManyStyles;
        else if (style != columnStyle)
          insert(column, end, row, style);
        column = end + 1;
      }
      if (!run || failure)
        break;
      const uint32_t last = run->lastColumn < lastColumn ? run->lastColumn : lastColumn;
      uint16_t style = 0;
      if (!restyler->Map(run->style, &style))
        failure = kWorkbookTooManyStyles;
      else if (style != 0)
        insert(column, last, row, style);
      column = last + 1;
    }
  }
  // A failure part-way must not leave rows without their formats.
  if (failure)
    format->runs.SwapContents(*saved);
  delete before;
  delete restyler;
  delete saved;
  if (failure)
    error = failure;
  return !failure;
}
