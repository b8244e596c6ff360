#ifndef TALVERO_VIEW_AUTOSCROLL_WINDOW_H
#define TALVERO_VIEW_AUTOSCROLL_WINDOW_H

// The middle-button autoscroll indicator: a small popup centred where the
// button was pressed that, on each tick of its timer, scrolls its owner
// towards the pointer. It goes away when it loses the focus and on any
// button or key press. Windows only.

#include <windows.h>

#include <cstdint>

#include "platform/ui/window_impl.h"

constexpr UINT_PTR kAutoscrollTimer = 255;
constexpr UINT kAutoscrollInterval = 10;

class CMouseWheelWnd : public CWindowImpl {
 public:
  ~CMouseWheelWnd() override;
  // Replaces an earlier indicator; false when its window cannot be made.
  bool Start(HWND owner, POINT centre);
  void Stop();
  // One step towards a pointer at a screen point, at a time in milliseconds.
  void Tick(POINT pointer, uint32_t now);

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnPaint();

  HWND m_owner = nullptr;
  POINT m_centre = {};
  int32_t m_width = 28;
  int32_t m_height = 28;
  // A step asked for a pause: nothing scrolls before this time. The thread
  // never sleeps for it.
  uint32_t m_resumeAt = 0;
  bool m_paused = false;
};

#endif
