#include "platform/ui/window_impl.h"

#include <gtest/gtest.h>

#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

TEST(WindowImpl, MessageMapSeesMessagesInOrder) {
  MessageLog log;
  CLoggingWindow window(&log, 1);
  HWND hwnd = window.CreateTopLevel("order");
  ASSERT_NE(hwnd, nullptr);
  // Bound at WM_NCCREATE: the map sees creation from there on.
  int ncCreate = log.Find(1, WM_NCCREATE);
  ASSERT_GE(ncCreate, 0);
  EXPECT_GT(log.Find(1, WM_CREATE), ncCreate);

  log.Clear();
  window.SendMessage(WM_USER + 1);
  window.PostMessage(WM_USER + 2);
  window.SendMessage(WM_USER + 3);
  PumpMessages();
  int first = log.Find(1, WM_USER + 1);
  int third = log.Find(1, WM_USER + 3);
  int posted = log.Find(1, WM_USER + 2);
  EXPECT_TRUE(first >= 0 && first < third && third < posted);

  SaveClientScreenshot(hwnd, "window_impl_order");
  window.DestroyWindow();
  EXPECT_LT(log.Find(1, WM_DESTROY), log.Find(1, WM_NCDESTROY));
  EXPECT_EQ(log.At(log.Count() - 1).msg, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(window.m_hWnd, nullptr);
}

// Swallows every printable character that is not a digit.
class CDigitsOnlyEdit : public CWindowImpl {
 public:
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    switch (msg) {
      case WM_CHAR:
        if (wp >= ' ' && (wp < '0' || wp > '9')) return 0;
        break;
    }
    handled = false;
    return 0;
  }
};

void Type(HWND edit, const char* text) {
  for (const char* p = text; *p; ++p) SendMessageA(edit, WM_CHAR, static_cast<uint8_t>(*p), 1);
}

std::string TextOf(HWND hwnd) {
  char text[64] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

TEST(WindowImpl, SubclassedAndSuperclassedEditsFilterCharacters) {
  CLoggingWindow parent(nullptr, 0);
  ASSERT_NE(parent.CreateTopLevel("edits"), nullptr);
  RECT r{10, 10, 200, 40};

  // A system control made from elsewhere (as from a dialog template).
  HWND plain = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 190, 30, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  CDigitsOnlyEdit subclassed;
  ASSERT_TRUE(subclassed.SubclassWindow(plain));
  EXPECT_FALSE(CDigitsOnlyEdit().SubclassWindow(plain));  // one object per window
  Type(plain, "1a2");
  EXPECT_EQ(TextOf(plain), "12");
  EXPECT_EQ(subclassed.UnsubclassWindow(), plain);
  Type(plain, "b");
  EXPECT_EQ(TextOf(plain), "12b");

  WindowClass cls;
  ASSERT_TRUE(RegisterSuperclass("TalveroTestDigitsEdit", "EDIT", &cls));
  CDigitsOnlyEdit superclassed;
  r.top = 50;
  r.bottom = 80;
  ASSERT_NE(superclassed.Create(cls, parent, r, "", WS_CHILD | WS_VISIBLE), nullptr);
  Type(superclassed, "7x8");
  EXPECT_EQ(TextOf(superclassed), "78");
  parent.DestroyWindow();
  EXPECT_EQ(superclassed.m_hWnd, nullptr);
}

class COwnerDrawnButton : public CWindowImpl {
 public:
  int draws = 0;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM, LPARAM lp, bool& handled) override {
    switch (msg) {
      case kReflectBase + WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        ++draws;
        return TRUE;
      }
    }
    handled = false;
    return 0;
  }
};

TEST(WindowImpl, ReflectedDrawItemReachesTheControl) {
  MessageLog log;
  CLoggingWindow parent(&log, 1);
  ASSERT_NE(parent.CreateTopLevel("reflection"), nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 80,
                                30, parent, reinterpret_cast<HMENU>(1001),
                                GetModuleHandleA(nullptr), nullptr);
  COwnerDrawnButton drawn;
  ASSERT_TRUE(drawn.SubclassWindow(button));
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  EXPECT_GE(log.CountOf(1, WM_DRAWITEM), 1);
  EXPECT_GE(drawn.draws, 1);
  SaveClientScreenshot(parent, "window_impl_reflection");
  parent.DestroyWindow();
}

// Destroys its own window from inside a handler and deletes itself when the
// window is gone.
class CSelfDestroyingWindow : public CWindowImpl {
 public:
  static int finals;
  static bool finalBeforeHandlerReturned;
  bool inHandler = false;

  LRESULT ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) override {
    switch (msg) {
      case WM_USER:
        inHandler = true;
        DestroyWindow();
        // Still alive here: the final message waits for this handler.
        inHandler = false;
        return 0;
    }
    handled = false;
    return 0;
  }
  void OnFinalMessage(HWND) override {
    ++finals;
    finalBeforeHandlerReturned = inHandler;
    delete this;
  }
};
int CSelfDestroyingWindow::finals = 0;
bool CSelfDestroyingWindow::finalBeforeHandlerReturned = false;

TEST(WindowImpl, FinalMessageRunsOnceAfterTheOutermostHandler) {
  auto* window = new CSelfDestroyingWindow;
  RECT r{0, 0, 100, 100};
  HWND hwnd = window->Create(TestWindowClass(), nullptr, r, "final", WS_OVERLAPPEDWINDOW);
  ASSERT_NE(hwnd, nullptr);
  SendMessageA(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(CSelfDestroyingWindow::finals, 1);
  EXPECT_FALSE(CSelfDestroyingWindow::finalBeforeHandlerReturned);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(CWindowImpl::FromHandle(hwnd), nullptr);
}

}  // namespace
