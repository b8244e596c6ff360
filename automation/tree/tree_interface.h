#ifndef TALVERO_AUTOMATION_TREE_TREE_INTERFACE_H
#define TALVERO_AUTOMATION_TREE_TREE_INTERFACE_H

// The rules of the workbook's tree interface as plain code: items addressed
// by their place in the flat, preorder list of the tree, from 0, an index
// below 1 meaning the first item. Every member that takes an index answers
// kTreeNoItem when the list is empty or the index lies past its end.

#include <cstdint>

class CWorkBook;

enum TreeAnswer : uint8_t {
  kTreeDone = 0,
  kTreeNoItem = 1,       // no item at the index
  kTreeBadType = 2,      // neither a worksheet nor a folder
  kTreeOutOfMemory = 3,  // the new item cannot be made
  kTreeRefused = 4,      // the workbook refused, its code in its error
  kTreeNoName = 5,       // a name of blanks alone
};

// The item's first content item, -1 when it holds none.
TreeAnswer FirstChildIndex(const CWorkBook& book, int32_t index, int32_t* child);
// The next item of the same depth inside the same folder, -1 when there is
// none.
TreeAnswer NextSiblingIndex(const CWorkBook& book, int32_t index, int32_t* next);
// The previous item of the same depth inside the same folder, -1 when there
// is none.
TreeAnswer PreviousSiblingIndex(const CWorkBook& book, int32_t index, int32_t* previous);

// A new worksheet (type 1) or folder (type 2) named name. insertAt -1, or
// any index in an empty workbook, puts it at the end of the list at the top
// level; a folder's index puts it at the end of the folder's contents; a
// worksheet's index just before that worksheet, at its depth. A worksheet
// inserted into a workbook without an active worksheet becomes active. Its
// index goes to *index.
TreeAnswer InsertTreeItem(CWorkBook& book, int32_t insertAt, int type, const char* name, int32_t* index);
// Removes the item with its contents and destroys them; kTreeRefused when
// no worksheet would remain.
TreeAnswer DeleteTreeItem(CWorkBook& book, int32_t index);
// Renames the item as the tree pane does, without an undo step: the blanks
// around the name are cut, as a formula reading it would cut them, and
// every formula naming the item (or its contents) goes on naming it.
// kTreeNoName for blanks alone; kTreeRefused, nothing changed, for a name
// the item may not bear (a sibling's in any letter case, a backslash, a path
// a formula could not write) or one the formulas naming it could not be
// rewritten to.
TreeAnswer RenameTreeItem(CWorkBook& book, int32_t index, const char* name);
// Makes the worksheet at the path active; kTreeNoItem for an unknown path
// or a folder's.
TreeAnswer ActivateWorksheetAtPath(CWorkBook& book, const char* path);
// The number of items of the list.
int32_t CountTreeItems(const CWorkBook& book);

#endif
