// Applying an undo step. Each step swaps the saved state with the present
// one, so the same step undoes and redoes.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "core/edit/reference_adjust.h"
#include "core/edit/sheet_backup.h"
#include "core/edit/tree_references.h"
#include "core/workbook/item_names.h"
#include "core/workbook/undo_history.h"
#include "core/workbook/workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

bool Fail(CWorkBook* book, uint8_t error) {
  book->error = error;
  return false;
}

// The item at a position of the list, or null past its end.
CTreeItem* ItemAt(const CWorkBook* book, int32_t index) {
  if (index < 0)
    return nullptr;
  CTreeItem* item = book->ItemByIndex(index);
  return item && book->IndexOfItem(item) == index ? item : nullptr;
}

CWorkSheet* ActivateStepSheet(CWorkBook* book, const UndoRecord& step) {
  CWorkSheet* sheet = CWorkSheet::FromItem(ItemAt(book, step.sheetIndex));
  if (sheet) {
    book->activeWorksheet = sheet;
    book->evaluator.sheet = &sheet->cells;
  }
  return sheet;
}

ContainerRecord* ContainerOnSheet(CWorkSheet* sheet, uint16_t id) {
  for (ContainerRecord* container = sheet->containers; container; container = container->next)
    if (container->header.id == id)
      return container;
  return nullptr;
}

// Puts replacement where present stands in the list; present is unlinked.
void ReplaceContainer(CWorkSheet* sheet, ContainerRecord* present, ContainerRecord* replacement) {
  replacement->previous = present->previous;
  replacement->next = present->next;
  if (present->previous)
    present->previous->next = replacement;
  else
    sheet->containers = replacement;
  if (present->next)
    present->next->previous = replacement;
  present->previous = present->next = nullptr;
}

UndoRange SnapshotRect(const UndoRecord& step) {
  return {step.snapshotFirst.column, step.snapshotFirst.row, step.snapshotLast.column, step.snapshotLast.row};
}

bool UndoCells(CWorkBook* book, CWorkSheet* sheet, int32_t index) {
  UndoHistory& history = book->undoHistory;
  UndoRecord& step = history.Record(index);
  if (!history.SaveCellValue(book, sheet, step.valueColumn, step.valueRow, kUndoScratchRecord) ||
      !history.RestoreCells(book, sheet, index)) {
    history.Free(kUndoScratchRecord);
    std::memset(&history.Record(kUndoScratchRecord), 0, sizeof(UndoRecord));
    return false;
  }
  history.Free(index);
  history.MoveScratchInto(index);
  return true;
}

bool UndoCellsAndStyles(CWorkBook* book, CWorkSheet* sheet, int32_t index) {
  UndoHistory& history = book->undoHistory;
  UndoRecord& step = history.Record(index);
  const bool cells = step.storageKind == kUndoOwnsCells || step.storageKind == kUndoOwnsCellsAndFormats;
  const bool formats = step.storageKind == kUndoOwnsFormats || step.storageKind == kUndoOwnsCellsAndFormats;
  if (!cells && !formats)
    return Fail(book, kWorkbookInvalidCacheIndex);
  const UndoRange rect = SnapshotRect(step);
  if (!history.SnapshotRange(book, sheet, rect, kUndoScratchRecord, cells, formats))
    return false;
  if (!history.RestoreCellsAndStyles(book, sheet, rect, index, cells, formats)) {
    // What came back so far is put back as it was.
    const uint8_t error = book->error;
    history.RestoreCellsAndStyles(book, sheet, rect, kUndoScratchRecord, cells, formats);
    history.Free(kUndoScratchRecord);
    std::memset(&history.Record(kUndoScratchRecord), 0, sizeof(UndoRecord));
    return Fail(book, error);
  }
  history.Free(index);
  history.MoveScratchInto(index);
  return true;
}

bool UndoColumnWidths(CWorkBook* book, CWorkSheet* sheet, UndoRecord& step) {
  if (!step.snapshot)
    return Fail(book, kWorkbookInvalidCacheIndex);
  // Only the widths swap: the saved records' style indexes may predate a
  // compaction of the styles.
  for (uint32_t column = step.range.firstColumn; column <= step.range.lastColumn; ++column) {
    uint16_t& present = sheet->format.columns[column].widthWord;
    uint16_t& saved = step.snapshot->format.columns[column].widthWord;
    const uint16_t swap = present;
    present = saved;
    saved = swap;
  }
  return true;
}

