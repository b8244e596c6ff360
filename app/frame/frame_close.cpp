// Closing the frame: every open document is asked first; the placement is
// kept in the options for the next start.

#include "services/settings/frame_placement.h"
#include "app/frame/main_frame.h"
#include "services/settings/global_options.h"

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
  // The frame holds the only claim on the process while no automation
  // client exists, so its end is the end of the loop.
  PostQuitMessage(0);
  return 0;
}
