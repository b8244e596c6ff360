#include "core/workbook/item_names.h"

#include <cstring>

#include "core/formula/formula_chars.h"
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

void TrimTypedItemName(const char* typed, char (&out)[kTreeItemNameSize]) {
  const char* start = typed ? typed : "";
  while (IsFormulaBlank(*start)) ++start;
  size_t length = strnlen(start, kTreeItemNameSize - 1);
  while (length > 0 && IsFormulaBlank(start[length - 1])) --length;
  std::memcpy(out, start, length);
  out[length] = '\0';
}

uint8_t ItemPathsRefusal(const CTreeItem* item) {
  for (const CTreeItem* inside = item; inside && (inside == item || inside->depth > item->depth);
       inside = inside->next) {
    char path[kTreePathCapacity];
    if (!inside->GetFullPath(path, sizeof path) || std::strlen(path) > kLongestNameablePath)
      return kWorkbookPathTooLong;
    if (std::strchr(path, '"') && std::strchr(path, '\''))
      return kWorkbookPathUnwritable;
  }
  return kWorkbookNoError;
}

uint8_t ItemNameRefusal(CTreeItem* item, const char* name) {
  if (std::strchr(name, '\\'))
    return kWorkbookNameHoldsBackslash;
  if (FindSiblingNamed(item, name))
    return kWorkbookNameTaken;
  // The paths are those the item and its contents would have.
  char kept[kTreeItemNameSize];
  std::memcpy(kept, item->name, sizeof kept);
  item->SetName(name);
  const uint8_t refusal = ItemPathsRefusal(item);
  std::memcpy(item->name, kept, sizeof kept);
  return refusal;
}

bool IsItemNameRefusal(uint8_t code) {
  return code == kWorkbookNameTaken || code == kWorkbookNameHoldsBackslash || code == kWorkbookPathUnwritable ||
         code == kWorkbookPathTooLong || code == kWorkbookFormulaTooLong;
}

bool SettleLinkedItem(CWorkBook* book, CTreeItem* item) {
  UndoHistory::MakeUniqueName(item);
  const uint8_t refusal = ItemPathsRefusal(item);
  if (refusal == kWorkbookNoError)
    return true;
  book->RemoveItem(item);
  book->DeleteItems(item);
  book->error = refusal;
  return false;
}
