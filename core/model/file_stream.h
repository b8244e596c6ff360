#ifndef TALVERO_CORE_FILE_STREAM_H
#define TALVERO_CORE_FILE_STREAM_H

// The workbook's open file: a document keeps the file it was loaded from or
// last saved to open for as long as it lives. The file readers and writers
// open and use it; the workbook only clears the record when it is made and
// closes it when it is destroyed.

#include <cstdio>

struct FileStream {
  // Releases a gzip state that the file subsystem opened over the file.
  using GzipRelease = void (*)(void* gzipState);

  std::FILE* file = nullptr;
  void* gzipState = nullptr;
  GzipRelease releaseGzip = nullptr;

  // Releases the gzip state, then closes the file; the record is clear after.
  void Close();
};

#endif
