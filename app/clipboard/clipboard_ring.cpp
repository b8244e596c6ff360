#include "app/clipboard/clipboard_ring.h"

#include "core/workbook/workbook.h"

UndoHistory& ClipboardRing() {
  static UndoHistory ring;
  return ring;
}

bool CopyRangeToRing(UndoHistory& ring, CWorkBook* book, const UndoRange& range) {
  return ring.RecordCellsAndStyles(book, range, true, true);
}

bool CopyItemsToRing(UndoHistory& ring, CWorkBook* book, CWorkSheetTree::CTreeItem* item) {
  const int32_t index = book->IndexOfItem(item);
  if (index < 0) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  CWorkSheetTree::CTreeItem* copy = book->CopyTreeItems(item);
  if (copy == nullptr) return false;
  // The ring keeps the copy as a removal step keeps a removed chain: its
  // styles move into the ring's own table.
  if (!ring.RecordItemRemoved(book, copy, index)) {
    book->DeleteItems(copy);
    return false;
  }
  // The entry is named by the item, not by the active worksheet.
  UndoRecord& entry = ring.Record(ring.Current());
  if (!item->GetFullPath(entry.sheetPath, sizeof entry.sheetPath)) entry.sheetPath[0] = '\0';
  return true;
}

bool CopyContainerToRing(UndoHistory& ring, CWorkBook* book, ContainerRecord* container) {
  return ring.RecordContainerRemoved(book, container != nullptr ? container->Clone() : nullptr);
}
