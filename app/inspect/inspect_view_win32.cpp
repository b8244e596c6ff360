#include "app/inspect/inspect_view.h"

#include <commctrl.h>

#include <cstring>

#include "app/document/child_frame.h"
#include "app/inspect/inspect_entries.h"
#include "app/inspect/inspect_layout.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/wait_cursor.h"
#include "platform/ui/window_class.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;
constexpr COLORREF kMissingColor = RGB(255, 0, 0);  // 0x0000FF as the system writes it

struct ColumnTitle {
  const char* text;
  int width;
};
constexpr ColumnTitle kColumns[kInspectColumns] = {{"Name", 180}, {"Address", 180}, {"Formula", 180}, {"Value", 120}};

struct ButtonTitle {
  UINT id;
  const char* text;
};
// In their order along the bottom edge.
constexpr ButtonTitle kButtons[kInspectButtons] = {{CInspectView::kAddId, "<--- Add"},
                                                    {CInspectView::kRenameId, "Rename"},
                                                    {CInspectView::kRemoveId, "Remove"},
                                                    {CInspectView::kRemoveAllId, "Remove All"},
                                                    {CInspectView::kGoToId, "Go To"}};

HFONT GuiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, UINT id) {
  HWND child = ::CreateWindowExA(0, cls, text, kChildStyle | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                 nullptr);
  if (child != nullptr) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
  return child;
}

// The width of the first ten characters of " Remove All " on the screen.
int ButtonWidth() {
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, GuiFont());
  SIZE size{};
  ::GetTextExtentPoint32A(dc, " Remove All ", 10, &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return size.cx;
}

void Place(HWND window, const UiRect& r, bool shown) {
  ::MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  ::ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

CInspectView::CInspectView(CChildFrame* owner) : m_owner(owner), m_rowHeight(::GetSystemMetrics(SM_CYMENU)) {}

HWND CInspectView::CreateInspectView(HWND parent) {
  static WindowClass cls{};
  if (cls.atom == 0 && !RegisterOwnClass("TalveroInspect", CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), &cls))
    return nullptr;
  return Create(cls, parent, RECT{0, 0, 0, 0}, "", kChildStyle | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
}

LRESULT CInspectView::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate();
    case WM_SIZE:
      OnSize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_PAINT:
      return OnPaint();
    case WM_SETFOCUS:
      // The pane cycle's stop in the pane is its list.
      if (m_list != nullptr) ::SetFocus(m_list);
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(m_rowHeight);
      return TRUE;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lp)->code == HDN_ENDTRACKA || reinterpret_cast<NMHDR*>(lp)->code == HDN_ENDTRACKW)
        InvalidateList();
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CInspectView::OnCreate() {
  m_header = CreateChild(m_hWnd, WC_HEADERA, "", HDS_BUTTONS | HDS_HOTTRACK | HDS_FULLDRAG, kHeaderId);
  if (m_header == nullptr) return -1;
  for (int i = 0; i < kInspectColumns; ++i) {
    HDITEMA column{};
    column.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    column.pszText = const_cast<char*>(kColumns[i].text);
    column.cxy = kColumns[i].width;
    column.fmt = HDF_LEFT | HDF_STRING;
    ::SendMessageA(m_header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&column));
  }
  m_list = CreateChild(m_hWnd, "LISTBOX", "",
                       LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, kListId);
  m_edit = CreateChild(m_hWnd, "EDIT", "", WS_BORDER | ES_AUTOHSCROLL, kEditId);
  if (m_list == nullptr || m_edit == nullptr) return -1;
  ::SendMessageA(m_edit, EM_LIMITTEXT, kNameLimit, 0);
  for (const ButtonTitle& button : kButtons)
    if (CreateChild(m_hWnd, "BUTTON", button.text, BS_PUSHBUTTON, button.id) == nullptr) return -1;
  return 0;
}

void CInspectView::OnSize(int width, int height) {
  const InspectLayout layout = LayoutInspectPane(width, height, m_rowHeight, ButtonWidth());
  for (int i = 0; i < kInspectColumns; ++i) {
    HDITEMA column{};
    column.mask = HDI_WIDTH;
    column.cxy = layout.columnWidth;
    ::SendMessageA(m_header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&column));
  }
  Place(m_header, layout.header, true);
  Place(m_list, layout.list, true);
  Place(m_edit, layout.edit, layout.editShown);
  for (int i = 0; i < kInspectButtons; ++i) Place(Button(kButtons[i].id), layout.buttons[i], layout.buttonsShown);
  ::InvalidateRect(m_list, nullptr, TRUE);
  for (const ButtonTitle& button : kButtons) ::InvalidateRect(Button(button.id), nullptr, TRUE);
}

LRESULT CInspectView::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT strip = GetClientRect();
  strip.top = strip.bottom - (m_rowHeight + 1);
  ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_3DFACE));
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

