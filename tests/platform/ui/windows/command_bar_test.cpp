#include "platform/ui/command_bar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "platform/ui/mdi_child.h"
#include "platform/ui/mdi_frame.h"
#include "platform/ui/popup_menu.h"
#include "tests/platform/ui/windows/ui_test_resources.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

constexpr LPARAM kAltDown = 1 << 29;

// Chooses from pop-ups instead of a person: each call takes the next action,
// a command to return or (negative) an arrow key pressed in the open pop-up.
struct ScriptedMenus {
  static constexpr int kHover = -1000;  // the mouse moves to `hover`
  static CMDICommandBarCtrl* bar;
  static POINT hover;
  static const int* actions;
  static int calls;
  static UINT firstItems[8];

  static UINT Track(HMENU popup, UINT, int, int, HWND owner, const RECT*) {
    SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    firstItems[calls] = GetMenuItemID(popup, 0);
    int action = actions[calls++];
    if (action == kHover) {
      bar->OnMenuMouseMove(hover);
      return 0;
    }
    if (action < 0) {
      bar->OnMenuKey(static_cast<UINT>(-action));
      return 0;
    }
    return static_cast<UINT>(action);
  }
  static void Expect(const int* script) {
    actions = script;
    calls = 0;
  }
};
CMDICommandBarCtrl* ScriptedMenus::bar = nullptr;
POINT ScriptedMenus::hover{};
const int* ScriptedMenus::actions = nullptr;
int ScriptedMenus::calls = 0;
UINT ScriptedMenus::firstItems[8] = {};

class CTestFrame : public CMDIFrameWindowImpl {
 public:
  MessageLog log;
  // Keys for the system's menu loop, one each time it waits for input.
  const UINT* menuKeys = nullptr;
  int menuKeyCount = 0;
  int nextMenuKey = 0;
  bool screenshotMenu = false;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
    if (msg == WM_COMMAND || msg == WM_INITMENUPOPUP) log.Add(0, msg, wp);
    switch (msg) {
      case WM_CREATE:
        return CreateMDIClient(nullptr) != nullptr ? 0 : -1;
      case WM_ENTERIDLE:
        if (wp == MSGF_MENU) OnMenuIdle(reinterpret_cast<HWND>(lp));
        return 0;
    }
    handled = false;
    return 0;
  }

 private:
  void OnMenuIdle(HWND popup) {
    UINT vk = VK_ESCAPE;
    if (nextMenuKey < menuKeyCount) {
      vk = menuKeys[nextMenuKey++];
    } else if (screenshotMenu && popup != nullptr) {
      SaveClientScreenshot(popup, "command_bar_menu_images");
      screenshotMenu = false;
    }
    ::PostMessageA(popup != nullptr ? popup : m_hWnd, WM_KEYDOWN, vk, 1);
  }
};

class CommandBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static WindowClass cls{};
    if (cls.atom == 0) {
      TestWindowClass();
      RegisterOwnClass("TalveroTestBarFrame", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), &cls);
    }
    RECT r{0, 0, 640, 400};
    ASSERT_NE(frame.Create(cls, nullptr, r, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN), nullptr);
    menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU));
    ASSERT_NE(bar.Create(frame, frame), nullptr);
    ASSERT_TRUE(bar.AttachMenu(menu));
    RECT barRect{0, 0, 640, 24};
    bar.MoveWindow(barRect);
    frame.m_hWndToolBar = bar;
    frame.UpdateLayout();
    ScriptedMenus::bar = &bar;
    previous = SetTrackPopupMenuFunction(ScriptedMenus::Track);
    PumpMessages();
    frame.log.Clear();
  }
  void TearDown() override {
    SetTrackPopupMenuFunction(previous);
    frame.DestroyWindow();
    DestroyMenu(menu);
  }
  int CommandCount(UINT id) const {
    int n = 0;
    for (int i = 0; i < frame.log.Count(); ++i) {
      n += frame.log.At(i).msg == WM_COMMAND && LOWORD(frame.log.At(i).wp) == id;
    }
    return n;
  }

  CMessageLoop loop;
  CTestFrame frame;
  CMDICommandBarCtrl bar;
  HMENU menu = nullptr;
  TrackPopupMenuFunction previous = nullptr;
};

