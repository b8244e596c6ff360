// Closing the frame: every open document is asked first; the placement is
// kept in the options for the next start.

#include "services/settings/frame_placement.h"
#include "app/frame/main_frame.h"
#include "services/settings/global_options.h"
#include "automation/server/server_module_win32.h"

LRESULT CMainFrame::OnClose() {
  if (!QueryCloseAllDocuments(OpenDocuments(), GetDocumentServices())) return 0;
  DestroyWindow();
  return 0;
}

LRESULT CMainFrame::OnDestroy() {
  const RECT r = GetWindowRect();
  StoreFramePlacement(Options, ::IsZoomed(m_hWnd) != 0, ::IsIconic(m_hWnd) != 0, {r.left, r.top, r.right, r.bottom});
  KillTimer(m_hWnd, kTimerId);
  m_printBook = nullptr;
  m_printSheet = nullptr;
  if (m_loopRegistered) {
    if (CMessageLoop* loop = CMessageLoop::Current()) {
      loop->RemoveMessageFilter(this);
      loop->RemoveIdleHandler(this);
    }
    m_loopRegistered = false;
  }
  // Automation clients that still hold objects keep the process running
  // without a window; otherwise it ends at once.
  if (m_holdsServerLock) {
    m_holdsServerLock = false;
    ServerModule().ReleaseFrameLock();
  }
  return 0;
}

void CMainFrame::HoldServerLock() {
  if (m_holdsServerLock) return;
  ServerModule().Lock();
  m_holdsServerLock = true;
}
