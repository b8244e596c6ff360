#include "platform/ui/mdi_frame.h"

#include <gtest/gtest.h>

#include "platform/ui/common_controls.h"
#include "platform/ui/mdi_child.h"
#include "tests/platform/ui/windows/ui_test_resources.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

constexpr UINT kChildCommand = 4242;

class CTestChild : public CMDIChildWindowImpl {
 public:
  CTestChild(MessageLog* log, int tag) : m_log(log), m_tag(tag) {}
  int finals = 0;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    m_log->Add(m_tag, msg, wp);
    handled = false;
    return 0;
  }
  void OnFinalMessage(HWND) override { ++finals; }

 private:
  MessageLog* m_log;
  int m_tag;
};

class CTestFrame : public CMDIFrameWindowImpl {
 public:
  LRESULT ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) override {
    switch (msg) {
      case WM_CREATE:
        return CreateMDIClient(GetSubMenu(GetMenu(), 2)) != nullptr ? 0 : -1;
    }
    handled = false;
    return 0;
  }
};

const WindowClass& FrameClass() {
  static WindowClass cls{};
  if (cls.atom == 0) {
    TestWindowClass();
    RegisterOwnClass("TalveroTestFrame", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), &cls);
  }
  return cls;
}

TEST(MDIFrame, ActiveChildTranslatesForwardedKeysAndTheWindowMenuListsChildren) {
  CTestFrame frame;
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU));
  RECT r{0, 0, 640, 480};
  ASSERT_NE(frame.Create(FrameClass(), nullptr, r, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                         WS_CLIPCHILDREN, 0, reinterpret_cast<UINT_PTR>(menu)), nullptr);
  ASSERT_NE(frame.m_hWndClient, nullptr);
  WindowClass childClass;
  ASSERT_TRUE(RegisterMDIChildClass("TalveroTestChild", &childClass));
  MessageLog log;
  CTestChild first(&log, 1), second(&log, 2);
  ASSERT_NE(first.CreateChild(childClass, frame.m_hWndClient, "Book1"), nullptr);
  ASSERT_NE(second.CreateChild(childClass, frame.m_hWndClient, "Book2"), nullptr);
  PumpMessages();
  EXPECT_EQ(frame.MDIGetActive(), second.m_hWnd);
  HMENU windowMenu = GetSubMenu(menu, 2);
  EXPECT_NE(GetMenuState(windowMenu, CMDIFrameWindowImpl::kFirstChildId + 1, MF_BYCOMMAND), static_cast<UINT>(-1));

  ACCEL keys[] = {{FVIRTKEY, VK_F2, kChildCommand}};
  second.m_hAccel = CreateAcceleratorTableA(keys, 1);
  MSG f2{second, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
  MSG f3{second, WM_KEYDOWN, VK_F3, 0, 0, {0, 0}};
  log.Clear();
  EXPECT_TRUE(frame.TranslateForActiveChild(&f2));
  EXPECT_FALSE(frame.TranslateForActiveChild(&f3));
  int command = log.Find(2, WM_COMMAND);
  ASSERT_GE(command, 0);
  EXPECT_EQ(LOWORD(log.At(command).wp), kChildCommand);
  EXPECT_EQ(log.CountOf(1, WM_COMMAND), 0);

  SendMessageA(frame.m_hWndClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second.m_hWnd), 0);
  bool maximized = false;
  EXPECT_EQ(frame.MDIGetActive(&maximized), second.m_hWnd);
  EXPECT_TRUE(maximized);
  SaveClientScreenshot(frame, "mdi_frame_maximized");

  DestroyAcceleratorTable(second.m_hAccel);
  frame.DestroyWindow();
  EXPECT_EQ(first.finals, 1);
  EXPECT_EQ(second.finals, 1);
}

TEST(MDIFrame, ClientFillsTheSpaceBetweenTheBars) {
  CTestFrame frame;
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU));
  RECT r{0, 0, 640, 480};
  ASSERT_NE(frame.Create(FrameClass(), nullptr, r, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE |
                         WS_CLIPCHILDREN, 0, reinterpret_cast<UINT_PTR>(menu)), nullptr);
  ASSERT_TRUE(InitCommonControlClasses());
  frame.m_hWndToolBar = CreateReBar(frame, 59392);
  HWND toolbar = CreateToolBar(frame.m_hWndToolBar, 267, TBSTYLE_LIST);
  const ToolBarButton buttons[] = {{I_IMAGENONE, ID_TEST_NEW, BTNS_BUTTON | BTNS_AUTOSIZE, "New", 0},
                                   {0, 0, BTNS_SEP, nullptr, 8},
                                   {I_IMAGENONE, ID_TEST_OPEN, BTNS_BUTTON | BTNS_AUTOSIZE, "Open", 0}};
  ASSERT_TRUE(ToolBarAddButtons(toolbar, buttons, 3));
  ASSERT_TRUE(ReBarAddBand(frame.m_hWndToolBar, toolbar, 60161, false, true));
  frame.m_hWndStatusBar = CreateStatusBar(frame, 59393, "Ready");
  const int panes[] = {200, 300, -1};
  ASSERT_TRUE(StatusBarSetParts(frame.m_hWndStatusBar, panes, 3));
  ASSERT_TRUE(StatusBarSetText(frame.m_hWndStatusBar, 1, "Sum=3"));
  frame.UpdateLayout();

  CWindow client(frame.m_hWndClient), rebar(frame.m_hWndToolBar), status(frame.m_hWndStatusBar);
  EXPECT_GT(rebar.GetRectInParent().bottom, 0);
  EXPECT_EQ(client.GetRectInParent().top, rebar.GetRectInParent().bottom);
  EXPECT_EQ(client.GetRectInParent().bottom, status.GetRectInParent().top);
  EXPECT_EQ(status.GetRectInParent().bottom, frame.GetClientRect().bottom);
  // Hiding the only band gives its room back to the client.
  ASSERT_TRUE(ReBarShowBand(frame.m_hWndToolBar, 60161, false));
  rebar.ShowWindow(SW_HIDE);
  frame.UpdateLayout();
  EXPECT_EQ(client.GetRectInParent().top, 0);
  SaveClientScreenshot(frame, "mdi_frame_bars");
  frame.DestroyWindow();
}

}  // namespace
