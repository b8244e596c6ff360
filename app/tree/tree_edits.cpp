#include "app/tree/tree_edits.h"

#include <cstdio>
#include <cstring>

#include "core/edit/tree_references.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"

using CTreeItem = CWorkSheetTree::CTreeItem;

namespace {

bool Contains(const CTreeItem* item, const CTreeItem* wanted) {
  for (const CTreeItem* inside = item->next; inside != nullptr && inside->depth > item->depth;
       inside = inside->next)
    if (inside == wanted) return true;
  return false;
}

}  // namespace

void NewTreeItemName(bool folder, uint32_t number, char* out, size_t size) {
  std::snprintf(out, size, folder ? "Folder%u" : "Worksheet%u", static_cast<unsigned>(number));
}

CTreeItem* LinkNewTreeItem(CWorkBook* book, bool folder, CTreeItem* selected) {
  uint32_t number = (folder ? book->folderCount : book->worksheetCount) + 1;
  char name[kNewItemNameSize];
  NewTreeItemName(folder, number, name, sizeof name);
  CTreeItem* item = folder ? NewFolderItem(name, 1) : NewWorksheet(name, 1);
  if (item == nullptr) {
    book->error = kWorkbookOutOfMemory;
    return nullptr;
  }
  CTreeItem* target = selected != nullptr && selected->IsWorksheet() ? selected->ParentFolder() : selected;
  book->InsertItems(item, target);
  // Each item of the folder bears one number at most.
  const uint32_t items = book->folderCount + book->worksheetCount;
  for (uint32_t tries = 0; tries < items && FindSiblingNamed(item, item->name) != nullptr; ++tries) {
    NewTreeItemName(folder, ++number, name, sizeof name);
    item->SetName(name);
  }
  return SettleLinkedItem(book, item) ? item : nullptr;
}

bool RemoveTreeItem(CWorkBook* book, CTreeItem* item) {
  const int32_t index = book->IndexOfItem(item);
  if (index < 0) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  if (!book->RemoveItem(item)) return false;
  if (!book->undoHistory.RecordItemRemoved(book, item, index)) {
    book->InsertItemsAt(item, index);
    return false;
  }
  return true;
}

bool DropTreeItem(CWorkBook* book, CTreeItem* dragged, CTreeItem* target, TreeDrop* drop) {
  *drop = TreeDrop{nullptr, false, -1, 0, {}, nullptr};
  if (dragged == nullptr || target == dragged) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  if (target != nullptr && Contains(dragged, target)) {
    CTreeItem* copy = book->CopyTreeItems(dragged);
    if (copy == nullptr) return false;
    book->InsertItems(copy, target);
    if (!SettleLinkedItem(book, copy)) return false;
    drop->item = copy;
    drop->copied = true;
    return true;
  }
  const int32_t from = book->IndexOfItem(dragged);
  const uint16_t depth = dragged->depth;
  char name[kTreeItemNameSize];
  std::memcpy(name, dragged->name, sizeof name);
  KeptFormulaTexts* kept = nullptr;
  if (!MoveItemsKeepingReferences(book, dragged, target, &kept)) return false;
  drop->item = dragged;
  drop->fromIndex = from;
  drop->fromDepth = depth;
  std::memcpy(drop->fromName, name, sizeof name);
  drop->kept = kept;
  return true;
}

bool RecordTreeDrop(CWorkBook* book, TreeDrop* drop) {
  if (drop->copied) return book->undoHistory.RecordItemInserted(book, book->IndexOfItem(drop->item));
  const bool renamed = std::strcmp(drop->fromName, drop->item->name) != 0;
  KeptFormulaTexts* kept = drop->kept;
  drop->kept = nullptr;
  return book->undoHistory.RecordItemMoved(book, drop->item, drop->fromIndex, drop->fromDepth,
                                           renamed ? drop->fromName : nullptr, kept);
}

void RevertTreeDrop(CWorkBook* book, TreeDrop* drop) {
  if (!drop->copied) {
    PutItemBack(book, drop->item, drop->fromIndex, drop->fromDepth, drop->fromName, drop->kept);
    delete drop->kept;
    drop->kept = nullptr;
    return;
  }
  // A copy beside its original never holds the last worksheet.
  if (book->RemoveItem(drop->item)) book->DeleteItems(drop->item);
}
