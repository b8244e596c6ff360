// The print sheet: its tabs, buttons and the checks of OK and Apply.

#include "dialogs/printing/print_sheet.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "core/numfmt/regional_settings.h"
#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr int kPrintingHelpTopic = 2;
constexpr int kMessageCapacity = 512;

const char* const kPrintTabs[] = {"General", "Layout", "Content"};

// The string's %1 and %2 filled in.
void FormatMessageText(unsigned stringId, const PrintSheetFailure& failure, char* out, size_t size) {
  char pattern[kMessageCapacity];
  if (LoadStringA(GetModuleHandleA(nullptr), stringId, pattern, sizeof pattern) <= 0) pattern[0] = '\0';
  DWORD_PTR arguments[2] = {static_cast<DWORD_PTR>(failure.first), static_cast<DWORD_PTR>(failure.second)};
  if (stringId == kPrintMinimumMarginMessage || stringId == kPrintNoRoomMessage || stringId == kPrintLengthNumberMessage)
    arguments[0] = reinterpret_cast<DWORD_PTR>(failure.text);
  if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern, 0, 0, out,
                     static_cast<DWORD>(size), reinterpret_cast<va_list*>(arguments)) == 0)
    lstrcpynA(out, pattern, static_cast<int>(size));
}

}  // namespace

CPrintPropertySheet::CPrintPropertySheet(bool pageSetupOnly, bool imperial, UINT captionId, int startPage)
    : CDialogImpl(IDD_PRINT_SHEET),
      m_pageSetupOnly(pageSetupOnly),
      m_imperial(imperial),
      m_captionId(captionId),
      m_active(startPage >= 0 && startPage < (pageSetupOnly ? 2 : 3) ? startPage : 0) {}

CPrintPropertySheet::~CPrintPropertySheet() {
  if (m_devMode != nullptr) GlobalFree(m_devMode);
}

LengthUnit CPrintPropertySheet::Unit() const { return LengthUnit{m_imperial, CurrentRegionalSettings().decimalSeparator}; }

void CPrintPropertySheet::LoadFromPageSettings(const PageSettings& settings) {
  LoadPrintSheetValues(settings, Unit(), &m_values);
}

void CPrintPropertySheet::StoreToPageSettings(PageSettings* settings) const {
  StorePrintSheetValues(m_values, Unit(), settings);
}

void CPrintPropertySheet::UsePrinter(const char* name, HGLOBAL devMode) {
  SetPrinterName(name);
  ReplaceDevMode(CopyDevModeBlock(devMode));
}

void CPrintPropertySheet::SetPrinterName(const char* name) { lstrcpynA(m_printerName, name, sizeof m_printerName); }

void CPrintPropertySheet::ReplaceDevMode(HGLOBAL devMode) {
  if (devMode == m_devMode) return;
  if (m_devMode != nullptr) GlobalFree(m_devMode);
  m_devMode = devMode;
}

INT_PTR CPrintPropertySheet::Run(HWND owner) {
  m_applied = false;
  m_cancelled = false;
  return DoModal(owner);
}

void CPrintPropertySheet::MarkChanged() {
  if (m_hWnd != nullptr) ::EnableWindow(GetDlgItem(IDC_PRINT_SHEET_APPLY), TRUE);
}

CPrintPage* CPrintPropertySheet::PageAt(int index) {
  const int first = m_pageSetupOnly ? 1 : 0;
  switch (index + first) {
    case 0: return &m_general;
    case 1: return &m_layout;
    case 2: return &m_content;
  }
  return nullptr;
}

LRESULT CPrintPropertySheet::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      OnCommand(LOWORD(wp));
      return 0;
  }
  handled = false;
  return 0;
}

