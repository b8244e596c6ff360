#include "dialogs/controls/owner_drawn_combos.h"

#include "platform/ui/common_controls.h"
#include "view/draw_context/draw_context.h"

namespace {

int SystemFontItemHeight(HWND window) {
  const TEXTMETRICA metrics = StockFontMetrics(window, SYSTEM_FONT);
  return metrics.tmHeight + metrics.tmExternalLeading + 2;
}

}  // namespace

LRESULT CComboBoxBase::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case kReflectBase + WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case kReflectBase + WM_MEASUREITEM:
      MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case kReflectBase + WM_COMMAND:
      OnReflectedCommand(HIWORD(wp));
      handled = false;  // the parent still hears of it
      return 0;
  }
  handled = false;
  return 0;
}

uint32_t CComboBoxBase::SelectedValue() const {
  const LRESULT item = SendMessage(CB_GETCURSEL);
  if (item == CB_ERR) return m_storedValue;
  return static_cast<uint32_t>(SendMessage(CB_GETITEMDATA, item));
}

void CComboBoxBase::PrepareList() {
  if (SendMessage(CB_GETCOUNT) > 0) SendMessage(CB_RESETCONTENT);
  const int height = SystemFontItemHeight(m_hWnd);
  SendMessage(CB_SETITEMHEIGHT, 0, height);
  SendMessage(CB_SETEXTENDEDUI, TRUE);
}

void CComboBoxBase::AddValue(uint32_t value) { SendMessage(CB_ADDSTRING, 0, static_cast<LPARAM>(value)); }

void CComboBoxBase::SelectValue(uint32_t value) {
  const LRESULT count = SendMessage(CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    if (static_cast<uint32_t>(SendMessage(CB_GETITEMDATA, i)) == value) {
      SendMessage(CB_SETCURSEL, i);
      return;
    }
  }
  SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1));
}

void CComboBoxBase::DrawItem(const DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.itemID) < 0) {
    DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF background = selected ? GetSysColor(COLOR_HIGHLIGHT) : GetBkColor(item.hDC);
  const COLORREF text = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  const int priorMode = ::SetBkMode(item.hDC, TRANSPARENT);
  const COLORREF priorColour = ::SetTextColor(item.hDC, text);
  {
    DrawContext dc;
    dc.AttachDC(item.hDC);
    DrawPicture(dc, item, text);
  }
  ::SetTextColor(item.hDC, priorColour);
  ::SetBkMode(item.hDC, priorMode);
}

void CComboBoxBase::MeasureItem(MEASUREITEMSTRUCT* item) {
  if (item->CtlType == ODT_MENU) {
    item->itemHeight = GetSystemMetrics(SM_CYMENU);
    return;
  }
  HDC dc = GetDC(m_hWnd);
  HGDIOBJ prior = SelectObject(dc, GetFont());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, prior);
  ReleaseDC(m_hWnd, dc);
  item->itemHeight = metrics.tmHeight;
}

void CComboBoxBase::DrawCentredText(const DRAWITEMSTRUCT& item, const char* text, int left) {
  RECT r = item.rcItem;
  r.left = left;
  r.right -= 2;
  HGDIOBJ prior = SelectObject(item.hDC, GetFont());
  DrawTextA(item.hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(item.hDC, prior);
}
