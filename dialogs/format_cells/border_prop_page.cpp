#include "dialogs/format_cells/border_prop_page.h"

#include "core/edit/format_selection.h"
#include "dialogs/format_cells/border_preview_rules.h"
#include "dialogs/format_cells/page_toolbar.h"
#include "dialogs/format_cells/selection_appliers.h"
#include "resources/resource_ids.h"
#include "view/draw_context/default_font.h"
#include "view/draw_context/draw_context.h"

namespace {

constexpr int kToolBarX = 178;
constexpr int kToolBarY = 6;
constexpr int kPreviewMargin = 2;
constexpr int kSideWidth = 3;
constexpr uint8_t kDigitPoints = 7;
constexpr uint8_t kDottedPen = 2;
constexpr uint8_t kAllSides = kBorderTop | kBorderBottom | kBorderLeft | kBorderRight;

const PageButton kButtons[] = {
    {kBorderAllSides, IDP_BORDERS_ALL, "Add all borders except diagonals for all selected cells", 0},
    {kBorderOutline, IDP_BORDERS_OUTLINE, "Add borders surrounding the selected range", 0},
    {kBorderNone, IDP_BORDERS_NONE, "Remove all borders for all selected cells", 0},
};

void DrawSide(DrawContext& dc, const PreviewCell& c, uint8_t side) {
  switch (side) {
    case kBorderTop: dc.Line(c.left, c.top, c.right, c.top); break;
    case kBorderBottom: dc.Line(c.left, c.bottom, c.right, c.bottom); break;
    case kBorderLeft: dc.Line(c.left, c.top, c.left, c.bottom); break;
    case kBorderRight: dc.Line(c.right, c.top, c.right, c.bottom); break;
    case kBorderDiagonalLeft: dc.Line(c.left, c.top, c.right, c.bottom); break;
    case kBorderDiagonalRight: dc.Line(c.left, c.bottom, c.right, c.top); break;
  }
}

}  // namespace

LRESULT CCellBorderWnd::ProcessWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_PAINT:
      return OnPaint();
    case WM_LBUTTONDOWN: {
      SetFocus();
      const RECT client = GetClientRect();
      const uint8_t side = BorderPreviewHit(client.right, client.bottom, static_cast<short>(LOWORD(lp)),
                                            static_cast<short>(HIWORD(lp)));
      if (side != 0) m_page->ToggleSide(side);
      return 0;
    }
  }
  handled = false;
  return 0;
}

LRESULT CCellBorderWnd::OnPaint() {
  PAINTSTRUCT paint;
  HDC device = BeginPaint(m_hWnd, &paint);
  {
    const RECT client = GetClientRect();
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    DrawContext dc;
    dc.AttachDC(device);
    if (dc.SelectBrush(1, window, window)) dc.FillRect(client, 0);
    const PreviewCell c = PreviewCellOf(client.right, client.bottom);
    const uint8_t sides[] = {kBorderTop,  kBorderBottom, kBorderLeft, kBorderRight, kBorderDiagonalLeft,
                             kBorderDiagonalRight};
    dc.SelectPen(kDottedPen, text, 100);
    for (uint8_t side : sides) DrawSide(dc, c, side);
    const uint8_t mask = m_page->style.borders.sides;
    HPEN thick = CreatePen(PS_SOLID, kSideWidth, text);
    HGDIOBJ prior = SelectObject(device, thick);
    for (uint8_t side : sides)
      if (mask & side) DrawSide(dc, c, side);
    SelectObject(device, prior);
    DeleteObject(thick);
    FontRecord font;
    CopyDefaultFont(&font);
    font.size = kDigitPoints;
    dc.SelectFont(font, 0, 100);
    dc.SetBkMode(1);
    dc.SetTextColor(text);
    dc.SetTextAlign(2, 5);
    const int midX = (c.left + c.right) / 2;
    const int midY = (c.top + c.bottom) / 2;
    const int half = kPreviewInset / 2;
    const struct {
      int x, y;
      const char* digit;
    } labels[] = {{midX, c.top - half, "1"},
                  {c.right + half, midY, "2"},
                  {midX, c.bottom + half, "3"},
                  {c.left - half, midY, "4"},
                  {(c.left + midX) / 2, (midY + c.bottom) / 2, "5"},
                  {(midX + c.right) / 2, (midY + c.bottom) / 2, "6"}};
    for (const auto& label : labels) dc.DrawText(label.x, label.y, label.digit, 1, 0);
  }
  EndPaint(m_hWnd, &paint);
  return 0;
}

CBorderPropPage::CBorderPropPage(CFormatPropSheet* sheet) : CFormatPageT<CDialogImpl>(sheet, IDD_BORDER_PAGE) {}

LRESULT CBorderPropPage::OnInitPage() {
  RECT frame = CWindow(GetDlgItem(IDC_FRAME_STATIC)).GetRectInParent();
  InflateRect(&frame, -kPreviewMargin, -kPreviewMargin);
  CreatePreviewWindow(m_preview, "CCellBorderWnd", m_hWnd, frame);
  m_toolbar = CreatePageToolBar(m_hWnd, kToolBarX, kToolBarY, kButtons, sizeof kButtons / sizeof kButtons[0]);
  m_line.SubclassWindow(GetDlgItem(IDC_FIRST_COMBO));
  m_color.SubclassWindow(GetDlgItem(IDC_SECOND_COMBO));
  RefreshPage(0);
  return FALSE;
}

void CBorderPropPage::RefreshPage(int direction) {
  if (m_hWnd == nullptr) return;
  BorderLine& line = style.borders.line;
  if (direction == 0) {
    m_loading = true;
    m_line.Fill(line.style != 0 ? line.style : 1, true);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    m_color.SetColor(line.colorSet ? line.color : text, text, line.colorSet == 0);
    if (m_preview.m_hWnd != nullptr) m_preview.Invalidate();
    m_loading = false;
    return;
  }
  ReadTwoCombos(m_line, m_color, &line);
}

void CBorderPropPage::Apply(int kind) {
  const uint8_t sides = SidesToApply(style.borders.sides, style.borders.line.style);
  if (sides != style.borders.sides) {
    style.borders.sides = sides;
    if (m_preview.m_hWnd != nullptr) m_preview.Invalidate();
  }
  ApplyBorderToSelection(Host(), style, kind);
}

void CBorderPropPage::ToggleSide(uint8_t side) {
  style.borders.sides ^= side;
  if (m_preview.m_hWnd != nullptr) m_preview.Invalidate();
  RefreshPage(1);
  Apply(kApplyBorders);
}

bool CBorderPropPage::OnPageCommand(int id, int code, HWND control) {
  if (control != nullptr && control == m_toolbar) {
    RefreshPage(1);
    switch (id) {
      case kBorderAllSides: style.borders.sides = kAllSides; break;
      case kBorderNone: style.borders.sides = 0; break;
      case kBorderOutline: Apply(kApplyOutline); return true;
      default: return false;
    }
    if (m_preview.m_hWnd != nullptr) m_preview.Invalidate();
    Apply(kApplyBorders);
    return true;
  }
  if ((id != IDC_FIRST_COMBO && id != IDC_SECOND_COMBO) || code != CBN_SELENDOK || !IsUserChange(control, true))
    return false;
  if (id == IDC_SECOND_COMBO && m_color.AwaitsCustomColor()) return true;
  RefreshPage(1);
  Apply(kApplyBorders);
  return true;
}
