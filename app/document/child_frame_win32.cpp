// The document window: creation, layout, the panes and their toggles, the
// splits of the grid views, the pane cycle, the title and the modified flag.

#include "app/document/child_frame.h"

#include <commctrl.h>

#include <cstring>

#include "app/document/document_title.h"
#include "app/document/pane_cycle.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"
#include "core/cells/cell_record.h"
#include "core/edit/move_or_copy_range.h"
#include "core/model/worksheet_view_state.h"
#include "resources/resource_ids.h"
#include "view/draw_context/screen_measurer.h"

namespace {

constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr int kTreeIcons[] = {IDI_TREE_FOLDER, IDI_TREE_FOLDER_OPEN, IDI_TREE_WORKSHEET, IDI_TREE_WORKSHEET_ACTIVE,
                              IDI_TREE_WORKBOOK};

bool WindowHolds(HWND outer, HWND focus) {
  return outer != nullptr && focus != nullptr && (outer == focus || ::IsChild(outer, focus));
}

}  // namespace

CChildFrame::CChildFrame(CMainFrame* owner) : m_owner(owner) {
  m_workbook.sourceFormat = 0;
  m_workbook.saveKind = kSaveKindBinaryGzip;
  m_workbook.undoHistory.SetLevels(Options.UndoLevel);
}

CChildFrame::~CChildFrame() {
  if (m_treeImages != nullptr) ImageList_Destroy(m_treeImages);
}

HWND CChildFrame::CreateDocumentWindow(HWND mdiClient, const RECT* rect) {
  static WindowClass cls{};
  if (cls.atom == 0 && !RegisterMDIChildClass("TalveroDocument", &cls)) return nullptr;
  if (CreateChild(cls, mdiClient, "", rect) == nullptr) return nullptr;
  m_ownsItself = true;
  return m_hWnd;
}

LRESULT CChildFrame::OnCreate() {
  const RECT none{0, 0, 0, 0};
  if (m_splitOuter.Create(m_hWnd, none) == nullptr) return -1;
  if (m_splitInner.Create(m_splitOuter, none) == nullptr) return -1;

  if (m_paneTree.Create(m_splitOuter, "Worksheets") == nullptr) return -1;
  HWND tree = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                kPaneStyle | TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS, 0, 0, 0, 0, m_paneTree,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTreeId)), ::GetModuleHandleA(nullptr),
                                nullptr);
  if (tree == nullptr || !m_tree.SubclassWindow(tree)) return -1;
  m_tree.menuOwner = m_owner != nullptr ? m_owner->m_hWnd : nullptr;
  m_paneTree.SetClient(m_tree);

  if (m_paneInspect.Create(m_splitInner, "Inspect Cells") == nullptr) return -1;
  if (m_inspect.CreateInspectView(m_paneInspect) == nullptr) return -1;
  m_paneInspect.SetClient(m_inspect);

  if (!CreateViewsSplitter(m_splitViewsH)) return -1;
  m_splitViewsH.SetSinglePaneMode(0);

  m_splitOuter.SetSplitterPanes(m_paneTree, m_splitInner);
  m_splitInner.SetSplitterPanes(m_splitViewsH, m_paneInspect);
  OnSize();

  const int size = ::GetSystemMetrics(SM_CXSMICON);
  m_treeImages = ImageList_Create(size, ::GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 5, 0);
  if (m_treeImages != nullptr) {
    ImageList_SetBkColor(m_treeImages, ::GetSysColor(COLOR_WINDOW));
    for (int id : kTreeIcons) {
      HICON icon = static_cast<HICON>(
          ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
      ImageList_AddIcon(m_treeImages, icon);
      if (icon != nullptr) ::DestroyIcon(icon);
    }
    m_tree.SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(m_treeImages));
  }
  if (!FillTree() || !m_inspect.FillList()) return -1;
  return 0;
}

