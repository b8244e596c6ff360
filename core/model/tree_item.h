#ifndef TALVERO_CORE_TREE_ITEM_H
#define TALVERO_CORE_TREE_ITEM_H

// An item of a workbook's worksheet tree. The tree is one flat, doubly linked
// list in preorder: a folder is followed by the items it contains, each one
// level deeper. Parents, contents and paths all follow from the order and the
// depths, so an item holds no child pointers.

#include <cstddef>
#include <cstdint>

class CellStore;

enum TreeItemKind : uint8_t {
  kTreeItemWorksheet = 1,
  kTreeItemFolder = 2,
};

constexpr size_t kTreeItemNameSize = 128;  // NUL-terminated, at most 127 characters
// Full paths stay below this many characters.
constexpr size_t kTreePathCapacity = 256;

// Every tree item comes through this gate first; tests replace it to make an
// allocation fail. Null restores the default, which allows every allocation.
using TreeItemAllocationGate = bool (*)(size_t bytes);
void SetTreeItemAllocationGateForTesting(TreeItemAllocationGate gate);
bool TreeItemAllocationAllowed(size_t bytes);

struct CWorkSheetTree {
  class CTreeItem;
};

class CWorkSheetTree::CTreeItem {
 public:
  // The name is cut to 127 characters; a null name is empty. Not linked.
  CTreeItem(const char* itemName, uint16_t itemDepth, uint8_t itemKind, uint8_t itemFlag);
  // Items are destroyed through this, whatever they are; a worksheet also
  // releases its stores and containers.
  virtual ~CTreeItem();
  CTreeItem(const CTreeItem&) = delete;
  CTreeItem& operator=(const CTreeItem&) = delete;

  bool IsWorksheet() const { return kind == kTreeItemWorksheet; }
  bool IsFolder() const { return kind == kTreeItemFolder; }

  // Replaces the name, cut to 127 characters as in the constructor.
  void SetName(const char* itemName);

  // The nearest folder before this item with a smaller depth; null at the top level.
  CTreeItem* ParentFolder() const;

  // The item's path: a backslash, then the enclosing folders' names and the
  // item's own name joined by backslashes ("\Sales\2009\Q1"). Without the
  // item itself the path ends with a backslash ("\Sales\2009\"). False, with
  // an empty output when there is room for one, when the path would reach
  // kTreePathCapacity characters or not fit the capacity (NUL included).
  bool GetFullPath(char* out, size_t capacity, bool withoutSelf = false) const;

  char name[kTreeItemNameSize];
  uint8_t kind;     // TreeItemKind
  uint16_t depth;   // 1 at the top level
  // A folder's expanded state in the tree pane; kept with the item and
  // stored with it in files.
  uint8_t flag;
  CellStore* cellStore = nullptr;  // a worksheet's own store; null for a folder
  CTreeItem* previous = nullptr;
  CTreeItem* next = nullptr;
};

// A new folder item, or null when out of memory.
CWorkSheetTree::CTreeItem* NewFolderItem(const char* name, uint16_t depth, uint8_t flag = 0);

// Paths compare character by character in upper case, as the ANSI code page
// converts them.
bool TreePathsEqual(const char* a, const char* b);

#endif
