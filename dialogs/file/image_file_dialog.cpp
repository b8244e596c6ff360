#include "dialogs/file/image_file_dialog.h"

#include <cstdio>

ImageDialogMemory BackgroundImageDialog = {{}, 1};

const char kImageOpenFilter[] =
    "PNG (*.png)\0*.png\0JPEG (*.jpeg)\0*.jpg;*.jpeg\0BMP (*.bmp)\0*.bmp\0All Files (*.*)\0*.*\0";
const char kImageSaveFilter[] = "PNG (*.png)\0*.png\0JPEG (*.jpeg)\0*.jpg;*.jpeg\0";

bool ChooseImageFile(HWND owner, bool openDialog, const char* title, ImageDialogMemory* memory, char* path,
                     size_t size) {
  const DWORD flags = openDialog ? 0 : OFN_HIDEREADONLY;
  CFileDlg dialog(openDialog, title, flags, openDialog ? nullptr : "png", path,
                  openDialog ? kImageOpenFilter : kImageSaveFilter, memory->filterIndex, memory->folder, owner);
  if (dialog.DoModal() != IDOK) return false;
  std::snprintf(memory->folder, sizeof memory->folder, "%s", dialog.GetFolder());
  memory->filterIndex = dialog.GetFilterIndex();
  std::snprintf(path, size, "%s", dialog.GetPathName());
  return true;
}
