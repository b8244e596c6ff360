#include "dialogs/format_cells/font_prop_page.h"

#include <cstdio>
#include <cstring>

#include "core/base/bounded_text.h"
#include "dialogs/format_cells/font_page_rules.h"
#include "dialogs/format_cells/page_toolbar.h"
#include "resources/resource_ids.h"
#include "view/draw_context/default_font.h"

namespace {

constexpr int kToolBarX = 159;
constexpr int kToolBarY = 7;

const PageButton kButtons[] = {
    {ID_FONT_BOLD, IDP_FONT_BOLD, "Bold", 0},
    {ID_FONT_ITALIC, IDP_FONT_ITALIC, "Italic", 0},
    {ID_FONT_UNDERLINE, IDP_FONT_UNDERLINE, "Underline", 0},
    {ID_FONT_STRIKEOUT, IDP_FONT_STRIKEOUT, "Strikeout", 0},
};

// Each TrueType family once, inserted before the first listed name that
// sorts after it, so that the list stays alphabetical whatever the order
// the system gives them in.
int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM list) {
  HWND faces = reinterpret_cast<HWND>(list);
  if ((type & TRUETYPE_FONTTYPE) == 0) return 1;
  const char* name = font->lfFaceName;
  if (::SendMessageA(faces, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) != LB_ERR)
    return 1;
  const int count = static_cast<int>(::SendMessageA(faces, LB_GETCOUNT, 0, 0));
  int at = count;
  char listed[LF_FACESIZE + 1];
  for (int i = 0; i < count; ++i) {
    if (::SendMessageA(faces, LB_GETTEXTLEN, i, 0) > LF_FACESIZE) continue;
    ::SendMessageA(faces, LB_GETTEXT, i, reinterpret_cast<LPARAM>(listed));
    if (lstrcmpiA(listed, name) > 0) {
      at = i;
      break;
    }
  }
  ::SendMessageA(faces, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(name));
  return 1;
}

}  // namespace

CFontPropPage::CFontPropPage(CFormatPropSheet* sheet) : CFormatPageT<CDialogImpl>(sheet, IDD_FONT_PAGE) {}

LRESULT CFontPropPage::OnInitPage() {
  FillFaces();
  HWND sizes = GetDlgItem(IDC_SIZE_LIST);
  for (uint8_t size : kFontSizes) {
    char text[8];
    std::snprintf(text, sizeof text, "%u", unsigned(size));
    ::SendMessageA(sizes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  m_toolbar = CreatePageToolBar(m_hWnd, kToolBarX, kToolBarY, kButtons, sizeof kButtons / sizeof kButtons[0]);
  m_color.SubclassWindow(GetDlgItem(IDC_FIRST_COMBO));
  RefreshPage(0);
  return FALSE;
}

void CFontPropPage::FillFaces() {
  HWND faces = GetDlgItem(IDC_ITEM_LIST);
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, AddFace, reinterpret_cast<LPARAM>(faces), 0);
  ReleaseDC(nullptr, screen);
}

void CFontPropPage::RefreshPage(int direction) {
  if (m_hWnd == nullptr) return;
  HWND faces = GetDlgItem(IDC_ITEM_LIST);
  HWND sizes = GetDlgItem(IDC_SIZE_LIST);
  if (direction == 0) {
    m_loading = true;
    const char* face = font.font.faceName[0] != '\0' ? font.font.faceName : kDefaultFaceName;
    if (::SendMessageA(faces, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face)) == LB_ERR)
      ::SendMessageA(faces, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SendMessageA(sizes, LB_SETCURSEL, static_cast<WPARAM>(FontSizeIndex(font.font.size)), 0);
    m_faceChanged = m_sizeChanged = false;
    LoadToolBar();
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    m_color.SetColor(font.colorSet ? font.color : text, text, font.colorSet == 0);
    m_loading = false;
    return;
  }
  if (m_faceChanged) {
    const LRESULT item = ::SendMessageA(faces, LB_GETCURSEL, 0, 0);
    char name[kFaceNameSize] = {};
    if (item != LB_ERR && ::SendMessageA(faces, LB_GETTEXTLEN, item, 0) < LRESULT(sizeof name)) {
      ::SendMessageA(faces, LB_GETTEXT, item, reinterpret_cast<LPARAM>(name));
      std::memset(font.font.faceName, 0, sizeof font.font.faceName);
      CopyTextCut(font.font.faceName, sizeof font.font.faceName, name);
    }
  }
  if (m_sizeChanged) {
    const LRESULT item = ::SendMessageA(sizes, LB_GETCURSEL, 0, 0);
    if (item >= 0 && item < kFontSizeCount) font.font.size = kFontSizes[item];
  }
  m_faceChanged = m_sizeChanged = false;
  font.colorSet = m_color.IsDefault() ? 0 : 1;
  font.color = m_color.GetColor();
}

void CFontPropPage::LoadToolBar() {
  for (const PageButton& button : kButtons)
    CheckToolButton(m_toolbar, button.command, FontStyleSet(font.font, button.command));
}

void CFontPropPage::Apply(int kind) { ApplyFontToSelection(Host(), font, kind); }

bool CFontPropPage::OnPageCommand(int id, int code, HWND control) {
  if (control != nullptr && control == m_toolbar) {
    const int kind = ToggleFontStyle(&font.font, static_cast<uint32_t>(id));
    if (kind == 0) return false;
    Apply(kind);
    LoadToolBar();
    return true;
  }
  switch (id) {
    case IDC_ITEM_LIST:
    case IDC_SIZE_LIST:
      if (code != LBN_SELCHANGE || !IsUserChange(control, true)) return false;
      (id == IDC_ITEM_LIST ? m_faceChanged : m_sizeChanged) = true;
      RefreshPage(1);
      Apply(id == IDC_ITEM_LIST ? kApplyFaceName : kApplyFontSize);
      return true;
    case IDC_FIRST_COMBO:
      if (code != CBN_SELENDOK || !IsUserChange(control, true)) return false;
      if (m_color.AwaitsCustomColor()) return true;
      RefreshPage(1);
      Apply(kApplyFontColor);
      return true;
    case IDC_DEFAULT_FONT:
      if (code != BN_CLICKED) return false;
      CopyDefaultFont(&font.font);
      font.colorSet = 0;
      font.color = 0;
      Apply(kApplyWholeFont);
      RefreshPage(0);
      return true;
  }
  return false;
}
