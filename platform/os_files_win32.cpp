#include <windows.h>
#include <io.h>
#include <share.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

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

namespace {

bool Fail(char* buffer, size_t size) {
  if (size > 0) buffer[0] = '\0';
  return false;
}

}  // namespace

bool OsGetFolderPath(OsFolder folder, char* buffer, size_t size) {
  const int csidl = folder == kOsFolderLocalAppData ? CSIDL_LOCAL_APPDATA : CSIDL_PROGRAM_FILES;
  char path[MAX_PATH];
  if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return Fail(buffer, size);
  const size_t length = strlen(path);
  if (length + 1 > size) return Fail(buffer, size);
  memcpy(buffer, path, length + 1);
  return true;
}

bool OsGetProgramPath(char* buffer, size_t size) {
  if (size == 0) return false;
  const DWORD length = GetModuleFileNameA(nullptr, buffer, DWORD(size));
  if (length == 0 || length >= size) return Fail(buffer, size);
  return true;
}

bool OsFolderExists(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OsCreateFolder(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }
