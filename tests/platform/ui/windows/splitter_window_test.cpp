#include "platform/ui/splitter_window.h"

#include <gtest/gtest.h>

#include "platform/ui/pane_container.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

HWND MakePane(HWND parent, const char* text) {
  return CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(SplitterWindow, PanesFollowTheBarTheSizeAndSinglePaneMode) {
  CLoggingWindow parent(nullptr, 0);
  ASSERT_NE(parent.CreateTopLevel("splitter", 500, 400), nullptr);
  CSplitterWindowT<true> splitter;
  RECT r{0, 0, 400, 300};
  ASSERT_NE(splitter.Create(parent, r), nullptr);
  CWindow left(MakePane(splitter, "left")), right(MakePane(splitter, "right"));
  splitter.SetMinPaneSize(30);
  splitter.SetSplitterPanes(left, right);
  splitter.SetSplitterPos(100);
  EXPECT_EQ(left.GetRectInParent().right, 100);
  EXPECT_EQ(right.GetRectInParent().left, 100 + CSplitterWindow::kBarWidth);
  EXPECT_EQ(right.GetRectInParent().right, 400);
  splitter.SetSplitterPos(5);
  EXPECT_EQ(splitter.GetSplitterPos(), 30);

  // The bar keeps its proportion when the splitter grows.
  splitter.SetSplitterPos(100);
  r.right = 800;
  splitter.MoveWindow(r);
  EXPECT_EQ(splitter.GetSplitterPos(), 200);

  // Dragging the bar: press on it, move, release.
  splitter.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(201, 50));
  splitter.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(301, 50));
  splitter.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(301, 50));
  PumpMessages();
  EXPECT_EQ(splitter.GetSplitterPos(), 300);
  EXPECT_EQ(GetCapture(), nullptr);

  right.SetFocus();
  EXPECT_EQ(splitter.GetActivePane(), 1);
  ASSERT_TRUE(splitter.SetSinglePaneMode(0));
  EXPECT_FALSE(right.IsWindowVisible());
  EXPECT_EQ(left.GetRectInParent().right, 800);
  EXPECT_EQ(GetFocus(), left.m_hWnd);  // the focus left the hidden pane
  EXPECT_EQ(splitter.GetActivePane(), 0);
  splitter.SetSinglePaneMode(kSplitterBothPanes);
  EXPECT_TRUE(right.IsWindowVisible());
  SaveClientScreenshot(parent, "splitter_both_panes");
  parent.DestroyWindow();
}

TEST(SplitterWindow, APositionAskedBeforeTheFirstSizeHoldsAfterIt) {
  CLoggingWindow parent(nullptr, 0);
  ASSERT_NE(parent.CreateTopLevel("early position"), nullptr);
  for (int asked : {-1, 150}) {
    CSplitterWindowT<false> splitter;
    RECT none{0, 0, 0, 0};
    ASSERT_NE(splitter.Create(parent, none), nullptr);
    splitter.SetMinPaneSize(30);
    splitter.SetSplitterPos(asked);
    RECT r{0, 0, 300, 400};
    splitter.MoveWindow(r);
    EXPECT_EQ(splitter.GetSplitterPos(), asked < 0 ? (400 - CSplitterWindow::kBarWidth) / 2 : 150);
    splitter.DestroyWindow();
  }
  parent.DestroyWindow();
}

TEST(PaneContainer, ClientSitsBelowTheTitleAndCloseTellsTheParent) {
  MessageLog log;
  CLoggingWindow parent(&log, 1);
  ASSERT_NE(parent.CreateTopLevel("pane"), nullptr);
  CPaneContainer pane;
  ASSERT_NE(pane.Create(parent, "Worksheets"), nullptr);
  CWindow client(MakePane(pane, "tree"));
  pane.SetClient(client);
  RECT r{0, 0, 200, 250};
  pane.MoveWindow(r);
  EXPECT_EQ(client.GetRectInParent().top, pane.TitleHeight());
  EXPECT_EQ(client.GetRectInParent().bottom, 250);

  RECT close = pane.GetCloseButtonRect();
  LPARAM at = MAKELPARAM((close.left + close.right) / 2, (close.top + close.bottom) / 2);
  log.Clear();
  pane.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  pane.PostMessage(WM_LBUTTONUP, 0, at);
  PumpMessages();
  int command = log.Find(1, WM_COMMAND);
  ASSERT_GE(command, 0);
  EXPECT_EQ(LOWORD(log.At(command).wp), CPaneContainer::kPaneCloseCommand);
  SaveClientScreenshot(parent, "pane_container");

  // Released outside the button: nothing.
  log.Clear();
  pane.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  pane.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 100));
  PumpMessages();
  EXPECT_EQ(log.CountOf(1, WM_COMMAND), 0);
  parent.DestroyWindow();
}

}  // namespace
