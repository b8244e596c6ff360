#ifndef TALVERO_PLATFORM_UI_CAPTURE_LOOP_H
#define TALVERO_PLATFORM_UI_CAPTURE_LOOP_H

// Modal loops that run while a window holds the mouse capture (drag loops,
// splitter bars, pressed buttons). The caller writes its own loop:
//
//   SetCapture(hwnd);
//   MSG msg;
//   CaptureEnd end;
//   while (NextCaptureMessage(hwnd, &msg, &end)) {
//     switch (msg.message) { case WM_MOUSEMOVE: ...; case WM_LBUTTONUP: ... }
//   }
//
// and every way out of it is clean: the capture taken by another window or
// released (WM_CAPTURECHANGED), and WM_QUIT, which is posted again so the
// outer loop ends too.

#include <cstdint>

#include <windows.h>

enum class CaptureEnd : uint8_t {
  kNone,         // the loop goes on
  kLostCapture,  // the window no longer holds the capture
  kQuit,         // WM_QUIT arrived; it is posted again for the outer loop
};

// Waits for the next mouse or keyboard message and returns it undispatched;
// every other message is dispatched meanwhile. False (with the reason in
// *end) when the loop must end.
bool NextCaptureMessage(HWND window, MSG* msg, CaptureEnd* end);

#endif
