#include "dialogs/drop_down_lists/list_dialogs.h"

#include <cstdio>
#include <string>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/drop_down_lists/list_slots.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr int kListsHelpTopic = 12;
constexpr int kTooManyListsError = 15;

const ResizeAnchor kAnchors[] = {
    {IDC_LIST_NAME_COMBO, kAnchorSizeX},
    {IDC_NEW_LIST_BUTTON, kAnchorMoveX},
    {IDC_RENAME_LIST_BUTTON, kAnchorMoveX},
    {IDC_REMOVE_LIST_BUTTON, kAnchorMoveX},
    {IDC_LIST_ITEMS_EDIT, kAnchorSizeX | kAnchorSizeY},
    {IDC_AUTO_APPEND_CHECK, kAnchorMoveY},
    {IDC_AUTO_COMPLETE_CHECK, kAnchorMoveY},
    {IDC_SORT_ITEMS_CHECK, kAnchorMoveY},
    {IDOK, kAnchorMoveX | kAnchorMoveY},
    {IDCANCEL, kAnchorMoveX | kAnchorMoveY},
    {IDHELP, kAnchorMoveX | kAnchorMoveY},
};

}  // namespace

CListNameDlg::CListNameDlg(const char* name) : CDialogImpl(IDD_LIST_NAME) {
  std::snprintf(m_name, sizeof m_name, "%s", name);
}

LRESULT CListNameDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      PlaceOpeningDialog(m_hWnd);
      ::SendMessageA(GetDlgItem(IDC_LIST_NAME_EDIT), EM_LIMITTEXT, kDropDownNameSize - 1, 0);
      SetDlgItemTextA(m_hWnd, IDC_LIST_NAME_EDIT, m_name);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) != IDOK) break;
      {
        char name[kDropDownNameSize] = {};
        GetDlgItemTextA(m_hWnd, IDC_LIST_NAME_EDIT, name, sizeof name);
        // A slot without a name and without items is no list, so a new list
        // named so would not even be offered for choosing.
        if (name[0] == '\0') {
          MessageBeep(MB_OK);
          ::SetFocus(GetDlgItem(IDC_LIST_NAME_EDIT));
          return 0;
        }
        std::snprintf(m_name, sizeof m_name, "%s", name);
        EndDialog(IDOK);
      }
      return 0;
  }
  handled = false;
  return 0;
}

CInputListDlg::CInputListDlg(DropDownList* lists, const StyleRecord& style)
    : CDialogImpl(IDD_DROP_DOWN_LISTS), m_lists(lists), m_style(style) {}

DropDownList* CInputListDlg::CurrentList() const {
  const uint16_t number = m_style.dropDown.listId;
  return number >= 1 && number <= kDropDownListCount ? &m_lists[number - 1] : nullptr;
}

LRESULT CInputListDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_SIZE:
    case WM_GETMINMAXINFO:
      if (m_resize.HandleMessage(msg, wp, lp)) return 0;
      break;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
  }
  handled = false;
  return 0;
}

LRESULT CInputListDlg::OnInitDialog() {
  m_resize.Init(m_hWnd, kAnchors, sizeof kAnchors / sizeof kAnchors[0]);
  ::SendMessageA(GetDlgItem(IDC_LIST_NAME_COMBO), CB_SETEXTENDEDUI, TRUE, 0);
  if (CurrentList() == nullptr) m_style.dropDown.listId = 0;
  Load();
  PlaceOpeningDialog(m_hWnd);
  return TRUE;
}

bool CInputListDlg::OnCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_LIST_NAME_COMBO:
      if (code == CBN_SELENDOK) OnListChosen();
      return true;
    case IDC_LIST_ITEMS_EDIT:
      if (code == EN_CHANGE && !m_settingItems) m_itemsChanged = true;
      return true;
    case IDC_AUTO_APPEND_CHECK:
    case IDC_AUTO_COMPLETE_CHECK:
    case IDC_SORT_ITEMS_CHECK:
      if (code == BN_CLICKED) StoreSettings();
      return true;
    case IDC_NEW_LIST_BUTTON:
      OnNewList();
      return true;
    case IDC_RENAME_LIST_BUTTON:
      OnRenameList();
      return true;
    case IDC_REMOVE_LIST_BUTTON:
      OnRemoveList();
      return true;
    case IDOK:
      StoreItems();
      EndDialog(IDOK);
      return true;
    case IDHELP:
      ShowDialogHelp(kListsHelpTopic);
      return true;
  }
  return false;
}

