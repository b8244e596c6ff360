#ifndef TALVERO_APP_CLIPBOARD_RING_PASTE_H
#define TALVERO_APP_CLIPBOARD_RING_PASTE_H

// Pasting into a workbook: a ring entry of cells (with or without its
// formats), a block read from text, a container or a tree item with its
// contents. Every paste of cells is one undo step and either completes or,
// when memory runs out, leaves the worksheet, its styles and the history
// as they were.

#include <cstdint>

#include "app/clipboard/pasted_text.h"
#include "core/workbook/undo_history.h"

class CWorkBook;
class ContainerRecord;
struct TextMeasurer;

// The rectangle a block of the given extent fills from a selection: a
// selection of one cell grows by the block's spans (stopping at the grid's
// edge), any other is filled exactly.
UndoRange PasteTarget(const UndoRange& selection, uint32_t columnSpan, uint32_t rowSpan);

// The cells (and, unless withoutFormats, the formats) of a ring entry of
// cells tiled over the target grown from the selection, into the active
// worksheet; the heights of the target's rows refitted. *target receives the
// rectangle filled. False with the workbook's error (kWorkbookOutOfMemory,
// kWorkbookTooManyStyles, kWorkbookInvalidCacheIndex for a slot that holds
// no cells).
bool PasteRingRange(UndoHistory& ring, int32_t slot, CWorkBook* book, const TextMeasurer& measurer,
                    const UndoRange& selection, bool withoutFormats, UndoRange* target);

// A block read from text tiled over the target grown from the selection;
// the target's cells where the block has none keep what they hold. Cells
// only. The same results as PasteRingRange.
bool PasteTextBlock(const PastedBlock& block, CWorkBook* book, const TextMeasurer& measurer,
                    const UndoRange& selection, UndoRange* target);

// A copy of a ring entry's tree item with its contents, linked into the
// workbook at target (into a folder at the end of its contents, before a
// worksheet, at the end of the list without one), renamed where a sibling
// bears its name (UndoHistory::MakeUniqueName). Not recorded yet: the
// caller records the insertion once the tree shows it. Null with the
// workbook's error, also when a path of the copy could not be named by a
// formula (ItemPathsRefusal).
CWorkSheetTree::CTreeItem* PasteRingItems(UndoHistory& ring, int32_t slot, CWorkBook* book,
                                          CWorkSheetTree::CTreeItem* target);

// A copy of a ring entry's container, with an id free in the workbook,
// anchored at the cell (column, row) of the active worksheet, as its last
// container; its addition recorded. Null with the workbook's error.
ContainerRecord* PasteRingContainer(UndoHistory& ring, int32_t slot, CWorkBook* book, uint16_t column,
                                    uint32_t row);

#endif
