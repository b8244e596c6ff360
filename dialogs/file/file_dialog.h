#ifndef TALVERO_DIALOGS_FILE_DIALOG_H
#define TALVERO_DIALOGS_FILE_DIALOG_H

// The program's one road to the system's open and save dialogs. It starts
// in the folder the caller gives, else in the default folder of the options,
// and after OK remembers the folder finally chosen.

#include <cstddef>

#include <windows.h>

#include <commdlg.h>

constexpr size_t kFileDialogText = 256;

class CFileDlg {
 public:
  // Texts may be null. The filter is pairs of NUL-separated texts ending in
  // an empty one; it must outlive the dialog.
  CFileDlg(bool openDialog, const char* title, DWORD flags, const char* defaultExtension, const char* fileName,
           const char* filter, DWORD filterIndex, const char* folder, HWND owner);
  CFileDlg(const CFileDlg&) = delete;
  CFileDlg& operator=(const CFileDlg&) = delete;

  // 1 after OK, 2 when cancelled or failing (the texts then stay as they were).
  int DoModal();
  const char* GetPathName() const { return m_file; }
  const char* GetFileTitle() const { return m_fileTitle; }
  const char* GetFolder() const { return m_folder; }
  // The file type chosen, from 1.
  DWORD GetFilterIndex() const { return m_record.nFilterIndex; }
  const OPENFILENAMEA& Record() const { return m_record; }

  // The system dialogs, replaceable so that tests answer them.
  using CommonDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
  static void SetCommonDialogFunctions(CommonDialogFunction open, CommonDialogFunction save);

 private:
  bool m_open;
  char m_title[kFileDialogText] = {};
  char m_file[kFileDialogText] = {};
  char m_fileTitle[kFileDialogText] = {};
  char m_folder[kFileDialogText] = {};
  OPENFILENAMEA m_record{};
};

#endif
