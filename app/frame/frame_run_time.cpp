// The frame while the program runs: the message filter with its activity
// clocks, the idle refresh of bars and tool windows, and the command states.

#include "app/clipboard/clipboard_format.h"
#include "app/document/child_frame.h"
#include "app/frame/activity_clock.h"
#include "app/frame/frame_only_commands.h"
#include "app/frame/main_frame.h"
#include "app/frame/row_height_state.h"
#include "app/frame/selection_reference.h"
#include "app/frame/text_editing_keys.h"
#include "app/frame/unbuilt_commands.h"
#include "app/tree/tree_view_ctrl.h"
#include "services/settings/global_options.h"
#include "core/base/global_options.h"
#include "core/model/worksheet_view_state.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/recent_document_menu.h"
#include "resources/resource_ids.h"

namespace {

// Pictures of the secondary toolbar's tree button.
constexpr LPARAM kTreeShownImage = 0;
constexpr LPARAM kTreeHiddenImage = 1;

bool Held(int key) { return ::GetKeyState(key) < 0; }

// A key-down with which the edit control that has the focus (the in-cell
// editor, the formula bar, the name box, a tree label) edits its text. A
// tree label being edited keeps every key-down but the system keys: while
// it is open no key runs a command (Enter takes the name, Esc drops it).
bool IsKeyOfFocusedEdit(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const bool editingKey =
      IsTextEditingKey(static_cast<uint32_t>(msg.wParam), Held(VK_CONTROL), Held(VK_SHIFT), Held(VK_MENU));
  if (IsTreeLabelEdit(msg.hwnd)) return editingKey || msg.message == WM_KEYDOWN;
  return editingKey && (::SendMessageA(msg.hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
}

// Whether the clipboard holds the program's own block or a text; false,
// telling nothing, when the clipboard cannot be opened.
bool ReadPasteOffer(HWND owner, bool* pasteable) {
  if (!OpenClipboard(owner)) return false;
  const UINT privateFormat = PrivateClipboardFormat();
  *pasteable = (privateFormat != 0 && IsClipboardFormatAvailable(privateFormat)) ||
               IsClipboardFormatAvailable(CF_TEXT);
  CloseClipboard();
  return true;
}

}  // namespace

void CMainFrame::StampActivityClocks() {
  m_clocks.autoSave = m_clocks.autoClose = ActivityClockNow();
}

void CMainFrame::NoteInput(const MSG& msg) {
  if (IsUserInputMessage(msg.message)) StampActivityClocks();
}

bool CMainFrame::PreTranslateMessage(MSG* msg) {
  NoteInput(*msg);
  if (m_preview.m_hWnd != nullptr) return FilterPreviewInput(msg);
  // A focused edit control's own editing keys pass the accelerators, which
  // would give them to commands on cells.
  if (m_accelerators != nullptr && !IsKeyOfFocusedEdit(*msg) && TranslateAcceleratorA(m_hWnd, m_accelerators, msg))
    return true;
  return TranslateForActiveChild(msg);
}

// The documents lie hidden under the preview: their windows, and the
// active one's own keys, get no key. The frame's accelerators still give
// their commands, of which the frame runs only the preview's.
bool CMainFrame::FilterPreviewInput(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  if (m_accelerators != nullptr && TranslateAcceleratorA(m_hWnd, m_accelerators, msg)) return true;
  if (msg->hwnd != m_hWndClient && !::IsChild(m_hWndClient, msg->hwnd)) return false;
  // The focus found its way into a hidden document: the key is dropped and
  // the focus goes where the user looks.
  m_preview.SetFocus();
  return true;
}

namespace {

// Every command of the menu and its pop-ups, in order.
template <class Visit>
void ForEachMenuCommand(HMENU menu, Visit visit) {
  const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    if (HMENU popup = GetSubMenu(menu, i)) {
      ForEachMenuCommand(popup, visit);
      continue;
    }
    const UINT command = GetMenuItemID(menu, i);
    if (command != 0 && command != UINT(-1)) visit(command);
  }
}

}  // namespace

void CMainFrame::EnableDocumentCommands(bool documentActive) {
  ForEachMenuCommand(m_menu, [&](UINT command) { UIEnable(command, documentActive || WorksWithoutDocument(command)); });
}

void CMainFrame::EnableMainToolBar(bool documentActive) {
  const int count = static_cast<int>(::SendMessageA(m_mainToolBar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    if (!::SendMessageA(m_mainToolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
    const UINT command = static_cast<UINT>(button.idCommand);
    if ((button.fsStyle & BTNS_SEP) != 0 || command == ID_FILE_NEW || command == ID_FILE_OPEN) continue;
    if (command == ID_EDIT_UNDO || command == ID_EDIT_REDO || command == ID_EDIT_CUT || command == ID_EDIT_COPY ||
        command == ID_EDIT_PASTE || command == ID_EDIT_FIND)
      continue;
    ::SendMessageA(m_mainToolBar, TB_ENABLEBUTTON, command,
                 MAKELPARAM(documentActive && !IsCommandUnbuilt(command), 0));
  }
  UIEnable(ID_EDIT_UNDO, false);
  UIEnable(ID_EDIT_REDO, false);
  // The menus' Cut and Copy follow the buttons: without a document nothing
  // is copied.
  UIEnable(ID_EDIT_CUT, documentActive);
  UIEnable(ID_EDIT_COPY, documentActive);
  bool pasteable = false;
  if (!documentActive || ReadPasteOffer(m_hWnd, &pasteable)) UIEnable(ID_EDIT_PASTE, documentActive && pasteable);
  EnableFind(::IsWindowVisible(m_findToolBar) != FALSE);
}

bool CMainFrame::OnIdle() {
  // Activation raises the frame, at times only once the window system's
  // own events arrive, after the activation messages: the tool windows
  // are put back above it when the queue has emptied.
  KeepToolWindowsAbove();
  // The preview keeps the bars it shows; a document closed under it ends it.
  if (m_preview.m_hWnd != nullptr) {
    PreviewedDocumentOpen();
    UIUpdateToolBars();
    return false;
  }
  // Closing the last document window activates none, so no activation asks
  // for the refresh: the change of state itself does.
  const bool active = GetActiveChildFrame() != nullptr;
  if (m_refreshPending || active != (m_documentActive != 0)) {
    m_refreshPending = 0;
    bool changed = false;
    if (active && m_documentActive == 0) {
      m_documentActive = 1;
      ReBarShowBand(m_hWndToolBar, kSecondaryToolBarBand, true);
      UpdateLayout();
      LayoutSecondaryBar();
      changed = true;
    } else if (!active && m_documentActive == 1) {
      m_documentActive = 0;
      ReBarShowBand(m_hWndToolBar, kSecondaryToolBarBand, false);
      ShowFindBar(false);
      changed = true;
    }
    if (changed) {
      EnableDocumentCommands(active);
      EnableMainToolBar(active);
      if (active) UpdateUI();
    }
    RestoreToolWindows(active);
    // A tool window left shown comes back with the next document.
    if (active && Options.CellFormatVisible != 0 && m_formatSheet.m_hWnd == nullptr) {
      Options.CellFormatVisible = 0;
      PostMessage(WM_COMMAND, ID_FORMAT_CELLS);
    }
    if (!active && m_formatSheet.m_hWnd != nullptr) m_formatSheet.DestroyWindow();
    if (!active && m_hWndStatusBar != nullptr) {
      StatusBarSetText(m_hWndStatusBar, 0, "");
      StatusBarSetText(m_hWndStatusBar, 1, "");
      ::SendMessageA(m_hWndStatusBar, SB_SETICON, 2, 0);
      StatusBarSetText(m_hWndStatusBar, 3, "", SBT_POPOUT);
    }
  }
  UIUpdateToolBars();
  return false;
}

void CMainFrame::OnInitMenuPopup(HMENU popup) {
  const UINT first = GetMenuItemCount(popup) > 0 ? GetMenuItemID(popup, 0) : 0;
  if (first == ID_FILE_MRU_FIRST) UpdateRecentDocumentMenu(popup, m_recentDocuments, ID_FILE_MRU_FIRST, "(empty)");
  if (first == ID_FORMAT_CELLS) {
    // Auto Row Height is checked while no selected row has a fixed height.
    CChildFrame* child = GetActiveChildFrame();
    CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
    const CWorkSheet* sheet = view != nullptr ? view->Worksheet() : nullptr;
    if (sheet != nullptr) {
      const SelectionRange s = view->Selection();
      UISetCheck(ID_AUTO_ROW_HEIGHT, GetAutoRowHeightState(s.firstRow, s.lastRow, sheet->format.rows) == kNoRowFixed);
    }
  }
  UIUpdateMenu(popup);
}

void CMainFrame::WriteNameBox(uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn, uint32_t lastRow) {
  char text[kSelectionReferenceCapacity];
  FormatSelectionReference(firstColumn, firstRow, lastColumn, lastRow, AddressingA1 != 0, text, sizeof text);
  SetNameBoxText(text);
}

void CMainFrame::UpdateUI() {
  CWorkBook* book = GetActiveWorkbook();
  CChildFrame* child = GetActiveChildFrame();
  if (child == nullptr || book == nullptr) return;
  const bool writable = book->readOnly == 0;
  // A workbook read from another program's file format has no native
  // variant to choose.
  const bool native = book->sourceFormat == 0;
  UIEnable(ID_FILE_SAVE, writable);
  UIEnable(ID_FILE_SAVE_AS, writable);
  UIEnable(ID_PROTECTION, writable);
  UIEnable(ID_SAVE_FORMAT_XML, writable && native);
  UIEnable(ID_SAVE_FORMAT_BINARY, writable && native);
  ShowPanesAndSplits(child, book->activeWorksheet);
  UIEnable(ID_EDIT_UNDO, book->undoHistory.CanUndo());
  UIEnable(ID_EDIT_REDO, book->undoHistory.CanRedo());
  bool pasteable = false;
  if (ReadPasteOffer(m_hWnd, &pasteable)) UIEnable(ID_EDIT_PASTE, pasteable);
  if (const CWorkSheet* sheet = book->activeWorksheet) {
    const uint8_t frozen = ViewStateOf(&sheet->viewFormat)->frozen.flags;
    UISetCheck(ID_LOCK_FIRST_COLUMN, (frozen & kCornerColumnGiven) != 0);
    UISetCheck(ID_LOCK_FIRST_ROW, (frozen & kCornerRowGiven) != 0);
  }
  // The mode in force, so that a workbook following a manual option is not
  // shown as updating automatically.
  UISetCheck(ID_AUTOMATIC_UPDATING, UpdateMode(book->recalcMode) <= kUpdateAutomaticActiveSheet);
  UISetCheck(ID_SAVE_FORMAT_XML, native && (book->saveKind == 2 || book->saveKind == 3));
  UISetCheck(ID_SAVE_FORMAT_BINARY, native && (book->saveKind == 0 || book->saveKind == 4 || book->saveKind == 5));
  const uint8_t region = CurrentRegionalSettings().localeChoice;
  UISetCheck(ID_REGION_GENERIC, region == kRegionGeneric);
  UISetCheck(ID_REGION_SYSTEM, region == kRegionSystemDefault);
  UISetCheck(ID_REGION_USER, region == kRegionUserDefault);
  ShowActiveCellText(child, book);
  UISetCheck(ID_LOCK_EDITING, Options.LockEdit != 0);
  UISetCheck(ID_FORMAT_CELLS, Options.CellFormatVisible != 0);
  UISetCheck(ID_FORMAT_WORKSHEET, Options.WorksheetFormatVisible != 0);
  ShowActiveCellFormat(child, book);
}

void CMainFrame::ShowPanesAndSplits(CChildFrame* child, const CWorkSheet* sheet) {
  const bool treeShown = child->TreeShown();
  UISetCheck(ID_VIEW_TREE, treeShown);
  UISetCheck(ID_VIEW_INSPECT, child->InspectShown());
  // The tree button's picture tells whether the tree is shown.
  const LPARAM image = treeShown ? kTreeShownImage : kTreeHiddenImage;
  if (::SendMessageA(m_secondaryToolBar, TB_GETBITMAP, ID_VIEW_TREE, 0) != image)
    ::SendMessageA(m_secondaryToolBar, TB_CHANGEBITMAP, ID_VIEW_TREE, image);
  if (sheet != nullptr) {
    UISetCheck(ID_SPLIT_HORIZONTALLY, sheet->horizontalSplit != 0);
    UISetCheck(ID_SPLIT_VERTICALLY, sheet->verticalSplit != 0);
  }
}

// The active cell's text as editing would start from it: a formula in its
// display form, any other value as text that, entered again, gives the same
// value, so that Enter in the bar never changes a cell it did not edit.
void CMainFrame::ShowActiveCellText(CChildFrame* child, CWorkBook* book) {
  if (Options.LockEdit != 0) return;
  char text[kEditCapacity + 1] = {};
  CDocumentView* view = child->GetActiveView();
  if (view != nullptr && book->activeWorksheet != nullptr) {
    const GridSelection& at = view->m_selection;
    const uint16_t column = static_cast<uint16_t>(at.currentColumn);
    book->activeWorksheet->GetCellText(book, text, sizeof text, column, column, at.currentRow, at.currentRow, false,
                                       false);
  }
  ::SetWindowTextA(m_formulaBar.m_hWnd, text);
}
