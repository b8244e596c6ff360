#include "dialogs/file/wait_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(WaitClock, ShowsHoursMinutesAndSecondsWaited) {
  OsLocalTime start{2026, 12, 1, 31, 23, 59, 30, 0};
  OsLocalTime later{2027, 1, 5, 1, 0, 0, 35, 0};
  EXPECT_EQ(SecondsOfLocalTime(later) - SecondsOfLocalTime(start), 65);
  char text[16];
  FormatWaitClock(65, text, sizeof text);
  EXPECT_STREQ(text, "00:01:05");
  FormatWaitClock(0, text, sizeof text);
  EXPECT_STREQ(text, "00:00:00");
  FormatWaitClock(-5, text, sizeof text);
  EXPECT_STREQ(text, "00:00:00");
  FormatWaitClock(3 * 3600 + 7, text, sizeof text);
  EXPECT_STREQ(text, "03:00:07");
}

TEST(WaitClock, EveryTenthTickRetries) {
  int retries = 0;
  for (uint32_t tick = 1; tick <= 30; ++tick) retries += IsRetryTick(tick);
  EXPECT_EQ(retries, 3);
  EXPECT_TRUE(IsRetryTick(10));
  EXPECT_FALSE(IsRetryTick(11));
}

}  // namespace
