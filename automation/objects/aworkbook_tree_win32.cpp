// The Workbook object's tree interface: the plain rules of
// automation/tree/tree_interface.h behind the interface's conversions and
// results.

#include "automation/objects/aworkbook_win32.h"
#include "automation/tree/tree_interface.h"
#include "platform/com/bstr_text_win32.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

HRESULT TreeResult(TreeAnswer answer, uint8_t error) {
  switch (answer) {
    case kTreeDone: return S_OK;
    case kTreeNoItem: return S_FALSE;
    case kTreeBadType: return E_INVALIDARG;
    case kTreeOutOfMemory: return E_OUTOFMEMORY;
    case kTreeRefused: return CAWorkbook::ReportError(error, IID_IWorksheet, 0);
    case kTreeNoName: return E_INVALIDARG;
  }
  return E_FAIL;
}

// A walk's result into the caller's int; the out-parameter stays as it was
// when no item is at the index.
HRESULT WalkResult(TreeAnswer answer, int32_t found, int* out) {
  if (answer == kTreeDone) *out = found;
  return TreeResult(answer, 0);
}

HRESULT PathResult(const CTreeItem* item, BSTR* path) {
  char text[kTreePathCapacity];
  if (item == nullptr || !item->GetFullPath(text, sizeof text)) return S_FALSE;
  *path = AnsiToBstr(text, kTreePathCapacity);
  return *path != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

STDMETHODIMP CAWorkbook::GetFirstChildOf(int folder, int* item) {
  if (item == nullptr) return E_POINTER;
  int32_t found = -1;
  const TreeAnswer answer = FirstChildIndex(*this, folder, &found);
  return WalkResult(answer, found, item);
}

STDMETHODIMP CAWorkbook::GetNextItem(int curItem, int* nextItem) {
  if (nextItem == nullptr) return E_POINTER;
  int32_t found = -1;
  const TreeAnswer answer = NextSiblingIndex(*this, curItem, &found);
  return WalkResult(answer, found, nextItem);
}

STDMETHODIMP CAWorkbook::GetPreviousItem(int curItem, int* previousItem) {
  if (previousItem == nullptr) return E_POINTER;
  int32_t found = -1;
  const TreeAnswer answer = PreviousSiblingIndex(*this, curItem, &found);
  return WalkResult(answer, found, previousItem);
}

STDMETHODIMP CAWorkbook::InsertItem(int insertAt, int type, BSTR name, int* item) {
  if (item == nullptr) return E_POINTER;
  char text[kTreeItemNameSize];
  BstrToAnsi(name, text, sizeof text);
  int32_t index = -1;
  const TreeAnswer answer = InsertTreeItem(*this, insertAt, type, text, &index);
  return WalkResult(answer, index, item);
}

STDMETHODIMP CAWorkbook::DeleteItem(int item) {
  const TreeAnswer answer = DeleteTreeItem(*this, item);
  return TreeResult(answer, error);
}

STDMETHODIMP CAWorkbook::GetItemName(int item, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  const CTreeItem* found = ItemByIndex(item);
  if (found == nullptr) return S_FALSE;
  *name = AnsiToBstr(found->name, kTreeItemNameSize);
  return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

// A name the window would refuse is refused with the window's reason, so
// that no formula comes to read another item than the one it named.
STDMETHODIMP CAWorkbook::SetItemName(int item, BSTR name) {
  char text[kTreeItemNameSize];
  BstrToAnsi(name, text, sizeof text);
  const TreeAnswer answer = RenameTreeItem(*this, item, text);
  return TreeResult(answer, error);
}

STDMETHODIMP CAWorkbook::IsWorksheet(int item, LONG* result) {
  if (result == nullptr) return E_POINTER;
  const CTreeItem* found = ItemByIndex(item);
  if (found == nullptr) return S_FALSE;
  *result = (found->kind & kTreeItemWorksheet) != 0 ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CAWorkbook::IsFolder(int item, LONG* result) {
  if (result == nullptr) return E_POINTER;
  const CTreeItem* found = ItemByIndex(item);
  if (found == nullptr) return S_FALSE;
  *result = (found->kind & kTreeItemFolder) != 0 ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CAWorkbook::GetItemPath(int item, BSTR* path) {
  if (path == nullptr) return E_POINTER;
  return PathResult(ItemByIndex(item), path);
}

// A path that does not fit names no item: it is not cut to one that might.
STDMETHODIMP CAWorkbook::GetItemIndex(BSTR path, int* index) {
  if (index == nullptr) return E_POINTER;
  char text[kTreePathCapacity];
  const CTreeItem* found = BstrToWholeAnsi(path, text, sizeof text) ? FindItemByPath(text) : nullptr;
  *index = found != nullptr ? IndexOfItem(found) : -1;
  return found != nullptr ? S_OK : S_FALSE;
}

STDMETHODIMP CAWorkbook::SetActiveWorksheet(BSTR path) {
  char text[kTreePathCapacity];
  if (!BstrToWholeAnsi(path, text, sizeof text)) return S_FALSE;
  return TreeResult(ActivateWorksheetAtPath(*this, text), 0);
}

STDMETHODIMP CAWorkbook::GetActiveWorksheet(BSTR* path) {
  if (path == nullptr) return E_POINTER;
  return PathResult(activeWorksheet, path);
}

STDMETHODIMP CAWorkbook::UpdateWorkbook() {
  return Recalculate(nullptr) ? S_OK : ReportError(error, IID_IWorksheet, 0);
}

STDMETHODIMP CAWorkbook::GetItemCount(int* counter) {
  if (counter == nullptr) return E_POINTER;
  *counter = CountTreeItems(*this);
  return S_OK;
}
