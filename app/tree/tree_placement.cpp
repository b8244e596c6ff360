#include "app/tree/tree_placement.h"

#include <cstdlib>

using CTreeItem = CWorkSheetTree::CTreeItem;

TreePlacement PlaceTreeItem(const CTreeItem* item) {
  TreePlacement place{item->ParentFolder(), nullptr};
  for (CTreeItem* before = item->previous; before != nullptr && before->depth >= item->depth;
       before = before->previous) {
    if (before->depth == item->depth) {
      place.after = before;
      break;
    }
  }
  return place;
}

TreeFolderStack::~TreeFolderStack() { std::free(entries_); }

void* TreeFolderStack::ParentOf(uint16_t depth) {
  while (count_ > 0 && entries_[count_ - 1].depth >= depth) --count_;
  return count_ > 0 ? entries_[count_ - 1].handle : nullptr;
}

bool TreeFolderStack::OpenFolder(uint16_t depth, void* handle) {
  if (count_ == capacity_) {
    const uint32_t capacity = capacity_ == 0 ? 16 : capacity_ * 2;
    auto* grown = static_cast<OpenFolderEntry*>(std::realloc(entries_, capacity * sizeof(OpenFolderEntry)));
    if (grown == nullptr) return false;
    entries_ = grown;
    capacity_ = capacity;
  }
  entries_[count_++] = OpenFolderEntry{depth, handle};
  return true;
}
