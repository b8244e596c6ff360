#include "dialogs/zoom/zoom_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "platform/ui/message_loop.h"
#include "resources/resource_ids.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

struct Chosen {
  int calls = 0;
  uint32_t zoom = 0;
  bool all = false;
};

void Record(void* context, uint32_t zoom, bool all) {
  Chosen* chosen = static_cast<Chosen*>(context);
  ++chosen->calls;
  chosen->zoom = zoom;
  chosen->all = all;
}

class ZoomChooser : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(owner_.CreateTopLevel("zoom owner", 600, 400), nullptr); }
  void TearDown() override { DestroyWindow(owner_); }
  // Shown beside a point inside the owner.
  void Show(uint32_t zoom) {
    POINT point{400, 300};
    ClientToScreen(owner_, &point);
    ASSERT_TRUE(chooser_.Show(owner_, zoom, point, Record, &chosen_));
    PumpMessages();
  }
  HWND Track() const { return GetDlgItem(chooser_.m_hWnd, IDC_ZOOM_TRACK); }

  CMessageLoop loop_;
  MessageLog log_;
  CLoggingWindow owner_{&log_, 1};
  CZoomDlg chooser_;
  Chosen chosen_;
};

TEST_F(ZoomChooser, StandsBesideThePointAndTellsTheZoomDraggedTo) {
  Show(125);
  EXPECT_EQ(SendMessageA(Track(), TBM_GETPOS, 0, 0), 28);
  RECT r{};
  GetWindowRect(chooser_.m_hWnd, &r);
  POINT point{400, 300};
  ClientToScreen(owner_, &point);
  EXPECT_EQ(r.right, point.x - 2);
  EXPECT_EQ(r.bottom, point.y - 2);
  CheckDlgButton(chooser_.m_hWnd, IDC_ALL_WORKSHEETS_CHECK, BST_CHECKED);
  SendMessageA(Track(), TBM_SETPOS, TRUE, 36);
  SendMessageA(chooser_.m_hWnd, WM_HSCROLL, TB_BOTTOM, reinterpret_cast<LPARAM>(Track()));
  EXPECT_EQ(chosen_.calls, 1);
  EXPECT_EQ(chosen_.zoom, 40u);
  EXPECT_TRUE(chosen_.all);
}

TEST_F(ZoomChooser, AClickOutsideClosesItAndGoesOnAClickInsideDoesNot) {
  Show(100);
  // A press in the popup while its track bar has the focus keeps it.
  SetFocus(Track());
  PostMessageA(chooser_.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpMessages();
  ASSERT_NE(chooser_.m_hWnd, nullptr);
  // Elsewhere, with the focus gone from the popup, it closes and the press
  // reaches its window.
  SetFocus(owner_);
  log_.Clear();
  PostMessageA(owner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PumpMessages();
  EXPECT_EQ(chooser_.m_hWnd, nullptr);
  EXPECT_GE(log_.Find(1, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(chosen_.calls, 0);
}

TEST_F(ZoomChooser, EscapeClosesIt) {
  Show(100);
  SetFocus(Track());
  PostMessageA(Track(), WM_KEYDOWN, VK_ESCAPE, 1);
  PumpMessages();
  EXPECT_EQ(chooser_.m_hWnd, nullptr);
}

}  // namespace
