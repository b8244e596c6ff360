#include <cstring>

#include "core/workbook/workbook.h"

using CTreeItem = CWorkSheetTree::CTreeItem;

namespace {

CTreeItem* LastOfChain(CTreeItem* chain) {
  while (chain->next) chain = chain->next;
  return chain;
}

// The last item of the run made of item and everything after it that is deeper.
CTreeItem* EndOfRun(CTreeItem* item) {
  CTreeItem* last = item;
  while (last->next && last->next->depth > item->depth) last = last->next;
  return last;
}

bool RunContains(const CTreeItem* first, const CTreeItem* last, const CTreeItem* wanted) {
  for (const CTreeItem* item = first;; item = item->next) {
    if (item == wanted)
      return true;
    if (item == last)
      return false;
  }
}

bool RunHoldsStore(const CTreeItem* first, const CTreeItem* last, const CellStore* store) {
  for (const CTreeItem* item = first;; item = item->next) {
    if (item->cellStore == store)
      return true;
    if (item == last)
      return false;
  }
}

// True when the path ends with "\" followed by the name, letter case aside:
// only then can the item's full path equal it.
bool PathMayNameItem(const char* path, size_t pathLength, const CTreeItem* item) {
  const size_t nameLength = std::strlen(item->name);
  return pathLength > nameLength && path[pathLength - nameLength - 1] == '\\' &&
         TreePathsEqual(path + pathLength - nameLength, item->name);
}

// The item a chain inserted at target follows (null: the chain opens the
// list) and the chain's new depth.
CTreeItem* InsertionPoint(CTreeItem* first, CTreeItem* target, int* newDepth) {
  if (!target || !first) {
    *newDepth = 1;
    return first ? LastOfChain(first) : nullptr;
  }
  if (target->IsFolder()) {
    *newDepth = target->depth + 1;
    return EndOfRun(target);
  }
  *newDepth = target->depth;
  return target->previous;
}

void ShiftDepths(CTreeItem* chain, int newDepth) {
  const int shift = newDepth - chain->depth;
  for (CTreeItem* item = chain; item; item = item->next) item->depth = static_cast<uint16_t>(item->depth + shift);
}

void LinkChainAfter(CTreeItem** first, CTreeItem* chain, CTreeItem* before) {
  CTreeItem* chainLast = LastOfChain(chain);
  CTreeItem* after = before ? before->next : *first;
  chain->previous = before;
  chainLast->next = after;
  if (before)
    before->next = chain;
  else
    *first = chain;
  if (after)
    after->previous = chainLast;
}

// Takes the run item..last out of the list as a detached chain.
void UnlinkRun(CTreeItem** first, CTreeItem* item, CTreeItem* last) {
  if (item->previous)
    item->previous->next = last->next;
  else
    *first = last->next;
  if (last->next)
    last->next->previous = item->previous;
  item->previous = nullptr;
  last->next = nullptr;
}

}  // namespace

CTreeItem* CWorkBook::ItemByIndex(int32_t n) const {
  CTreeItem* item = firstItem;
  for (int32_t i = 1; i <= n && item; ++i) item = item->next;
  return item;
}

int32_t CWorkBook::IndexOfItem(const CTreeItem* item) const {
  int32_t index = 0;
  for (const CTreeItem* listed = firstItem; listed; listed = listed->next, ++index)
    if (listed == item)
      return index;
  return -1;
}

void CWorkBook::InsertItems(CTreeItem* chain, CTreeItem* target) {
  if (!chain)
    return;
  int newDepth = 1;
  CTreeItem* before = InsertionPoint(firstItem, target, &newDepth);
  ShiftDepths(chain, newDepth);
  for (CTreeItem* item = chain; item; item = item->next) {
    if (item->IsWorksheet())
      ++worksheetCount;
    else
      ++folderCount;
  }
  LinkChainAfter(&firstItem, chain, before);
}

bool CWorkBook::MoveItems(CTreeItem* item, CTreeItem* target) {
  if (!item || (!item->previous && item != firstItem))
    return false;
  if (target && (target == item || RunContains(item, EndOfRun(item), target)))
    return false;
  UnlinkRun(&firstItem, item, EndOfRun(item));
  int newDepth = 1;
  CTreeItem* before = InsertionPoint(firstItem, target, &newDepth);
  ShiftDepths(item, newDepth);
  LinkChainAfter(&firstItem, item, before);
  return true;
}

bool CWorkBook::MoveItemsTo(CTreeItem* item, int32_t index, uint16_t depth) {
  if (!item || (!item->previous && item != firstItem) || index < 0 || depth < 1)
    return false;
  UnlinkRun(&firstItem, item, EndOfRun(item));
  ShiftDepths(item, depth);
  LinkChainAfter(&firstItem, item, ItemBeforeIndex(index));
  return true;
}

void CWorkBook::InsertItemsAt(CTreeItem* chain, int32_t index) {
  if (!chain)
    return;
  for (CTreeItem* item = chain; item; item = item->next) {
    if (item->IsWorksheet())
      ++worksheetCount;
    else
      ++folderCount;
  }
  LinkChainAfter(&firstItem, chain, ItemBeforeIndex(index));
  if (!activeWorksheet)
    for (CTreeItem* item = chain; item && !activeWorksheet; item = item->next)
      activeWorksheet = CWorkSheet::FromItem(item);
  if (!evaluator.sheet && activeWorksheet)
    evaluator.sheet = &activeWorksheet->cells;
}

