#ifndef TALVERO_APP_FILE_DIALOG_FOLDER_H
#define TALVERO_APP_FILE_DIALOG_FOLDER_H

// The folder the file dialogs of the process start in: the one chosen last
// in Open or Save As, else the default folder of the options. Empty when
// neither is known; the dialog then takes the common documents folder.

#include <cstddef>

const char* LastFileDialogFolder();
// Remembers the folder of a chosen file's path.
void RememberFileDialogFolder(const char* filePath);
// The folder part of a path, without the last separator; empty without one.
void FolderOfPath(const char* path, char* out, size_t capacity);

#endif
