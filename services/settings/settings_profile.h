#ifndef TALVERO_APP_SETTINGS_PROFILE_H
#define TALVERO_APP_SETTINGS_PROFILE_H

// The settings profile: a UTF-8 XML file with the root element "Profile"
// that holds the options, the window placements and the lists. It is read at
// start-up and written at exit; Load Profile and Save Profile As read and
// write the same format from any file.

#include <cstdint>

#include "services/settings/global_options.h"

class RecentDocumentList;

// Reads the file into options (and into the core's addressing style and
// recalculation mode). 0, or the error code: 34 cannot open, 46 a UTF-16
// file, 57 an unexpected element or too many list entries, 58 a bad
// attribute value, 60 a number out of bounds or a text too long, 38 a read
// error. Reading stops at the first error; what was read before it stays.
uint8_t ReadProfileFile(const char* path, COptions& options);

// Writes the whole profile; 0, or 35 when the file cannot be created, 39
// when writing fails.
uint8_t WriteProfileFile(const char* path, const COptions& options);

// The same on the process's options, showing a failure's message when asked
// (Windows build only).
uint8_t ReadProfile(const char* path, bool showErrors);
uint8_t WriteProfile(const char* path, bool showErrors);

// Copies the recent-documents menu list into the profile's recent files;
// called after every change of that list.
void CopyRecentFilesToProfile(const RecentDocumentList& recent, COptions& options);

#endif
