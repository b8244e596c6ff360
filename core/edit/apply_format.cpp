// Setting one attribute on a rectangle of cells while every other attribute
// of every cell stays: each distinct piece of the old formatting gets the
// attribute applied to a copy of its style.

#include <cstring>
#include <new>

#include "core/workbook/workbook.h"

namespace {

// Old style to new style, each computed once.
class Restyler {
 public:
  Restyler(StyleTable* table, int kind, const StyleRecord& templateStyle, const FontRecord& templateFont)
      : table_(table), kind_(kind), templateStyle_(templateStyle), templateFont_(templateFont) {
    std::memset(known_, 0, sizeof known_);
  }

  // False when the table has no room for a new font or style.
  bool Map(uint16_t base, uint16_t* result) {
    if (base < StyleTable::kMaxStyles && known_[base]) {
      *result = mapped_[base];
      return true;
    }
    StyleRecord style = table_->StyleAt(base);
    FontRecord font = table_->FontAt(style.fontIndex);
    bool fontChanged = false;
    StyleRecord::ApplyAttribute(&style, &font, templateStyle_, templateFont_, &fontChanged, kind_);
    if (fontChanged) {
      uint8_t fontIndex = 0;
      if (!table_->FindOrAddFont(font, &fontIndex))
        return false;
      style.fontIndex = fontIndex;
    }
    if (!table_->FindOrAddStyle(style, result))
      return false;
    if (base < StyleTable::kMaxStyles) {
      known_[base] = 1;
      mapped_[base] = *result;
    }
    return true;
  }

 private:
  StyleTable* table_;
  int kind_;
  const StyleRecord& templateStyle_;
  const FontRecord& templateFont_;
  uint8_t known_[StyleTable::kMaxStyles];
  uint16_t mapped_[StyleTable::kMaxStyles] = {};
};

// One column of a whole-column change: its record, then the runs inside
// it, restyled. The runs are taken out into a store of their own first, as
// runs of one row may not overlap while they are put back.
uint8_t RestyleColumn(Restyler* restyler, const StyleTable& table, uint16_t column, SheetFormat* format) {
  ColumnRecord& record = format->columns[column];
  const uint16_t old = record.Style();
  uint16_t columnStyle = 0;
  if (!restyler->Map(old < table.styleCount ? old : 0, &columnStyle))
    return kWorkbookTooManyStyles;
  record.SetStyle(columnStyle);

  StyleRunStore taken;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  CellCursor out;
  out.flags = kCursorAfterRecord;
  while (const StyleRun* run = format->runs.FindFirstInRect(&walk, column, column, 0, kMaxRow)) {
    const StyleRun piece = {column, column, run->row, run->style};
    if (!taken.InsertRun(piece, &out))
      return kWorkbookOutOfMemory;
  }
  if (!format->runs.ClearRect(column, column, 0, kMaxRow, nullptr, false))
    return kWorkbookOutOfMemory;
  CellCursor read;
  read.flags = kCursorAfterRecord;
  CellCursor back;
  back.flags = kCursorAfterRecord;
  while (const StyleRun* run = taken.FindFirstInRect(&read, column, column, 0, kMaxRow)) {
    uint16_t style = 0;
    if (!restyler->Map(run->style, &style))
      return kWorkbookTooManyStyles;
    if (style == columnStyle)
      continue;
    const StyleRun restyled = {column, column, run->row, style};
    if (!format->runs.InsertRun(restyled, &back))
      return kWorkbookOutOfMemory;
  }
  return kWorkbookNoError;
}

}  // namespace

bool CWorkBook::ApplyFormatToRange(StyleTable* table, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                   uint32_t lastRow, SheetFormat* format, int attributeKind,
                                   const StyleRecord& templateStyle, const FontRecord& templateFont) {
  if (!table || !format || firstColumn > lastColumn || lastColumn > kMaxColumn || firstRow > lastRow ||
      lastRow > kMaxRow) {
    error = kWorkbookInvalidCacheIndex;
    return false;
  }
  SheetFormat* before = new (std::nothrow) SheetFormat;
  Restyler* restyler = new (std::nothrow) Restyler(table, attributeKind, templateStyle, templateFont);
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

bool CWorkBook::ApplyFormatToColumns(StyleTable* table, uint16_t firstColumn, uint16_t lastColumn,
                                     SheetFormat* format, int attributeKind, const StyleRecord& templateStyle,
                                     const FontRecord& templateFont) {
  if (!table || !format || firstColumn > lastColumn || lastColumn > kMaxColumn) {
    error = kWorkbookInvalidCacheIndex;
    return false;
  }
  Restyler* restyler = new (std::nothrow) Restyler(table, attributeKind, templateStyle, templateFont);
  StyleRunStore* saved = new (std::nothrow) StyleRunStore;
  ColumnRecord* savedColumns = new (std::nothrow) ColumnRecord[kColumnCount];
  if (!restyler || !saved || !savedColumns || !saved->CopyRunsFrom(&format->runs)) {
    delete restyler;
    delete saved;
    delete[] savedColumns;
    error = kWorkbookOutOfMemory;
    return false;
  }
  std::memcpy(savedColumns, format->columns, sizeof format->columns);
  uint8_t failure = kWorkbookNoError;
  for (uint32_t column = firstColumn; column <= lastColumn && !failure; ++column)
    failure = RestyleColumn(restyler, *table, static_cast<uint16_t>(column), format);
  if (failure) {
    format->runs.SwapContents(*saved);
    std::memcpy(format->columns, savedColumns, sizeof format->columns);
    error = failure;
  }
  format->ColumnsChanged();
  delete restyler;
  delete saved;
  delete[] savedColumns;
  return !failure;
}
