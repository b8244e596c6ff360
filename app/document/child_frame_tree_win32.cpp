// The worksheet tree pane of the document window: filling the tree from the
// workbook's item list, the selection that activates a worksheet, folders
// expanding and collapsing, renaming in place, new folders and worksheets,
// stepping through the worksheets and dragging items to move or copy them.

#include "app/document/child_frame.h"

#include <cstdio>
#include <cstring>

#include "app/frame/main_frame.h"
#include "app/tree/tree_edits.h"
#include "app/tree/tree_placement.h"
#include "core/workbook/item_names.h"
#include "platform/ui/capture_loop.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

using CTreeItem = CWorkSheetTree::CTreeItem;

namespace {

CTreeItem* ItemOfData(LPARAM data) { return reinterpret_cast<CTreeItem*>(data); }

// Keeps the tree's own selection changes from activating worksheets while it lives.
class QuietTree {
 public:
  explicit QuietTree(bool* quiet) : quiet_(quiet), was_(*quiet) { *quiet_ = true; }
  ~QuietTree() { *quiet_ = was_; }
  QuietTree(const QuietTree&) = delete;
  QuietTree& operator=(const QuietTree&) = delete;

 private:
  bool* quiet_;
  bool was_;
};

}  // namespace

HTREEITEM CChildFrame::TreeRoot() const {
  return reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

void CChildFrame::SetTreeImage(HTREEITEM item, int image) {
  if (item == nullptr) return;
  TVITEMA data{};
  data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  data.hItem = item;
  data.iImage = data.iSelectedImage = image;
  m_tree.SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

HTREEITEM CChildFrame::InsertOneTreeItem(HTREEITEM parent, HTREEITEM after, CTreeItem* item) {
  int image = item->IsFolder() ? kImageFolder : kImageWorksheet;
  if (item == m_workbook.activeWorksheet) image = kImageActiveWorksheet;
  HTREEITEM handle = TreeInsertItem(m_tree, parent, after, item->name, image, image, reinterpret_cast<LPARAM>(item));
  if (handle != nullptr && item == m_workbook.activeWorksheet) m_activeTreeItem = handle;
  return handle;
}

bool CChildFrame::FillTree() {
  QuietTree quiet(&m_treeQuiet);
  // No name stays in an edit over the items that go.
  m_tree.EndLabelEdit(true);
  m_tree.SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  m_activeTreeItem = nullptr;
  HTREEITEM root = TreeInsertItem(m_tree, TVI_ROOT, TVI_LAST, "Workbook", kImageWorkbook, kImageWorkbook, 0);
  if (root == nullptr) return false;
  TreeFolderStack folders;
  for (CTreeItem* item = m_workbook.firstItem; item != nullptr; item = item->next) {
    HTREEITEM parent = static_cast<HTREEITEM>(folders.ParentOf(item->depth));
    HTREEITEM handle = InsertOneTreeItem(parent != nullptr ? parent : root, TVI_LAST, item);
    if (handle == nullptr) return false;
    if (item->IsFolder() && !folders.OpenFolder(item->depth, handle)) return false;
  }
  m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  // Folders expand once their contents stand.
  for (CTreeItem* item = m_workbook.firstItem; item != nullptr; item = item->next)
    if (item->IsFolder() && item->flag != 0)
      m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FindTreeItem(root, item)));
  if (m_activeTreeItem != nullptr) {
    m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(m_activeTreeItem));
    m_tree.SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(m_activeTreeItem));
  }
  return true;
}

HTREEITEM CChildFrame::InsertTreeItem(CTreeItem* item) {
  HTREEITEM root = TreeRoot();
  const TreePlacement place = PlaceTreeItem(item);
  HTREEITEM parent = place.parent != nullptr ? FindTreeItem(root, place.parent) : root;
  HTREEITEM after = place.after != nullptr ? FindTreeItem(parent, place.after) : TVI_FIRST;
  if (parent == nullptr || after == nullptr) return nullptr;
  HTREEITEM handle = InsertOneTreeItem(parent, after, item);
  if (handle == nullptr) return nullptr;
  TreeFolderStack folders;
  bool inserted = folders.OpenFolder(item->depth, handle);
  for (CTreeItem* inside = item->next; inserted && inside != nullptr && inside->depth > item->depth;
       inside = inside->next) {
    HTREEITEM child = InsertOneTreeItem(static_cast<HTREEITEM>(folders.ParentOf(inside->depth)), TVI_LAST, inside);
    inserted = child != nullptr && (!inside->IsFolder() || folders.OpenFolder(inside->depth, child));
  }
  if (!inserted) {
    QuietTree quiet(&m_treeQuiet);
    m_tree.SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(handle));
    return nullptr;
  }
  for (CTreeItem* inside = item; inside != nullptr && (inside == item || inside->depth > item->depth);
       inside = inside->next)
    if (inside->IsFolder() && inside->flag != 0)
      m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FindTreeItem(handle, inside)));
  return handle;
}