bool CChildFrame::CreateViewsSplitter(CSplitterWindow& splitter) {
  const RECT none{0, 0, 0, 0};
  if (splitter.Create(m_splitInner, none) == nullptr) return false;
  if (CreateDocumentView(m_view[0], this, splitter) == nullptr) return false;
  if (CreateDocumentView(m_view[1], this, splitter) == nullptr) return false;
  splitter.SetMinPaneSize(kMinViewPane);
  splitter.SetSplitterPanes(m_view[0], m_view[1], false);
  return true;
}

void CChildFrame::OnSize() {
  if (m_splitOuter.m_hWnd != nullptr) m_splitOuter.MoveWindow(GetClientRect());
}

namespace {

// A pane shown without a stored size (a new workbook, or a file that kept
// none) opens at a size to work with; what the user drags is stored.
constexpr uint16_t kDefaultTreePaneWidth = 180;
constexpr uint16_t kDefaultInspectPaneHeight = 120;

int TreePaneWidth(const PaneLayout& panes) {
  return panes.treePaneWidth != 0 ? panes.treePaneWidth : kDefaultTreePaneWidth;
}

int InspectPaneHeight(const PaneLayout& panes) {
  return panes.inspectPaneHeight != 0 ? panes.inspectPaneHeight : kDefaultInspectPaneHeight;
}

}  // namespace

void CChildFrame::ApplyStoredLayout() {
  const PaneLayout& panes = m_workbook.panes;
  if (panes.treePaneVisible == 0) {
    m_splitOuter.SetSinglePaneMode(1);
  } else {
    m_splitOuter.SetSinglePaneMode(kSplitterBothPanes);
    m_splitOuter.SetSplitterPos(TreePaneWidth(panes));
  }
  if (panes.inspectPaneVisible != 0) {
    m_splitInner.SetSinglePaneMode(kSplitterBothPanes);
    const RECT r = m_splitInner.GetClientRect();
    m_splitInner.SetSplitterPos(r.bottom - InspectPaneHeight(panes));
  } else {
    m_splitInner.SetSinglePaneMode(0);
  }
  LoadViewPosition();
  m_view[0].SetFocus();
  UpdateTitle();
  RefreshFrameUI();
}

CSplitterWindow* CChildFrame::ViewsSplitter() {
  if (m_splitViewsV.m_hWnd != nullptr) return &m_splitViewsV;
  if (m_splitViewsH.m_hWnd != nullptr) return &m_splitViewsH;
  return nullptr;
}

CDocumentView* CChildFrame::GetActiveView() {
  CSplitterWindow* splitter = ViewsSplitter();
  if (splitter == nullptr) return nullptr;
  if (splitter->GetSinglePaneMode() == kSplitterBothPanes && splitter->GetActivePane() == 1) return &m_view[1];
  return &m_view[0];
}

bool CChildFrame::TreeShown() const { return m_splitOuter.GetSinglePaneMode() != 1; }

bool CChildFrame::InspectShown() const { return m_splitInner.GetSinglePaneMode() != 0; }

bool CChildFrame::SecondViewShown() {
  CSplitterWindow* splitter = ViewsSplitter();
  return splitter != nullptr && splitter->GetSinglePaneMode() == kSplitterBothPanes;
}

void CChildFrame::SetModified(bool modified) {
  const bool old = m_modified;
  m_modified = modified;
  if (old != modified) UpdateTitle();
}

void CChildFrame::ShowRecalculatedValues() {
  if (m_inspect.m_hWnd != nullptr) m_inspect.InvalidateList();
  if (m_owner != nullptr && m_owner->m_hWnd != nullptr) m_owner->UpdateStatusBar();
}

bool CChildFrame::MoveRangeByDrag(const SelectionRange& from, const SelectionRange& to, bool copy) {
  const auto asCells = [](const SelectionRange& r) {
    return CellRange{static_cast<uint16_t>(r.firstColumn), r.firstRow, static_cast<uint16_t>(r.lastColumn),
                     r.lastRow};
  };
  // A range past the grid's last column must not wrap when narrowed.
  if (from.lastColumn > kMaxColumn || to.lastColumn > kMaxColumn) return false;
  ScreenMeasurer screen;
  if (!MoveOrCopyRange(&m_workbook, screen.Measurer(), asCells(from), asCells(to), copy)) return false;
  if (CDocumentView* view = GetActiveView()) view->UpdateScrollRanges(true, true);
  CompleteEdit();
  return true;
}

