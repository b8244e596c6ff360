#ifndef TALVERO_PLATFORM_UI_WINDOW_CLASS_H
#define TALVERO_PLATFORM_UI_WINDOW_CLASS_H

// Window classes whose windows are served by CWindowImpl objects: classes of
// our own, and superclasses of system controls (an EDIT or a COMBOBOX with
// our own message map in front of the control's procedure).

#include <windows.h>

struct WindowClass {
  ATOM atom;
  // What the window gets for the messages its object leaves unhandled (and
  // for the few that arrive before the object is bound).
  WNDPROC baseProc;
};

// Both calls may be repeated: a class registered before is returned as it is.
// With baseProc DefMDIChildProcA the class serves MDI children.
bool RegisterOwnClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background,
                      WindowClass* out, WNDPROC baseProc = DefWindowProcA);
bool RegisterSuperclass(const char* name, const char* systemClass, WindowClass* out);

// The base procedure of a registered class, or DefWindowProcA for classes
// that are not ours.
WNDPROC BaseProcOfClass(ATOM atom);

#endif