HTREEITEM CChildFrame::FindTreeItem(HTREEITEM start, const CTreeItem* item) {
  if (start == nullptr) start = TreeRoot();
  // Depth first through first children and next siblings, never above start.
  HTREEITEM at = start;
  while (at != nullptr) {
    if (m_tree.ItemData(at) == reinterpret_cast<LPARAM>(item)) return at;
    HTREEITEM next = reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_CHILD,
                                                                      reinterpret_cast<LPARAM>(at)));
    while (next == nullptr && at != nullptr && at != start) {
      next = reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(at)));
      if (next == nullptr)
        at = reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(at)));
    }
    at = next;
  }
  return nullptr;
}

void CChildFrame::SelectTreeItem(const CTreeItem* item) {
  HTREEITEM handle = FindTreeItem(nullptr, item);
  if (handle == nullptr) return;
  // The tree moves its selection by itself when the selected item is
  // deleted, quietly; selecting the item it moved to then notifies nothing,
  // so a worksheet the views do not show yet is shown here.
  const bool alreadySelected = m_tree.SelectedItem() == handle;
  m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
  m_tree.SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
  if (alreadySelected && handle != m_activeTreeItem) OnTreeSelChanged(handle);
}

void CChildFrame::DeleteTreeItem(const CTreeItem* item) {
  HTREEITEM handle = FindTreeItem(nullptr, item);
  if (handle == nullptr) return;
  // An edit of a name never outlives its item.
  m_tree.EndLabelEdit(true);
  // The views' worksheet may go with the item; nothing then remembers it.
  for (HTREEITEM at = m_activeTreeItem; at != nullptr;
       at = reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(at))))
    if (at == handle) m_activeTreeItem = nullptr;
  QuietTree quiet(&m_treeQuiet);
  m_tree.SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(handle));
}

CTreeItem* CChildFrame::SelectedTreeWorkbookItem() { return ItemOfData(m_tree.ItemData(m_tree.SelectedItem())); }

CWorkSheet* CChildFrame::ShownWorksheet() {
  return m_activeTreeItem != nullptr ? CWorkSheet::FromItem(ItemOfData(m_tree.ItemData(m_activeTreeItem))) : nullptr;
}

bool CChildFrame::FocusInTree() const {
  const HWND focus = ::GetFocus();
  return focus != nullptr && (focus == m_tree.m_hWnd || ::IsChild(m_tree.m_hWnd, focus));
}

LRESULT CChildFrame::OnTreeNotify(NMHDR* header) {
  auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
  switch (header->code) {
    case TVN_SELCHANGINGA:
      return FALSE;
    case TVN_SELCHANGEDA:
      OnTreeSelChanged(change->itemNew.hItem);
      return 0;
    case TVN_ITEMEXPANDINGA:
      return OnTreeItemExpanding(*change) ? FALSE : TRUE;
    case TVN_BEGINLABELEDITA: {
      EndOpenEdit();
      // The root keeps its name.
      if (reinterpret_cast<NMTVDISPINFOA*>(header)->item.hItem == TreeRoot()) return TRUE;
      m_tree.AdoptLabelEdit();
      return FALSE;
    }
    case TVN_ENDLABELEDITA:
      return OnTreeEndLabelEdit(reinterpret_cast<NMTVDISPINFOA*>(header)->item) ? TRUE : FALSE;
    case TVN_BEGINDRAGA:
      OnTreeBeginDrag(change->ptDrag);
      return 0;
    case TVN_KEYDOWN: {
      const WORD key = reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey;
      HTREEITEM selected = m_tree.SelectedItem();
      if (key == VK_RETURN && selected != nullptr) m_tree.SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(selected));
      if (key == VK_DELETE && selected != nullptr && selected != TreeRoot()) SendMessage(WM_COMMAND, ID_EDIT_CLEAR, 0);
      return 0;
    }
  }
  return 0;
}

void CChildFrame::OnTreeSelChanged(HTREEITEM item) {
  EndOpenEdit();
  if (m_treeQuiet) return;
  CWorkSheet* sheet = CWorkSheet::FromItem(ItemOfData(m_tree.ItemData(item)));
  if (sheet == nullptr) return;
  if (CWorkSheet* leaving = ShownWorksheet()) StoreViewPositionInto(leaving);
  SetTreeImage(m_activeTreeItem, kImageWorksheet);
  SetTreeImage(item, kImageActiveWorksheet);
  m_activeTreeItem = item;
  m_workbook.activeWorksheet = sheet;
  m_workbook.evaluator.sheet = &sheet->cells;
  ShowWorksheetView(sheet);
  if (CDocumentView* view = GetActiveView()) {
    view->Invalidate();
    view->SyncOtherPane();
  }
  UpdateTitle();
  RefreshFrameUI();
}

