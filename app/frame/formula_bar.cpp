// The formula bar: a rich-edit control that turns Enter into the " OK"
// command of the frame.

#include "app/frame/main_frame.h"
#include "resources/resource_ids.h"

LRESULT CMainFrame::CRichEditCtrl2::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    // The control sees the key first, so its text is complete when the
    // command reads it.
    const LRESULT result = DefWindowProc(msg, wp, lp);
    if (frame != nullptr) ::PostMessageA(frame, WM_COMMAND, ID_FORMULA_BAR_OK, 0);
    return result;
  }
  handled = false;
  return 0;
}
