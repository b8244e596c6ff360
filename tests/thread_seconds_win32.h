#ifndef TALVERO_TESTS_THREAD_SECONDS_WIN32_H
#define TALVERO_TESTS_THREAD_SECONDS_WIN32_H

// Processor seconds the calling thread has run, user and kernel: a measure
// that other work on the machine barely moves, for the Windows build's
// benchmarks and for the bounds that window tests put on long commands.

#include <windows.h>

#include <cstdint>

inline double ThreadSeconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

#endif