TEST_F(CommandBarTest, AltWithAMnemonicOpensItsMenuAndTheChoiceReachesTheFrame) {
  const int script[] = {ID_TEST_OPEN};
  ScriptedMenus::Expect(script);
  frame.PostMessage(WM_SYSCHAR, 'f', kAltDown);
  PumpMessages();
  ASSERT_EQ(ScriptedMenus::calls, 1);
  EXPECT_EQ(ScriptedMenus::firstItems[0], static_cast<UINT>(ID_TEST_NEW));
  EXPECT_GE(frame.log.Find(0, WM_INITMENUPOPUP), 0);
  EXPECT_EQ(CommandCount(ID_TEST_OPEN), 1);
  EXPECT_FALSE(bar.InMenuMode());
}

TEST_F(CommandBarTest, ArrowsInAnOpenMenuGoOnToItsNeighbours) {
  const int right[] = {-VK_RIGHT, ID_TEST_COPY};
  ScriptedMenus::Expect(right);
  bar.OpenMenu(0, false);
  PumpMessages();
  ASSERT_EQ(ScriptedMenus::calls, 2);
  EXPECT_EQ(ScriptedMenus::firstItems[1], static_cast<UINT>(ID_TEST_UNDO));
  EXPECT_EQ(CommandCount(ID_TEST_COPY), 1);

  const int left[] = {-VK_LEFT, 0};  // from the first menu round to the last
  ScriptedMenus::Expect(left);
  bar.OpenMenu(0, false);
  ASSERT_EQ(ScriptedMenus::calls, 2);
  EXPECT_EQ(ScriptedMenus::firstItems[1], static_cast<UINT>(ID_TEST_CASCADE));
}

TEST_F(CommandBarTest, AltAloneOrF10EntersMenuModeWhereArrowsWalkTheBar) {
  frame.PostMessage(WM_SYSKEYDOWN, VK_MENU, kAltDown);
  frame.PostMessage(WM_SYSKEYUP, VK_MENU, kAltDown | (1 << 30) | (1u << 31));
  PumpMessages();
  ASSERT_TRUE(bar.InMenuMode());
  EXPECT_EQ(bar.HotItem(), 0);
  frame.PostMessage(WM_KEYDOWN, VK_RIGHT, 1);
  PumpMessages();
  EXPECT_EQ(bar.HotItem(), 1);

  // Down opens the hot menu; Esc there comes back to the bar.
  const int dismissed[] = {0};
  ScriptedMenus::Expect(dismissed);
  frame.PostMessage(WM_KEYDOWN, VK_DOWN, 1);
  PumpMessages();
  ASSERT_EQ(ScriptedMenus::calls, 1);
  EXPECT_EQ(ScriptedMenus::firstItems[0], static_cast<UINT>(ID_TEST_UNDO));
  EXPECT_TRUE(bar.InMenuMode());
  EXPECT_EQ(bar.HotItem(), 1);
  SaveClientScreenshot(frame, "command_bar_menu_mode");
  frame.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  PumpMessages();
  EXPECT_FALSE(bar.InMenuMode());

  frame.PostMessage(WM_SYSKEYDOWN, VK_F10, 1);
  frame.PostMessage(WM_SYSKEYUP, VK_F10, 1);
  PumpMessages();
  EXPECT_TRUE(bar.InMenuMode());
  frame.PostMessage(WM_SYSKEYDOWN, VK_F10, 1);
  PumpMessages();
  EXPECT_FALSE(bar.InMenuMode());
  EXPECT_EQ(frame.log.CountOf(0, WM_COMMAND), 0);
}

class CDocument : public CMDIChildWindowImpl {
 public:
  int finals = 0;
  void OnFinalMessage(HWND) override { ++finals; }
};

