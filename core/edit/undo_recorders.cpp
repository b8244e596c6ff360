// Recording undo steps, and the snapshot and restore operations that both
// the steps and the clipboard ring use.

#include <cstdlib>
#include <cstring>

#include <new>

#include "core/edit/reference_adjust.h"
#include "core/styles/format_style_indexes.h"
#include "core/workbook/undo_history.h"
#include "core/workbook/workbook.h"

namespace {

UndoRange WholeRows(uint32_t firstRow, uint32_t lastRow) { return {0, firstRow, kMaxColumn, lastRow}; }
UndoRange WholeColumns(uint16_t firstColumn, uint16_t lastColumn) { return {firstColumn, 0, lastColumn, kMaxRow}; }

uint8_t CornerFlags(const UndoRange& rect) {
  if (rect.firstColumn == 0 && rect.lastColumn == kMaxColumn)
    return kSnapshotWholeRows;
  if (rect.firstRow == 0 && rect.lastRow == kMaxRow)
    return kSnapshotWholeColumns;
  return kSnapshotCells;
}

bool ValidRange(const UndoRange& r) {
  return r.firstColumn <= r.lastColumn && r.lastColumn <= kMaxColumn && r.firstRow <= r.lastRow &&
         r.lastRow <= kMaxRow;
}

char* CopyText(const char* text, size_t length, size_t capacity) {
  char* copy = static_cast<char*>(std::malloc(capacity));
  if (copy) {
    std::memset(copy, 0, capacity);
    std::memcpy(copy, text, length);
  }
  return copy;
}

}  // namespace

bool UndoHistory::SaveCellValue(CWorkBook* book, CWorkSheet* sheet, uint16_t column, uint32_t row, int32_t index) {
  UndoRecord& record = records_[index];
  record.valueColumn = column;
  record.valueRow = row;
  record.valueKind = kUndoValueEmpty;
  record.valueType = 0;
  record.number = 0;
  record.text = nullptr;
  const CellRecord* cell = sheet->cells.GetCell(row, column);
  if (cell) {
    record.valueType = cell->Type();
    record.valueKind = cell->IsText() ? kUndoValueText : cell->IsFormula() ? kUndoValueFormula : kUndoValueNumber;
    if (cell->IsNumber())
      record.number = cell->Number();
    // The whole record is kept: a spilled value, an error constant or a
    // formula with its result and extent comes back exactly as it was.
    const uint32_t size = cell->Size();
    record.text = CopyText(reinterpret_cast<const char*>(cell->Bytes()), size, size);
    if (!record.text) {
      book->error = kWorkbookOutOfMemory;
      return false;
    }
  }
  record.storageKind = kUndoOwnsValue;
  return true;
}

