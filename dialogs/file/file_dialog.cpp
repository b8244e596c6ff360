#include "dialogs/file/file_dialog.h"

#include <cstdio>

#include "dialogs/controls/dialog_opening.h"

namespace {

CFileDlg::CommonDialogFunction g_open = GetOpenFileNameA;
CFileDlg::CommonDialogFunction g_save = GetSaveFileNameA;

void CopyText(char* to, const char* from) { std::snprintf(to, kFileDialogText, "%s", from != nullptr ? from : ""); }

}  // namespace

void CFileDlg::SetCommonDialogFunctions(CommonDialogFunction open, CommonDialogFunction save) {
  g_open = open != nullptr ? open : GetOpenFileNameA;
  g_save = save != nullptr ? save : GetSaveFileNameA;
}

CFileDlg::CFileDlg(bool openDialog, const char* title, DWORD flags, const char* defaultExtension,
                   const char* fileName, const char* filter, DWORD filterIndex, const char* folder, HWND owner)
    : m_open(openDialog) {
  CopyText(m_title, title);
  CopyText(m_file, fileName);
  CopyText(m_folder, folder);
  m_record.lStructSize = sizeof m_record;
  m_record.hwndOwner = owner != nullptr ? owner : GetActiveWindow();
  m_record.lpstrFilter = filter;
  m_record.nFilterIndex = filterIndex;
  m_record.lpstrFile = m_file;
  m_record.nMaxFile = kFileDialogText;
  m_record.lpstrFileTitle = m_fileTitle;
  m_record.nMaxFileTitle = kFileDialogText;
  m_record.lpstrInitialDir = m_folder[0] != '\0' ? m_folder : nullptr;
  m_record.lpstrTitle = m_title[0] != '\0' ? m_title : nullptr;
  m_record.lpstrDefExt = defaultExtension;
  m_record.Flags = flags | (openDialog ? OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY
                                       : OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
}

int CFileDlg::DoModal() {
  char defaultFolder[kFileDialogText];
  if (m_record.lpstrInitialDir == nullptr) {
    GetDefaultDocumentFolder(defaultFolder, sizeof defaultFolder);
    if (defaultFolder[0] != '\0') m_record.lpstrInitialDir = defaultFolder;
  }
  // The buffers keep their content when the dialog is cancelled.
  char file[kFileDialogText];
  CopyText(file, m_file);
  char fileTitle[kFileDialogText];
  CopyText(fileTitle, m_fileTitle);
  const BOOL chosen = (m_open ? g_open : g_save)(&m_record);
  if (m_record.lpstrInitialDir == defaultFolder) m_record.lpstrInitialDir = nullptr;
  if (!chosen) {
    CopyText(m_file, file);
    CopyText(m_fileTitle, fileTitle);
    return IDCANCEL;
  }
  // The system dialog has moved the process's folder to the chosen file's.
  char folder[kFileDialogText];
  const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  if (length > 0 && length < sizeof folder) CopyText(m_folder, folder);
  return IDOK;
}
