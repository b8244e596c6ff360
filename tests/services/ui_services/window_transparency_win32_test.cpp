#include "services/ui_services/window_transparency.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowTransparency, LayersTheWindowAndMakesItOpaqueAgainAtFullOpacity) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(SetWindowTransparency(window, 3));
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 10);
  EXPECT_EQ(flags, DWORD(LWA_ALPHA));
  ASSERT_TRUE(SetWindowTransparency(window, 100));
  EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  DestroyWindow(window);
}

}  // namespace