bool UndoRowHeights(CWorkBook* book, CWorkSheet* sheet, UndoRecord& step) {
  if (!step.snapshot)
    return Fail(book, kWorkbookInvalidCacheIndex);
  RowTable& rows = sheet->format.rows;
  RowTable& saved = step.snapshot->format.rows;
  const uint32_t first = step.range.firstRow;
  const uint32_t last = step.range.lastRow;
  // The table grows before anything swaps, so a failure changes nothing.
  while (rows.Count() <= last)
    if (!rows.Append(0))
      return Fail(book, kWorkbookOutOfMemory);
  while (saved.Count() <= last - first)
    if (!saved.Append(0))
      return Fail(book, kWorkbookOutOfMemory);
  for (uint32_t row = first; row <= last; ++row) {
    uint16_t* present = rows.At(row);
    uint16_t* kept = saved.At(row - first);
    const uint16_t swap = *present;
    *present = *kept;
    *kept = swap;
  }
  return true;
}

bool UndoContainerAddedOrRemoved(CWorkBook* book, CWorkSheet* sheet, UndoRecord& step) {
  if (step.storageKind == kUndoOwnsContainer) {
    ContainerRecord* kept = step.container;
    if (!kept)
      return Fail(book, kWorkbookInvalidCacheIndex);
    if (kept->header.id == 0 || book->FindContainerById(kept->header.id))
      if (!book->AssignContainerId(kept))
        return Fail(book, kWorkbookTooManyContainers);
    sheet->AddContainer(kept);
    step.containerId = kept->header.id;
    step.container = nullptr;
    step.storageKind = kUndoOwnsNothing;
    return true;
  }
  ContainerRecord* present = ContainerOnSheet(sheet, step.containerId);
  if (!present)
    return Fail(book, kWorkbookInvalidCacheIndex);
  sheet->RemoveContainer(present);
  present->previous = present->next = nullptr;
  step.container = present;
  step.storageKind = kUndoOwnsContainer;
  return true;
}

bool UndoContainerChanged(CWorkBook* book, CWorkSheet* sheet, UndoRecord& step) {
  ContainerRecord* present = ContainerOnSheet(sheet, step.containerId);
  if (step.storageKind != kUndoOwnsContainer || !step.container || !present)
    return Fail(book, kWorkbookInvalidCacheIndex);
  ReplaceContainer(sheet, present, step.container);
  step.container = present;
  return true;
}

bool UndoTreeItem(CWorkBook* book, UndoRecord& step) {
  UndoHistory& history = book->undoHistory;
  if (step.storageKind == kUndoOwnsItems) {
    CTreeItem* chain = step.items;
    if (!chain)
      return Fail(book, kWorkbookInvalidCacheIndex);
    if (!history.TransferStyles(chain, &history.PrivateStyles(), &book->styles))
      return Fail(book, kWorkbookTooManyStyles);
    book->InsertItemsAt(chain, step.itemIndex);
    // A sibling that took the name meanwhile keeps it; the item's new name
    // must leave its paths nameable by formulas, or it does not come back.
    char name[kTreeItemNameSize];
    std::memcpy(name, chain->name, sizeof name);
    if (UndoHistory::MakeUniqueName(chain)) {
      if (const uint8_t refusal = ItemPathsRefusal(chain)) {
        chain->SetName(name);
        book->RemoveItem(chain);
        history.TransferStyles(chain, &book->styles, &history.PrivateStyles());
        return Fail(book, refusal);
      }
    }
    step.items = nullptr;
    step.storageKind = kUndoOwnsNothing;
    return true;
  }
  CTreeItem* item = ItemAt(book, step.itemIndex);
  if (!item || !book->RemoveItem(item))
    return Fail(book, kWorkbookInvalidCacheIndex);
  history.PrepareStyles();
  if (!history.TransferStyles(item, &book->styles, &history.PrivateStyles())) {
    book->InsertItemsAt(item, step.itemIndex);
    return Fail(book, kWorkbookTooManyStyles);
  }
  step.items = item;
  step.storageKind = kUndoOwnsItems;
  return true;
}

