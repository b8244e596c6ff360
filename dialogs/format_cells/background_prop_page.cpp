#include "dialogs/format_cells/background_prop_page.h"

#include "dialogs/format_cells/selection_appliers.h"
#include "resources/resource_ids.h"
#include "view/draw_context/draw_context.h"

LRESULT CCellBackgroundWnd::ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  if (msg != WM_PAINT) {
    handled = false;
    return 0;
  }
  PAINTSTRUCT paint;
  HDC device = BeginPaint(m_hWnd, &paint);
  {
    DrawContext dc;
    dc.AttachDC(device);
    const RECT client = GetClientRect();
    const FillRecord& fill = m_page->style.interior;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    // No fill shows the window colour, as the cell does.
    const bool filled = fill.pattern == 0 ? dc.SelectBrush(1, window, window) : dc.SelectFillRecord(fill);
    if (filled) dc.FillRect(client, 0);
  }
  EndPaint(m_hWnd, &paint);
  return 0;
}

CBackgroundPropPage::CBackgroundPropPage(CFormatPropSheet* sheet)
    : CFormatPageT<CDialogImpl>(sheet, IDD_BACKGROUND_PAGE) {}

LRESULT CBackgroundPropPage::OnInitPage() {
  m_pattern.SubclassWindow(GetDlgItem(IDC_FIRST_COMBO));
  m_first.SubclassWindow(GetDlgItem(IDC_SECOND_COMBO));
  m_second.SubclassWindow(GetDlgItem(IDC_THIRD_COMBO));
  RECT frame = CWindow(GetDlgItem(IDC_FRAME_STATIC)).GetRectInParent();
  frame.left += 1;
  frame.top += 1;
  frame.right -= 2;
  frame.bottom -= 2;
  CreatePreviewWindow(m_preview, "CCellBackgroundWnd", m_hWnd, frame);
  RefreshPage(0);
  return FALSE;
}

void CBackgroundPropPage::RefreshPage(int direction) {
  if (m_hWnd == nullptr) return;
  FillRecord& fill = style.interior;
  if (direction == 0) {
    m_loading = true;
    m_pattern.Fill(fill.pattern, true, true);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    m_first.SetColor(fill.patternColorSet ? fill.patternColor : window, window, fill.patternColorSet == 0);
    m_second.SetColor(fill.backgroundColorSet ? fill.backgroundColor : window, window, fill.backgroundColorSet == 0);
    if (m_preview.m_hWnd != nullptr) m_preview.Invalidate();
    m_loading = false;
    return;
  }
  ReadThreeCombos(m_pattern, m_first, m_second, &fill);
}

bool CBackgroundPropPage::OnPageCommand(int id, int code, HWND control) {
  if ((id != IDC_FIRST_COMBO && id != IDC_SECOND_COMBO && id != IDC_THIRD_COMBO) || code != CBN_SELENDOK ||
      !IsUserChange(control, true))
    return false;
  if ((id == IDC_SECOND_COMBO && m_first.AwaitsCustomColor()) || (id == IDC_THIRD_COMBO && m_second.AwaitsCustomColor()))
    return true;
  RefreshPage(1);
  if (m_preview.m_hWnd != nullptr) m_preview.Invalidate();
  ApplyBorderToSelection(Host(), style, kApplyInterior);
  return true;
}
