#ifndef TALVERO_TESTS_PLATFORM_UI_WINDOWS_UI_TEST_SUPPORT_H
#define TALVERO_TESTS_PLATFORM_UI_WINDOWS_UI_TEST_SUPPORT_H

// What window tests share: a window that logs its messages, pumping the queue
// until it is empty, and screenshots for a person to look at.

#include <windows.h>

#include "platform/ui/window_impl.h"
#include "tests/platform/ui/windows/own_desktop_win32.h"

// The messages windows received, in order, each with the tag of its window.
struct LoggedMessage {
  int tag;
  UINT msg;
  WPARAM wp;
};

class MessageLog {
 public:
  static constexpr int kCapacity = 512;
  void Add(int tag, UINT msg, WPARAM wp);
  void Clear() { m_count = 0; }
  int Count() const { return m_count; }
  const LoggedMessage& At(int i) const { return m_entries[i]; }
  // Position of the first entry at or after `from` for this window and
  // message, or -1.
  int Find(int tag, UINT msg, int from = 0) const;
  int CountOf(int tag, UINT msg) const;

 private:
  LoggedMessage m_entries[kCapacity];
  int m_count = 0;
};

// Registers the common controls once and returns a plain window class of ours.
const WindowClass& TestWindowClass();

// A top-level or child window that logs every message and leaves all of them
// to the default procedure.
class CLoggingWindow : public CWindowImpl {
 public:
  CLoggingWindow(MessageLog* log, int tag) : m_log(log), m_tag(tag) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  HWND CreateTopLevel(const char* title, int width = 400, int height = 300);

 protected:
  MessageLog* m_log;
  int m_tag;
};

// Handles every message now waiting (through the thread's CMessageLoop when
// there is one, with its filters and idle handlers), at most `limit`; stops
// at WM_QUIT, which stays in the queue. Returns the number handled.
int PumpMessages(int limit = 10000);

// Saves the window's client area as build/win32/artifacts/<name>.bmp (the
// folder comes from TALVERO_ARTIFACTS_DIR). Pictures are for people; tests
// never compare them.
bool SaveClientScreenshot(HWND hwnd, const char* name);

#endif
