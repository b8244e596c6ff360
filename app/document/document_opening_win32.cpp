#include "app/document/document_opening.h"

#include <cstdio>
#include <cstring>

#include "app/document/child_frame.h"
#include "app/document/file_dialog_folder.h"
#include "app/document/open_choice.h"
#include "app/document/save_choice.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"
#include "services/settings/settings_profile.h"
#include "dialogs/file/file_dialog.h"
#include "dialogs/file/file_wait_dialog.h"
#include "dialogs/file/text_file_dialogs.h"
#include "dialogs/protection/protection_dialogs.h"
#include "dialogs/xbase/xbase_dialogs.h"
#include "files/dispatch/document_file.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "platform/os_files.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "view/draw_context/screen_measurer.h"

namespace {

// The open dialog's file type, kept for the process apart from Save As's.
DWORD g_openFilterIndex = 1;

// A file held by another program is waited for, the user watching.
bool OpenFileWaiting(CWorkBook& book, const char* path, HWND owner) {
  if (OpenDocumentFile(&book, path)) return true;
  if (!OsFileExists(path)) return false;
  book.error = 0;
  CFileWaitDlg wait(path, &book.bufferedFile, "r+b", "rb");
  if (wait.DoModal(owner) != IDOK) return false;
  book.readOnly = book.bufferedFile.readOnly;
  return true;
}

// Frees a window object that never got its window, with the file it holds.
void DiscardDocument(CChildFrame* window) {
  window->Workbook()->bufferedFile.Close();
  delete window;
}

void AddRecentFile(CMainFrame* frame, const char* path) {
  frame->RecentDocuments().Add(path);
  CopyRecentFilesToProfile(frame->RecentDocuments(), Options);
}

// Enters a created window in the table, maximises it when it is the only
// document and the option asks for it, and applies its layout; a full table
// destroys the window.
CChildFrame* EnterDocumentWindow(CChildFrame* window) {
  if (!AddOpenDocument(window->Workbook(), window)) {
    // The window's final message frees it.
    window->DestroyWindow();
    return nullptr;
  }
  if (Options.MaximizeDocWindow != 0 && CountOpenDocuments() == 1) MaximizeDocumentWindow(window->m_hWnd);
  window->ApplyStoredLayout();
  return window;
}

}  // namespace

void MaximizeDocumentWindow(HWND window) {
  ::SendMessageA(::GetParent(window), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window), 0);
}

CChildFrame* OpenNewDocumentWindow(CMainFrame* frame) {
  // A full table refuses before a window flashes up and goes again.
  if (CountOpenDocuments() >= kOpenDocumentSlots) return nullptr;
  CChildFrame* window = new CChildFrame(frame);
  if (!window->Workbook()->NewDocument() || window->CreateDocumentWindow(frame->m_hWndClient) == nullptr) {
    DiscardDocument(window);
    ShowError(kWorkbookOutOfMemory);
    return nullptr;
  }
  return EnterDocumentWindow(window);
}

void ShowLoadError(uint8_t code, uint32_t xmlLine) {
  if (code == 0) return;
  if (code >= kFileXmlOutOfMemory && code <= kFileXmlBadData) {
    ShowErrorWithLine(code, static_cast<int>(xmlLine));
  } else {
    ShowError(code);
  }
}

bool LoadNativeAskingPassword(CWorkBook& book, HWND owner) {
  uint8_t kind = 0;
  uint8_t hint = 0;
  if (!book.SniffNative(&kind, &hint)) return false;
  bool loaded = false;
  if (hint != kHintNoPassword) {
    CPasswordDlg dialog(hint == kHintValuesReadable);
    if (dialog.DoModal(owner) != IDOK) {
      book.error = 0;
      return false;
    }
    book.openedWithoutPassword = dialog.readOnlyChosen;
    {
      WaitCursor wait;
      loaded = book.LoadNative(dialog.readOnlyChosen ? nullptr : dialog.password);
    }
    std::memset(dialog.password, 0, sizeof dialog.password);
  } else {
    WaitCursor wait;
    loaded = book.LoadNative(nullptr);
  }
  if (loaded) book.RefreshAllContainers();
  return loaded;
}

bool LoadExcelXmlMeasured(CWorkBook& book) {
  WaitCursor wait;
  ScreenMeasurer screen;
  if (!book.LoadExcelXml(&screen.Measurer())) return false;
  book.sourceFormat = kFormatExcelXml;
  return true;
}