bool UndoHistory::RestoreCells(CWorkBook* book, CWorkSheet* sheet, int32_t index) {
  const UndoRecord& record = records_[index];
  if (record.storageKind != kUndoOwnsValue || (record.valueKind != kUndoValueEmpty && !record.text)) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  const uint16_t column = record.valueColumn;
  const uint32_t row = record.valueRow;
  // A spare block first, so that the insert after the deletion cannot fail
  // for want of one and lose the cell.
  if (record.valueKind != kUndoValueEmpty && !sheet->cells.ReserveBlock()) {
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  // Deleting (rather than overwriting) also removes an array formula that
  // now covers the cell, with its whole result.
  sheet->cells.DeleteRange(column, column, row, row, nullptr, true);
  if (record.valueKind == kUndoValueEmpty)
    return true;
  if (!sheet->cells.InsertCell(AsCellRecord(record.text), nullptr)) {
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  return true;
}

bool UndoHistory::SnapshotRange(CWorkBook* book, CWorkSheet* sheet, const UndoRange& rect, int32_t index, bool cells,
                                bool formats) {
  UndoRecord& record = records_[index];
  CWorkSheet* snapshot = NewWorksheet(sheet->name, 1);
  if (!snapshot || !ValidRange(rect)) {
    delete snapshot;
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  bool copied = true;
  if (cells)
    copied = snapshot->cells.CopyRangeToStore(rect.firstColumn, rect.lastColumn, rect.firstRow, rect.lastRow,
                                              rect.firstColumn, rect.lastColumn, rect.firstRow, rect.lastRow,
                                              sheet->cells);
  if (copied && formats) {
    copied = sheet->format.CopyRect(rect.firstColumn, rect.lastColumn, rect.firstRow, rect.lastRow,
                                    &snapshot->format, nullptr);
    if (copied) {
      PrepareStyles();
      if (!TransferFormatStyles(&snapshot->format, book->styles, &styles_)) {
        ReleaseUnusedStyles();
        if (!TransferFormatStyles(&snapshot->format, book->styles, &styles_)) {
          delete snapshot;
          book->error = kWorkbookTooManyStyles;
          return false;
        }
      }
    }
  }
  if (!copied) {
    delete snapshot;
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  const uint8_t flags = CornerFlags(rect);
  record.snapshotFirst = {rect.firstColumn, rect.firstRow, flags};
  record.snapshotLast = {rect.lastColumn, rect.lastRow, flags};
  record.snapshot = snapshot;
  record.storageKind = cells && formats ? kUndoOwnsCellsAndFormats : cells ? kUndoOwnsCells : kUndoOwnsFormats;
  return true;
}

bool UndoHistory::RestoreCellsAndStyles(CWorkBook* book, CWorkSheet* sheet, const UndoRange& target, int32_t index,
                                        bool cells, bool formats) {
  const UndoRecord& record = records_[index];
  const uint8_t kind = record.storageKind;
  if (!record.snapshot || kind < kUndoOwnsCells || kind > kUndoOwnsCellsAndFormats) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  const UndoRange source = {record.snapshotFirst.column, record.snapshotFirst.row, record.snapshotLast.column,
                            record.snapshotLast.row};
  UndoRange to = target;
  if (to.firstColumn == to.lastColumn && to.firstRow == to.lastRow) {
    const uint32_t lastColumn = uint32_t(to.firstColumn) + (source.lastColumn - source.firstColumn);
    const uint64_t lastRow = uint64_t(to.firstRow) + (source.lastRow - source.firstRow);
    to.lastColumn = uint16_t(lastColumn > kMaxColumn ? kMaxColumn : lastColumn);
    to.lastRow = uint32_t(lastRow > kMaxRow ? kMaxRow : lastRow);
  }
  CWorkSheet* snapshot = record.snapshot;
  if (cells && kind != kUndoOwnsFormats &&
      !sheet->cells.CopyRangeToStore(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow, source.firstColumn,
                                     source.lastColumn, source.firstRow, source.lastRow, snapshot->cells)) {
    book->error = kWorkbookOutOfMemory;
    return false;
  }
  if (formats && kind != kUndoOwnsCells) {
    const bool pasted = sheet->format.PasteFormat(&book->styles, to.firstColumn, to.lastColumn, to.firstRow,
                                                  to.lastRow, source.firstColumn, source.lastColumn,
                                                  source.firstRow, source.lastRow, snapshot->format, &styles_);
    if (!pasted) {
      book->error = sheet->format.LastError() == kSheetFormatStyleTableFull ? kWorkbookTooManyStyles
                                                                            : kWorkbookOutOfMemory;
      return false;
    }
    book->CompactStyles();
  }
  return true;
}

void UndoHistory::MoveScratchInto(int32_t index) {
  UndoRecord& step = records_[index];
  UndoRecord& scratch = records_[kUndoScratchRecord];
  step.storageKind = scratch.storageKind;
  step.valueColumn = scratch.valueColumn;
  step.valueRow = scratch.valueRow;
  step.valueKind = scratch.valueKind;
  step.valueType = scratch.valueType;
  step.number = scratch.number;
  step.text = scratch.text;
  step.snapshotFirst = scratch.snapshotFirst;
  step.snapshotLast = scratch.snapshotLast;
  step.snapshot = scratch.snapshot;
  delete step.rewrittenFormulas;
  step.rewrittenFormulas = scratch.rewrittenFormulas;
  std::memset(&scratch, 0, sizeof scratch);
}

bool UndoHistory::KeepRewrittenFormulas(CWorkBook* book, CWorkSheet* sheet, int32_t index, bool deletion) {
  UndoRecord& record = records_[index];
  const bool rows = record.stepKind == kUndoStepRowsChange;
  const UndoRange& lines = record.range;
  const CellRange area{lines.firstColumn, lines.firstRow, lines.lastColumn, lines.lastRow};
  const uint32_t operation = rows ? (deletion ? kEditRowsDeleted : kEditRowsInserted)
                                  : (deletion ? kEditColumnsDeleted : kEditColumnsInserted);
  delete record.rewrittenFormulas;
  record.rewrittenFormulas = new (std::nothrow) CellStore;
  CellStore rewritten;
  uint8_t failure = kAdjustNoFailure;
  // An edit the rewrite refuses is refused itself and keeps nothing.
  if (record.rewrittenFormulas &&
      (CollectAdjustedFormulas(book->evaluator, &sheet->cells, operation, area, false, &rewritten, &failure,
                               record.rewrittenFormulas) ||
       failure != kAdjustOutOfMemory))
    return true;
  book->error = kWorkbookOutOfMemory;
  return false;
}

bool UndoHistory::TransferStyles(CWorkSheetTree::CTreeItem* chain, StyleTable* from, StyleTable* to) {
  for (CWorkSheetTree::CTreeItem* item = chain; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet || TransferFormatStyles(&sheet->format, *from, to))
      continue;
    // The worksheets already moved go back, so that the chain keeps one table.
    for (CWorkSheetTree::CTreeItem* done = chain; done != item; done = done->next)
      if (CWorkSheet* moved = CWorkSheet::FromItem(done))
        TransferFormatStyles(&moved->format, *to, from);
    return false;
  }
  return true;
}

bool UndoHistory::RecordCells(CWorkBook* book, const UndoRange& range) {
  const int32_t index = BeginStep(book, kUndoStepCells, range);
  if (!book->activeWorksheet ||
      !SaveCellValue(book, book->activeWorksheet, range.firstColumn, range.firstRow, index))
    return FailStep(book, index);
  return true;
}

bool UndoHistory::RecordCellsAndStyles(CWorkBook* book, const UndoRange& range, bool cells, bool formats) {
  const int32_t index = BeginStep(book, kUndoStepCellsAndStyles, range);
  if (!book->activeWorksheet || !(cells || formats) ||
      !SnapshotRange(book, book->activeWorksheet, range, index, cells, formats)) {
    const uint8_t error = book->error;
    FailStep(book, index);
    if (error == kWorkbookTooManyStyles)
      book->error = error;
    return false;
  }
  return true;
}

bool UndoHistory::RecordColumnWidths(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn) {
  const int32_t index = BeginStep(book, kUndoStepColumns, WholeColumns(firstColumn, lastColumn));
  CWorkSheet* sheet = book->activeWorksheet;
  CWorkSheet* snapshot = sheet ? NewWorksheet(sheet->name, 1) : nullptr;
  if (!snapshot || firstColumn > lastColumn || lastColumn > kMaxColumn) {
    delete snapshot;
    return FailStep(book, index);
  }
  std::memcpy(snapshot->format.columns, sheet->format.columns, sizeof snapshot->format.columns);
  records_[index].snapshot = snapshot;
  records_[index].storageKind = kUndoOwnsFormats;
  return true;
}

bool UndoHistory::RecordRowHeights(CWorkBook* book, uint32_t firstRow, uint32_t lastRow) {
  const int32_t index = BeginStep(book, kUndoStepRows, WholeRows(firstRow, lastRow));
  CWorkSheet* sheet = book->activeWorksheet;
  CWorkSheet* snapshot = sheet ? NewWorksheet(sheet->name, 1) : nullptr;
  if (!snapshot || firstRow > lastRow || lastRow > kMaxRow) {
    delete snapshot;
    return FailStep(book, index);
  }
  records_[index].snapshot = snapshot;
  records_[index].storageKind = kUndoOwnsFormats;
  const RowTable& rows = sheet->format.rows;
  for (uint32_t row = firstRow; row <= lastRow; ++row) {
    const uint16_t* present = rows.At(row);
    if (!snapshot->format.rows.Append(present ? *present : 0))
      return FailStep(book, index);
  }
  return true;
}

bool UndoHistory::RecordContainerAdded(CWorkBook* book, uint16_t id) {
  const int32_t index = BeginStep(book, kUndoStepContainerAddedOrRemoved, {0, 0, 0, 0});
  records_[index].containerId = id;
  return true;
}

bool UndoHistory::RecordContainerRemoved(CWorkBook* book, ContainerRecord* container) {
  const int32_t index = BeginStep(book, kUndoStepContainerAddedOrRemoved, {0, 0, 0, 0});
  if (!container)
    return FailStep(book, index);
  container->previous = container->next = nullptr;
  records_[index].containerId = container->header.id;
  records_[index].container = container;
  records_[index].storageKind = kUndoOwnsContainer;
  return true;
}

bool UndoHistory::RecordContainerChange(CWorkBook* book, ContainerRecord* container) {
  const int32_t index = BeginStep(book, kUndoStepContainerChanged, {0, 0, 0, 0});
  ContainerRecord* copy = container ? container->Clone() : nullptr;
  if (!copy)
    return FailStep(book, index);
  records_[index].containerId = container->header.id;
  records_[index].container = copy;
  records_[index].storageKind = kUndoOwnsContainer;
  return true;
}

bool UndoHistory::RecordItemInserted(CWorkBook* book, int32_t itemIndex) {
  const int32_t index = BeginStep(book, kUndoStepTreeItem, {0, 0, 0, 0});
  records_[index].itemIndex = itemIndex;
  return true;
}

bool UndoHistory::RecordItemRemoved(CWorkBook* book, CWorkSheetTree::CTreeItem* chain, int32_t itemIndex) {
  const int32_t index = BeginStep(book, kUndoStepTreeItem, {0, 0, 0, 0});
  PrepareStyles();
  if (!chain || !TransferStyles(chain, &book->styles, &styles_)) {
    FailStep(book, index);
    book->error = chain ? kWorkbookTooManyStyles : kWorkbookInvalidCacheIndex;
    return false;
  }
  records_[index].itemIndex = itemIndex;
  records_[index].items = chain;
  records_[index].storageKind = kUndoOwnsItems;
  return true;
}

bool UndoHistory::RecordRename(CWorkBook* book, CWorkSheetTree::CTreeItem* item) {
  const int32_t index = BeginStep(book, kUndoStepRename, {0, 0, 0, 0});
  const int32_t itemIndex = item ? book->IndexOfItem(item) : -1;
  if (itemIndex < 0)
    return FailStep(book, index);
  records_[index].itemIndex = itemIndex;
  records_[index].text = CopyText(item->name, std::strlen(item->name), kTreeItemNameSize);
  if (!records_[index].text)
    return FailStep(book, index);
  records_[index].storageKind = kUndoOwnsValue;
  return true;
}

bool UndoHistory::RecordItemMoved(CWorkBook* book, CWorkSheetTree::CTreeItem* item, int32_t fromIndex,
                                  uint16_t fromDepth, const char* fromName, KeptFormulaTexts* kept) {
  const int32_t index = BeginStep(book, kUndoStepTreeItemMoved, {0, 0, 0, 0});
  UndoRecord& record = records_[index];
  record.keptTexts = kept;
  const int32_t itemIndex = item ? book->IndexOfItem(item) : -1;
  if (itemIndex < 0 || fromIndex < 0 || fromDepth < 1) {
    FailStep(book, index);
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  record.itemIndex = itemIndex;
  record.movedFromIndex = fromIndex;
  record.movedFromDepth = fromDepth;
  if (fromName) {
    record.text = CopyText(fromName, strnlen(fromName, kTreeItemNameSize - 1), kTreeItemNameSize);
    if (!record.text)
      return FailStep(book, index);
    record.storageKind = kUndoOwnsValue;
  }
  return true;
}

bool UndoHistory::RecordSort(CWorkBook* book, const UndoRange& range, const uint32_t* permutation) {
  const int32_t index = BeginStep(book, kUndoStepSort, range);
  if (!permutation || !ValidRange(range)) {
    FailStep(book, index);
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  const size_t count = size_t(range.lastRow - range.firstRow) + 1;
  uint32_t* copy = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * count));
  uint8_t* taken = static_cast<uint8_t*>(std::calloc(count, 1));
  if (!copy || !taken) {
    std::free(copy);
    std::free(taken);
    return FailStep(book, index);
  }
  // Undo inverts the permutation by indexing with its entries: only a true
  // permutation of the range's rows is safe to keep.
  for (size_t k = 0; k < count; ++k) {
    const uint32_t from = permutation[k];
    if (from < range.firstRow || from > range.lastRow || taken[from - range.firstRow]) {
      std::free(copy);
      std::free(taken);
      FailStep(book, index);
      book->error = kWorkbookInvalidCacheIndex;
      return false;
    }
    taken[from - range.firstRow] = 1;
    copy[k] = from;
  }
  std::free(taken);
  records_[index].sortRange = range;
  records_[index].permutation = copy;
  records_[index].storageKind = kUndoOwnsPermutation;
  return true;
}

bool UndoHistory::SnapshotLines(CWorkBook* book, uint8_t stepKind, const UndoRange& rect, bool withSnapshot) {
  const int32_t index = BeginStep(book, stepKind, rect);
  if (!ValidRange(rect) || !book->activeWorksheet)
    return FailStep(book, index);
  if ((withSnapshot && !SnapshotRange(book, book->activeWorksheet, rect, index, true, true)) ||
      !KeepRewrittenFormulas(book, book->activeWorksheet, index, withSnapshot)) {
    const uint8_t error = book->error;
    FailStep(book, index);
    book->error = error;
    return false;
  }
  return true;
}

bool UndoHistory::RecordRowsChange(CWorkBook* book, uint32_t firstRow, uint32_t lastRow) {
  return SnapshotLines(book, kUndoStepRowsChange, WholeRows(firstRow, lastRow), false);
}

bool UndoHistory::RecordRowsChangeWithSnapshot(CWorkBook* book, uint32_t firstRow, uint32_t lastRow) {
  return SnapshotLines(book, kUndoStepRowsChange, WholeRows(firstRow, lastRow), true);
}

bool UndoHistory::RecordColumnsChange(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn) {
  return SnapshotLines(book, kUndoStepColumnsChange, WholeColumns(firstColumn, lastColumn), false);
}

bool UndoHistory::RecordColumnsChangeWithSnapshot(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn) {
  return SnapshotLines(book, kUndoStepColumnsChange, WholeColumns(firstColumn, lastColumn), true);
}
