#ifndef TALVERO_PLATFORM_UI_MESSAGE_LOOP_H
#define TALVERO_PLATFORM_UI_MESSAGE_LOOP_H

// The user-interface thread's message loop. Every message first passes the
// registered message filters, the most recently registered first (so a
// modeless dialog sees its keys before the frame's accelerators), and is
// dispatched only when none of them consumed it. When the queue has emptied
// after input, the idle handlers run once.

#include <windows.h>

// Key presses, mouse-button presses in a client or non-client area and the
// opening of a menu: the input by which the user is known to be at work.
bool IsUserInputMessage(UINT msg);

class CMessageFilter {
 public:
  // True when the message was consumed (translated, or handled by a dialog).
  virtual bool PreTranslateMessage(MSG* msg) = 0;

 protected:
  ~CMessageFilter() = default;
};

class CIdleHandler {
 public:
  // True asks for another idle call before the loop waits again.
  virtual bool OnIdle() = 0;

 protected:
  ~CIdleHandler() = default;
};

class CMessageLoop {
 public:
  static constexpr int kMaxFilters = 32;
  static constexpr int kMaxIdleHandlers = 16;
  // Idle calls in a row that handlers may ask for before the loop waits.
  static constexpr int kMaxIdleRepeats = 16;

  // The loop becomes its thread's loop until it is destroyed.
  CMessageLoop();
  ~CMessageLoop();
  CMessageLoop(const CMessageLoop&) = delete;
  CMessageLoop& operator=(const CMessageLoop&) = delete;

  // This thread's loop, or null.
  static CMessageLoop* Current();

  // False when the list is full (or, for removal, when it is not there).
  // Filters and handlers may add and remove themselves and others while the
  // loop is calling them.
  bool AddMessageFilter(CMessageFilter* filter);
  bool RemoveMessageFilter(CMessageFilter* filter);
  bool AddIdleHandler(CIdleHandler* handler);
  bool RemoveIdleHandler(CIdleHandler* handler);

  // Runs until WM_QUIT and returns its exit code (-1 when the queue fails).
  int Run();
  // Handles the messages waiting now, at most `limit`, then runs the idle
  // handlers when anything was handled or `idleAlways` is set; never waits.
  // Stops at WM_QUIT, which it leaves for Run (posted again) and reports.
  // Returns the number of messages handled. For tests and for code that must
  // bring the queue up to date before it goes on.
  int RunPending(int limit, bool idleAlways = false, bool* quitSeen = nullptr);

  // The filters, newest first; true when one consumed the message.
  bool PreTranslateMessage(MSG* msg);
  bool OnIdle();
  // Filters, then translation and dispatch.
  void HandleMessage(MSG* msg);

 private:
  static bool TriggersIdle(const MSG& msg, POINT* lastMouse);
  void Compact();

  CMessageFilter* m_filters[kMaxFilters] = {};
  int m_filterCount = 0;
  CIdleHandler* m_idle[kMaxIdleHandlers] = {};
  int m_idleCount = 0;
  // Removals during a call leave holes that are closed once no call is under way.
  int m_callDepth = 0;
  bool m_holes = false;
  CMessageLoop* m_previous = nullptr;
};

#endif
