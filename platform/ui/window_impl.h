#ifndef TALVERO_PLATFORM_UI_WINDOW_IMPL_H
#define TALVERO_PLATFORM_UI_WINDOW_IMPL_H

// The base of every window object of the program. A window class derives from
// it and handles its messages in one function, ProcessWindowMessage: a plain
// switch that calls short On... members and clears `handled` for what it
// leaves to the base procedure.
//
// The object is bound to its window at WM_NCCREATE (or when it subclasses an
// existing window) and released at WM_NCDESTROY; OnFinalMessage then runs
// once, after the outermost message of that window has returned, so a window
// may destroy itself from inside any of its handlers and delete itself there.
//
// Notifications that a child control sends its parent (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR..., scrolling) and that the
// parent's map leaves unhandled are offered to the child's own object as
// kReflectBase + message, so an owner-drawn control draws itself.

#include <windows.h>

#include "platform/ui/window.h"
#include "platform/ui/window_class.h"

constexpr UINT kReflectBase = WM_USER + 0x1C00;

class CWindowImpl : public CWindow {
 public:
  CWindowImpl() = default;
  CWindowImpl(const CWindowImpl&) = delete;
  CWindowImpl& operator=(const CWindowImpl&) = delete;
  virtual ~CWindowImpl();

  // Creates a window of a class registered with RegisterOwnClass or
  // RegisterSuperclass; `id` is the control identifier of a child window or
  // the menu of a top-level one. Null when the window cannot be created.
  HWND Create(const WindowClass& cls, HWND parent, const RECT& rect, const char* text,
              DWORD style, DWORD exStyle = 0, UINT_PTR id = 0);
  // The same with a position and size, which may be CW_USEDEFAULT.
  HWND Create(const WindowClass& cls, HWND parent, int x, int y, int width, int height,
              const char* text, DWORD style, DWORD exStyle = 0, UINT_PTR id = 0);
  // Puts this object's message map in front of an existing window (a control
  // of a dialog template, a system control). False when the window is bound
  // to an object already.
  bool SubclassWindow(HWND hwnd);
  // Gives the window its own procedure back; the window lives on unbound.
  HWND UnsubclassWindow();

  virtual LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  virtual void OnFinalMessage(HWND hwnd);
  // The base procedure: the class's (DefWindowProc for our own classes, the
  // system control's for superclasses) or the one replaced by subclassing.
  virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);

  // The object bound to a window, or null.
  static CWindowImpl* FromHandle(HWND hwnd);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 protected:
  WNDPROC m_baseProc = ::DefWindowProcA;

 private:
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void Bind(HWND hwnd);
  void Unbind();

  int m_dispatchDepth = 0;
  bool m_finalPending = false;
  bool m_subclassed = false;
  HWND m_finalHwnd = nullptr;
};

// Offers a child's notification to the child's object as kReflectBase + msg.
// True (with the result) when the child handled it.
bool ReflectNotification(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

#endif
