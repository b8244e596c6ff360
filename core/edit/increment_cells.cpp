#include "core/edit/increment_cells.h"

#include <cstring>

#include "core/numfmt/date_time.h"
#include "core/workbook/workbook.h"

namespace {

// The record a cell becomes, or 0 when it stays as it is.
uint32_t SteppedRecord(const CellRecord& cell, bool up, uint8_t* record, size_t capacity) {
  if (cell.IsSpillValue() || cell.ErrorCode() != 0)
    return 0;
  if (cell.IsNumber())
    return BuildNumberCell(record, capacity, cell.Row(), cell.Column(), cell.Number() + (up ? 1.0 : -1.0));
  if (!cell.IsText() || cell.TextLength() >= kIsoTextCapacity)
    return 0;
  char text[kIsoTextCapacity];
  std::memcpy(text, cell.Text(), cell.TextLength());
  text[cell.TextLength()] = '\0';
  DateTime value;
  if (!ParseIsoDateTime(&value, text))
    return 0;
  const char* step = value.hasTime ? (up ? "PT1H" : "-PT1H") : (up ? "P1D" : "-P1D");
  char stepped[kIsoTextCapacity];
  if (!AddDurationToDateText(text, step, stepped, sizeof stepped))
    return 0;
  return BuildTextCell(record, capacity, cell.Row(), cell.Column(), stepped,
                       static_cast<uint16_t>(std::strlen(stepped)));
}

bool Fail(CWorkBook* book, uint8_t error) {
  book->error = error;
  return false;
}

}  // namespace

bool IncrementCells(CWorkBook* book, const CellRange& range, bool up, uint32_t* changed) {
  if (changed)
    *changed = 0;
  CWorkSheet* sheet = book->activeWorksheet;
  if (!sheet)
    return Fail(book, kWorkbookInvalidCacheIndex);

  // The new records are made aside first, so that a shortage of memory there
  // changes nothing.
  CellStore stepped;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  sheet->cells.PositionAtRow(range.firstRow, &walk);
  CellCursor at;
  uint32_t count = 0;
  while (const CellRecord* cell = walk.NextInRange(range.firstColumn, range.lastColumn, range.firstRow,
                                                  range.lastRow)) {
    alignas(8) uint8_t record[kTextCellHeadSize + kIsoTextCapacity];
    const uint32_t size = SteppedRecord(*cell, up, record, sizeof record);
    if (size == 0)
      continue;
    if (!stepped.InsertCell(AsCellRecord(record), &at))
      return Fail(book, kWorkbookOutOfMemory);
    ++count;
  }
  if (count == 0)
    return true;

  uint16_t firstColumn = 0;
  uint16_t lastColumn = 0;
  uint32_t firstRow = 0;
  uint32_t lastRow = 0;
  stepped.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow);
  if (!book->undoHistory.RecordCellsAndStyles(book, UndoRange{firstColumn, firstRow, lastColumn, lastRow}, true,
                                              false))
    return false;
  CellCursor from;
  from.flags = kCursorAfterRecord;
  from.block = stepped.FirstBlock();
  CellCursor into;
  while (const CellRecord* record = from.Next()) {
    if (!sheet->cells.InsertCell(record, &into)) {
      // The step puts back what was replaced so far; dropped, it leaves no trace.
      CWorkSheet::Undo(book, book->undoHistory.Current());
      book->undoHistory.DropLast(true);
      return Fail(book, kWorkbookOutOfMemory);
    }
  }
  if (changed)
    *changed = count;
  return true;
}
