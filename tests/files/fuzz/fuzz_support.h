#ifndef TALVERO_TESTS_FILES_FUZZ_FUZZ_SUPPORT_H
#define TALVERO_TESTS_FILES_FUZZ_FUZZ_SUPPORT_H

// What the file readers' fuzz targets share: the readers read files, so
// each input is written to a file of the fuzzing process's own in /tmp
// (scripts/fuzz.sh removes them); a broken invariant aborts, which the
// fuzzer reports with the input.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzing {

inline void Check(bool condition) {
  if (!condition)
    std::abort();
}

// "/tmp/talvero-fuzz-<process>" and the extension.
inline std::string InputPath(const char* extension) {
  return "/tmp/talvero-fuzz-" + std::to_string(getpid()) + extension;
}

inline bool WriteInputFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  std::fwrite(data, 1, size, file);
  return std::fclose(file) == 0;
}

}  // namespace fuzzing

#endif
