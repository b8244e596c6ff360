#include "services/settings/settings_path.h"

#include <cstdio>
#include <cstring>

#include "services/settings/settings_profile.h"
#include "platform/os_files.h"
#include "platform/os_services.h"

char SettingsPath[kSettingsPathSize];

int StrNICmpCharUpper(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t x = OsCharUpper(uint8_t(a[i]));
    const uint8_t y = OsCharUpper(uint8_t(b[i]));
    if (x != y) return x > y ? 1 : -1;
    if (x == 0) return 0;
  }
  return 0;
}

bool GetProgramFolder(char* buffer, size_t size) {
  if (!OsGetProgramPath(buffer, size)) return false;
  char* lastSlash = std::strrchr(buffer, '\\');
  if (!lastSlash) lastSlash = std::strrchr(buffer, '/');
  if (lastSlash) lastSlash[1] = '\0';
  return true;
}

namespace {

bool Join(char* out, size_t size, const char* folder, const char* name) {
  const int written = std::snprintf(out, size, "%s%s", folder, name);
  return written > 0 && size_t(written) < size;
}

}  // namespace

bool ChooseSettingsPath(const SettingsPlaces& places, bool (*fileExists)(const char* path), char* out,
                        size_t size) {
  char local[kSettingsPathSize] = "";
  const bool haveLocal =
      places.localAppData && Join(local, sizeof local, places.localAppData, "\\Talvero\\settings.xml");
  if (haveLocal && fileExists(local)) return Join(out, size, local, "");
  char beside[kSettingsPathSize];
  if (!Join(beside, sizeof beside, places.programFolder, "settings.xml")) return false;
  const bool insideProgramFiles =
      places.programFiles &&
      StrNICmpCharUpper(places.programFolder, places.programFiles, std::strlen(places.programFiles)) == 0;
  if (!haveLocal || fileExists(beside) || !insideProgramFiles) return Join(out, size, beside, "");
  return Join(out, size, local, "");
}

bool ChooseSettingsPathOfSystem() {
  char programFolder[kSettingsPathSize];
  if (!GetProgramFolder(programFolder, sizeof programFolder)) programFolder[0] = '\0';
  char localAppData[kSettingsPathSize];
  char programFiles[kSettingsPathSize];
  const bool haveLocal = OsGetFolderPath(kOsFolderLocalAppData, localAppData, sizeof localAppData);
  const bool haveProgramFiles = OsGetFolderPath(kOsFolderProgramFiles, programFiles, sizeof programFiles);
  const SettingsPlaces places = {haveLocal ? localAppData : nullptr, programFolder,
                                 haveProgramFiles ? programFiles : nullptr};
  return ChooseSettingsPath(places, OsFileExists, SettingsPath, sizeof SettingsPath);
}

bool WriteProfileAtExit(const char* path) {
  char folder[kSettingsPathSize];
  const size_t length = std::strlen(path);
  if (length == 0 || length >= sizeof folder) return false;
  std::memcpy(folder, path, length + 1);
  char* lastSlash = std::strrchr(folder, '\\');
  if (char* slash = std::strrchr(folder, '/'); slash > lastSlash) lastSlash = slash;
  if (lastSlash) {
    *lastSlash = '\0';
    if (folder[0] && !OsFolderExists(folder) && !OsCreateFolder(folder)) return false;
  }
  return WriteProfileFile(path, Options) == 0;
}
