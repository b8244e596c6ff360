#ifndef TALVERO_DIALOGS_WAIT_CLOCK_H
#define TALVERO_DIALOGS_WAIT_CLOCK_H

// The running clock of the dialog that waits for a file held elsewhere, and
// when it tries the file again.

#include <cstddef>
#include <cstdint>

#include "platform/os_services.h"

// Seconds since 1970 of a local time (or the test clock's).
int64_t SecondsOfLocalTime(const OsLocalTime& time);

// "hh:mm:ss" of the seconds waited; a negative count (the clock set back)
// shows 0.
void FormatWaitClock(int64_t seconds, char* out, size_t size);

// Every tenth tick of the count that all wait dialogs share tries the file.
inline bool IsRetryTick(uint32_t tickCount) { return tickCount % 10 == 0; }

#endif
