#include "dialogs/file/file_wait_dialog.h"

#include <cstdio>

#include <shlwapi.h>

#include "dialogs/controls/dialog_opening.h"
#include "dialogs/file/wait_clock.h"
#include "resources/resource_ids.h"

namespace {

uint32_t g_tickCount = 0;

int64_t NowSeconds() {
  OsLocalTime now{};
  OsGetLocalTime(&now);
  return SecondsOfLocalTime(now);
}

}  // namespace

CFileWaitDlg::CFileWaitDlg(const char* path, BufferedFile* file, const char* firstMode, const char* secondMode)
    : CDialogImpl(IDD_FILE_WAIT), m_file(file) {
  std::snprintf(m_path, sizeof m_path, "%s", path);
  std::snprintf(m_firstMode, sizeof m_firstMode, "%s", firstMode);
  std::snprintf(m_secondMode, sizeof m_secondMode, "%s", secondMode);
}

uint32_t CFileWaitDlg::TickCount() { return g_tickCount; }

LRESULT CFileWaitDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_TIMER:
      if (wp == kFileWaitTimer) return OnTimer();
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) {
        Finish(IDCANCEL);
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CFileWaitDlg::OnInitDialog() {
  PlaceOpeningDialog(m_hWnd);
  ::SetTimer(m_hWnd, kFileWaitTimer, 1000, nullptr);
  m_startSeconds = NowSeconds();
  CWindow pathText(GetDlgItem(IDC_PATH_TEXT));
  char shown[kFilePathSize];
  std::snprintf(shown, sizeof shown, "%s", m_path);
  HDC dc = GetDC(pathText);
  HGDIOBJ prior = SelectObject(dc, pathText.GetFont());
  PathCompactPathA(dc, shown, static_cast<UINT>(pathText.GetClientRect().right));
  SelectObject(dc, prior);
  ReleaseDC(pathText, dc);
  pathText.SetWindowText(shown);
  return TRUE;
}

LRESULT CFileWaitDlg::OnTimer() {
  char clock[16];
  FormatWaitClock(NowSeconds() - m_startSeconds, clock, sizeof clock);
  SetDlgItemTextA(m_hWnd, IDC_CLOCK_TEXT, clock);
  if (!IsRetryTick(++g_tickCount)) return 0;
  if (m_file->Open(m_path, m_firstMode) || m_file->Open(m_path, m_secondMode)) {
    MessageBeep(MB_OK);
    Finish(IDOK);
  }
  return 0;
}

void CFileWaitDlg::Finish(INT_PTR result) {
  ::KillTimer(m_hWnd, kFileWaitTimer);
  EndDialog(result);
}
