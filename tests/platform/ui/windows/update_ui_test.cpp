#include "platform/ui/update_ui.h"

#include <gtest/gtest.h>

#include "platform/ui/common_controls.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/recent_document_menu.h"
#include "tests/platform/ui/windows/ui_test_resources.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

// A frame that brings pop-ups up to date as they open and its toolbar when
// the program goes idle.
class CStatesFrame : public CLoggingWindow, public CUpdateUI, public CIdleHandler {
 public:
  CStatesFrame() : CLoggingWindow(nullptr, 0) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    switch (msg) {
      case WM_INITMENUPOPUP:
        UIUpdateMenu(reinterpret_cast<HMENU>(wp));
        return 0;
    }
    handled = false;
    return 0;
  }
  bool OnIdle() override {
    UIUpdateToolBars();
    return false;
  }
};

bool ButtonEnabled(HWND tb, UINT id) { return SendMessageA(tb, TB_ISBUTTONENABLED, id, 0) != 0; }
bool ButtonChecked(HWND tb, UINT id) { return SendMessageA(tb, TB_ISBUTTONCHECKED, id, 0) != 0; }

TEST(UpdateUI, ToolbarsTakeStatesAtIdleAndMenusAsTheyOpen) {
  CMessageLoop loop;
  CStatesFrame frame;
  ASSERT_NE(frame.CreateTopLevel("states"), nullptr);
  loop.AddIdleHandler(&frame);
  HWND tb = CreateToolBar(frame, 100);
  const ToolBarButton buttons[] = {{I_IMAGENONE, ID_TEST_NEW, BTNS_CHECK, "New", 0},
                                   {I_IMAGENONE, ID_TEST_UNDO, BTNS_BUTTON, "Undo", 0}};
  ASSERT_TRUE(ToolBarAddButtons(tb, buttons, 2));
  ASSERT_TRUE(frame.UIAddToolBar(tb));

  frame.UIEnable(ID_TEST_UNDO, false);
  frame.UISetCheck(ID_TEST_NEW, 1);
  EXPECT_TRUE(ButtonEnabled(tb, ID_TEST_UNDO));  // not before the program is idle
  frame.PostMessage(WM_NULL);
  PumpMessages();
  EXPECT_FALSE(ButtonEnabled(tb, ID_TEST_UNDO));
  EXPECT_TRUE(ButtonChecked(tb, ID_TEST_NEW));
  SaveClientScreenshot(frame, "update_ui_toolbar");

  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU));
  HMENU file = GetSubMenu(menu, 0);
  frame.UIEnable(ID_TEST_OPEN, false);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_TRUE(GetMenuState(file, ID_TEST_OPEN, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(file, ID_TEST_NEW, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(file, ID_TEST_EXIT, MF_BYCOMMAND) & MF_GRAYED);
  DestroyMenu(menu);
  loop.RemoveIdleHandler(&frame);
  frame.DestroyWindow();
}

std::string ItemText(HMENU menu, int position) {
  char text[300] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(RecentDocumentMenu, ListsNewestFirstWhereThePlaceholderStood) {
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "&Open");
  AppendMenuA(popup, MF_STRING | MF_GRAYED, 57616, "(empty)");
  AppendMenuA(popup, MF_STRING, 2, "E&xit");
  RecentDocumentList list;
  for (int i = 0; i < 11; ++i) {
    char path[16];
    snprintf(path, sizeof path, "C:\\%d.tlv", i);
    list.Add(path);
  }
  UpdateRecentDocumentMenu(popup, list, 57616, "(empty)");
  EXPECT_EQ(GetMenuItemCount(popup), 13);
  EXPECT_EQ(GetMenuItemID(popup, 1), 57616u);
  EXPECT_EQ(ItemText(popup, 1), "&1 C:\\10.tlv");
  EXPECT_EQ(ItemText(popup, 10), "10 C:\\1.tlv");
  EXPECT_EQ(ItemText(popup, 12), "E&xit");

  list.Clear();
  UpdateRecentDocumentMenu(popup, list, 57616, "(empty)");
  EXPECT_EQ(GetMenuItemCount(popup), 3);
  EXPECT_EQ(ItemText(popup, 1), "(empty)");
  EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_GRAYED);
  DestroyMenu(popup);
}

}  // namespace
