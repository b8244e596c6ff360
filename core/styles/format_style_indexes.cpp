#include "core/styles/format_style_indexes.h"

#include <cstring>

#include "core/styles/sheet_format.h"
#include "core/styles/style_table.h"

void MarkFormatStyles(const SheetFormat& format, uint8_t* used, uint32_t size) {
  CellCursor cursor;
  cursor.block = format.runs.FirstBlock();
  cursor.flags = kCursorAfterRecord;
  while (const StyleRun* run = StyleRunStore::NextRun(&cursor))
    if (run->style < size)
      used[run->style] = 1;
  for (const ColumnRecord& column : format.columns)
    if (column.Style() < size)
      used[column.Style()] = 1;
}

void RenumberFormatStyles(SheetFormat* format, const uint16_t* newIndex, uint32_t size) {
  CellCursor cursor;
  cursor.block = format->runs.FirstBlock();
  cursor.flags = kCursorAfterRecord;
  while (StyleRun* run = StyleRunStore::NextRun(&cursor))
    run->style = run->style < size ? newIndex[run->style] : 0;
  for (ColumnRecord& column : format->columns)
    column.SetStyle(column.Style() < size ? newIndex[column.Style()] : 0);
}

bool TransferFormatStyles(SheetFormat* format, const StyleTable& from, StyleTable* to) {
  uint8_t used[StyleTable::kMaxStyles] = {};
  MarkFormatStyles(*format, used, StyleTable::kMaxStyles);
  uint16_t newIndex[StyleTable::kMaxStyles] = {};
  // Every index is mapped before any is rewritten, so a full table leaves
  // the format as it was.
  for (uint32_t style = 0; style < StyleTable::kMaxStyles; ++style) {
    if (!used[style])
      continue;
    StyleRecord record = from.StyleAt(style);
    uint8_t font = 0;
    if (!to->FindOrAddFont(from.FontAt(record.fontIndex), &font))
      return false;
    record.fontIndex = font;
    if (!to->FindOrAddStyle(record, &newIndex[style]))
      return false;
  }
  RenumberFormatStyles(format, newIndex, StyleTable::kMaxStyles);
  return true;
}

void CompactFormatStyles(StyleTable* table, SheetFormat* const* formats, uint32_t count) {
  uint8_t used[StyleTable::kMaxStyles] = {};
  for (uint32_t i = 0; i < count; ++i) MarkFormatStyles(*formats[i], used, StyleTable::kMaxStyles);
  uint16_t newIndex[StyleTable::kMaxStyles] = {};
  table->RemoveUnused(used, newIndex);
  for (uint32_t i = 0; i < count; ++i) RenumberFormatStyles(formats[i], newIndex, StyleTable::kMaxStyles);
}
