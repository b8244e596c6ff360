#ifndef TALVERO_APP_TREE_TREE_PLACEMENT_H
#define TALVERO_APP_TREE_TREE_PLACEMENT_H

// Where the items of the workbook's flat preorder list stand in the tree
// pane: under which folder (none: the root "Workbook") and after which
// sibling.

#include <cstdint>

#include "core/model/tree_item.h"

struct TreePlacement {
  // The nearest preceding folder of smaller depth; null: the root.
  CWorkSheetTree::CTreeItem* parent;
  // The nearest preceding item of the same depth, looking back until an
  // item of smaller depth is met; null: first under the parent.
  CWorkSheetTree::CTreeItem* after;
};

// The place of one item of a linked list, as the pane inserts a single item.
TreePlacement PlaceTreeItem(const CWorkSheetTree::CTreeItem* item);

// The folders open while the list is walked in order, each with the pane's
// handle of it, so that filling the whole tree finds every parent at once,
// however deep the folders nest.
class TreeFolderStack {
 public:
  TreeFolderStack() = default;
  ~TreeFolderStack();
  TreeFolderStack(const TreeFolderStack&) = delete;
  TreeFolderStack& operator=(const TreeFolderStack&) = delete;

  // The handle of the parent of the next item, of the given depth: the
  // folders as deep or deeper are closed first. Null: the root.
  void* ParentOf(uint16_t depth);
  // The folder just placed holds the items that follow it more deeply.
  // False when memory runs out.
  bool OpenFolder(uint16_t depth, void* handle);

 private:
  struct OpenFolderEntry {
    uint16_t depth;
    void* handle;
  };
  OpenFolderEntry* entries_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};

#endif
