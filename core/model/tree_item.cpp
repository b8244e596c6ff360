#include "core/model/tree_item.h"

#include <cstring>
#include <new>

#include "platform/os_services.h"

namespace {

TreeItemAllocationGate allocationGate = nullptr;

void CopyItemName(char* to, const char* from) {
  size_t length = 0;
  if (from)
    while (length < kTreeItemNameSize - 1 && from[length]) ++length;
  std::memcpy(to, from ? from : "", length);
  std::memset(to + length, 0, kTreeItemNameSize - length);
}

// Builds a path from its end towards its start, so that each parent found on
// the walk back is simply put in front.
class ReversePath {
 public:
  bool Prepend(const char* text, size_t length) {
    if (length > start_)
      return false;
    start_ -= length;
    std::memcpy(buffer_ + start_, text, length);
    return true;
  }
  bool Prepend(const char* text) { return Prepend(text, std::strlen(text)); }
  const char* Text() const { return buffer_ + start_; }
  size_t Length() const { return kLast - start_; }

 private:
  static constexpr size_t kLast = kTreePathCapacity - 1;
  char buffer_[kTreePathCapacity] = {};
  size_t start_ = kLast;  // buffer_[kLast] stays the terminating NUL
};

}  // namespace

void SetTreeItemAllocationGateForTesting(TreeItemAllocationGate gate) { allocationGate = gate; }

bool TreeItemAllocationAllowed(size_t bytes) { return !allocationGate || allocationGate(bytes); }

CWorkSheetTree::CTreeItem::CTreeItem(const char* itemName, uint16_t itemDepth, uint8_t itemKind, uint8_t itemFlag)
    : kind(itemKind), depth(itemDepth), flag(itemFlag) {
  CopyItemName(name, itemName);
}

CWorkSheetTree::CTreeItem::~CTreeItem() = default;

void CWorkSheetTree::CTreeItem::SetName(const char* itemName) { CopyItemName(name, itemName); }

CWorkSheetTree::CTreeItem* CWorkSheetTree::CTreeItem::ParentFolder() const {
  for (CTreeItem* item = previous; item; item = item->previous)
    if (item->IsFolder() && item->depth < depth)
      return item;
  return nullptr;
}

bool CWorkSheetTree::CTreeItem::GetFullPath(char* out, size_t capacity, bool withoutSelf) const {
  if (out && capacity > 0)
    out[0] = '\0';
  if (!out)
    return false;
  ReversePath path;
  if (!withoutSelf && !path.Prepend(name))
    return false;
  if (!path.Prepend("\\"))
    return false;
  uint16_t reached = depth;
  for (const CTreeItem* item = previous; item && reached >= 2; item = item->previous) {
    if (!item->IsFolder() || item->depth >= reached)
      continue;
    if (!path.Prepend(item->name) || !path.Prepend("\\"))
      return false;
    reached = item->depth;
  }
  if (path.Length() + 1 > capacity)
    return false;
  std::memcpy(out, path.Text(), path.Length() + 1);
  return true;
}

CWorkSheetTree::CTreeItem* NewFolderItem(const char* name, uint16_t depth, uint8_t flag) {
  if (!TreeItemAllocationAllowed(sizeof(CWorkSheetTree::CTreeItem)))
    return nullptr;
  return new (std::nothrow) CWorkSheetTree::CTreeItem(name, depth, kTreeItemFolder, flag);
}

bool TreePathsEqual(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const uint8_t ca = OsCharUpper(static_cast<uint8_t>(*a));
    const uint8_t cb = OsCharUpper(static_cast<uint8_t>(*b));
    if (ca != cb)
      return false;
    if (ca == 0)
      return true;
  }
}
