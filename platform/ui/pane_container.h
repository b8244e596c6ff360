#ifndef TALVERO_PLATFORM_UI_PANE_CONTAINER_H
#define TALVERO_PLATFORM_UI_PANE_CONTAINER_H

// A pane with a title bar over its client window (a tree, a list) and a close
// button at the title's right end. The close button sends its parent
// WM_COMMAND kPaneCloseCommand with the container's window as the source; the
// container does not hide itself. Commands and notifications of the client go
// on to the container's parent.

#include <windows.h>

#include "platform/ui/window_impl.h"

class CPaneContainer : public CWindowImpl {
 public:
  static constexpr UINT kPaneCloseCommand = 57682;
  static constexpr int kMaxTitle = 64;

  HWND Create(HWND parent, const char* title, UINT id = 0,
              DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  void SetClient(HWND client);
  HWND GetClient() const { return m_client; }
  void SetTitle(const char* title);
  const char* GetTitle() const { return m_title; }
  int TitleHeight() const;
  RECT GetCloseButtonRect() const;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  void LayoutClient();
  LRESULT OnPaint();
  void TrackCloseButton();
  void DrawCloseButton(HDC dc, bool pressed);

  HWND m_client = nullptr;
  char m_title[kMaxTitle] = {};
};

#endif
