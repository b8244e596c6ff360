#ifndef TALVERO_CORE_FORMAT_STYLE_INDEXES_H
#define TALVERO_CORE_FORMAT_STYLE_INDEXES_H

// The style indexes a sheet format holds, in its runs and column records:
// marking the ones in use, renumbering them, and moving a format from one
// style table to another, for compacting a table and for formats kept
// outside the workbook (undo snapshots, removed worksheets).

#include <cstdint>

class SheetFormat;
class StyleTable;

// Sets used[style] for every style a run or column record refers to;
// indexes at or past the table's size are ignored.
void MarkFormatStyles(const SheetFormat& format, uint8_t* used, uint32_t size);
// Replaces every style index by newIndex[index]; indexes past size become 0.
void RenumberFormatStyles(SheetFormat* format, const uint16_t* newIndex, uint32_t size);
// Re-registers each style the format uses (with its font) from `from` in
// `to` and renumbers the format. False, with the format unchanged, when `to`
// is full (the styles registered before that stay).
bool TransferFormatStyles(SheetFormat* format, const StyleTable& from, StyleTable* to);
// Removes the styles no format of the list uses and renumbers them all.
void CompactFormatStyles(StyleTable* table, SheetFormat* const* formats, uint32_t count);

#endif
