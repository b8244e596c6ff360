#include "automation/tree/tree_interface.h"

#include "core/edit/tree_references.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// The item at the index, and its true place in the list (an index below 0
// names the first item, at 0).
const CTreeItem* Lookup(const CWorkBook& book, int32_t index, int32_t* at) {
  const CTreeItem* item = book.ItemByIndex(index);
  if (item != nullptr) *at = index < 0 ? 0 : index;
  return item;
}

}  // namespace

TreeAnswer FirstChildIndex(const CWorkBook& book, int32_t index, int32_t* child) {
  int32_t at = 0;
  const CTreeItem* item = Lookup(book, index, &at);
  if (item == nullptr) return kTreeNoItem;
  *child = item->next != nullptr && item->next->depth > item->depth ? at + 1 : -1;
  return kTreeDone;
}

TreeAnswer NextSiblingIndex(const CWorkBook& book, int32_t index, int32_t* next) {
  int32_t at = 0;
  const CTreeItem* item = Lookup(book, index, &at);
  if (item == nullptr) return kTreeNoItem;
  *next = -1;
  int32_t k = at + 1;
  for (const CTreeItem* p = item->next; p != nullptr && p->depth >= item->depth; p = p->next, ++k) {
    if (p->depth == item->depth) {
      *next = k;
      break;
    }
  }
  return kTreeDone;
}

TreeAnswer PreviousSiblingIndex(const CWorkBook& book, int32_t index, int32_t* previous) {
  int32_t at = 0;
  const CTreeItem* item = Lookup(book, index, &at);
  if (item == nullptr) return kTreeNoItem;
  *previous = -1;
  int32_t k = at - 1;
  for (const CTreeItem* p = item->previous; p != nullptr && p->depth >= item->depth; p = p->previous, --k) {
    if (p->depth == item->depth) {
      *previous = k;
      break;
    }
  }
  return kTreeDone;
}

TreeAnswer InsertTreeItem(CWorkBook& book, int32_t insertAt, int type, const char* name, int32_t* index) {
  CTreeItem* target = nullptr;
  if (insertAt != -1 && book.firstItem != nullptr) {
    target = book.ItemByIndex(insertAt);
    if (target == nullptr) return kTreeNoItem;
  }
  if (type != kTreeItemWorksheet && type != kTreeItemFolder) return kTreeBadType;
  CTreeItem* item = type == kTreeItemWorksheet ? NewWorksheet(name, 1) : NewFolderItem(name, 1);
  if (item == nullptr) return kTreeOutOfMemory;
  book.InsertItems(item, target);
  if (book.activeWorksheet == nullptr && item->IsWorksheet()) {
    book.activeWorksheet = CWorkSheet::FromItem(item);
    book.evaluator.sheet = &book.activeWorksheet->cells;
  }
  *index = book.IndexOfItem(item);
  return kTreeDone;
}

TreeAnswer DeleteTreeItem(CWorkBook& book, int32_t index) {
  CTreeItem* item = book.ItemByIndex(index);
  if (item == nullptr) return kTreeNoItem;
  if (!book.RemoveItem(item)) return kTreeRefused;
  book.DeleteItems(item);
  return kTreeDone;
}

TreeAnswer RenameTreeItem(CWorkBook& book, int32_t index, const char* name) {
  CTreeItem* item = book.ItemByIndex(index);
  if (item == nullptr) return kTreeNoItem;
  char trimmed[kTreeItemNameSize];
  TrimTypedItemName(name, trimmed);
  if (trimmed[0] == '\0') return kTreeNoName;
  if (const uint8_t refusal = ItemNameRefusal(item, trimmed)) {
    book.error = refusal;
    return kTreeRefused;
  }
  if (RenameItemKeepingReferences(&book, item, trimmed)) return kTreeDone;
  return book.error == kWorkbookOutOfMemory ? kTreeOutOfMemory : kTreeRefused;
}

TreeAnswer ActivateWorksheetAtPath(CWorkBook& book, const char* path) {
  CWorkSheet* sheet = CWorkSheet::FromItem(book.FindItemByPath(path));
  if (sheet == nullptr) return kTreeNoItem;
  book.activeWorksheet = sheet;
  book.evaluator.sheet = &sheet->cells;
  return kTreeDone;
}

int32_t CountTreeItems(const CWorkBook& book) {
  int32_t count = 0;
  for (const CTreeItem* item = book.firstItem; item != nullptr; item = item->next) ++count;
  return count;
}
