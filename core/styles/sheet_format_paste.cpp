// Rectangle snapshots of a sheet format and pasting them back, tiled.

#include <cstring>

#include "core/styles/sheet_format.h"
#include "core/styles/sheet_format_rows.h"
#include "core/styles/style_table.h"

namespace {

constexpr uint16_t kRowSizeBits = RowTable::kHeightMask | RowTable::kFixedHeight;

bool ValidRect(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow) {
  return firstColumn <= lastColumn && lastColumn <= kMaxColumn && firstRow <= lastRow && lastRow <= kMaxRow;
}

// Source style indexes to target style indexes, registering each source
// style (with its font) in the target table the first time it is met.
class StyleMapping {
 public:
  StyleMapping(StyleTable* target, const StyleTable* source) : target_(target), source_(source) {}

  // False when the target table is full.
  bool Map(uint16_t style, uint16_t* mapped) {
    if (!source_) {
      *mapped = style;
      return true;
    }
    const uint32_t index = style < source_->styleCount ? style : 0;
    if (!known_[index]) {
      StyleRecord record = source_->StyleAt(index);
      uint8_t font = 0;
      if (!target_->FindOrAddFont(source_->FontAt(record.fontIndex), &font))
        return false;
      record.fontIndex = font;
      if (!target_->FindOrAddStyle(record, &targetIndex_[index]))
        return false;
      known_[index] = 1;
    }
    *mapped = targetIndex_[index];
    return true;
  }

 private:
  StyleTable* target_;
  const StyleTable* source_;
  uint8_t known_[StyleTable::kMaxStyles] = {};
  uint16_t targetIndex_[StyleTable::kMaxStyles] = {};
};

}  // namespace

bool SheetFormat::CopyRect(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                           SheetFormat* target, CellCursor* cursor) {
  if (!target || target == this || !ValidRect(firstColumn, lastColumn, firstRow, lastRow)) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  target->Clear(true);
  auto fail = [&] {
    target->Clear(true);
    lastError_ = target->lastError_ = kSheetFormatOutOfMemory;
    return false;
  };

  CellCursor walk;
  if (cursor)
    walk = *cursor;
  walk.flags = kCursorAfterRecord;
  CellCursor out;
  out.flags = kCursorAfterRecord;
  while (const StyleRun* run = runs.FindFirstInRect(&walk, firstColumn, lastColumn, firstRow, lastRow)) {
    StyleRun clipped = *run;
    if (clipped.firstColumn < firstColumn)
      clipped.firstColumn = firstColumn;
    if (clipped.lastColumn > lastColumn)
      clipped.lastColumn = lastColumn;
    if (!target->runs.InsertRun(clipped, &out))
      return fail();
  }
  if (cursor) {
    cursor->block = walk.block;
    cursor->offset = walk.offset;
  }

  std::memcpy(target->columns + firstColumn, columns + firstColumn,
              (lastColumn - firstColumn + 1) * sizeof(ColumnRecord));
  target->ColumnsChanged();

  // The target table is empty, so appending in row order builds what
  // setting each fixed row would.
  rows.BuildPageTable();
  bool appended = true;
  ForEachRowStretch(rows, firstRow, lastRow, [&](uint32_t row, const uint16_t* records, uint32_t n) {
    for (uint32_t i = 0; i < n && appended; ++i) {
      if (!(records[i] & RowTable::kFixedHeight))
        continue;
      const uint32_t at = row + i - firstRow;
      while (appended && target->rows.Count() < at) appended = target->rows.Append(0);
      appended = appended && target->rows.Append(static_cast<uint16_t>(records[i] & kRowSizeBits));
    }
  });
  return appended ? true : fail();
}

