#ifndef TALVERO_PLATFORM_UI_MDI_CHILD_H
#define TALVERO_PLATFORM_UI_MDI_CHILD_H

// The base of the program's MDI children (document windows). Messages the map
// leaves unhandled go to DefMDIChildProc; a WM_FORWARDMSG from the frame is
// translated with the child's accelerator table, when it has one.
//
// Every size change, activation and destruction is told to the MDI client
// as kMsgMDIStateChanged, so that the command bar can show or hide the
// maximised child's system menu and buttons. DefMDIChildProc must see
// WM_SIZE, WM_MOVE, WM_CHILDACTIVATE, WM_SETFOCUS, WM_SYSCOMMAND and
// WM_MDIACTIVATE: a map that acts on them leaves them unhandled afterwards.

#include <windows.h>

#include "platform/ui/mdi_frame.h"

constexpr UINT kMsgMDIStateChanged = WM_APP + 0x3F00;

class CMDIChildWindowImpl : public CWindowImpl {
 public:
  HACCEL m_hAccel = nullptr;

  // Creates the child in the frame's MDI client; a null rect takes the
  // client's default place. The window class must have been registered
  // with baseProc DefMDIChildProcA.
  HWND CreateChild(const WindowClass& cls, HWND mdiClient, const char* title,
                   const RECT* rect = nullptr, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);

  LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The class of MDI children registered once under `name`.
bool RegisterMDIChildClass(const char* name, WindowClass* out);

#endif
