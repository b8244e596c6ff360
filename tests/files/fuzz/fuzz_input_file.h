#ifndef TALVERO_TESTS_FILES_FUZZ_INPUT_FILE_H
#define TALVERO_TESTS_FILES_FUZZ_INPUT_FILE_H

// What the file readers' fuzz targets share: the readers read a document's
// open file, so each input is written to a file of this process's own in
// /tmp first; and a failed check ends the run, so that the fuzzer keeps the
// input.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// The input's file path (the extension tells the targets' files apart), or
// an empty text when it cannot be written.
inline std::string WriteFuzzInput(const uint8_t* data, size_t size, const char* extension) {
  const std::string path = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + extension;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return std::string();
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written ? path : std::string();
}

inline void Check(bool condition) {
  if (!condition)
    std::abort();
}

#endif
