#include "app/frame/activity_clock.h"

#include <ctime>

namespace {

int64_t SystemSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

ActivityClockFunction g_clock = SystemSeconds;

}  // namespace

int64_t ActivityClockNow() { return g_clock(); }

ActivityClockFunction SetActivityClockForTesting(ActivityClockFunction clock) {
  ActivityClockFunction previous = g_clock;
  g_clock = clock != nullptr ? clock : SystemSeconds;
  return previous;
}
