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