void CChildFrame::InvalidateCellRange(uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow,
                                      uint32_t lastRow) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr || view->m_hWnd == nullptr) return;
  if (lastColumn < kColumnCount && lastRow < kRowCount) {
    const RECT range = view->GetRangeRect(SelectionRange{firstColumn, firstRow, lastColumn, lastRow});
    const RECT client = view->GetClientRect();
    view->InvalidateRect(RECT{client.left, range.top - 1, client.right, client.bottom});
  } else {
    view->Invalidate();
  }
  view->SyncOtherPane();
}

void CChildFrame::UpdateTitle() {
  if (m_hWnd == nullptr) return;
  char untitled[64];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_NEW_WORKBOOK, untitled, sizeof untitled) <= 0)
    untitled[0] = '\0';
  char sheetPath[kTreePathCapacity] = {};
  if (m_workbook.activeWorksheet != nullptr) m_workbook.activeWorksheet->GetFullPath(sheetPath, sizeof sheetPath);
  char title[kFilePathSize + kTreePathCapacity + 64];
  ComposeDocumentTitle(m_workbook.bufferedFile.path, untitled, sheetPath, m_modified, title, sizeof title);
  SetWindowText(title);
  ::SendMessageA(GetParent(), WM_MDIREFRESHMENU, 0, 0);
}

void CChildFrame::RefreshFrameUI() {
  if (m_owner == nullptr || m_owner->m_hWnd == nullptr) return;
  m_owner->UpdateUI();
  m_owner->UpdateStatusBar();
}

void CChildFrame::ShowError(uint8_t code) { ::ShowError(code); }

CTalverView* CChildFrame::OtherView(const CTalverView* view) {
  if (!SecondViewShown()) return nullptr;
  if (view == &m_view[0]) return &m_view[1];
  if (view == &m_view[1]) return &m_view[0];
  return nullptr;
}

// Views side by side share their rows; views one above the other their
// columns.
bool CChildFrame::RowSplitterShowsBoth() { return m_splitViewsV.m_hWnd != nullptr && SecondViewShown(); }

bool CChildFrame::ColumnSplitterShowsBoth() { return m_splitViewsH.m_hWnd != nullptr && SecondViewShown(); }

void CChildFrame::EndOpenEdit() {
  if (m_editing != kEditInCell) return;
  if (CDocumentView* view = GetActiveView()) view->EndEdit(0);
}

void CChildFrame::RecalcAfterEdit() {
  if (!m_workbook.RecalculateForMode(false)) ShowError(m_workbook.error);
  if (CDocumentView* view = GetActiveView()) view->InvalidateFormulaCells(true);
  ShowRecalculatedValues();
}

void CChildFrame::CompleteEdit() {
  RecalcAfterEdit();
  if (CDocumentView* view = GetActiveView()) view->SyncOtherPane();
  RefreshFrameUI();
  SetModified(true);
}

void CChildFrame::CopyFirstViewPosition() {
  m_view[1].m_firstRow = m_view[0].m_firstRow;
  m_view[1].m_firstColumn = m_view[0].m_firstColumn;
  m_view[1].m_selection = m_view[0].m_selection;
  m_view[1].m_zoomX = m_view[0].m_zoomX;
  m_view[1].m_zoomY = m_view[0].m_zoomY;
  m_view[1].Invalidate();
}

void CChildFrame::StoreViewPosition() { StoreViewPositionInto(m_workbook.activeWorksheet); }

