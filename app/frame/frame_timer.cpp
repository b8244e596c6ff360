// The frame's timer: auto-save and auto-close.

#include "app/frame/activity_clock.h"
#include "services/settings/global_options.h"
#include "app/frame/main_frame.h"

namespace {

bool FramePopupActive(void* context) { return static_cast<const CMainFrame*>(context)->PopupActive(); }

void FrameBeep(void*) { MessageBeep(MB_OK); }

void RestoreFrame(void* context) {
  HWND frame = static_cast<CMainFrame*>(context)->m_hWnd;
  if (::IsIconic(frame)) ::ShowWindow(frame, SW_RESTORE);
}

}  // namespace

// A window that the frame owns and that was active last is a modal dialog
// or a message box: the user is in the middle of something. The tool
// windows are no such thing.
bool CMainFrame::PopupActive() const {
  const HWND last = GetLastActivePopup(m_hWnd);
  return last != m_hWnd && last != m_composer.m_hWnd && last != m_worksheetFormat.m_hWnd &&
         last != m_formatSheet.m_hWnd;
}

void CMainFrame::OnTimer(UINT_PTR id) {
  // A save that shows a dialog runs a modal loop in which the timer ticks
  // again; that tick must not start a second pass.
  if (id != kTimerId || m_inTimerTick) return;
  m_inTimerTick = true;
  const AutoSaveFrame frame = {this, FramePopupActive, FrameBeep, RestoreFrame};
  RunAutoSaveTick(&m_clocks, ActivityClockNow(), Options.AutoSave, Options.AutoClose, OpenDocuments(),
                  GetDocumentServices(), frame);
  m_inTimerTick = false;
}
