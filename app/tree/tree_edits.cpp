#include "app/tree/tree_edits.h"

#include <cstdio>

#include "core/edit/tree_references.h"
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

void NewTreeItemName(const CWorkBook& book, bool folder, char* out, size_t size) {
  std::snprintf(out, size, folder ? "Folder%u" : "Worksheet%u",
                static_cast<unsigned>((folder ? book.folderCount : book.worksheetCount) + 1));
}

CTreeItem* LinkNewTreeItem(CWorkBook* book, bool folder, CTreeItem* selected) {
  char name[kNewItemNameSize];
  NewTreeItemName(*book, folder, name, sizeof name);
  CTreeItem* item = folder ? NewFolderItem(name, 1) : NewWorksheet(name, 1);
  if (item == nullptr) {
    book->error = kWorkbookOutOfMemory;
    return nullptr;
  }
  CTreeItem* target = selected != nullptr && selected->IsWorksheet() ? selected->ParentFolder() : selected;
  book->InsertItems(item, target);
  return item;
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
  *drop = TreeDrop{nullptr, false, -1, 0, nullptr};
  if (dragged == nullptr || target == dragged) {
    book->error = kWorkbookInvalidCacheIndex;
    return false;
  }
  if (target != nullptr && Contains(dragged, target)) {
    CTreeItem* copy = book->CopyTreeItems(dragged);
    if (copy == nullptr) return false;
    book->InsertItems(copy, target);
    *drop = TreeDrop{copy, true, -1, 0, nullptr};
    return true;
  }
  const int32_t from = book->IndexOfItem(dragged);
  const uint16_t depth = dragged->depth;
  KeptFormulaTexts* kept = nullptr;
  if (!MoveItemsKeepingReferences(book, dragged, target, &kept)) return false;
  *drop = TreeDrop{dragged, false, from, depth, kept};
  return true;
}

bool RecordTreeDrop(CWorkBook* book, TreeDrop* drop) {
  if (drop->copied) return book->undoHistory.RecordItemInserted(book, book->IndexOfItem(drop->item));
  KeptFormulaTexts* kept = drop->kept;
  drop->kept = nullptr;
  return book->undoHistory.RecordItemMoved(book, drop->item, drop->fromIndex, drop->fromDepth, kept);
}

void RevertTreeDrop(CWorkBook* book, TreeDrop* drop) {
  if (!drop->copied) {
    PutItemBack(book, drop->item, drop->fromIndex, drop->fromDepth, nullptr, drop->kept);
    delete drop->kept;
    drop->kept = nullptr;
    return;
  }
  // A copy beside its original never holds the last worksheet.
  if (book->RemoveItem(drop->item)) book->DeleteItems(drop->item);
}