bool UndoRename(CWorkBook* book, UndoRecord& step) {
  CTreeItem* item = ItemAt(book, step.itemIndex);
  if (!item || step.storageKind != kUndoOwnsValue || !step.text)
    return Fail(book, kWorkbookInvalidCacheIndex);
  char present[kTreeItemNameSize];
  std::memcpy(present, item->name, sizeof present);
  if (!PutItemBack(book, item, -1, 0, step.text, step.keptTexts))
    return false;
  std::memcpy(step.text, present, sizeof present);
  return true;
}

// The step swaps the item's two places, so the same step moves it back and forth.
bool UndoTreeItemMoved(CWorkBook* book, UndoRecord& step) {
  CTreeItem* item = ItemAt(book, step.itemIndex);
  if (!item)
    return Fail(book, kWorkbookInvalidCacheIndex);
  const int32_t present = step.itemIndex;
  const uint16_t presentDepth = item->depth;
  char presentName[kTreeItemNameSize];
  std::memcpy(presentName, item->name, sizeof presentName);
  const bool renamed = step.storageKind == kUndoOwnsValue && step.text;
  book->error = kWorkbookNoError;
  if (!PutItemBack(book, item, step.movedFromIndex, step.movedFromDepth, renamed ? step.text : nullptr,
                   step.keptTexts))
    return Fail(book, (book->error == kWorkbookOutOfMemory || IsItemNameRefusal(book->error))
                          ? book->error
                          : uint8_t{kWorkbookInvalidCacheIndex});
  if (renamed) std::memcpy(step.text, presentName, sizeof presentName);
  step.itemIndex = book->IndexOfItem(item);
  step.movedFromIndex = present;
  step.movedFromDepth = presentDepth;
  return true;
}

bool UndoSort(CWorkBook* book, CWorkSheet* sheet, UndoRecord& step) {
  if (step.storageKind != kUndoOwnsPermutation || !step.permutation)
    return Fail(book, kWorkbookInvalidCacheIndex);
  const UndoRange& range = step.sortRange;
  const uint32_t count = range.lastRow - range.firstRow + 1;
  uint32_t* inverse = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * count));
  if (!inverse)
    return Fail(book, kWorkbookOutOfMemory);
  for (uint32_t k = 0; k < count; ++k) inverse[step.permutation[k] - range.firstRow] = range.firstRow + k;
  if (!book->ReorderCellRows(&sheet->cells, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                             inverse)) {
    std::free(inverse);
    return false;
  }
  if (!book->ReorderStyleRows(&sheet->format, range.firstColumn, range.lastColumn, range.firstRow,
                              range.lastRow, inverse)) {
    // The cells go back to the order the step describes.
    book->ReorderCellRows(&sheet->cells, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                          step.permutation);
    std::free(inverse);
    return Fail(book, kWorkbookOutOfMemory);
  }
  std::free(step.permutation);
  step.permutation = inverse;
  return true;
}

