#ifndef TALVERO_CORE_BUFFERED_FILE_H
#define TALVERO_CORE_BUFFERED_FILE_H

// The workbook's open file: a document keeps the file it was loaded from or
// last saved to open, so that no other program can change it meanwhile. The
// file readers and writers run their streams over it; closing a stream never
// closes this file.

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr size_t kFilePathSize = 260;  // NUL-terminated
// The C library's buffer for a document's file.
constexpr size_t kDocumentFileBuffer = 512000;

// Copies path whole into out (size bytes, NUL included); false, with out
// empty, when it does not fit. A path is never cut: the cut one names
// another file.
bool CopyWholePath(char* out, size_t size, const char* path);

struct BufferedFile {
  // Closes any file held, then opens the path with the C library's mode text,
  // kept from other programs while open. False when it cannot be opened (the
  // record is then clear) or the path does not fit. Read-only exactly when
  // the mode reads without "+".
  bool Open(const char* path, const char* mode);
  // Closes the file, if any; the record is clear after.
  void Close();

  std::FILE* file = nullptr;
  char path[kFilePathSize] = {};
  uint8_t readOnly = 0;
};

#endif