CTreeItem* CWorkBook::ItemBeforeIndex(int32_t index) const {
  CTreeItem* at = index >= 0 ? ItemByIndex(index) : nullptr;
  if (index > 0 && IndexOfItem(at) != index)
    at = nullptr;
  if (at)
    return at->previous;
  return firstItem ? LastOfChain(firstItem) : nullptr;
}

void CWorkBook::AppendLoadedItem(CTreeItem* item, CTreeItem** last) {
  item->previous = *last;
  if (*last)
    (*last)->next = item;
  else
    firstItem = item;
  *last = item;
  if (item->IsWorksheet())
    ++worksheetCount;
  else
    ++folderCount;
}

bool CWorkBook::RemoveItem(CTreeItem* item) {
  // The head of a detached chain is no item of this list.
  if (!item || (!item->previous && item != firstItem))
    return false;
  CTreeItem* last = EndOfRun(item);
  uint32_t sheets = 0;
  uint32_t folders = 0;
  for (CTreeItem* run = item;; run = run->next) {
    if (run->IsWorksheet())
      ++sheets;
    else
      ++folders;
    if (run == last)
      break;
  }
  if (sheets >= worksheetCount) {
    error = kWorkbookLastWorksheet;
    return false;
  }

  CTreeItem* before = item->previous;
  CTreeItem* after = last->next;
  UnlinkRun(&firstItem, item, last);

  if (activeWorksheet && RunContains(item, last, activeWorksheet)) {
    // The nearest worksheet wins, the one after the run at equal distance.
    activeWorksheet = nullptr;
    for (CTreeItem *forward = after, *backward = before; (forward || backward) && !activeWorksheet;) {
      if (forward && forward->IsWorksheet())
        activeWorksheet = CWorkSheet::FromItem(forward);
      else if (backward && backward->IsWorksheet())
        activeWorksheet = CWorkSheet::FromItem(backward);
      forward = forward ? forward->next : nullptr;
      backward = backward ? backward->previous : nullptr;
    }
  }
  // The evaluator must not keep working on a worksheet that left the
  // workbook: the chain may be destroyed at any time.
  if (evaluator.sheet && RunHoldsStore(item, last, evaluator.sheet))
    evaluator.sheet = activeWorksheet ? &activeWorksheet->cells : nullptr;
  worksheetCount -= sheets;
  folderCount -= folders;
  return true;
}

void CWorkBook::DeleteItems(CTreeItem* chain) {
  while (chain) {
    CTreeItem* item = chain;
    chain = item->next;
    if (item == activeWorksheet)
      activeWorksheet = nullptr;
    if (item->cellStore && item->cellStore == evaluator.sheet)
      evaluator.sheet = nullptr;
    delete item;
  }
}

void CWorkBook::DeleteAllItems() {
  CTreeItem* chain = firstItem;
  firstItem = nullptr;
  DeleteItems(chain);
  activeWorksheet = nullptr;
  folderCount = 0;
  worksheetCount = 0;
}

CTreeItem* CWorkBook::FindItemByPath(const char* path, CTreeItem* start) const {
  if (!path)
    return nullptr;
  const size_t pathLength = std::strlen(path);
  if (pathLength >= kTreePathCapacity)
    return nullptr;
  char itemPath[kTreePathCapacity];
  for (CTreeItem* item = start ? start : firstItem; item; item = item->next) {
    if (!PathMayNameItem(path, pathLength, item))
      continue;
    if (item->GetFullPath(itemPath, sizeof itemPath) && TreePathsEqual(itemPath, path))
      return item;
  }
  return nullptr;
}

CTreeItem* CWorkBook::FindItemByQualifier(const CellStore* from, const char* sheetText) const {
  if (!sheetText)
    return nullptr;
  if (sheetText[0] == '\\')
    return FindItemByPath(sheetText);
  const CWorkSheet* fromSheet = FindWorksheetByStore(from);
  char path[kTreePathCapacity];
  if (!fromSheet || !fromSheet->GetFullPath(path, sizeof path, true))
    return nullptr;
  const size_t folderLength = std::strlen(path);
  const size_t textLength = std::strlen(sheetText);
  if (folderLength + textLength >= kTreePathCapacity)
    return nullptr;
  std::memcpy(path + folderLength, sheetText, textLength + 1);
  return FindItemByPath(path);
}

CWorkSheet* CWorkBook::FindWorksheetByStore(const CellStore* store) const {
  if (!store)
    return nullptr;
  for (CTreeItem* item = firstItem; item; item = item->next)
    if (item->cellStore == store)
      return CWorkSheet::FromItem(item);
  return nullptr;
}

CellStore* ResolveWorkbookSheet(const EvalState& state, CellStore* from, const char* sheetText) {
  if (!state.owner)
    return nullptr;
  const CTreeItem* item = state.owner->FindItemByQualifier(from, sheetText);
  return item ? item->cellStore : nullptr;
}
