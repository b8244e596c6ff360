#include "app/clipboard/ring_paste.h"

#include <cstring>
#include <memory>
#include <new>

#include "core/edit/sheet_backup.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

bool Fail(CWorkBook* book, uint8_t error) {
  book->error = error;
  return false;
}

// Records the target, then tiles the block over it with paste(). The
// worksheet is kept aside first, so that a paste that runs out of memory half
// done puts it back whole and drops its step.
template <class Paste>
bool PasteWithUndo(CWorkBook* book, const TextMeasurer& measurer, const UndoRange& target, bool formats,
                   Paste paste) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (sheet == nullptr) return Fail(book, kWorkbookInvalidCacheIndex);
  if (!book->undoHistory.RecordCellsAndStyles(book, target, true, formats)) return false;
  std::unique_ptr<SheetBackup> backup(new (std::nothrow) SheetBackup);
  if (!backup || !backup->Take(sheet)) {
    book->undoHistory.DropLast(true);
    return Fail(book, kWorkbookOutOfMemory);
  }
  if (!paste(sheet)) {
    const uint8_t error = book->error;
    backup->PutBack(sheet);
    // Styles that a failed paste registered are used by nothing now.
    if (formats) book->CompactStyles();
    book->undoHistory.DropLast(true);
    return Fail(book, error);
  }
  backup.reset();
  // Heights only follow what the cells show: a row table that cannot grow
  // keeps the old heights and the paste stands.
  CWorkSheet::AutoRowHeights(book, measurer, sheet, target.firstRow, target.lastRow);
  return true;
}

}  // namespace

UndoRange PasteTarget(const UndoRange& selection, uint32_t columnSpan, uint32_t rowSpan) {
  UndoRange target = selection;
  if (selection.firstColumn != selection.lastColumn || selection.firstRow != selection.lastRow) return target;
  const uint32_t lastColumn = uint32_t(selection.firstColumn) + columnSpan;
  const uint64_t lastRow = uint64_t(selection.firstRow) + rowSpan;
  target.lastColumn = uint16_t(lastColumn > kMaxColumn ? kMaxColumn : lastColumn);
  target.lastRow = uint32_t(lastRow > kMaxRow ? kMaxRow : lastRow);
  return target;
}

bool PasteRingRange(UndoHistory& ring, int32_t slot, CWorkBook* book, const TextMeasurer& measurer,
                    const UndoRange& selection, bool withoutFormats, UndoRange* target) {
  if (slot < 0 || slot >= kUndoScratchRecord) return Fail(book, kWorkbookInvalidCacheIndex);
  const UndoRecord& entry = ring.Record(slot);
  const uint8_t kind = entry.storageKind;
  if (entry.snapshot == nullptr || kind < kUndoOwnsCells || kind > kUndoOwnsCellsAndFormats)
    return Fail(book, kWorkbookInvalidCacheIndex);
  const bool formats = !withoutFormats && kind != kUndoOwnsCells;
  *target = PasteTarget(selection, entry.snapshotLast.column - entry.snapshotFirst.column,
                        entry.snapshotLast.row - entry.snapshotFirst.row);
  const UndoRange to = *target;
  return PasteWithUndo(book, measurer, to, formats, [&](CWorkSheet* sheet) {
    return ring.RestoreCellsAndStyles(book, sheet, to, slot, true, formats);
  });
}

bool PasteTextBlock(const PastedBlock& block, CWorkBook* book, const TextMeasurer& measurer,
                    const UndoRange& selection, UndoRange* target) {
  *target = PasteTarget(selection, block.lastColumn, block.lastRow);
  const UndoRange to = *target;
  return PasteWithUndo(book, measurer, to, false, [&](CWorkSheet* sheet) {
    if (sheet->cells.TileRangeFromStore(to.firstColumn, to.lastColumn, to.firstRow, to.lastRow, 0,
                                        block.lastColumn, 0, block.lastRow, block.cells))
      return true;
    return Fail(book, kWorkbookOutOfMemory);
  });
}

CTreeItem* PasteRingItems(UndoHistory& ring, int32_t slot, CWorkBook* book, CTreeItem* target) {
  if (slot < 0 || slot >= kUndoScratchRecord || ring.Record(slot).storageKind != kUndoOwnsItems ||
      ring.Record(slot).items == nullptr) {
    book->error = kWorkbookInvalidCacheIndex;
    return nullptr;
  }
  // The copy's containers take ids free in this workbook; its styles are the
  // ring's until they move into this workbook's table.
  CTreeItem* copy = book->CopyTreeItems(ring.Record(slot).items);
  if (copy == nullptr) return nullptr;
  if (!ring.TransferStyles(copy, &ring.PrivateStyles(), &book->styles)) {
    book->DeleteItems(copy);
    book->error = kWorkbookTooManyStyles;
    return nullptr;
  }
  book->InsertItems(copy, target);
  return SettleLinkedItem(book, copy) ? copy : nullptr;
}

ContainerRecord* PasteRingContainer(UndoHistory& ring, int32_t slot, CWorkBook* book, uint16_t column,
                                    uint32_t row) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (slot < 0 || slot >= kUndoScratchRecord || ring.Record(slot).storageKind != kUndoOwnsContainer ||
      ring.Record(slot).container == nullptr || sheet == nullptr) {
    book->error = kWorkbookInvalidCacheIndex;
    return nullptr;
  }
  ContainerRecord* copy = ring.Record(slot).container->Clone();
  if (copy == nullptr) {
    book->error = kWorkbookOutOfMemory;
    return nullptr;
  }
  if (!book->AssignContainerId(copy)) {
    delete copy;
    return nullptr;
  }
  copy->header.anchor.column = column;
  copy->header.anchor.row = row;
  copy->selectedItem = -1;
  sheet->AddContainer(copy);
  book->undoHistory.RecordContainerAdded(book, copy->header.id);
  return copy;
}
