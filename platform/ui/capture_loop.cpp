#include "platform/ui/capture_loop.h"

namespace {

bool IsInput(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST);
}

}  // namespace

bool NextCaptureMessage(HWND window, MSG* msg, CaptureEnd* end) {
  *end = CaptureEnd::kNone;
  for (;;) {
    if (GetCapture() != window) {
      *end = CaptureEnd::kLostCapture;
      return false;
    }
    BOOL got = GetMessageA(msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg->wParam) : -1);
      if (GetCapture() == window) ReleaseCapture();
      *end = CaptureEnd::kQuit;
      return false;
    }
    if (IsInput(msg->message)) {
      // Input that raced with a capture change belongs to the new owner.
      if (GetCapture() != window) {
        DispatchMessageA(msg);
        continue;
      }
      return true;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
  }
}