void CChildFrame::StoreViewPositionInto(CWorkSheet* sheet) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr || sheet == nullptr || !view->IsWindowVisible()) return;
  WorksheetViewState* state = ViewStateOf(&sheet->viewFormat);
  state->topLeft.column = static_cast<uint16_t>(view->m_firstColumn);
  state->topLeft.row = view->m_firstRow;
  const GridSelection& selection = view->m_selection;
  state->selection[0].column = static_cast<uint16_t>(selection.currentColumn);
  state->selection[0].row = selection.currentRow;
  state->selection[1].column = static_cast<uint16_t>(selection.endColumn);
  state->selection[1].row = selection.endRow;
}

void CChildFrame::LoadViewPosition() {
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (sheet == nullptr) return;
  const WorksheetViewState* state = ViewStateOf(&sheet->viewFormat);
  CDocumentView& view = m_view[0];
  view.m_firstColumn = state->topLeft.column;
  view.m_firstRow = state->topLeft.row;
  view.m_selection = GridSelection{};
  view.m_selection.currentColumn = view.m_selection.anchorColumn = state->selection[0].column;
  view.m_selection.currentRow = view.m_selection.anchorRow = state->selection[0].row;
  view.m_selection.endColumn = state->selection[1].column;
  view.m_selection.endRow = state->selection[1].row;
  if (sheet->viewFormat.zoom != 0) view.m_zoomX = view.m_zoomY = sheet->viewFormat.zoom;
  view.UpdateScrollRanges(true, true);
  view.Invalidate();
}

void CChildFrame::OnToggleTree() {
  EndOpenEdit();
  PaneLayout& panes = m_workbook.panes;
  panes.treePaneVisible = panes.treePaneVisible != 0 ? 0 : 1;
  if (panes.treePaneVisible != 0) {
    m_splitOuter.SetSinglePaneMode(kSplitterBothPanes);
    m_splitOuter.SetSplitterPos(TreePaneWidth(panes));
  } else {
    panes.treePaneWidth = static_cast<uint16_t>(m_splitOuter.GetSplitterPos());
    m_splitOuter.SetSinglePaneMode(1);
  }
  RefreshFrameUI();
}

void CChildFrame::OnToggleInspect() {
  EndOpenEdit();
  PaneLayout& panes = m_workbook.panes;
  panes.inspectPaneVisible = panes.inspectPaneVisible != 0 ? 0 : 1;
  const RECT r = m_splitInner.GetClientRect();
  if (panes.inspectPaneVisible != 0) {
    m_splitInner.SetSinglePaneMode(kSplitterBothPanes);
    m_splitInner.SetSplitterPos(r.bottom - InspectPaneHeight(panes));
  } else {
    panes.inspectPaneHeight = static_cast<uint16_t>(r.bottom - m_splitInner.GetSplitterPos() - r.top);
    m_splitInner.SetSinglePaneMode(0);
  }
  RefreshFrameUI();
}

void CChildFrame::OnPaneClose(HWND pane) {
  EndOpenEdit();
  PaneLayout& panes = m_workbook.panes;
  if (pane == m_paneTree.m_hWnd) {
    panes.treePaneWidth = static_cast<uint16_t>(m_splitOuter.GetSplitterPos());
    panes.treePaneVisible = 0;
    m_splitOuter.SetSinglePaneMode(1);
  } else if (pane == m_paneInspect.m_hWnd) {
    const RECT r = m_splitInner.GetClientRect();
    panes.inspectPaneHeight = static_cast<uint16_t>(r.bottom - m_splitInner.GetSplitterPos() - r.top);
    panes.inspectPaneVisible = 0;
    m_splitInner.SetSinglePaneMode(0);
  }
  RefreshFrameUI();
}

