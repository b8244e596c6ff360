#include "dialogs/number_format/num_format_host.h"

#include <cstdio>
#include <cstring>

#include <commctrl.h>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/format_cells/page_toolbar.h"
#include "dialogs/number_format/style_name_dlg.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"

namespace {

// Where the host's toolbar stands, in dialog units.
constexpr int kToolBarX = 202;
constexpr int kToolBarY = 3;
// The sub-page sits this many pixels inside the frame static's corner.
constexpr int kSubPageOffset = 2;

bool IsListBox(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ListBox") == 0;
}

bool IsEdit(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "Edit") == 0;
}

int Selection(HWND control) {
  return static_cast<int>(::SendMessageA(control, IsListBox(control) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

void Select(HWND control, int index) {
  ::SendMessageA(control, IsListBox(control) ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void SetTextIfChanged(HWND control, const char* text) {
  char old[kFormatCodeTextSize] = {};
  ::GetWindowTextA(control, old, sizeof old);
  if (std::strcmp(old, text) != 0) ::SetWindowTextA(control, text);
}

}  // namespace

CNumFormatSubPage::CNumFormatSubPage(uint8_t category, CNumFormatHost* host)
    : CDialogImpl(SubPageLayoutOf(category)->templateId), m_layout(SubPageLayoutOf(category)), m_host(host) {}

LRESULT CNumFormatSubPage::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
  }
  handled = false;
  return 0;
}

bool CNumFormatSubPage::PreTranslateMessage(MSG* msg) {
  return m_host->FilterSubPageInput(msg) || CDialogImpl::PreTranslateMessage(msg);
}

LRESULT CNumFormatSubPage::OnInitDialog() {
  for (int i = 0; i < m_layout->count; ++i) {
    const SubPageControl& control = m_layout->controls[i];
    FillItems(control, false);
    if (control.limit > 0) {
      HWND window = GetDlgItem(control.id);
      ::SendMessageA(window, IsEdit(window) ? EM_LIMITTEXT : CB_LIMITTEXT, control.limit, 0);
    }
  }
  return FALSE;
}

void CNumFormatSubPage::FillItems(const SubPageControl& control, bool systemDateOrder) {
  if (control.items == kItemsNone) return;
  HWND window = GetDlgItem(control.id);
  const bool list = IsListBox(window);
  const int kept = Selection(window);
  ::SendMessageA(window, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
  char text[64];
  for (int i = 0; SubPageItemText(control.items, i, systemDateOrder, text, sizeof text); ++i)
    ::SendMessageA(window, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (control.kind == kFieldSelection) Select(window, kept);
}

void CNumFormatSubPage::LoadFields(const SubPageFields& fields) {
  m_loading = true;
  const uint16_t orderControl = DateOrderControl(Category());
  for (int i = 0; i < m_layout->count; ++i) {
    const SubPageControl& control = m_layout->controls[i];
    if (control.id == orderControl) {
      for (int j = 0; j < m_layout->count; ++j)
        if (m_layout->controls[j].id == DateListControl(Category()))
          FillItems(m_layout->controls[j], fields.value[i] != 0);
    }
  }
  for (int i = 0; i < m_layout->count; ++i) {
    const SubPageControl& control = m_layout->controls[i];
    switch (control.kind) {
      case kFieldCheck:
        CheckDlgButton(m_hWnd, control.id, fields.value[i] ? BST_CHECKED : BST_UNCHECKED);
        break;
      case kFieldRadio:
        CheckRadioButton(m_hWnd, control.partner, control.id, fields.value[i] ? control.id : control.partner);
        break;
      case kFieldSelection:
        Select(GetDlgItem(control.id), fields.value[i]);
        break;
      case kFieldText:
        SetDlgItemTextA(m_hWnd, control.id, fields.text[i]);
        break;
    }
  }
  m_loading = false;
}

void CNumFormatSubPage::ReadFields(SubPageFields* fields) const {
  std::memset(fields, 0, sizeof *fields);
  for (int i = 0; i < m_layout->count; ++i) {
    const SubPageControl& control = m_layout->controls[i];
    switch (control.kind) {
      case kFieldCheck:
      case kFieldRadio:
        fields->value[i] = IsDlgButtonChecked(m_hWnd, control.id) == BST_CHECKED;
        break;
      case kFieldSelection:
        fields->value[i] = Selection(::GetDlgItem(m_hWnd, control.id));
        break;
      case kFieldText:
        GetDlgItemTextA(m_hWnd, control.id, fields->text[i], kSubFieldTextSize);
        break;
    }
  }
}

bool CNumFormatSubPage::OnCommand(int id, int code) {
  if (m_loading || !IsWindowVisible()) return false;
  for (int i = 0; i < m_layout->count; ++i) {
    const SubPageControl& control = m_layout->controls[i];
    if (control.id != id && !(control.kind == kFieldRadio && control.partner == id)) continue;
    HWND window = GetDlgItem(id);
    bool changed = false;
    switch (control.kind) {
      case kFieldCheck:
      case kFieldRadio:
        changed = code == BN_CLICKED;
        if (changed && id == DateOrderControl(Category())) {
          for (int j = 0; j < m_layout->count; ++j)
            if (m_layout->controls[j].id == DateListControl(Category()))
              FillItems(m_layout->controls[j], IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED);
        }
        break;
      case kFieldSelection:
        changed = code == CBN_SELCHANGE;  // the same code as LBN_SELCHANGE
        break;
      case kFieldText:
        if (IsEdit(window)) {
          changed = code == EN_CHANGE && GetFocus() == window;
        } else if (code == CBN_SELCHANGE) {
          // The edit part shows the chosen item only after this notification.
          char text[kSubFieldTextSize] = {};
          const LRESULT item = ::SendMessageA(window, CB_GETCURSEL, 0, 0);
          if (item != CB_ERR && ::SendMessageA(window, CB_GETLBTEXTLEN, item, 0) < LRESULT(sizeof text)) {
            ::SendMessageA(window, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
            ::SetWindowTextA(window, text);
          }
          changed = true;
        } else {
          changed = code == CBN_EDITCHANGE;
        }
        break;
    }
    if (changed) m_host->OnSubPageChanged();
    return changed;
  }
  return false;
}

CNumFormatHost::CNumFormatHost(int templateId, bool styleHost) : CDialogImpl(templateId), m_styleHost(styleHost) {}

LRESULT CNumFormatHost::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
  }
  handled = false;
  return 0;
}

LRESULT CNumFormatHost::OnInitHost() {
  m_choice.Reset();
  static const PageButton kButtons[] = {{kNewFormat, 0, " New", 0}, {kDeleteFormat, 0, " Delete", 0}};
  m_toolbar = CreatePageToolBar(m_hWnd, kToolBarX, kToolBarY, kButtons, 2);
  if (!FillCategoryCombo()) ShowError(8);
  ::SendMessageA(GetDlgItem(IDC_TEXT_EDIT), EM_LIMITTEXT, kFormatCodeTextSize - 1, 0);
  Refresh(0);
  return TRUE;
}

void CNumFormatHost::OnDestroyHost() {
  DestroyPageToolBar(m_toolbar);
  m_toolbar = nullptr;
  m_subPage = nullptr;
}

bool CNumFormatHost::FillCategoryCombo() {
  HWND combo = GetDlgItem(IDC_FIRST_COMBO);
  bool filled = true;
  for (int i = 0; i < kBuiltinCategoryCount; ++i) {
    const LRESULT at =
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(BuiltinCategoryName(i, m_styleHost)));
    filled = filled && at >= 0;
  }
  if (const ProfileLists* lists = Options.Lists) {
    for (int k = 0; k < lists->userFormatCount && k < kUserFormatCount; ++k)
      filled = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lists->userFormatNames[k])) >= 0 &&
               filled;
  }
  return filled;
}

