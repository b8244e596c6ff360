#ifndef TALVERO_DIALOGS_FILE_IMAGE_FILE_DIALOG_H
#define TALVERO_DIALOGS_FILE_IMAGE_FILE_DIALOG_H

// The file dialogs that choose an image: the open dialog of the background
// pages and of Insert Image, and the save dialog of Copy Image To. Each
// keeps where it was left (its folder and file type) for the whole run.
// Windows only.

#include <cstddef>

#include <windows.h>

#include "dialogs/file/file_dialog.h"

struct ImageDialogMemory {
  char folder[kFileDialogText];
  DWORD filterIndex;
};

// The "Select Background Image" dialog of the worksheet's and the
// containers' background pages.
extern ImageDialogMemory BackgroundImageDialog;

// The filters of the open dialog: PNG, JPEG, BMP and all files.
extern const char kImageOpenFilter[];
// The filters of the save dialog: PNG and JPEG, the types it can write.
extern const char kImageSaveFilter[];

// Runs the dialog titled title, starting at path (in and out, size
// characters). After OK the chosen file's full path is in path and its
// folder and file type are kept in memory; true. Cancel changes nothing.
bool ChooseImageFile(HWND owner, bool openDialog, const char* title, ImageDialogMemory* memory, char* path,
                     size_t size);

#endif
