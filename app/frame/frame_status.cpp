// The status bar: the selection's statistics, the protection icon, the zoom
// pane, and the zoom pane's button behaviour.

#include <cstdio>

#include "app/document/child_frame.h"
#include "app/frame/main_frame.h"
#include "app/frame/selection_statistics.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "platform/ui/capture_loop.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"

namespace {

constexpr uint8_t kProtectedReadOnly = 3;

HICON ProtectionIcon(uint8_t protectionState) {
  if (protectionState == 0) return nullptr;
  const int id = protectionState == kProtectedReadOnly ? IDI_PROTECTED_READ_ONLY : IDI_PROTECTED;
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_SHARED));
}

// "Last saved: date time, by user" in the user's short date and time
// without seconds, from the ISO 8601 text the workbook keeps; the text as
// it is when it does not read as a date and time.
void FormatLastSaved(const LastModificationBlock& saved, char* text, int size) {
  char date[64] = {}, time[64] = {};
  SYSTEMTIME when{};
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  const int read = sscanf(saved.date, "%4d-%2d-%2d%*[T ]%2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second);
  when.wYear = static_cast<WORD>(year);
  when.wMonth = static_cast<WORD>(month);
  when.wDay = static_cast<WORD>(day);
  when.wHour = static_cast<WORD>(hour);
  when.wMinute = static_cast<WORD>(minute);
  if (read < 5 ||
      GetDateFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | DATE_SHORTDATE, &when, nullptr, date,
                     sizeof date) == 0 ||
      GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE | TIME_NOSECONDS, &when, nullptr, time,
                     sizeof time) == 0) {
    lstrcpynA(date, saved.date, sizeof date);
    time[0] = '\0';
  }
  char user[kLastModificationUserSize + 1] = {};
  lstrcpynA(user, saved.user, sizeof user);
  snprintf(text, size, "Last saved: %s %s, by %s", date, time, user);
}

}  // namespace

void CMainFrame::UpdateStatusBar() {
  CWorkBook* book = GetActiveWorkbook();
  CChildFrame* child = GetActiveChildFrame();
  if (child == nullptr || book == nullptr || book->activeWorksheet == nullptr) return;
  SelectionStatistics statistics = {0.0, 0.0, 0.0, 0, 0};
  if (CDocumentView* view = child->GetActiveView()) {
    const SelectionRange s = view->Selection();
    const uint16_t firstColumn = static_cast<uint16_t>(s.firstColumn);
    const uint16_t lastColumn = static_cast<uint16_t>(s.lastColumn);
    statistics = ComputeSelectionStatistics(book->activeWorksheet->cells, firstColumn, lastColumn, s.firstRow,
                                            s.lastRow);
    WriteNameBox(firstColumn, s.firstRow, lastColumn, s.lastRow);
  }
  WriteStatusPanes(statistics, *book, book->activeWorksheet->viewFormat.zoom);
}

void CMainFrame::WriteStatusPanes(const SelectionStatistics& statistics, const CWorkBook& book, int zoomPercent) {
  if (m_hWndStatusBar == nullptr) return;
  char text[kSelectionStatusCapacity + kLastModificationUserSize];
  FormatSelectionStatus(statistics, &CurrentRegionalSettings(), text, sizeof text);
  StatusBarSetText(m_hWndStatusBar, 0, text);
  text[0] = '\0';
  if (book.bufferedFile.file != nullptr) FormatLastSaved(book.lastModification, text, sizeof text);
  StatusBarSetText(m_hWndStatusBar, 1, text);
  ::SendMessageA(m_hWndStatusBar, SB_SETICON, 2, reinterpret_cast<LPARAM>(ProtectionIcon(book.protectionMode)));
  char zoom[16];
  wsprintfA(zoom, " %d%%", zoomPercent);
  StatusBarSetText(m_hWndStatusBar, CStatusBarCtrl2::kZoomPane, zoom, SBT_POPOUT);
}

LRESULT CMainFrame::CStatusBarCtrl2::ProcessWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (PaneContains(kZoomPane, PointFromLParam(lp))) return OnLButtonDown(PointFromLParam(lp));
      break;
  }
  handled = false;
  return 0;
}

bool CMainFrame::CStatusBarCtrl2::PaneContains(int pane, POINT pt) const {
  RECT r{};
  return SendMessage(SB_GETRECT, pane, reinterpret_cast<LPARAM>(&r)) && PtInRect(&r, pt);
}

void CMainFrame::CStatusBarCtrl2::DrawZoomPane(bool sunken) {
  char text[32] = {};
  const LRESULT info = SendMessage(SB_GETTEXTA, kZoomPane, reinterpret_cast<LPARAM>(text));
  const UINT keep = HIWORD(info) & ~(SBT_POPOUT | SBT_NOBORDERS);
  StatusBarSetText(m_hWnd, kZoomPane, text, keep | (sunken ? 0 : SBT_POPOUT));
  UpdateWindow();
}

// The pane stays pressed while the mouse is over it; releasing the button
// over it is a click.
LRESULT CMainFrame::CStatusBarCtrl2::OnLButtonDown(POINT pt) {
  pressedPane = kZoomPane;
  pressed = true;
  DrawZoomPane(true);
  SetCapture(m_hWnd);
  bool clicked = false;
  MSG msg;
  CaptureEnd end = CaptureEnd::kNone;
  while (NextCaptureMessage(m_hWnd, &msg, &end)) {
    if (msg.message == WM_MOUSEMOVE) {
      pt = PointFromLParam(msg.lParam);
      const bool inside = PaneContains(kZoomPane, pt);
      if (inside != pressed) {
        pressed = inside;
        DrawZoomPane(inside);
      }
    } else if (msg.message == WM_LBUTTONUP) {
      clicked = PaneContains(kZoomPane, PointFromLParam(msg.lParam));
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      break;
    }
  }
  if (GetCapture() == m_hWnd) ReleaseCapture();
  pressed = false;
  pressedPane = -1;
  DrawZoomPane(false);
  if (clicked && frame != nullptr) ::SendMessageA(frame, WM_COMMAND, ID_VIEW_ZOOM, 0);
  return 0;
}