bool CNumFormatHost::OnCommand(int id, int code) {
  switch (id) {
    case IDC_FIRST_COMBO:
      if (code != CBN_SELCHANGE || m_loading) return false;
      OnCategoryChosen(static_cast<int>(::SendMessageA(GetDlgItem(id), CB_GETCURSEL, 0, 0)));
      return true;
    case IDC_TEXT_EDIT: {
      HWND edit = GetDlgItem(id);
      if (code != EN_CHANGE || m_loading || GetFocus() != edit || !::IsWindowVisible(edit)) return false;
      OnCodeTyped();
      return true;
    }
    case kNewFormat:
      OnNewFormat();
      return true;
    case kDeleteFormat:
      OnDeleteFormat();
      return true;
  }
  return false;
}

void CNumFormatHost::OnCategoryChosen(int index) {
  if (index < 0) return;
  m_choice.ChooseEntry(index, Options.Lists);
  Refresh(0);
  if (Refresh(1)) OnFormatChanged();
}

void CNumFormatHost::OnCodeTyped() {
  HWND combo = GetDlgItem(IDC_FIRST_COMBO);
  // A code typed over a built-in category is a pattern of the user's own.
  if (::SendMessageA(combo, CB_GETCURSEL, 0, 0) < kBuiltinCategoryCount)
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (Refresh(1)) OnFormatChanged();
}

void CNumFormatHost::OnSubPageChanged() {
  if (Refresh(1)) OnFormatChanged();
}

