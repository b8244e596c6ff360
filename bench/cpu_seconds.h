#ifndef TALVERO_BENCH_CPU_SECONDS_H
#define TALVERO_BENCH_CPU_SECONDS_H

// Processor time of this thread: the machine may be shared, and the
// targets are for one core.

#include <time.h>

inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + now.tv_nsec * 1e-9;
}

#endif