bool SheetFormat::PasteFormat(StyleTable* styles, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                              uint32_t lastRow, uint16_t sourceFirstColumn, uint16_t sourceLastColumn,
                              uint32_t sourceFirstRow, uint32_t sourceLastRow, const SheetFormat& source,
                              const StyleTable* sourceStyles) {
  if (&source == this || (sourceStyles && !styles) || !ValidRect(firstColumn, lastColumn, firstRow, lastRow) ||
      !ValidRect(sourceFirstColumn, sourceLastColumn, sourceFirstRow, sourceLastRow)) {
    lastError_ = kSheetFormatBadRange;
    return false;
  }
  if (!runs.ClearRect(firstColumn, lastColumn, firstRow, lastRow, nullptr, false)) {
    lastError_ = kSheetFormatOutOfMemory;
    return false;
  }

  StyleMapping mapping(styles, sourceStyles);
  const uint32_t width = uint32_t(sourceLastColumn) - sourceFirstColumn + 1;
  const uint32_t height = sourceLastRow - sourceFirstRow + 1;
  // Runs go in row by row and, within a row, tile by tile, so that every
  // insert continues from the last one. Source runs are cut to the source
  // rectangle so that tiles never overlap.
  CellCursor out;
  out.flags = kCursorAfterRecord;
  for (uint64_t tileRow = firstRow; tileRow <= lastRow; tileRow += height) {
    CellCursor walk;
    for (;;) {
      CellCursor rowStart = walk;
      rowStart.flags = 0;
      const StyleRun* first =
          source.runs.FindFirstInRect(&rowStart, sourceFirstColumn, sourceLastColumn, sourceFirstRow, sourceLastRow);
      if (!first)
        break;
      const uint32_t row = first->row;
      const uint64_t toRow = row - sourceFirstRow + tileRow;
      if (toRow > lastRow)
        break;
      CellCursor inRow;
      for (uint32_t tileColumn = firstColumn; tileColumn <= lastColumn; tileColumn += width) {
        inRow = rowStart;
        inRow.flags = kCursorAfterRecord;
        while (const StyleRun* run =
                   source.runs.FindFirstInRect(&inRow, sourceFirstColumn, sourceLastColumn, row, row)) {
          const uint16_t from = run->firstColumn < sourceFirstColumn ? sourceFirstColumn : run->firstColumn;
          const uint16_t to = run->lastColumn > sourceLastColumn ? sourceLastColumn : run->lastColumn;
          const uint32_t toFirst = from - sourceFirstColumn + tileColumn;
          if (toFirst > lastColumn)
            continue;
          uint32_t toLast = to - sourceFirstColumn + tileColumn;
          if (toLast > lastColumn)
            toLast = lastColumn;
          StyleRun moved = {static_cast<uint16_t>(toFirst), static_cast<uint16_t>(toLast), uint32_t(toRow), 0};
          if (!mapping.Map(run->style, &moved.style)) {
            lastError_ = kSheetFormatStyleTableFull;
            return false;
          }
          if (!runs.InsertRun(moved, &out)) {
            lastError_ = kSheetFormatOutOfMemory;
            return false;
          }
        }
      }
      walk = inRow;
    }
  }

  // Whole columns bring their column records, tiled like the runs.
  if (firstRow == 0 && lastRow == kMaxRow) {
    for (uint32_t column = firstColumn; column <= lastColumn; ++column) {
      ColumnRecord record = source.columns[sourceFirstColumn + (column - firstColumn) % width];
      uint16_t style = 0;
      if (!mapping.Map(record.Style(), &style)) {
        lastError_ = kSheetFormatStyleTableFull;
        return false;
      }
      record.SetStyle(style);
      columns[column] = record;
      ColumnsChanged();
    }
  }
  return PasteRows(firstRow, lastRow, source.rows, height);
}

bool SheetFormat::PasteRows(uint32_t firstRow, uint32_t lastRow, const RowTable& source, uint32_t sourceHeight) {
  RowRecordReader reader(source);
  uint32_t sourceIndex = 0;
  auto nextSource = [&]() -> uint16_t {
    if (sourceIndex == sourceHeight) {
      reader.Restart();
      sourceIndex = 0;
    }
    ++sourceIndex;
    return static_cast<uint16_t>(reader.Next() & kRowSizeBits);
  };

  rows.BuildPageTable();
  ForEachRowStretch(rows, firstRow, lastRow, [&](uint32_t, uint16_t* records, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) records[i] = static_cast<uint16_t>((records[i] & ~kRowSizeBits) | nextSource());
  });
  // Rows past the table's end have the default size: the table grows only
  // up to the last row that gets a height or the fixed flag.
  uint32_t row = rows.Count() > firstRow ? rows.Count() : firstRow;
  for (; row <= lastRow; ++row) {
    const uint16_t record = nextSource();
    if (!record)
      continue;
    while (rows.Count() < row)
      if (!rows.Append(0)) {
        lastError_ = kSheetFormatOutOfMemory;
        return false;
      }
    if (!rows.Append(record)) {
      lastError_ = kSheetFormatOutOfMemory;
      return false;
    }
  }
  return true;
}
