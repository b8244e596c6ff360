#include "dialogs/about/about_dialog.h"

#include "dialogs/controls/dialog_opening.h"
#include "resources/resource_ids.h"

namespace {

constexpr LONG kTitleWeight = 700;
constexpr int kTitlePoints = 12;
constexpr int kNoticeCapacity = 2048;

}  // namespace

CAboutDlg::CAboutDlg() : CDialogImpl(IDD_ABOUT) {}

CAboutDlg::~CAboutDlg() {
  if (m_titleFont != nullptr) ::DeleteObject(m_titleFont);
}

LRESULT CAboutDlg::ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  if (msg == WM_INITDIALOG) return OnInitDialog();
  handled = false;
  return 0;
}

LRESULT CAboutDlg::OnInitDialog() {
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (dialogFont == nullptr) dialogFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA font{};
  if (::GetObjectA(dialogFont, sizeof font, &font) != 0) {
    HDC screen = ::GetDC(nullptr);
    font.lfHeight = -::MulDiv(kTitlePoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    font.lfWeight = kTitleWeight;
    if (m_titleFont != nullptr) ::DeleteObject(m_titleFont);
    m_titleFont = ::CreateFontIndirectA(&font);
    if (m_titleFont != nullptr)
      ::SendMessageA(GetDlgItem(IDC_ABOUT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont), TRUE);
  }
  char notice[kNoticeCapacity];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_LEGAL_NOTICE, notice, sizeof notice) <= 0) notice[0] = '\0';
  SetDlgItemTextA(m_hWnd, IDC_ABOUT_NOTICE, notice);
  PlaceOpeningDialog(m_hWnd);
  // The notice is there to be read, not selected.
  ::SetFocus(GetDlgItem(IDOK));
  return FALSE;
}
