#ifndef TALVERO_APP_TREE_TREE_EDITS_H
#define TALVERO_APP_TREE_TREE_EDITS_H

// What the worksheet tree pane does to the workbook's items: new folders and
// worksheets, removal, and the drop of a dragged item. The pane shows each
// change and then records it, so that a change the pane cannot show is
// taken back without a trace in the history.

#include <cstddef>
#include <cstdint>

#include "core/model/tree_item.h"
#include "core/workbook/kept_formula_texts.h"

class CWorkBook;

constexpr size_t kNewItemNameSize = 32;

// "Folder<n>" or "Worksheet<n>".
void NewTreeItemName(bool folder, uint32_t number, char* out, size_t size);

// A new folder or worksheet linked at the end of the selected folder's
// contents (a selected worksheet stands for its folder; none, or a
// worksheet at the top level: the end of the list at depth 1), named with
// the workbook's folder (or worksheet) count + 1, or the next number its new
// folder holds no item of. Null with kWorkbookOutOfMemory, or with the
// refusal of ItemPathsRefusal when its path could not be named by a formula.
CWorkSheetTree::CTreeItem* LinkNewTreeItem(CWorkBook* book, bool folder, CWorkSheetTree::CTreeItem* selected);

// Unlinks the item with its contents and records the removal; false with
// nothing changed: error 9 when no worksheet would remain, else the
// recorder's error.
bool RemoveTreeItem(CWorkBook* book, CWorkSheetTree::CTreeItem* item);

// A dragged item dropped on another item: moved there with its contents
// (into a folder at the end of its contents, before a worksheet at its
// depth), or, dropped among its own contents, a copy of it linked there.
// Where the folder already holds the name, the moved item or the copy takes
// another (UndoHistory::MakeUniqueName).
struct TreeDrop {
  CWorkSheetTree::CTreeItem* item;  // the moved item or the copy
  bool copied;
  int32_t fromIndex;  // where a moved item stood, how deep and its name
  uint16_t fromDepth;
  char fromName[kTreeItemNameSize];
  // The formulas the move rewrote, owned until the drop is recorded or
  // taken back.
  KeptFormulaTexts* kept;
};

// Links the drop without recording it; a null target is the tree's root,
// which takes the item at the end of the list at depth 1. The target must
// not be the dragged item. False, with nothing changed, when the copy
// failed or a path of the dropped items could not be named by a formula
// (the workbook's error set).
bool DropTreeItem(CWorkBook* book, CWorkSheetTree::CTreeItem* dragged, CWorkSheetTree::CTreeItem* target,
                  TreeDrop* drop);
// One undo step for the drop, once the pane shows it; it takes the kept texts.
bool RecordTreeDrop(CWorkBook* book, TreeDrop* drop);
// Takes back a drop the pane could not show: a copy goes, a moved item
// returns with its name and the formulas their texts.
void RevertTreeDrop(CWorkBook* book, TreeDrop* drop);

#endif