void CChildFrame::OnSplit(bool vertical) {
  EndOpenEdit();
  CSplitterWindow& wanted = vertical ? static_cast<CSplitterWindow&>(m_splitViewsV) : m_splitViewsH;
  CSplitterWindow& other = vertical ? static_cast<CSplitterWindow&>(m_splitViewsH) : m_splitViewsV;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (wanted.m_hWnd == nullptr) {
    m_splitInner.SetSplitterPane(0, nullptr, false);
    if (other.m_hWnd != nullptr) other.DestroyWindow();
    if (!CreateViewsSplitter(wanted)) {
      // The views must live somewhere: the other orientation, unsplit.
      if (wanted.m_hWnd != nullptr) wanted.DestroyWindow();
      if (CreateViewsSplitter(other)) {
        other.SetSinglePaneMode(0);
        m_splitInner.SetSplitterPane(0, other);
      }
      ShowError(kWorkbookOutOfMemory);
      RefreshFrameUI();
      return;
    }
    CopyFirstViewPosition();
    wanted.SetSinglePaneMode(kSplitterBothPanes);
    wanted.SetSplitterPos(-1);
    m_splitInner.SetSplitterPane(0, wanted);
    if (sheet != nullptr) {
      sheet->horizontalSplit = vertical ? 0 : 1;
      sheet->verticalSplit = vertical ? 1 : 0;
    }
    m_view[0].SetFocus();
  } else if (wanted.GetSinglePaneMode() != kSplitterBothPanes) {
    CopyFirstViewPosition();
    wanted.SetSinglePaneMode(kSplitterBothPanes);
    wanted.SetSplitterPos(-1);
    if (sheet != nullptr) (vertical ? sheet->verticalSplit : sheet->horizontalSplit) = 1;
  } else {
    wanted.SetSinglePaneMode(0);
    if (sheet != nullptr) (vertical ? sheet->verticalSplit : sheet->horizontalSplit) = 0;
  }
  RefreshFrameUI();
}

HWND CChildFrame::PaneWindow(int pane) {
  switch (pane) {
    case kPaneTree:
      return m_tree;
    case kPaneFirstView:
      return m_view[0];
    case kPaneSecondView:
      return m_view[1];
    case kPaneInspect:
      return m_inspect;
  }
  return nullptr;
}

void CChildFrame::OnNextPane(bool backwards) {
  const HWND focus = ::GetFocus();
  int current = kPaneFirstView;
  if (WindowHolds(m_paneTree, focus)) {
    current = kPaneTree;
  } else if (WindowHolds(m_view[1], focus)) {
    current = kPaneSecondView;
  } else if (WindowHolds(m_paneInspect, focus)) {
    current = kPaneInspect;
  }
  const bool visible[kPaneCount] = {TreeShown(), ViewsSplitter() != nullptr, SecondViewShown(), InspectShown()};
  const int next = NextVisiblePane(current, visible, backwards);
  if (next == current) return;
  // A view left this way lets the mouse go.
  if ((current == kPaneFirstView || current == kPaneSecondView) && ::GetCapture() == PaneWindow(current))
    ::ReleaseCapture();
  if (next == kPaneFirstView || next == kPaneSecondView) {
    if (CSplitterWindow* splitter = ViewsSplitter()) splitter->SetActivePane(next - kPaneFirstView);
  }
  ::SetFocus(PaneWindow(next));
}

void CChildFrame::OnBeginEdit(const char* typed) {
  if (m_editing != kEditIdle) return;
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return;
  bool begun = false;
  if (typed != nullptr) {
    begun = view->BeginEdit(typed, static_cast<int>(std::strlen(typed)));
  } else {
    // F2 edits what the cell holds, a formula in its display form, with the
    // caret before it.
    char text[kEditCapacity + 1] = {};
    CWorkSheet* sheet = m_workbook.activeWorksheet;
    const GridSelection& at = view->m_selection;
    if (sheet != nullptr)
      sheet->GetCellText(&m_workbook, text, sizeof text, static_cast<uint16_t>(at.currentColumn),
                         static_cast<uint16_t>(at.currentColumn), at.currentRow, at.currentRow, false, false);
    begun = view->BeginEdit(text, 0);
  }
  // An editor that did not open holds an old text, which no later end of
  // the edit may store.
  if (!begun) return;
  m_editing = kEditInCell;
  if (m_owner != nullptr) m_owner->UpdateStatusBar();
}
