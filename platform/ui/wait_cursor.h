#ifndef TALVERO_PLATFORM_UI_WAIT_CURSOR_H
#define TALVERO_PLATFORM_UI_WAIT_CURSOR_H

// Shows the wait cursor while a long command runs and puts the previous
// cursor back on every way out of the scope.

#include <windows.h>

class WaitCursor {
 public:
  WaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(m_previous); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR m_previous;
};

#endif