// Undo of inserted or deleted lines takes several steps, each of which may
// run out of memory; the worksheet is kept aside first and put back whole on
// a failure, so that the worksheet and the step stay as they were and a
// retry cannot move the lines twice.
bool UndoLinesChange(CWorkBook* book, CWorkSheet* sheet, int32_t index) {
  UndoHistory& history = book->undoHistory;
  UndoRecord& step = history.Record(index);
  const bool rows = step.stepKind == kUndoStepRowsChange;
  const bool inserted = step.storageKind == kUndoOwnsNothing;
  const UndoRange rect = step.range;
  if (!inserted && step.storageKind != kUndoOwnsCellsAndFormats)
    return Fail(book, kWorkbookInvalidCacheIndex);
  std::unique_ptr<SheetBackup> backup(new (std::nothrow) SheetBackup);
  if (!backup || !backup->Take(sheet))
    return Fail(book, kWorkbookOutOfMemory);

  // The step's reversal rewrites formulas in its turn: those are kept, as
  // they stand before it, for the step's next application.
  UndoRecord& scratch = history.Record(kUndoScratchRecord);
  scratch.stepKind = step.stepKind;
  scratch.range = rect;
  bool done = history.KeepRewrittenFormulas(book, sheet, kUndoScratchRecord, inserted);
  if (inserted) {
    // The step stands for inserted lines: they go, and their contents are kept.
    done = done && history.SnapshotRange(book, sheet, rect, kUndoScratchRecord, true, true) &&
           (rows ? book->DeleteRows(sheet, rect.firstRow, rect.lastRow)
                 : book->DeleteColumns(sheet, rect.firstColumn, rect.lastColumn));
  } else {
    done = done &&
           (rows ? book->InsertRows(sheet, rect.firstRow, rect.lastRow)
                 : book->InsertColumns(sheet, rect.firstColumn, rect.lastColumn)) &&
           history.RestoreCellsAndStyles(book, sheet, rect, index, true, true);
  }
  // The formulas the step's own edit rewrote get back their texts of before
  // it, at their places of then, which the reversal has restored.
  uint8_t failure = kAdjustNoFailure;
  done = done && (!step.rewrittenFormulas || RestoreFormulaTexts(&sheet->cells, *step.rewrittenFormulas, &failure) ||
                  Fail(book, kWorkbookOutOfMemory));
  if (!done) {
    const uint8_t error = book->error;
    history.Free(kUndoScratchRecord);
    std::memset(&history.Record(kUndoScratchRecord), 0, sizeof(UndoRecord));
    backup->PutBack(sheet);
    // Styles a failed restore registered are used by nothing now.
    book->CompactStyles();
    return Fail(book, error);
  }
  if (!inserted) {
    // The snapshot is spent; the step now stands for inserted lines.
    history.Free(index);
    scratch.storageKind = kUndoOwnsNothing;
  }
  history.MoveScratchInto(index);
  return true;
}

}  // namespace

bool CWorkSheet::Undo(CWorkBook* workbook, int32_t index) {
  if (index < 0 || index >= kUndoScratchRecord)
    return Fail(workbook, kWorkbookInvalidCacheIndex);
  UndoRecord& step = workbook->undoHistory.Record(index);
  const uint8_t kind = step.stepKind;
  if (kind < kUndoStepCells || kind > kUndoStepTreeItemMoved)
    return true;
  if (kind == kUndoStepTreeItem)
    return UndoTreeItem(workbook, step);
  if (kind == kUndoStepTreeItemMoved)
    return UndoTreeItemMoved(workbook, step);
  if (kind == kUndoStepRename)
    return UndoRename(workbook, step);
  CWorkSheet* sheet = ActivateStepSheet(workbook, step);
  if (!sheet)
    return Fail(workbook, kWorkbookInvalidCacheIndex);
  switch (kind) {
    case kUndoStepCells:
      return UndoCells(workbook, sheet, index);
    case kUndoStepCellsAndStyles:
      return UndoCellsAndStyles(workbook, sheet, index);
    case kUndoStepColumns:
      return UndoColumnWidths(workbook, sheet, step);
    case kUndoStepRows:
      return UndoRowHeights(workbook, sheet, step);
    case kUndoStepContainerAddedOrRemoved:
      return UndoContainerAddedOrRemoved(workbook, sheet, step);
    case kUndoStepContainerChanged:
      return UndoContainerChanged(workbook, sheet, step);
    case kUndoStepSort:
      return UndoSort(workbook, sheet, step);
    default:
      return UndoLinesChange(workbook, sheet, index);
  }
}

bool CWorkBook::UndoStep() {
  if (!undoHistory.CanUndo())
    return false;
  const int32_t index = undoHistory.Current();
  if (!CWorkSheet::Undo(this, index))
    return false;
  undoHistory.SetCurrent(index - 1);
  return true;
}

bool CWorkBook::RedoStep() {
  if (!undoHistory.CanRedo())
    return false;
  const int32_t index = undoHistory.Current() + 1;
  if (!CWorkSheet::Undo(this, index))
    return false;
  undoHistory.SetCurrent(index);
  return true;
}

bool CWorkBook::RenameItem(CTreeItem* item, const char* newName) {
  if (const uint8_t refusal = ItemNameRefusal(item, newName)) {
    error = refusal;
    return false;
  }
  if (!undoHistory.RecordRename(this, item))
    return false;
  KeptFormulaTexts* kept = nullptr;
  if (!RenameItemKeepingReferences(this, item, newName, &kept)) {
    undoHistory.DropLast(true);
    return false;
  }
  undoHistory.Record(undoHistory.Current()).keptTexts = kept;
  return true;
}
