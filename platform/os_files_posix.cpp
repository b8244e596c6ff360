#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/os_files.h"

std::FILE* OsOpenExclusiveFile(const char* path, const char* mode) { return std::fopen(path, mode); }

int OsDuplicateDescriptor(std::FILE* file) { return dup(fileno(file)); }

void OsCloseDescriptor(int descriptor) {
  if (descriptor >= 0)
    close(descriptor);
}

bool OsFileExists(const char* path) {
  struct stat info;
  return stat(path, &info) == 0;
}

bool OsReplaceFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

bool OsGetUserName(char* buffer, size_t size) {
  if (size == 0)
    return false;
  buffer[0] = '\0';
  const char* name = std::getenv("USER");
  if (!name || !*name)
    name = std::getenv("LOGNAME");
  if (!name || std::strlen(name) >= size)
    return false;
  std::memcpy(buffer, name, std::strlen(name) + 1);
  return true;
}

namespace {

bool Fail(char* buffer, size_t size) {
  if (size > 0) buffer[0] = '\0';
  return false;
}

bool CopyPath(const char* path, char* buffer, size_t size) {
  const size_t length = std::strlen(path);
  if (length + 1 > size) return Fail(buffer, size);
  std::memcpy(buffer, path, length + 1);
  return true;
}

}  // namespace

bool OsGetFolderPath(OsFolder folder, char* buffer, size_t size) {
  if (folder == kOsFolderProgramFiles) return CopyPath("/opt", buffer, size);
  const char* home = std::getenv("HOME");
  if (!home || !*home) return Fail(buffer, size);
  const int written = std::snprintf(buffer, size, "%s/.local/share", home);
  if (written < 0 || size_t(written) >= size) return Fail(buffer, size);
  return true;
}

bool OsGetProgramPath(char* buffer, size_t size) {
  if (size == 0) return false;
  const ssize_t length = readlink("/proc/self/exe", buffer, size - 1);
  if (length <= 0 || size_t(length) >= size - 1) return Fail(buffer, size);
  buffer[length] = '\0';
  return true;
}

bool OsFolderExists(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool OsCreateFolder(const char* path) { return mkdir(path, 0777) == 0; }
