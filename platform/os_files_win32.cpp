#include <windows.h>
#include <io.h>
#include <share.h>

#include <cstdio>

#include "platform/os_files.h"

std::FILE* OsOpenExclusiveFile(const char* path, const char* mode) { return _fsopen(path, mode, _SH_DENYRW); }

int OsDuplicateDescriptor(std::FILE* file) { return _dup(_fileno(file)); }

void OsCloseDescriptor(int descriptor) {
  if (descriptor >= 0)
    _close(descriptor);
}

bool OsFileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool OsReplaceFile(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool OsGetUserName(char* buffer, size_t size) {
  if (size == 0)
    return false;
  DWORD length = DWORD(size);
  if (!GetUserNameA(buffer, &length)) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}