bool CInspectView::FillList() {
  ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
  const uint32_t count = m_owner->Workbook()->inspectCells.Count();
  for (uint32_t i = 0; i < count; ++i) {
    const LRESULT added = ::SendMessageA(m_list, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    if (added == LB_ERR || added == LB_ERRSPACE) return false;
  }
  if (count > 0) SelectIndex(0);
  return true;
}

void CInspectView::InvalidateList() {
  if (m_list != nullptr) ::InvalidateRect(m_list, nullptr, TRUE);
}

void CInspectView::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != m_list || item.itemID == static_cast<UINT>(-1)) return;
  InspectRow row;
  FormatInspectRow(m_owner->Workbook(), item.itemID, &row);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const COLORREF text = row.missing ? kMissingColor : ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const COLORREF oldText = ::SetTextColor(dc, text);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = ::SelectObject(dc, GuiFont());
  const char* texts[kInspectColumns] = {row.name, row.address, row.formula, row.value};
  for (int i = 0; i < kInspectColumns; ++i) {
    RECT column{};
    ::SendMessageA(m_header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&column));
    RECT cell{column.left + 4, item.rcItem.top, column.right - 4, item.rcItem.bottom};
    ::DrawTextA(dc, texts[i], -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  ::SelectObject(dc, oldFont);
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldText);
  if ((item.itemState & ODS_FOCUS) != 0) ::DrawFocusRect(dc, &item.rcItem);
}

bool CInspectView::OnCommand(UINT id, UINT code) {
  switch (id) {
    case kAddId:
      if (code == BN_CLICKED) OnAdd();
      return true;
    case kRenameId:
      if (code == BN_CLICKED) OnRenameEntry();
      return true;
    case kRemoveId:
      if (code == BN_CLICKED) OnRemove();
      return true;
    case kRemoveAllId:
      if (code == BN_CLICKED) OnRemoveAll();
      return true;
    case kGoToId:
      if (code == BN_CLICKED) OnGoTo();
      return true;
    case kListId:
      if (code == LBN_SELCHANGE) {
        const int index = SelectedIndex();
        InspectCellFields entry;
        if (index >= 0 && m_owner->Workbook()->inspectCells.At(index) != nullptr) {
          ReadInspectCell(m_owner->Workbook()->inspectCells.At(index), &entry);
          ::SetWindowTextA(m_edit, entry.name);
        }
      } else if (code == LBN_DBLCLK) {
        OnGoTo();
      }
      return true;
  }
  return false;
}

int CInspectView::SelectedIndex() const { return static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0)); }

void CInspectView::SelectIndex(int index) { ::SendMessageA(m_list, LB_SETCURSEL, index, 0); }

void CInspectView::TakeEditText(char* name, int size) const { ::GetWindowTextA(m_edit, name, size); }

void CInspectView::OnAdd() {
  char name[kInspectNameSize] = {};
  TakeEditText(name, sizeof name);
  HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU_INSPECT_ADD));
  if (menu == nullptr) return;
  const RECT button = CWindow(Button(kAddId)).GetWindowRect();
  const UINT command = TrackPopupMenuCommand(::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN, button.left,
                                             button.top, m_hWnd);
  ::DestroyMenu(menu);
  InspectAdd what;
  switch (command) {
    case ID_INSPECT_ALL_FORMULAS:
      what = InspectAdd::kAllFormulas;
      break;
    case ID_INSPECT_FORMULA_ERRORS:
      what = InspectAdd::kFormulaErrors;
      break;
    case ID_INSPECT_SELECTED_CELLS:
      what = InspectAdd::kSelectedCells;
      break;
    default:
      return;
  }
  WaitCursor wait;
  UndoRange selection{};
  if (CDocumentView* view = m_owner->GetActiveView()) {
    const SelectionRange s = view->Selection();
    selection = UndoRange{static_cast<uint16_t>(s.firstColumn), s.firstRow, static_cast<uint16_t>(s.lastColumn),
                          s.lastRow};
  }
  const bool stored = AddInspectEntries(m_owner->Workbook(), what, selection, name);
  FillList();
  SelectIndex(static_cast<int>(::SendMessageA(m_list, LB_GETCOUNT, 0, 0)) - 1);
  if (!stored) m_owner->ShowError(kWorkbookOutOfMemory);
}

void CInspectView::OnRenameEntry() {
  const int index = SelectedIndex();
  if (index < 0) return;
  char name[kInspectNameSize] = {};
  TakeEditText(name, sizeof name);
  RenameInspectEntry(m_owner->Workbook(), static_cast<uint32_t>(index), name);
  InvalidateList();
}

void CInspectView::OnRemove() {
  const int index = SelectedIndex();
  if (index < 0) return;
  if (!RemoveInspectEntry(m_owner->Workbook(), static_cast<uint32_t>(index))) {
    m_owner->ShowError(kWorkbookOutOfMemory);
    return;
  }
  FillList();
  const int count = static_cast<int>(::SendMessageA(m_list, LB_GETCOUNT, 0, 0));
  SelectIndex(index < count ? index : count - 1);
}

void CInspectView::OnRemoveAll() {
  RemoveAllInspectEntries(m_owner->Workbook());
  FillList();
}

void CInspectView::OnGoTo() {
  const int index = SelectedIndex();
  const uint8_t* record = index >= 0 ? m_owner->Workbook()->inspectCells.At(static_cast<uint32_t>(index)) : nullptr;
  if (record == nullptr) return;
  InspectCellFields entry;
  ReadInspectCell(record, &entry);
  CWorkSheet* sheet = InspectEntryWorksheet(m_owner->Workbook(), entry);
  if (sheet == nullptr) {
    char text[256];
    if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_INVALID_GOTO, text, sizeof text) <= 0) text[0] = '\0';
    ShowMessage(text);
    return;
  }
  m_owner->SelectTreeItem(sheet);
  m_owner->SetCursorCell(entry.column, entry.row);
}
