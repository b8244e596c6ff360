#ifndef TALVERO_APP_SETTINGS_PATH_H
#define TALVERO_APP_SETTINGS_PATH_H

// Where the settings profile lives: chosen once at start-up, read there,
// written there at exit; Save Profile As moves it.

#include <cstddef>

constexpr size_t kSettingsPathSize = 260;

extern char SettingsPath[kSettingsPathSize];

// Compares n characters after upper-casing each with the system's letter
// case: 0 when equal, 1 where a is greater, -1 where a is less.
int StrNICmpCharUpper(const char* a, const char* b, size_t n);

// The program file's folder, its trailing backslash kept; false when the
// path cannot be had or does not fit.
bool GetProgramFolder(char* buffer, size_t size);

struct SettingsPlaces {
  const char* localAppData;   // null when the system has none
  const char* programFolder;  // with its trailing separator
  const char* programFiles;   // null when the system has none
};

// "Talvero\settings.xml" in the user's local application data when that file
// exists; otherwise "settings.xml" beside the program when that file exists
// or the program does not lie inside the programs' folder (a portable copy
// keeps its settings with it); otherwise the local application data path,
// created at exit. False when the path does not fit.
bool ChooseSettingsPath(const SettingsPlaces& places, bool (*fileExists)(const char* path), char* out,
                        size_t size);

// The same with the places the system gives, into SettingsPath.
bool ChooseSettingsPathOfSystem();

// Writes the options to the settings path at exit, creating its folder (one
// level) when it is missing. Nothing is shown; false when the folder cannot
// be created or the profile cannot be written.
bool WriteProfileAtExit(const char* path);

#endif
