#include "core/workbook/item_names.h"

#include "core/workbook/workbook.h"

using CTreeItem = CWorkSheetTree::CTreeItem;

CTreeItem* FindSiblingNamed(const CTreeItem* item, const char* name) {
  // The folder's contents follow it; the top level's items are all the
  // list's items of depth 1.
  const CTreeItem* first = item->ParentFolder();
  if (first) {
    first = first->next;
  } else {
    first = item;
    while (first->previous) first = first->previous;
  }
  for (const CTreeItem* sibling = first; sibling && sibling->depth >= item->depth; sibling = sibling->next)
    if (sibling != item && sibling->depth == item->depth && TreePathsEqual(sibling->name, name))
      return const_cast<CTreeItem*>(sibling);
  return nullptr;
}

uint8_t ItemNameRefusal(CTreeItem* item, const char* name) {
  return FindSiblingNamed(item, name) ? kWorkbookNameTaken : kWorkbookNoError;
}

bool IsItemNameRefusal(uint8_t code) { return code == kWorkbookNameTaken; }