void CInputListDlg::Load() {
  HWND names = GetDlgItem(IDC_LIST_NAME_COMBO);
  m_settingItems = true;
  SetDlgItemTextA(m_hWnd, IDC_LIST_ITEMS_EDIT, "");
  m_settingItems = false;
  m_itemsChanged = false;
  ::SendMessageA(names, CB_RESETCONTENT, 0, 0);
  ComboAddString(names, "None", 0);
  for (uint32_t slot = 0; slot < kDropDownListCount; ++slot)
    if (IsListInUse(m_lists[slot])) ComboAddString(names, m_lists[slot].name, static_cast<LPARAM>(slot + 1));
  ::SendMessageA(names, CB_SETCURSEL, 0, 0);
  const uint16_t number = m_style.dropDown.listId;
  if (number == 0) return;
  const int count = static_cast<int>(::SendMessageA(names, CB_GETCOUNT, 0, 0));
  for (int item = 0; item < count; ++item)
    if (::SendMessageA(names, CB_GETITEMDATA, item, 0) == number) ::SendMessageA(names, CB_SETCURSEL, item, 0);
  ShowItems();
  CheckDlgButton(m_hWnd, IDC_AUTO_APPEND_CHECK, m_style.dropDown.autoAppend ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, IDC_AUTO_COMPLETE_CHECK, m_style.dropDown.autoComplete ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hWnd, IDC_SORT_ITEMS_CHECK, m_style.dropDown.sort ? BST_CHECKED : BST_UNCHECKED);
}

void CInputListDlg::ShowItems() {
  const DropDownList* list = CurrentList();
  const std::string text = list != nullptr ? ListItemsText(*list) : std::string();
  m_settingItems = true;
  SetDlgItemTextA(m_hWnd, IDC_LIST_ITEMS_EDIT, text.c_str());
  m_settingItems = false;
  m_itemsChanged = false;
}

void CInputListDlg::StoreItems() {
  DropDownList* list = CurrentList();
  if (list == nullptr || !m_itemsChanged) return;
  HWND edit = GetDlgItem(IDC_LIST_ITEMS_EDIT);
  std::string text(static_cast<size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
  ::GetWindowTextA(edit, &text[0], static_cast<int>(text.size()));
  // Items that found no memory are lost; those stored so far stay.
  StoreListItems(list, text.c_str());
  m_itemsChanged = false;
  m_listsChanged = true;
}

void CInputListDlg::StoreSettings() {
  DropDownList* list = CurrentList();
  if (list == nullptr) return;
  const ListSettings settings = {
      static_cast<uint8_t>(IsDlgButtonChecked(m_hWnd, IDC_AUTO_APPEND_CHECK) == BST_CHECKED),
      static_cast<uint8_t>(IsDlgButtonChecked(m_hWnd, IDC_AUTO_COMPLETE_CHECK) == BST_CHECKED),
      static_cast<uint8_t>(IsDlgButtonChecked(m_hWnd, IDC_SORT_ITEMS_CHECK) == BST_CHECKED)};
  SetListSettings(list, settings);
  m_style.dropDown.autoAppend = settings.autoAppend;
  m_style.dropDown.autoComplete = settings.autoComplete;
  m_style.dropDown.sort = settings.sort;
}

void CInputListDlg::OnListChosen() {
  HWND names = GetDlgItem(IDC_LIST_NAME_COMBO);
  const LRESULT item = ::SendMessageA(names, CB_GETCURSEL, 0, 0);
  if (item == CB_ERR) return;
  StoreItems();
  StoreSettings();
  m_style.dropDown.listId = static_cast<uint16_t>(::SendMessageA(names, CB_GETITEMDATA, item, 0));
  Load();
}

void CInputListDlg::OnNewList() {
  const int slot = FirstFreeListSlot(m_lists);
  if (slot < 0) {
    ShowError(kTooManyListsError);
    return;
  }
  char proposed[kDropDownNameSize];
  ProposedListName(slot, proposed, sizeof proposed);
  CListNameDlg name(proposed);
  if (name.DoModal(m_hWnd) != IDOK) return;
  std::snprintf(m_lists[slot].name, sizeof m_lists[slot].name, "%s", name.Name());
  m_listsChanged = true;
  StoreItems();
  m_style.dropDown.listId = static_cast<uint16_t>(slot + 1);
  Load();
}

void CInputListDlg::OnRenameList() {
  DropDownList* list = CurrentList();
  if (list == nullptr) return;
  CListNameDlg name(list->name);
  if (name.DoModal(m_hWnd) != IDOK) return;
  std::snprintf(list->name, sizeof list->name, "%s", name.Name());
  m_listsChanged = true;
  // Loading shows the list's stored items: the ones typed go in first.
  StoreItems();
  Load();
}

void CInputListDlg::OnRemoveList() {
  DropDownList* list = CurrentList();
  if (list == nullptr) return;
  if (ShowMessageRes(IDS_REMOVE_DROP_DOWN_LIST, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  list->Clear();
  SetListSettings(list, ListSettings{0, 0, 0});
  m_listsChanged = true;
  m_style.dropDown.listId = 0;
  m_itemsChanged = false;
  Load();
}
