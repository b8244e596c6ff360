#ifndef TALVERO_APP_MAIN_FRAME_H
#define TALVERO_APP_MAIN_FRAME_H

// The program's main window. For now it holds the title, the menu and the
// accelerators of the frame's resources; closing it ends the message loop.

#include <windows.h>

#include "platform/ui/window_impl.h"

class CMainFrame : public CWindowImpl {
 public:
  ~CMainFrame() override;
  // Creates the window at the default position; null when that fails.
  HWND CreateFrame();
  HACCEL Accelerators() const { return m_accelerators; }

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnDestroy();

  HACCEL m_accelerators = nullptr;
};

#endif
