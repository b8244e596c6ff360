#include "dialogs/format_cells/alignment_prop_page.h"

#include <cstdio>
#include <initializer_list>

#include <commctrl.h>

#include "dialogs/format_cells/alignment_page_rules.h"
#include "dialogs/format_cells/page_toolbar.h"
#include "dialogs/format_cells/selection_appliers.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kToolBarX = 7;
constexpr int kToolBarY = 6;
constexpr int kGroupGap = 8;
constexpr int kMaxIndent = 16;

const PageButton kButtons[] = {
    {kOverflowIntoNeighbours, IDP_OVERFLOW_NEIGHBOURS,
     "When text width exceeds cell width:\ndisplay text in adjusting cells", 0},
    {kOverflowWrap, IDP_OVERFLOW_WRAP, "When text width exceeds cell width:\nwrap text in cells", 0},
    {kOverflowShrink, IDP_OVERFLOW_SHRINK,
     "When text width exceeds cell width:\ndecrease font size to fit to the cell width", 0},
    {kAlignLeft, IDP_ALIGN_LEFT, "Align left", kGroupGap},
    {kAlignCentre, IDP_ALIGN_CENTRE, "Center horizontally", 0},
    {kAlignRight, IDP_ALIGN_RIGHT, "Align right", 0},
    {kAlignTop, IDP_ALIGN_TOP, "Align top", kGroupGap},
    {kAlignMiddle, IDP_ALIGN_MIDDLE, "Center vertically", 0},
    {kAlignBottom, IDP_ALIGN_BOTTOM, "Align bottom", 0},
};

}  // namespace

CAlignmentPropPage::CAlignmentPropPage(CFormatPropSheet* sheet) : CFormatPageT<CDialogImpl>(sheet, IDD_ALIGNMENT_PAGE) {}

LRESULT CAlignmentPropPage::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_HSCROLL && reinterpret_cast<HWND>(lp) == GetDlgItem(IDC_ROTATION_TRACK)) {
    OnRotationScroll(LOWORD(wp));
    return 0;
  }
  return CFormatPageT<CDialogImpl>::ProcessWindowMessage(msg, wp, lp, handled);
}

LRESULT CAlignmentPropPage::OnInitPage() {
  m_toolbar = CreatePageToolBar(m_hWnd, kToolBarX, kToolBarY, kButtons, sizeof kButtons / sizeof kButtons[0]);
  for (int id : {IDC_FIRST_COMBO, IDC_SECOND_COMBO}) {
    for (int indent = 0; indent <= kMaxIndent; ++indent) {
      char text[8];
      std::snprintf(text, sizeof text, "%d", indent);
      ComboAddString(GetDlgItem(id), text);
    }
  }
  HWND track = GetDlgItem(IDC_ROTATION_TRACK);
  TrackBarSetRange(track, -kMaxRotationPosition, kMaxRotationPosition, 0);
  ::SendMessageA(track, TBM_SETLINESIZE, 0, 1);
  ::SendMessageA(track, TBM_SETTICFREQ, 1, 0);
  RefreshPage(0);
  return FALSE;
}

void CAlignmentPropPage::ShowRotation(int degrees) {
  char label[32];
  RotationLabel(degrees, label, sizeof label);
  SetDlgItemTextA(m_hWnd, IDC_FRAME_STATIC, label);
}

void CAlignmentPropPage::RefreshPage(int direction) {
  if (m_hWnd == nullptr) return;
  StyleAlignment& a = style.alignment;
  HWND track = GetDlgItem(IDC_ROTATION_TRACK);
  if (direction == 0) {
    m_loading = true;
    for (const PageButton& button : kButtons)
      CheckToolButton(m_toolbar, button.command, AlignmentButtonSet(a, static_cast<uint16_t>(button.command)));
    ::SendMessageA(GetDlgItem(IDC_FIRST_COMBO), CB_SETCURSEL, a.horizontalIndent <= kMaxIndent ? a.horizontalIndent : -1, 0);
    ::SendMessageA(GetDlgItem(IDC_SECOND_COMBO), CB_SETCURSEL, a.verticalIndent <= kMaxIndent ? a.verticalIndent : -1, 0);
    ::SendMessageA(track, TBM_SETPOS, TRUE, RotationPosition(a.rotation));
    ShowRotation(a.rotation);
    m_loading = false;
    return;
  }
  const LRESULT horizontal = ::SendMessageA(GetDlgItem(IDC_FIRST_COMBO), CB_GETCURSEL, 0, 0);
  const LRESULT vertical = ::SendMessageA(GetDlgItem(IDC_SECOND_COMBO), CB_GETCURSEL, 0, 0);
  if (horizontal != CB_ERR) a.horizontalIndent = static_cast<uint8_t>(horizontal);
  if (vertical != CB_ERR) a.verticalIndent = static_cast<uint8_t>(vertical);
  a.rotation = RotationOfPosition(static_cast<int>(::SendMessageA(track, TBM_GETPOS, 0, 0)));
}

bool CAlignmentPropPage::OnPageCommand(int id, int code, HWND control) {
  if (control != nullptr && control == m_toolbar) {
    RefreshPage(1);
    const int kind = PressAlignmentButton(&style.alignment, static_cast<uint16_t>(id));
    if (kind == 0) return false;
    ApplyAlignmentToSelection(Host(), style, kind);
    for (const PageButton& button : kButtons)
      CheckToolButton(m_toolbar, button.command, AlignmentButtonSet(style.alignment, static_cast<uint16_t>(button.command)));
    return true;
  }
  if ((id != IDC_FIRST_COMBO && id != IDC_SECOND_COMBO) || code != CBN_SELCHANGE || !IsUserChange(control, true))
    return false;
  RefreshPage(1);
  ApplyAlignmentToSelection(Host(), style, kApplyAlignment);
  return true;
}

void CAlignmentPropPage::OnRotationScroll(int code) {
  if (m_loading) return;
  const int position = static_cast<int>(::SendMessageA(GetDlgItem(IDC_ROTATION_TRACK), TBM_GETPOS, 0, 0));
  // While the thumb is dragged only the label follows it.
  if (code == TB_THUMBTRACK) {
    ShowRotation(RotationOfPosition(position));
    return;
  }
  // A key or a click ends with TB_ENDTRACK as well; the rotation changes once.
  const int8_t before = style.alignment.rotation;
  RefreshPage(1);
  ShowRotation(style.alignment.rotation);
  if (style.alignment.rotation != before) ApplyAlignmentToSelection(Host(), style, kApplyAlignment);
}
