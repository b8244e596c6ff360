// The server module after its loop has ended: a call that was already on its
// way in (a client holding a class object from before) is served, and an
// object it creates keeps the process serving instead of dying under the
// client.

#include <windows.h>

#include <gtest/gtest.h>

#include "automation/server/server_module_win32.h"

namespace {

CExeModule* g_module = nullptr;

// Stands for a late CreateInstance: the call arrives as a message and the
// object it creates locks the module.
LRESULT CALLBACK LateActivation(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) {
    g_module->Lock();
    return 0;
  }
  return DefWindowProcA(window, msg, wp, lp);
}

class ServerModuleStopping : public ::testing::Test {
 protected:
  void SetUp() override {
    g_module = &module;
    module.Init(GetCurrentThreadId());
    WNDCLASSA type = {};
    type.lpfnWndProc = LateActivation;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "TalveroLateActivation";
    RegisterClassA(&type);
    window = CreateWindowA("TalveroLateActivation", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  CExeModule module;
  HWND window = nullptr;
};

TEST_F(ServerModuleStopping, AnObjectCreatedByALateCallKeepsTheProcessServing) {
  module.SetPause(0);
  PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);  // a monitor's second word
  PostMessageA(window, WM_APP, 0, 0);
  EXPECT_TRUE(module.ServeCallsOnTheirWay());
  EXPECT_EQ(module.LockCount(), 1);
  // Released again (no monitor: the loop is told to end), nothing arrives.
  module.Unlock();
  module.SetPause(20);
  EXPECT_FALSE(module.ServeCallsOnTheirWay());
  EXPECT_EQ(module.LockCount(), 0);
}

TEST_F(ServerModuleStopping, AnObjectAliveWhenTheLoopEndedIsServedOn) {
  // The monitor decided on an empty count, an object came before the quit.
  module.Lock();
  module.SetPause(0);
  EXPECT_TRUE(module.ServeCallsOnTheirWay());
  module.Unlock();
}

}  // namespace
