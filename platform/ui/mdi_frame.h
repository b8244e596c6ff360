#ifndef TALVERO_PLATFORM_UI_MDI_FRAME_H
#define TALVERO_PLATFORM_UI_MDI_FRAME_H

// The base of the program's MDI frame: a top-level window with a bar area at
// the top (the rebar), a status bar at the bottom and the MDI client between
// them. Messages its map leaves unhandled go to the frame's default
// processing (DefFrameProc), except WM_SIZE, which lays out bars and client.

#include <windows.h>

#include "platform/ui/window_impl.h"

// A message the frame sends to the active MDI child with a message of the
// frame's queue; the child answers non-zero when it translated it (its own
// accelerators) and the frame then drops it.
constexpr UINT WM_FORWARDMSG = 0x037F;

class CMDIFrameWindowImpl : public CWindowImpl {
 public:
  static constexpr UINT kClientId = 59648;
  static constexpr UINT kFirstChildId = 65280;

  HWND m_hWndClient = nullptr;     // the MDI client
  HWND m_hWndToolBar = nullptr;    // the bar above the client (a rebar), if any
  HWND m_hWndStatusBar = nullptr;  // the status bar, if any
  // A window shown in the MDI client's place (the print preview), laid out
  // where the client would be while the client stays hidden; null normally.
  HWND m_hWndClientStandIn = nullptr;

  // Creates the MDI client; the list of child windows goes at the end of
  // windowMenu (a pop-up of the frame's menu), when given.
  HWND CreateMDIClient(HMENU windowMenu, UINT id = kClientId, UINT firstChildId = kFirstChildId);
  // Places the bar, the status bar and the client in the frame.
  void UpdateLayout();

  HWND MDIGetActive(bool* maximized = nullptr) const;
  void MDIActivate(HWND child) const;
  void MDICascade() const;
  void MDITile(bool horizontal) const;
  void MDIIconArrange() const;
  // Gives the client a new frame menu and window menu (either may be null to
  // keep the current one) and redraws the menu bar.
  HMENU MDISetMenu(HMENU frameMenu, HMENU windowMenu);

  // For the frame's message filter: the MDI system keys (Ctrl+F4, Ctrl+F6),
  // then the active child's own translation (WM_FORWARDMSG). True when the
  // message was consumed.
  bool TranslateForActiveChild(MSG* msg);

  LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

#endif
