#ifndef TALVERO_APP_CLIPBOARD_CLIPBOARD_RING_H
#define TALVERO_APP_CLIPBOARD_CLIPBOARD_RING_H

// The ring of copied blocks that every document of the process shares: an
// undo history whose records are the copies, the current index the newest.
// An entry keeps its worksheet path and ranges but no link to the document
// it came from, so a block copied in one workbook pastes into another. Its
// levels come from the CopyLevel option; past the last level the oldest
// entry goes and the others move down. Slot kUndoScratchRecord is never an
// entry.
//
// The entries by storage kind: kUndoOwnsCellsAndFormats a cell range with
// its formats (with the source worksheet's path and position and the range),
// kUndoOwnsContainer a container, kUndoOwnsItems a tree item with its
// contents (with the item's path).

#include <cstdint>

#include "core/workbook/undo_history.h"

class CWorkBook;
class ContainerRecord;

// The ring, empty until the first copy; freed at exit.
UndoHistory& ClipboardRing();

// Each copy takes the ring's next slot. False with the workbook's error
// when it cannot be recorded; the newest entry is then the one that was
// newest before (the oldest may have gone to make room).
bool CopyRangeToRing(UndoHistory& ring, CWorkBook* book, const UndoRange& range);
bool CopyItemsToRing(UndoHistory& ring, CWorkBook* book, CWorkSheetTree::CTreeItem* item);
bool CopyContainerToRing(UndoHistory& ring, CWorkBook* book, ContainerRecord* container);

#endif
