#ifndef TALVERO_PLATFORM_OS_FILES_H
#define TALVERO_PLATFORM_OS_FILES_H

// File services beyond the C library that the workbook files need.

#include <cstddef>
#include <cstdio>

// Opens a file with the C library's mode text so that no other program can
// open it while it is open here (on Windows; the POSIX build has no share
// modes and opens it plainly). Null when it cannot be opened.
std::FILE* OsOpenExclusiveFile(const char* path, const char* mode);

// A second descriptor of the file's, for a stream layer that closes what it
// is given; -1 on failure. OsCloseDescriptor closes one that was never handed on.
int OsDuplicateDescriptor(std::FILE* file);
void OsCloseDescriptor(int descriptor);

bool OsFileExists(const char* path);

// Puts the file `from` in the place of `to`, replacing it, in one step where
// the system allows. False with both files as they were when it fails.
bool OsReplaceFile(const char* from, const char* to);

// The name the user logged on with, as saved files record it; empty (false)
// when it cannot be had or does not fit.
bool OsGetUserName(char* buffer, size_t size);

// Folders of the system and of the program, as full paths without a trailing
// separator (the program's own path is its file's). False, with an empty
// buffer when there is room for one, when the path cannot be had or does not
// fit. The POSIX build answers with $HOME/.local/share for the user's local
// application data and /opt for the programs' folder.
enum OsFolder : int {
  kOsFolderLocalAppData = 1,  // the user's local (not roaming) application data
  kOsFolderProgramFiles,
};
bool OsGetFolderPath(OsFolder folder, char* buffer, size_t size);
bool OsGetProgramPath(char* buffer, size_t size);

bool OsFolderExists(const char* path);
// Creates one folder whose parent exists; false when it cannot.
bool OsCreateFolder(const char* path);

#endif
