#ifndef TALVERO_APP_FRAME_ACTIVITY_CLOCK_H
#define TALVERO_APP_FRAME_ACTIVITY_CLOCK_H

// The time the frame's activity clocks are stamped with: seconds since 1970.
// A test replaces the clock so that auto-save and auto-close run without
// waiting.

#include <cstdint>

int64_t ActivityClockNow();
using ActivityClockFunction = int64_t (*)();
// Null restores the system clock. Returns the previous function.
ActivityClockFunction SetActivityClockForTesting(ActivityClockFunction clock);

#endif
