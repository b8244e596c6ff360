#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>
#include <cstdio>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/xbase/xbase_dialogs.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/message_box.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr int kXBaseHelpTopic = 16;
constexpr int kColumnCountShown = 3;

int GuiFontLineHeight(HWND window, int extra) {
  const TEXTMETRICA metrics = StockFontMetrics(window, DEFAULT_GUI_FONT);
  return metrics.tmHeight + metrics.tmExternalLeading + extra;
}

// The table keeps a shorter length than the one typed: the user is told
// which, so that no field changes unseen.
void TellLengthLimited(HWND owner, char type, int32_t limit) {
  const int item = XBaseTypeItem(type);
  char pattern[160];
  if (LoadStringA(GetModuleHandleA(nullptr), IDS_XBASE_LENGTH_LIMITED, pattern, sizeof pattern) <= 0) return;
  DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(item >= 0 ? kXBaseOfferedTypeNames[item] : XBaseTypeName(type)),
                           static_cast<DWORD_PTR>(limit)};
  char text[256];
  if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern, 0, 0, text, sizeof text,
                     reinterpret_cast<va_list*>(arguments)) == 0)
    return;
  char caption[128];
  LoadProductTitle(caption, sizeof caption);
  ShowMessageBox(owner, text, caption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

CXBaseFileDlg::CXBaseFileDlg(XBaseTable* table, const char* path, bool save)
    : CDialogImpl(IDD_XBASE_FILE), m_table(table), m_save(save) {
  // The whole path is made pretty before its name is taken: a name alone
  // would keep its first letter in upper case ("Name.dbf").
  char shown[kFilePathSize];
  const DWORD length = GetShortPathNameA(path, shown, sizeof shown);
  if (length == 0 || length >= sizeof shown) std::snprintf(shown, sizeof shown, "%s", path);
  PathMakePrettyA(shown);
  std::snprintf(m_displayName, sizeof m_displayName, "%s", PathFindFileNameA(shown));
}

LRESULT CXBaseFileDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_DRAWITEM:
      if (wp != IDC_FIELD_LIST) break;
      DrawField(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lp)->code != HDN_ENDTRACKA &&
          reinterpret_cast<const NMHDR*>(lp)->code != HDN_ENDTRACKW)
        break;
      ::InvalidateRect(m_list, nullptr, TRUE);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK: OnOK(); return 0;
        case IDHELP: ShowDialogHelp(kXBaseHelpTopic); return 0;
        case IDC_SIDE_BUTTON: EditSelectedField(); return 0;
        case IDC_FIELD_LIST:
          if (HIWORD(wp) == LBN_DBLCLK) EditSelectedField();
          return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CXBaseFileDlg::OnInitDialog() {
  const int checked = m_table->codePage == 3 ? IDC_SECOND_RADIO : IDC_FIRST_RADIO;
  CheckDlgButton(m_hWnd, checked, BST_CHECKED);
  char text[kFilePathSize + 96];
  FormatXBaseSummary(*m_table, m_displayName, text, sizeof text);
  SetDlgItemTextA(m_hWnd, IDC_PATH_TEXT, text);
  CreateFieldList();
  if (!m_save) ::ShowWindow(GetDlgItem(IDC_SIDE_BUTTON), SW_HIDE);
  FormatXBaseCaption(m_table->dialect, m_save, text, sizeof text);
  SetWindowText(text);
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

void CXBaseFileDlg::CreateFieldList() {
  CWindow frame(GetDlgItem(IDC_CLOCK_TEXT));
  RECT r = frame.GetRectInParent();
  InflateRect(&r, -2, -2);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const int headerHeight = GetSystemMetrics(SM_CYMENU);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  m_header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_HORZ, r.left, r.top, r.right - r.left,
                             headerHeight, m_hWnd, nullptr, instance, nullptr);
  ::SendMessageA(m_header, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  static const char* const kTitles[kColumnCountShown] = {"Field Name", "Field Type", "Length (Decimals)"};
  const int width = (r.right - r.left + 1) / kColumnCountShown;
  for (int i = 0; i < kColumnCountShown; ++i) {
    HDITEMA column{};
    column.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    column.pszText = const_cast<char*>(kTitles[i]);
    column.cxy = width;
    column.fmt = HDF_LEFT | HDF_STRING;
    ::SendMessageA(m_header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&column));
  }
  m_list = CreateWindowExA(0, "LISTBOX", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                               LBS_NOINTEGRALHEIGHT,
                           r.left, r.top + headerHeight, r.right - r.left, r.bottom - r.top - headerHeight, m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIELD_LIST)), instance, nullptr);
  ::SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageA(m_list, LB_SETITEMHEIGHT, 0, GuiFontLineHeight(m_hWnd, 3));
  const uint32_t count = XBaseFieldCount(*m_table);
  for (uint32_t i = 0; i < count; ++i) ::SendMessageA(m_list, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
}

void CXBaseFileDlg::DrawField(const DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.itemID) < 0) {
    DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  const uint8_t* field = XBaseFieldAt(*m_table, item.itemID);
  if (field == nullptr) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HBRUSH brush = CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : GetBkColor(item.hDC));
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  const COLORREF priorColour =
      SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int priorMode = SetBkMode(item.hDC, TRANSPARENT);
  HGDIOBJ priorFont = SelectObject(item.hDC, GetStockObject(DEFAULT_GUI_FONT));
  char texts[kColumnCountShown][48];
  FormatXBaseNameColumn(field, item.itemID, texts[0], sizeof texts[0]);
  std::snprintf(texts[1], sizeof texts[1], "%s", XBaseTypeName(static_cast<char>(field[kXBaseFieldType])));
  FormatXBaseLength(field, m_table->dialect, texts[2], sizeof texts[2]);
  for (int i = 0; i < kColumnCountShown; ++i) {
    RECT column{};
    ::SendMessageA(m_header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&column));
    RECT cell{column.left + 2, item.rcItem.top, column.right - 2, item.rcItem.bottom};
    DrawTextA(item.hDC, texts[i], -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SelectObject(item.hDC, priorFont);
  SetBkMode(item.hDC, priorMode);
  SetTextColor(item.hDC, priorColour);
}

void CXBaseFileDlg::EditSelectedField() {
  // Before a read the descriptors say how the records are laid out: an
  // edited field would garble every record after it.
  if (!m_save) return;
  const LRESULT selected = ::SendMessageA(m_list, LB_GETCURSEL, 0, 0);
  uint8_t* field = selected == LB_ERR ? nullptr : XBaseFieldAt(*m_table, static_cast<uint32_t>(selected));
  if (field == nullptr) return;
  const XBaseFieldValues values = XBaseFieldValuesOf(field, m_table->dialect);
  CXbaseFieldDlg dialog(values.name, values.type, values.length, values.decimals);
  if (dialog.DoModal(m_hWnd) != IDOK) return;
  const XBaseFieldValues& edited = dialog.Values();
  StoreXBaseField(field, m_table->dialect, edited);
  const int32_t limit = XBaseLengthLimit(m_table->dialect, edited.type);
  if (edited.length > limit) TellLengthLimited(m_hWnd, edited.type, limit);
  ::InvalidateRect(m_list, nullptr, TRUE);
}

void CXBaseFileDlg::OnOK() {
  m_table->codePage = IsDlgButtonChecked(m_hWnd, IDC_FIRST_RADIO) == BST_CHECKED ? kXBaseCodePageAnsi : 3;
  EndDialog(IDOK);
}