TEST_F(CommandBarTest, AMaximisedDocumentShowsItsSystemMenuAndButtons) {
  ASSERT_TRUE(bar.SetMDIClient(frame.m_hWndClient));
  WindowClass childClass;
  ASSERT_TRUE(RegisterMDIChildClass("TalveroTestBarDocument", &childClass));
  CDocument document;
  ASSERT_NE(document.CreateChild(childClass, frame.m_hWndClient, "Book1"), nullptr);
  PumpMessages();
  EXPECT_FALSE(bar.HasMDIButtons());
  EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 3);

  SendMessageA(frame.m_hWndClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document.m_hWnd), 0);
  PumpMessages();
  ASSERT_TRUE(bar.HasMDIButtons());
  EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 4);
  SaveClientScreenshot(bar, "command_bar_maximised_document");

  // The system menu comes first on the keyboard walk.
  frame.PostMessage(WM_SYSKEYDOWN, VK_F10, 1);
  PumpMessages();
  EXPECT_TRUE(bar.InMenuMode());
  EXPECT_EQ(bar.HotItem(), -1);
  frame.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  PumpMessages();

  RECT close = bar.GetMDIButtonRect(CMDICommandBarCtrl::kCloseButton);
  LPARAM at = MAKELPARAM((close.left + close.right) / 2, (close.top + close.bottom) / 2);
  bar.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  bar.PostMessage(WM_LBUTTONUP, 0, at);
  PumpMessages();
  EXPECT_EQ(document.finals, 1);
  EXPECT_FALSE(bar.HasMDIButtons());
  EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 3);
}

TEST_F(CommandBarTest, TheMouseOnAnotherButtonOpensItsMenuInstead) {
  RECT window{};
  bar.SendMessage(TB_GETRECT, CMDICommandBarCtrl::kFirstItemCommand + 2, reinterpret_cast<LPARAM>(&window));
  POINT over{(window.left + window.right) / 2, (window.top + window.bottom) / 2};
  ClientToScreen(bar, &over);
  ScriptedMenus::hover = over;
  const int script[] = {ScriptedMenus::kHover, ID_TEST_CASCADE};
  ScriptedMenus::Expect(script);
  bar.OpenMenu(0, false);
  ASSERT_EQ(ScriptedMenus::calls, 2);
  EXPECT_EQ(ScriptedMenus::firstItems[1], static_cast<UINT>(ID_TEST_CASCADE));
  PumpMessages();
  EXPECT_EQ(CommandCount(ID_TEST_CASCADE), 1);
}

// The system's own menu loop, driven by keys the frame posts each time the
// menu waits for input; Esc once the keys run out, so nothing waits forever.
TEST_F(CommandBarTest, RealMenusFollowArrowKeysAndEnter) {
  SetTrackPopupMenuFunction(previous);
  const UINT keys[] = {VK_RIGHT, VK_DOWN, VK_RETURN};
  frame.menuKeys = keys;
  frame.menuKeyCount = 3;
  bar.OpenMenu(0, false);
  PumpMessages();
  EXPECT_EQ(frame.nextMenuKey, 3);
  EXPECT_EQ(frame.log.CountOf(0, WM_INITMENUPOPUP), 2);  // File, then Edit
  EXPECT_EQ(CommandCount(ID_TEST_UNDO), 1);

  // Alt+F opens File with its first item selected; Enter chooses it.
  const UINT enter[] = {VK_RETURN};
  frame.menuKeys = enter;
  frame.menuKeyCount = 1;
  frame.nextMenuKey = 0;
  frame.PostMessage(WM_SYSCHAR, 'f', kAltDown);
  PumpMessages();
  EXPECT_EQ(CommandCount(ID_TEST_NEW), 1);
}

TEST_F(CommandBarTest, MenuItemsShowTheirCommandsPictures) {
  ASSERT_TRUE(bar.LoadImages(IDR_TEST_MENU));
  EXPECT_EQ(bar.ImageOfCommand(ID_TEST_NEW), 0);
  EXPECT_EQ(bar.ImageOfCommand(ID_TEST_COPY), 2);  // the separator has no picture
  EXPECT_EQ(bar.ImageOfCommand(ID_TEST_EXIT), -1);
  EXPECT_FALSE(bar.LoadImages(IDD_TEST_NAME));  // no such toolbar

  HMENU file = GetSubMenu(menu, 0);
  bar.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  ASSERT_TRUE(GetMenuItemInfoA(file, ID_TEST_NEW, FALSE, &info));
  EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK);
  ASSERT_TRUE(GetMenuItemInfoA(file, ID_TEST_EXIT, FALSE, &info));
  EXPECT_EQ(info.hbmpItem, nullptr);
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, ID_TEST_NEW, 0, 0, 0};
  EXPECT_TRUE(bar.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_EQ(measure.itemWidth, 16u);

  // Shown for a person to look at.
  const UINT keys[] = {VK_DOWN};
  frame.menuKeys = keys;
  frame.menuKeyCount = 1;
  frame.screenshotMenu = true;
  SetTrackPopupMenuFunction(previous);
  bar.OpenMenu(0, false);
  PumpMessages();
}

}  // namespace
