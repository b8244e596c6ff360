#include "core/styles/sheet_format.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "core/styles/sheet_format_rows.h"

void SheetFormat::Clear(bool free) {
  runs.Clear(free);
  std::memset(columns, 0, sizeof columns);
  ColumnsChanged();
  // For the row table the same flag keeps the pages for the next rows.
  rows.Clear(free);
}

void SheetFormat::Destroy() {
  runs.ClearPageIndex(true);
  runs.Clear(true);
  runs.FreePool();
  rows.Free();
}

bool SheetFormat::CopyFrom(SheetFormat* source) {
  if (!source || source == this) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  Clear(true);
  if (!runs.CopyRunsFrom(&source->runs) || !rows.CopyFrom(source->rows)) {
    Clear(true);
    lastError_ = kSheetFormatOutOfMemory;
    return false;
  }
  std::memcpy(columns, source->columns, sizeof columns);
  ColumnsChanged();
  return true;
}

void SheetFormat::SwapContents(SheetFormat& other) {
  runs.SwapContents(other.runs);
  std::swap(columns, other.columns);
  rows.SwapContents(other.rows);
  std::swap(defaultColumnWidth, other.defaultColumnWidth);
  std::swap(defaultRowHeight, other.defaultRowHeight);
  ColumnsChanged();
  other.ColumnsChanged();
}

uint16_t SheetFormat::CellStyle(uint32_t row, uint16_t column, CellCursor* cursor) const {
  if (const StyleRun* run = runs.FindRun(row, column, cursor))
    return run->style;
  return column < kColumnCount ? columns[column].Style() : 0;
}

bool SheetFormat::InsertRows(uint32_t firstRow, uint32_t lastRow) {
  if (firstRow > lastRow || lastRow > kMaxRow) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  const uint32_t count = lastRow - firstRow + 1;
  const uint32_t tableCount = rows.Count();
  if (tableCount > firstRow) {
    // The table grows first: when it cannot, nothing has moved yet. Zero
    // records appended before a failure stay; they mean the default height.
    uint32_t grown = tableCount + count;
    if (grown > RowTable::kMaxRows)
      grown = RowTable::kMaxRows;
    while (rows.Count() < grown)
      if (!rows.Append(0)) {
        lastError_ = kSheetFormatOutOfMemory;
        return false;
      }
    rows.BuildPageTable();  // only a speed-up: without it At walks the pages
    // Records pushed past the table's end (and so past the last row) are dropped.
    MoveRowRecords(rows, firstRow, firstRow + count, grown - firstRow - count);
    ForEachRowStretch(rows, firstRow, lastRow, [](uint32_t, uint16_t* records, uint32_t n) {
      for (uint32_t i = 0; i < n; ++i) records[i] &= RowTable::kFlagBits;
    });
  }
  runs.ShiftRowsDown(firstRow, count);
  return true;
}

bool SheetFormat::DeleteRows(uint32_t firstRow, uint32_t lastRow) {
  if (firstRow > lastRow || firstRow > kMaxRow) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;
  const uint32_t count = lastRow - firstRow + 1;
  runs.DeleteRows(firstRow, lastRow);
  const uint32_t tableCount = rows.Count();
  if (tableCount > firstRow) {
    rows.BuildPageTable();
    if (uint64_t(lastRow) + 1 < tableCount)
      MoveRowRecords(rows, lastRow + 1, firstRow, tableCount - lastRow - 1);
    uint32_t vacated = tableCount > count ? tableCount - count : 0;
    if (vacated < firstRow)
      vacated = firstRow;
    ForEachRowStretch(rows, vacated, tableCount - 1, [](uint32_t, uint16_t* records, uint32_t n) {
      for (uint32_t i = 0; i < n; ++i) records[i] &= RowTable::kFlagBits;
    });
  }
  return true;
}

bool SheetFormat::InsertColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (firstColumn > lastColumn || lastColumn > kMaxColumn) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  const uint16_t count = static_cast<uint16_t>(lastColumn - firstColumn + 1);
  runs.ShiftColumnsRight(firstColumn, count);
  std::memmove(columns + firstColumn + count, columns + firstColumn,
               (kColumnCount - firstColumn - count) * sizeof(ColumnRecord));
  std::memset(columns + firstColumn, 0, count * sizeof(ColumnRecord));
  ColumnsChanged();
  return true;
}

bool SheetFormat::DeleteColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (firstColumn > lastColumn || firstColumn > kMaxColumn) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  if (lastColumn > kMaxColumn)
    lastColumn = kMaxColumn;
  const uint16_t count = static_cast<uint16_t>(lastColumn - firstColumn + 1);
  runs.DeleteColumns(firstColumn, lastColumn);
  std::memmove(columns + firstColumn, columns + lastColumn + 1, (kMaxColumn - lastColumn) * sizeof(ColumnRecord));
  std::memset(columns + kColumnCount - count, 0, count * sizeof(ColumnRecord));
  ColumnsChanged();
  return true;
}

uint16_t SheetFormat::MaxColumnFontHeight() const {
  if (maxColumnFontHeight_ == kFontHeightUnknown) {
    uint16_t highest = 0;
    for (const ColumnRecord& column : columns) {
      const uint16_t height = column.fontHeightWord & ColumnRecord::kFontHeightMask;
      if (height > highest)
        highest = height;
    }
    maxColumnFontHeight_ = highest;
  }
  return maxColumnFontHeight_;
}

bool SheetFormat::CheckInvariants(char* message, size_t capacity) const {
  if (!runs.CheckInvariants(message, capacity))
    return false;
  if (!rows.CheckInvariants()) {
    if (message && capacity)
      std::snprintf(message, capacity, "row table pages, counts or page table do not agree");
    return false;
  }
  return true;
}