bool CPrintPropertySheet::PreTranslateMessage(MSG* msg) {
  if (m_hWnd != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
      (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
    const int count = PageCount();
    const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1;
    if (count > 1 && LeavePage()) {
      ShowPage((m_active + step) % count);
      ::SetFocus(m_tabs);
    }
    return true;
  }
  return CDialogImpl::PreTranslateMessage(msg);
}

LRESULT CPrintPropertySheet::OnInitDialog() {
  char caption[128];
  if (LoadStringA(GetModuleHandleA(nullptr), m_captionId, caption, sizeof caption) > 0) ::SetWindowTextA(m_hWnd, caption);
  m_tabs = GetDlgItem(IDC_PRINT_SHEET_TABS);
  // The tabs first: the page area is the tab control's without its tab row,
  // which it knows only once it holds its tabs.
  for (int i = 0; i < PageCount(); ++i) TabInsertItem(m_tabs, i, kPrintTabs[i + (m_pageSetupOnly ? 1 : 0)]);
  RECT area;
  ::GetWindowRect(m_tabs, &area);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(m_tabs, FALSE, &area);
  for (int i = 0; i < PageCount(); ++i) {
    CPrintPage* page = PageAt(i);
    if (page->Create(m_hWnd) == nullptr) continue;
    ::SetWindowPos(page->m_hWnd, m_tabs, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOACTIVATE);
    page->Load(m_values);
  }
  ::EnableWindow(GetDlgItem(IDC_PRINT_SHEET_APPLY), FALSE);
  PlaceOpeningDialog(m_hWnd);
  ShowPage(m_active);
  return TRUE;
}

void CPrintPropertySheet::ShowPage(int index) {
  m_active = index;
  TabCtrl_SetCurSel(m_tabs, index);
  for (int i = 0; i < PageCount(); ++i) {
    CPrintPage* page = PageAt(i);
    if (page->m_hWnd != nullptr) page->ShowWindow(i == index ? SW_SHOW : SW_HIDE);
  }
}

LRESULT CPrintPropertySheet::OnNotify(NMHDR* header) {
  if (header == nullptr || header->hwndFrom != m_tabs) return 0;
  if (header->code == TCN_SELCHANGING) {
    // A page whose fields fail keeps the sheet on it.
    return LeavePage() ? FALSE : TRUE;
  }
  if (header->code == TCN_SELCHANGE) {
    const int index = TabCtrl_GetCurSel(m_tabs);
    if (index >= 0) ShowPage(index);
  }
  return 0;
}

bool CPrintPropertySheet::LeavePage() {
  PrintSheetValues values = m_values;
  PrintSheetFailure failure = {};
  CPrintPage* page = PageAt(m_active);
  if (page == nullptr || page->m_hWnd == nullptr) return true;
  if (!page->Read(&values, &failure)) {
    ReportFailure(m_active, failure);
    return false;
  }
  m_values = values;
  return true;
}

bool CPrintPropertySheet::ApplyAll() {
  PrintSheetValues values = m_values;
  for (int i = 0; i < PageCount(); ++i) {
    CPrintPage* page = PageAt(i);
    PrintSheetFailure failure = {};
    if (page->m_hWnd != nullptr && !page->Read(&values, &failure)) {
      m_applied = false;
      ShowPage(i);
      ReportFailure(i, failure);
      return false;
    }
  }
  m_values = values;
  m_layout.StoreDeviceSettings();
  m_applied = true;
  ::EnableWindow(GetDlgItem(IDC_PRINT_SHEET_APPLY), FALSE);
  return true;
}

void CPrintPropertySheet::ReportFailure(int page, const PrintSheetFailure& failure) {
  CPrintPage* shown = PageAt(page);
  if (failure.messageId != 0) {
    char text[kMessageCapacity];
    FormatMessageText(failure.messageId, failure, text, sizeof text);
    ShowMessage(text);
  }
  MessageBeep(MB_OK);
  if (shown != nullptr && shown->m_hWnd != nullptr && failure.controlId != 0)
    ::SetFocus(shown->GetDlgItem(failure.controlId));
}

void CPrintPropertySheet::OnCommand(WORD id) {
  switch (id) {
    case IDOK:
      if (ApplyAll()) EndDialog(IDOK);
      return;
    case IDC_PRINT_SHEET_APPLY:
      ApplyAll();
      return;
    case IDCANCEL:
      m_cancelled = true;
      EndDialog(IDCANCEL);
      return;
    case IDHELP:
      ShowDialogHelp(kPrintingHelpTopic);
      return;
  }
}