void CNumFormatHost::OnNewFormat() {
  HWND combo = GetDlgItem(IDC_FIRST_COMBO);
  const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
  ProfileLists* lists = Options.Lists;
  if (lists == nullptr || !CanAddUserFormat(*lists, count)) {
    MessageBeep(MB_OK);
    return;
  }
  CStyleNameDlg names;
  std::snprintf(names.name, sizeof names.name, "Style %d.", count);
  if (names.DoModal(m_hWnd) != IDOK) return;
  char code[kFormatCodeTextSize] = {};
  GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, code, sizeof code);
  // A code that does not compile, or does not fit a pattern, makes no format.
  if (!m_choice.AddUserFormat(names.name, code, count, lists)) {
    MessageBeep(MB_OK);
    return;
  }
  const LRESULT at = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names.name));
  if (at < 0) ShowError(8);
  ::SendMessageA(combo, CB_SETCURSEL, at, 0);
  Refresh(0);
}

void CNumFormatHost::OnDeleteFormat() {
  HWND combo = GetDlgItem(IDC_FIRST_COMBO);
  const int index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (!m_choice.DeleteUserFormat(index, Options.Lists)) return;
  ::SendMessageA(combo, CB_DELETESTRING, index, 0);
  Refresh(0);
  if (Refresh(1)) OnFormatChanged();
}

bool CNumFormatHost::Refresh(int direction) {
  NumFormatChoice::Shown shown = {};
  if (direction == 0) {
    m_choice.Load(Options.Lists, &shown);
    Show(shown, true);
    return true;
  }
  const int index = static_cast<int>(::SendMessageA(GetDlgItem(IDC_FIRST_COMBO), CB_GETCURSEL, 0, 0));
  char code[kFormatCodeTextSize] = {};
  GetDlgItemTextA(m_hWnd, IDC_TEXT_EDIT, code, sizeof code);
  SubPageFields fields;
  const SubPageFields* read = nullptr;
  if (m_subPage != nullptr && m_subPage->m_hWnd != nullptr && m_subPage->Category() == index) {
    m_subPage->ReadFields(&fields);
    read = &fields;
  }
  int bad = 0;
  if (!m_choice.Store(index, code, read, Options.Lists, &shown, &bad)) {
    // A code being typed may not compile yet: it is not applied, silently.
    if (bad != 0 && m_subPage != nullptr) {
      MessageBeep(MB_OK);
      ::SetFocus(::GetDlgItem(m_subPage->m_hWnd, bad));
    }
    return false;
  }
  const uint8_t shownCategory = m_subPage != nullptr && m_subPage->m_hWnd != nullptr ? m_subPage->Category() : 0;
  Show(shown, shown.subPage != shownCategory);
  return true;
}

void CNumFormatHost::Show(const NumFormatChoice::Shown& shown, bool rebuildSubPage) {
  m_loading = true;
  HWND combo = GetDlgItem(IDC_FIRST_COMBO);
  if (::SendMessageA(combo, CB_GETCURSEL, 0, 0) != shown.comboIndex)
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(shown.comboIndex), 0);
  if (rebuildSubPage) ShowSubPage(shown.subPage);
  SetTextIfChanged(GetDlgItem(IDC_TEXT_EDIT), shown.code);
  EnableToolButton(m_toolbar, kDeleteFormat, shown.deleteEnabled);
  m_loading = false;
}

CNumFormatSubPage* CNumFormatHost::SubPageOf(uint8_t category) {
  CNumFormatSubPage* const pages[] = {&m_general, &m_currency, &m_accounting, &m_date,      &m_time,
                                      &m_dateTime, &m_percent,  &m_fraction,   &m_scientific};
  return category >= kNumFormatGeneral && category <= kNumFormatScientific ? pages[category - kNumFormatGeneral]
                                                                           : nullptr;
}

CNumFormatSubPage* CNumFormatHost::ShownSubPage() const {
  return m_subPage != nullptr && m_subPage->m_hWnd != nullptr ? m_subPage : nullptr;
}

void CNumFormatHost::ShowSubPage(uint8_t category) {
  HWND focus = GetFocus();
  if (m_subPage != nullptr && m_subPage->m_hWnd != nullptr) ::DestroyWindow(m_subPage->m_hWnd);
  m_subPage = nullptr;
  CNumFormatSubPage* page = SubPageOf(category);
  if (page == nullptr || page->Create(m_hWnd) == nullptr) return;
  EnableTabPageTexture(page->m_hWnd, m_styleHost);
  RECT frame = CWindow(GetDlgItem(IDC_FRAME_STATIC)).GetRectInParent();
  ::SetWindowPos(page->m_hWnd, HWND_TOP, frame.left + kSubPageOffset, frame.top + kSubPageOffset, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
  SubPageFields fields;
  LoadSubPageFields(category, m_choice.saved[category].options, &fields);
  page->LoadFields(fields);
  ::ShowWindow(page->m_hWnd, SW_SHOWNA);
  m_subPage = page;
  if (focus != nullptr && ::IsWindow(focus)) ::SetFocus(focus);
}
