#include "app/document/file_dialog_folder.h"

#include <cstring>

#include "services/settings/global_options.h"

namespace {

char g_lastFolder[kFolderSize] = {};

}  // namespace

void FolderOfPath(const char* path, char* out, size_t capacity) {
  if (capacity == 0) return;
  out[0] = '\0';
  if (path == nullptr) return;
  const char* slash = std::strrchr(path, '\\');
  const char* other = std::strrchr(path, '/');
  if (other != nullptr && (slash == nullptr || other > slash)) slash = other;
  if (slash == nullptr) return;
  size_t length = static_cast<size_t>(slash - path);
  // A drive's root keeps its separator: "C:" alone names a current folder.
  if (length == 2 && path[1] == ':') ++length;
  if (length >= capacity) return;
  std::memcpy(out, path, length);
  out[length] = '\0';
}

const char* LastFileDialogFolder() { return g_lastFolder[0] != '\0' ? g_lastFolder : Options.Folder; }

void RememberFileDialogFolder(const char* filePath) {
  char folder[kFolderSize];
  FolderOfPath(filePath, folder, sizeof folder);
  if (folder[0] != '\0') std::memcpy(g_lastFolder, folder, sizeof folder);
}
