#ifndef TALVERO_TESTS_CHARTS_FUZZ_FUZZ_CHECK_H
#define TALVERO_TESTS_CHARTS_FUZZ_FUZZ_CHECK_H

// What the decoders' fuzz targets require of a result: a broken promise
// aborts, which libFuzzer reports with the input that caused it.

#include <cstdlib>

inline void Check(bool condition) {
  if (!condition) std::abort();
}

#endif