bool LoadDocumentFile(const char* path, CChildFrame* window, uint8_t type) {
  CWorkBook& book = *window->Workbook();
  const HWND owner = window->m_owner != nullptr ? window->m_owner->m_hWnd : nullptr;
  // A file may come from anyone: its formulas call other programs only once
  // the user allowed it.
  book.automationCalls = kAutomationCallsAsk;
  if (!OpenFileWaiting(book, path, owner)) return false;
  if (type > kFormatXBaseLast) return false;
  if (type == kFormatExcelXml) return LoadExcelXmlMeasured(book);
  if (type == kFormatText) {
    COpenTextFileDlg options(&book.textFileOptions);
    if (options.DoModal(owner) != IDOK) return false;
    WaitCursor wait;
    if (!book.LoadText()) return false;
    book.sourceFormat = kFormatText;
    return true;
  }
  if (type >= kFormatXBaseFirst) {
    book.xbaseTable.dialect = type;
    if (!book.ReadXBaseHeader(&book.xbaseTable)) return false;
    CXBaseFileDlg description(&book.xbaseTable, path, false);
    if (description.DoModal(owner) != IDOK) return false;
    WaitCursor wait;
    if (!book.LoadXBase()) return false;
    book.sourceFormat = type;
    return true;
  }
  if (type != kFormatNative) {
    book.error = kFileBadFormat;
    return false;
  }
  return LoadNativeAskingPassword(book, owner);
}

CChildFrame* OpenDocumentPath(CMainFrame* frame, const char* path, uint8_t type, int recentIndex) {
  if (CChildFrame* open = FindOpenDocumentByPath(path)) {
    frame->MDIActivate(open->m_hWnd);
    return open;
  }
  // A full table takes no document: nothing is read for it.
  if (CountOpenDocuments() >= kOpenDocumentSlots) return nullptr;
  // A path too long for a file name is refused: cut, it would name
  // another file.
  char kept[kFilePathSize];
  if (!CopyWholePath(kept, sizeof kept, path)) {
    ShowError(kFilePathTooLong);
    return nullptr;
  }
  CChildFrame* window = new CChildFrame(frame);
  const bool loaded = LoadDocumentFile(kept, window, type);
  const uint8_t code = window->Workbook()->error;
  ShowLoadError(code, window->Workbook()->xmlErrorLine);
  if (recentIndex >= 0 && code != 0) {
    frame->RecentDocuments().Remove(recentIndex);
    CopyRecentFilesToProfile(frame->RecentDocuments(), Options);
  }
  if (!loaded) {
    DiscardDocument(window);
    return nullptr;
  }
  AddRecentFile(frame, kept);
  if (window->CreateDocumentWindow(frame->m_hWndClient) == nullptr) {
    DiscardDocument(window);
    ShowError(kWorkbookOutOfMemory);
    return nullptr;
  }
  return EnterDocumentWindow(window);
}

void OnFileOpen(CMainFrame* frame) {
  CFileDlg dialog(true, nullptr, OFN_EXPLORER | OFN_PATHMUSTEXIST, kNativeExtension, "", kOpenFilter,
                  g_openFilterIndex, LastFileDialogFolder(), frame->m_hWnd);
  if (dialog.DoModal() != IDOK) return;
  char path[kFilePathSize];
  std::snprintf(path, sizeof path, "%s", dialog.GetPathName());
  RememberFileDialogFolder(path);
  g_openFilterIndex = dialog.GetFilterIndex();
  OpenDocumentPath(frame, path, FileTypeOfOpenFilter(g_openFilterIndex, path), -1);
}

void OpenCommandLineFile(CMainFrame* frame, const char* path) {
  OpenDocumentPath(frame, path, GetFileTypeFromExtension(path), -1);
}

bool HandleFrameFileCommand(CMainFrame* frame, UINT command) {
  if (command >= ID_FILE_MRU_FIRST && command < ID_FILE_MRU_FIRST + RecentDocumentList::kMaxEntries) {
    const int index = static_cast<int>(command - ID_FILE_MRU_FIRST);
    const char* entry = frame->RecentDocuments().Entry(index);
    if (entry == nullptr) return true;
    char path[kFilePathSize];
    std::snprintf(path, sizeof path, "%s", entry);
    OpenDocumentPath(frame, path, GetFileTypeFromExtension(path), index);
    return true;
  }
  switch (command) {
    case ID_FILE_OPEN:
      OnFileOpen(frame);
      return true;
    case ID_FILE_NEW:
      OpenNewDocumentWindow(frame);
      return true;
    case ID_SAVE_FORMAT_XML:
    case ID_SAVE_FORMAT_BINARY:
      if (CChildFrame* window = frame->GetActiveChildFrame()) {
        window->Workbook()->saveKind = command == ID_SAVE_FORMAT_XML ? kNativeXmlPlain : kNativeBinaryGzip;
        window->SetModified(true);
        frame->UpdateUI();
      }
      return true;
  }
  return false;
}
