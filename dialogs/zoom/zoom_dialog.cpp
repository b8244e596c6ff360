#include "dialogs/zoom/zoom_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include "dialogs/zoom/zoom_track.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

namespace {

// Where a button press lies on the screen; false for other messages.
bool ButtonPressPoint(const MSG& msg, POINT* screen) {
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      *screen = POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      ::ClientToScreen(msg.hwnd, screen);
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      *screen = POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      return true;
  }
  return false;
}

UiRect WorkAreaAt(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) work = info.rcWork;
  return UiRect{work.left, work.top, work.right, work.bottom};
}

}  // namespace

CZoomDlg::CZoomDlg() : CDialogImpl(IDD_ZOOM) {}

bool CZoomDlg::Show(HWND owner, uint32_t zoomPercent, POINT screen, ZoomCallback callback, void* context) {
  if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
  m_callback = callback;
  m_context = context;
  m_zoom = zoomPercent;
  m_point = screen;
  if (Create(owner) == nullptr) return false;
  ShowWindow(SW_SHOW);
  return true;
}

LRESULT CZoomDlg::ProcessWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) == GetDlgItem(IDC_ZOOM_TRACK)) {
        OnTrack();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CZoomDlg::OnInitDialog() {
  const RECT r = GetWindowRect();
  const UiRect placed = PlaceZoomPopup(m_point.x, m_point.y, r.right - r.left, r.bottom - r.top, WorkAreaAt(m_point));
  ::SetWindowPos(m_hWnd, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND track = GetDlgItem(IDC_ZOOM_TRACK);
  TrackBarSetRange(track, 0, kZoomTrackLast, ZoomTrackPosition(m_zoom));
  ::SendMessageA(track, TBM_SETTICFREQ, 1, 0);
  ::SendMessageA(track, TBM_SETPAGESIZE, 0, 1);
  CheckDlgButton(m_hWnd, IDC_ALL_WORKSHEETS_CHECK, m_allWorksheets ? BST_CHECKED : BST_UNCHECKED);
  SetWindowTransparency(m_hWnd, Options.Opacity);
  return TRUE;
}

void CZoomDlg::OnTrack() {
  m_allWorksheets = IsDlgButtonChecked(m_hWnd, IDC_ALL_WORKSHEETS_CHECK) == BST_CHECKED ? 1 : 0;
  const int position = static_cast<int>(::SendMessageA(GetDlgItem(IDC_ZOOM_TRACK), TBM_GETPOS, 0, 0));
  m_zoom = ZoomOfTrackPosition(position);
  if (m_callback != nullptr) m_callback(m_context, m_zoom, m_allWorksheets != 0);
}

bool CZoomDlg::ClosesPopup(const MSG& msg) const {
  POINT press{};
  if (!ButtonPressPoint(msg, &press)) return false;
  const HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(m_hWnd, focus)) return false;
  RECT client = GetClientRect();
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return !::PtInRect(&client, press);
}

bool CZoomDlg::PreTranslateMessage(MSG* msg) {
  if (m_hWnd == nullptr) return false;
  if (ClosesPopup(*msg)) {
    // The press goes on to its target.
    ::DestroyWindow(m_hWnd);
    return false;
  }
  return CDialogImpl::PreTranslateMessage(msg);
}