void CChildFrame::ShowWorksheetView(const CWorkSheet* sheet) {
  // The views come back to one pane without touching any worksheet's split
  // flags, then split as the worksheet was.
  if (CSplitterWindow* splitter = ViewsSplitter()) splitter->SetSinglePaneMode(0);
  LoadViewPosition();
  ShowSplitOf(sheet);
}

void CChildFrame::ShowSplitOf(const CWorkSheet* sheet) {
  if (sheet->horizontalSplit != 0) {
    OnSplit(false);
  } else if (sheet->verticalSplit != 0) {
    OnSplit(true);
  }
}

bool CChildFrame::OnTreeItemExpanding(const NMTREEVIEWA& change) {
  EndOpenEdit();
  const bool expanding = (change.action & TVE_EXPAND) != 0;
  if (change.itemNew.hItem == TreeRoot()) return expanding;
  SetTreeImage(change.itemNew.hItem, expanding ? kImageFolderOpen : kImageFolder);
  if (CTreeItem* item = ItemOfData(m_tree.ItemData(change.itemNew.hItem))) item->flag = expanding ? 1 : 0;
  return true;
}

bool CChildFrame::OnTreeEndLabelEdit(const TVITEMA& label) {
  CTreeItem* item = ItemOfData(m_tree.ItemData(label.hItem));
  if (label.pszText == nullptr || item == nullptr) return false;
  // A cancelled edit, or one that leaves no name to give the item (nor to
  // the formulas that name it), keeps the old name; blanks alone are no name.
  char name[kTreeItemNameSize];
  TrimTypedItemName(label.pszText, name);
  if (name[0] == '\0') return false;
  if (std::strcmp(name, item->name) == 0) return std::strcmp(label.pszText, item->name) == 0;
  // The rename keeps every formula that names the item (or its contents)
  // naming it.
  if (!m_workbook.RenameItem(item, name)) {
    if (!IsItemNameRefusal(m_workbook.error)) {
      ShowError(m_workbook.error);
      return false;
    }
    // A message box now would take the focus from the edit while the tree
    // is ending it: the refusal is told, and the name opened again, later.
    m_refusedNameItem = item;
    m_refusedNameError = m_workbook.error;
    std::snprintf(m_refusedName, sizeof m_refusedName, "%s", label.pszText);
    PostMessage(kMsgNameRefused);
    return false;
  }
  RecalcAfterEdit();
  UpdateTitle();
  RefreshFrameUI();
  SetModified(true);
  if (std::strcmp(label.pszText, item->name) == 0) return true;
  // A label longer than a name can be, or with blanks around it, shows the
  // name as the item took it.
  TVITEMA shown{};
  shown.mask = TVIF_TEXT | TVIF_HANDLE;
  shown.hItem = label.hItem;
  shown.pszText = item->name;
  m_tree.SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&shown));
  return false;
}

void CChildFrame::OnNameRefused() {
  CTreeItem* item = m_refusedNameItem;
  m_refusedNameItem = nullptr;
  if (item == nullptr) return;
  ShowError(m_refusedNameError);
  // The name opens again with the text typed, unless the item went or
  // another edit of a name began meanwhile.
  if (m_workbook.IndexOfItem(item) < 0 || m_tree.LabelEdit() != nullptr || !TreeShown()) return;
  HTREEITEM handle = FindTreeItem(nullptr, item);
  if (handle == nullptr) return;
  m_tree.SetFocus();
  const HWND edit = reinterpret_cast<HWND>(m_tree.SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(handle)));
  if (edit == nullptr) return;
  ::SetWindowTextA(edit, m_refusedName);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

void CChildFrame::OnNewTreeItem(bool folder) {
  EndOpenEdit();
  CTreeItem* item = LinkNewTreeItem(&m_workbook, folder, SelectedTreeWorkbookItem());
  if (item == nullptr) {
    ShowError(m_workbook.error);
    return;
  }
  FocusTree();
  if (!ShowInsertedTreeItem(item)) return;
  m_tree.SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(FindTreeItem(nullptr, item)));
  if (!folder) {
    if (CDocumentView* view = GetActiveView()) view->SyncOtherPane();
  }
  RefreshFrameUI();
  SetModified(true);
}

