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

#endif
