#include "platform/ui/message_loop.h"

#include <gtest/gtest.h>

#include "platform/ui/capture_loop.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

// Logs what it sees as tag `tag`; consumes one message, and may remove
// itself from the loop when it sees a message.
class LoggingFilter : public CMessageFilter {
 public:
  LoggingFilter(MessageLog* log, int tag, UINT consumes) : m_log(log), m_tag(tag), m_consumes(consumes) {}
  bool removeOnMessage = false;
  bool PreTranslateMessage(MSG* msg) override {
    if (msg->message < WM_USER) return false;
    m_log->Add(m_tag, msg->message, 0);
    if (removeOnMessage) CMessageLoop::Current()->RemoveMessageFilter(this);
    return msg->message == m_consumes;
  }

 private:
  MessageLog* m_log;
  int m_tag;
  UINT m_consumes;
};

TEST(MessageLoop, FiltersRunNewestFirstAndConsumedMessagesAreNotDispatched) {
  CMessageLoop loop;
  MessageLog log;
  CLoggingWindow window(&log, 1);
  ASSERT_NE(window.CreateTopLevel("filters"), nullptr);
  LoggingFilter frame(&log, 2, WM_USER + 1);
  LoggingFilter dialog(&log, 3, WM_USER + 2);
  ASSERT_TRUE(loop.AddMessageFilter(&frame));
  ASSERT_TRUE(loop.AddMessageFilter(&dialog));
  dialog.removeOnMessage = true;  // gone after the first message it sees
  log.Clear();
  window.PostMessage(WM_USER + 2);
  window.PostMessage(WM_USER + 1);
  window.PostMessage(WM_USER + 3);
  PumpMessages();

  // User+2: the dialog's filter consumes it before the frame's sees it.
  EXPECT_EQ(log.CountOf(3, WM_USER + 2), 1);
  EXPECT_EQ(log.CountOf(2, WM_USER + 2), 0);
  EXPECT_EQ(log.CountOf(1, WM_USER + 2), 0);
  // The dialog's filter removed itself: later messages skip it.
  EXPECT_EQ(log.CountOf(3, WM_USER + 1), 0);
  EXPECT_EQ(log.CountOf(2, WM_USER + 1), 1);
  EXPECT_EQ(log.CountOf(1, WM_USER + 1), 0);
  // User+3 passes both and is dispatched after the filter saw it.
  EXPECT_LT(log.Find(2, WM_USER + 3), log.Find(1, WM_USER + 3));
  EXPECT_FALSE(loop.RemoveMessageFilter(&dialog));
  window.DestroyWindow();
}

class CountingIdle : public CIdleHandler {
 public:
  CountingIdle(MessageLog* log) : m_log(log) {}
  int calls = 0;
  int quitAtCall = 0;
  int loggedAtLastCall = -1;
  bool OnIdle() override {
    ++calls;
    if (calls == quitAtCall) PostQuitMessage(5);
    loggedAtLastCall = m_log->Count();
    return false;
  }

 private:
  MessageLog* m_log;
};

TEST(MessageLoop, IdleRunsOnceWhenTheQueueEmptiesAndRunEndsOnQuit) {
  CMessageLoop loop;
  MessageLog log;
  CLoggingWindow window(&log, 1);
  ASSERT_NE(window.CreateTopLevel("idle"), nullptr);
  PumpMessages();
  CountingIdle idle(&log);
  ASSERT_TRUE(loop.AddIdleHandler(&idle));
  log.Clear();
  for (int i = 0; i < 3; ++i) window.PostMessage(WM_USER + i);
  PumpMessages();
  EXPECT_EQ(idle.calls, 1);
  EXPECT_EQ(idle.loggedAtLastCall, log.Count());
  EXPECT_EQ(log.CountOf(1, WM_USER + 2), 1);

  window.PostMessage(WM_USER);
  idle.quitAtCall = 2;
  EXPECT_EQ(loop.Run(), 5);
  EXPECT_EQ(idle.calls, 2);
  window.DestroyWindow();
}

TEST(CaptureLoop, QuitEndsTheLoopAndReachesTheOuterLoop) {
  CMessageLoop loop;
  MessageLog log;
  CLoggingWindow window(&log, 1);
  ASSERT_NE(window.CreateTopLevel("capture"), nullptr);
  PumpMessages();
  log.Clear();
  SetCapture(window);
  window.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  window.PostMessage(WM_USER);
  PostQuitMessage(3);

  MSG msg;
  CaptureEnd end;
  int mouseMoves = 0;
  while (NextCaptureMessage(window, &msg, &end)) mouseMoves += msg.message == WM_MOUSEMOVE;
  EXPECT_EQ(end, CaptureEnd::kQuit);
  // Input went to the loop, everything else to the window.
  EXPECT_EQ(mouseMoves, 1);
  EXPECT_EQ(log.CountOf(1, WM_MOUSEMOVE), 0);
  EXPECT_EQ(log.CountOf(1, WM_USER), 1);
  EXPECT_NE(GetCapture(), window.m_hWnd);
  EXPECT_EQ(loop.Run(), 3);
  window.DestroyWindow();
}

TEST(CaptureLoop, EndsWhenTheCaptureIsLost) {
  CLoggingWindow window(nullptr, 1);
  ASSERT_NE(window.CreateTopLevel("lost capture"), nullptr);
  SetCapture(window);
  window.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  MSG msg;
  CaptureEnd end;
  ASSERT_TRUE(NextCaptureMessage(window, &msg, &end));
  ReleaseCapture();
  EXPECT_FALSE(NextCaptureMessage(window, &msg, &end));
  EXPECT_EQ(end, CaptureEnd::kLostCapture);
  window.DestroyWindow();
}

}  // namespace