bool CChildFrame::ShowInsertedTreeItem(CTreeItem* item) {
  if (InsertTreeItem(item) == nullptr) {
    // A new item the tree cannot show leaves the workbook again.
    m_workbook.RemoveItem(item);
    m_workbook.DeleteItems(item);
    ShowError(kWorkbookOutOfMemory);
    return false;
  }
  m_workbook.undoHistory.RecordItemInserted(&m_workbook, m_workbook.IndexOfItem(item));
  SelectTreeItem(item);
  return true;
}

void CChildFrame::OnRename() {
  HTREEITEM selected = m_tree.SelectedItem();
  if (selected == nullptr) return;
  FocusTree();
  m_tree.SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(selected));
}

void CChildFrame::FocusTree() {
  // A hidden tree would take the keys meant for the cells, and an item's
  // name typed there unseen.
  if (m_workbook.panes.treePaneVisible == 0) OnToggleTree();
  m_tree.SetFocus();
}

void CChildFrame::OnNextWorksheet(bool backwards) {
  EndOpenEdit();
  CTreeItem* item = m_workbook.activeWorksheet;
  if (item == nullptr) return;
  do {
    item = backwards ? item->previous : item->next;
  } while (item != nullptr && !item->IsWorksheet());
  if (item != nullptr) SelectTreeItem(item);
}

void CChildFrame::OnTreeBeginDrag(POINT dragPoint) {
  EndOpenEdit();
  HTREEITEM dragged = m_tree.ItemAt(dragPoint);
  if (dragged == nullptr) return;
  m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(dragged));
  ::SetCapture(m_tree);
  m_dropTarget = nullptr;
  m_dropHover = 0;
  m_treeDragging = true;
  StartViewTimerOf(m_hWnd, kTreeDragTimer, kTreeDragInterval);
  MSG msg;
  CaptureEnd end;
  bool released = false;
  while (NextCaptureMessage(m_tree, &msg, &end)) {
    if (msg.message == WM_LBUTTONUP) {
      released = true;
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      POINT at = PointFromLParam(msg.lParam);
      if (msg.hwnd != m_tree.m_hWnd) ::MapWindowPoints(msg.hwnd, m_tree, &at, 1);
      HTREEITEM over = m_tree.ItemAt(at);
      if (over != nullptr && over != m_dropTarget) {
        m_tree.SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(over));
        m_dropTarget = over;
        m_dropHover = 0;
      }
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  m_tree.SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, 0);
  ::KillTimer(m_hWnd, kTreeDragTimer);
  m_treeDragging = false;
  if (::GetCapture() == m_tree.m_hWnd) ::ReleaseCapture();
  // Only a released button drops: a drag that lost the mouse to another
  // window changes nothing.
  if (!released || m_dropTarget == nullptr || m_dropTarget == dragged) return;

  CTreeItem* draggedItem = ItemOfData(m_tree.ItemData(dragged));
  if (draggedItem == nullptr) return;  // the root stays
  TreeDrop drop{};
  if (!DropTreeItem(&m_workbook, draggedItem, ItemOfData(m_tree.ItemData(m_dropTarget)), &drop)) {
    ShowError(m_workbook.error);
    return;
  }
  if (!drop.copied) DeleteTreeItem(drop.item);
  if (InsertTreeItem(drop.item) == nullptr) {
    RevertTreeDrop(&m_workbook, &drop);
    // A moved item goes back to where it stood; a tree that cannot show it
    // there is built anew.
    if (!drop.copied && InsertTreeItem(drop.item) == nullptr) FillTree();
    ShowError(kWorkbookOutOfMemory);
    return;
  }
  if (!RecordTreeDrop(&m_workbook, &drop)) ShowError(m_workbook.error);
  if (m_workbook.activeWorksheet != nullptr) SelectTreeItem(m_workbook.activeWorksheet);
  RecalcAfterEdit();
  RefreshFrameUI();
  SetModified(true);
}

void CChildFrame::OnTreeDragTick() {
  if (!m_treeDragging) return;
  POINT at{};
  ::GetCursorPos(&at);
  ::ScreenToClient(m_tree, &at);
  const RECT client = m_tree.GetClientRect();
  if (at.y < 1) m_tree.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
  if (at.x < 1) m_tree.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
  if (at.y >= client.bottom) m_tree.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  if (at.x >= client.right) m_tree.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  if (m_dropTarget == nullptr) return;
  m_dropHover += static_cast<int>(kTreeDragInterval);
  const bool hasChildren = m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(m_dropTarget)) != 0;
  if (m_dropHover == kTreeDragExpandAfter && hasChildren && m_dropTarget != TreeRoot())
    m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(m_dropTarget));
}

void CChildFrame::SetCursorCell(uint32_t column, uint32_t row) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return;
  view->m_selection = GridSelection{column, row, column, row, 0, column, row};
  view->EnsureCellVisible(row, column);
  view->Invalidate();
  view->SyncOtherPane();
  RefreshFrameUI();
}
