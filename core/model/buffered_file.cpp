#include "core/model/buffered_file.h"

#include <cstring>

#include "platform/os_files.h"

bool CopyWholePath(char* out, size_t size, const char* path) {
  if (size == 0) return false;
  const size_t length = std::strlen(path);
  if (length >= size) {
    out[0] = '\0';
    return false;
  }
  std::memcpy(out, path, length + 1);
  return true;
}

bool BufferedFile::Open(const char* newPath, const char* mode) {
  Close();
  const size_t length = std::strlen(newPath);
  if (length >= kFilePathSize)
    return false;
  file = OsOpenExclusiveFile(newPath, mode);
  if (!file)
    return false;
  // The runtime allocates the buffer itself when given none.
  std::setvbuf(file, nullptr, _IOFBF, kDocumentFileBuffer);
  std::memcpy(path, newPath, length + 1);
  readOnly = mode[0] == 'r' && mode[1] != '+' && !std::strchr(mode, '+');
  return true;
}

void BufferedFile::Close() {
  if (file)
    std::fclose(file);
  file = nullptr;
  path[0] = '\0';
  readOnly = 0;
}
