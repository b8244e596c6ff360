// The document's file life: Save, Save As, Reload and the question about
// unsaved changes when the window closes, and the one before any save into
// a file that keeps less than the document holds.

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document/child_frame.h"
#include "app/document/document_opening.h"
#include "app/document/file_dialog_folder.h"
#include "app/document/save_choice.h"
#include "app/document/save_losses.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "services/messages/error_text.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"
#include "services/settings/settings_profile.h"
#include "dialogs/file/file_dialog.h"
#include "dialogs/file/text_file_dialogs.h"
#include "dialogs/xbase/xbase_dialogs.h"
#include "files/dispatch/document_file.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "view/draw_context/screen_measurer.h"

namespace {

// Saving in a process-wide memory of the save dialog's file type.
DWORD g_saveFilterIndex = 1;

}  // namespace

bool CChildFrame::QueryClose() {
  // A text still open in the editor is a change of its own, and so is a
  // name still open in the tree.
  EndOpenEdit();
  m_tree.EndLabelEdit(false);
  const bool openedReadOnly = m_workbook.openedWithoutPassword != 0 || m_workbook.readOnly != 0;
  if (!m_modified || (m_workbook.bufferedFile.file != nullptr && openedReadOnly)) return true;
  char name[kFilePathSize];
  if (m_workbook.bufferedFile.path[0] != '\0') {
    std::snprintf(name, sizeof name, "%s", m_workbook.bufferedFile.path);
  } else if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_NEW_WORKBOOK, name, sizeof name) <= 0) {
    name[0] = '\0';
  }
  char text[kFilePathSize + 64];
  DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(name)};
  if (::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "Save changes to %1!s!?", 0, 0,
                       text, sizeof text, reinterpret_cast<va_list*>(arguments)) == 0)
    std::snprintf(text, sizeof text, "Save changes to %s?", name);
  char caption[128];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDR_MAINFRAME, caption, sizeof caption) <= 0) caption[0] = '\0';
  const HWND owner = m_owner != nullptr ? m_owner->m_hWnd : nullptr;
  switch (ShowMessageBox(owner, text, caption, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDNO:
      return true;
    case IDYES:
      OnFileSave();
      return !m_modified && m_workbook.bufferedFile.file != nullptr;
  }
  return false;
}

void CChildFrame::OnFileSave() {
  EndOpenEdit();
  if (m_workbook.bufferedFile.file == nullptr) {
    OnFileSaveAs();
    return;
  }
  if (m_workbook.openedWithoutPassword != 0 || m_workbook.readOnly != 0) {
    SetModified(false);
    UpdateTitle();
    RefreshFrameUI();
    return;
  }
  // Every save of a foreign kind is judged afresh: the document may hold
  // more than its file since it was read, or since the last question.
  const uint8_t kind = m_workbook.sourceFormat;
  const bool table = kind >= kFormatXBaseFirst && kind <= kFormatXBaseLast;
  const SaveLosses losses = FindSaveLosses(m_workbook, kind, table ? &m_workbook.xbaseTable : nullptr);
  // An automatic save says nothing to a user who may be away: a file that
  // would keep less, its protection included, or could not be written at
  // all waits for a save they make.
  if (m_savingAutomatically && (losses.Any() || losses.numberTooWide ||
                                (kind != kFormatNative && m_workbook.protectionMode != 0))) {
    m_saveHeldBack = true;
    return;
  }
  if (RefuseImpossibleSave(losses)) return;
  if (losses.Any() && !ConfirmSaveLosses(kind, losses, false)) return;
  uint8_t variant = NativeSaveVariant(m_workbook.sourceFormat, m_workbook.saveKind, Options.SaveFormat);
  if (m_workbook.protectionMode != 0) {
    if (m_workbook.sourceFormat != kFormatNative) {
      ShowMessageRes(IDS_FORMAT_DROPS_PROTECTION, MB_OK | MB_ICONINFORMATION);
    } else if (variant == kNativeXmlPlain) {
      if (ShowMessageRes(IDS_XML_DROPS_PROTECTION, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
      variant = kNativeBinaryGzip;
    }
  }
  if (!SaveDocument(nullptr, m_workbook.sourceFormat, variant, false)) return;
  SetModified(false);
  RefreshFrameUI();
  if (m_owner != nullptr) {
    m_owner->RecentDocuments().Add(m_workbook.bufferedFile.path);
    CopyRecentFilesToProfile(m_owner->RecentDocuments(), Options);
  }
}

void CChildFrame::OnFileSaveAs() {
  EndOpenEdit();
  if (m_workbook.openedWithoutPassword != 0 && m_workbook.protectionMode != 0) return;
  char folder[kFolderSize];
  FolderOfPath(m_workbook.bufferedFile.path, folder, sizeof folder);
  if (folder[0] == '\0') std::snprintf(folder, sizeof folder, "%s", LastFileDialogFolder());
  const HWND owner = m_owner != nullptr ? m_owner->m_hWnd : m_hWnd;
  CFileDlg dialog(false, nullptr, OFN_HIDEREADONLY, kNativeExtension, "", kSaveFilter, g_saveFilterIndex, folder,
                  owner);
  if (dialog.DoModal() != IDOK) return;
  char path[kFilePathSize];
  if (!CopyWholePath(path, sizeof path, dialog.GetPathName())) {
    ShowError(kFilePathTooLong);
    return;
  }
  RememberFileDialogFolder(path);
  const uint8_t filterKind = FileKindOfSaveFilter(dialog.GetFilterIndex());
  const uint8_t kind = FileKindOfSavedName(path, filterKind);
  // The next Save As offers the kind this one wrote.
  g_saveFilterIndex = kind == filterKind ? dialog.GetFilterIndex() : kNativeSaveFilterIndex;

  TextFileOptions textOptions{};
  if (kind == kFormatText) {
    CSaveTextFileDlg textDialog(&textOptions);
    if (textDialog.DoModal(owner) != IDOK) return;
  }
  const bool table = kind >= kFormatXBaseFirst && kind <= kFormatXBaseLast;
  XBaseTable description;
  if (table && !EditXBaseDescription(kind, path, owner, &description)) return;
  uint8_t variant = kNativeBinaryGzip;
  if (kind == kFormatNative) variant = NativeSaveVariant(m_workbook.sourceFormat, m_workbook.saveKind, Options.SaveFormat);
  if (m_workbook.protectionMode != 0) {
    if (kind != kFormatNative) {
      ShowMessageRes(IDS_FORMAT_DROPS_PROTECTION, MB_OK | MB_ICONINFORMATION);
    } else if (variant == kNativeXmlPlain) {
      if (ShowMessageRes(IDS_XML_DROPS_PROTECTION, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
      variant = kNativeBinaryGzip;
    }
  }
  // A save into another kind reads the document back from the new file, so
  // whatever that kind cannot keep is gone once written; into the same kind
  // it is gone from the file. Until the user agrees the workbook stays
  // exactly as it is.
  const SaveLosses losses = FindSaveLosses(m_workbook, kind, table ? &description : nullptr, &textOptions);
  if (RefuseImpossibleSave(losses)) return;
  if (losses.Any() && !ConfirmSaveLosses(kind, losses, kind != m_workbook.sourceFormat)) return;
  if (kind == kFormatText) m_workbook.textFileOptions = textOptions;
  if (table && !description.CopyTo(&m_workbook.xbaseTable)) {
    ShowError(kWorkbookOutOfMemory);
    return;
  }
  const uint8_t previousKind = m_workbook.sourceFormat;
  if (!SaveDocument(path, kind, variant, true)) return;
  // A document saved into another kind shows what the new file holds.
  if (kind != previousKind) SendMessage(WM_COMMAND, ID_RELOAD, 0);
  SetModified(false);
  RefreshFrameUI();
  UpdateTitle();
  if (m_owner != nullptr) {
    m_owner->RecentDocuments().Add(m_workbook.bufferedFile.path);
    CopyRecentFilesToProfile(m_owner->RecentDocuments(), Options);
  }
}

bool CChildFrame::SaveDocument(const char* path, uint8_t fileKind, uint8_t saveFormat, bool newFile) {
  if (fileKind > kFormatXBaseLast) return false;
  char target[kFilePathSize];
  if (!CopyWholePath(target, sizeof target, path != nullptr ? path : m_workbook.bufferedFile.path)) {
    ShowError(kFilePathTooLong);
    return false;
  }
  if (target[0] == '\0') {
    ShowError(kFileCannotOpenForWriting);
    return false;
  }
  if (fileKind == kFormatNative) {
    StoreViewPosition();
    PaneLayout& panes = m_workbook.panes;
    if (TreeShown()) panes.treePaneWidth = static_cast<uint16_t>(m_splitOuter.GetSplitterPos());
    if (InspectShown()) {
      const RECT r = m_splitInner.GetClientRect();
      panes.inspectPaneHeight = static_cast<uint16_t>(r.bottom - r.top - m_splitInner.GetSplitterPos());
    }
  }
  if (fileKind == kFormatExcelXml) StampExcelProperties(&m_workbook, newFile);
  const uint8_t keptFormat = m_workbook.sourceFormat;
  const uint8_t keptKind = m_workbook.saveKind;
  m_workbook.sourceFormat = fileKind;
  if (fileKind == kFormatNative) m_workbook.saveKind = saveFormat;
  bool saved;
  {
    WaitCursor wait;
    ScreenMeasurer screen;
    saved = SaveDocumentFile(&m_workbook, target, fileKind == kFormatExcelXml ? &screen.Measurer() : nullptr);
  }
  if (!saved) {
    // The file at the path is as it was and the document keeps the file it
    // held; only what this save set is taken back.
    m_workbook.sourceFormat = keptFormat;
    m_workbook.saveKind = keptKind;
    ShowError(m_workbook.error);
    return false;
  }
  RenameOpenDocument(&m_workbook, m_workbook.bufferedFile.path);
  return true;
}

bool CChildFrame::EditXBaseDescription(uint8_t dialect, const char* path, HWND owner, XBaseTable* description) {
  bool made;
  if (m_workbook.sourceFormat != dialect) {
    description->dialect = dialect;
    made = m_workbook.BuildXBaseFields(m_workbook.activeWorksheet, description);
  } else {
    made = m_workbook.xbaseTable.CopyTo(description);
    if (!made) m_workbook.error = kWorkbookOutOfMemory;
  }
  if (!made) {
    ShowError(m_workbook.error);
    return false;
  }
  CXBaseFileDlg dialog(description, path, true);
  return dialog.DoModal(owner) == IDOK;
}

namespace {

// A string-table entry with its inserts ("%1!s!", "%2!u!") appended to text.
void AppendMessageRes(std::string* text, UINT stringId, const DWORD_PTR* arguments = nullptr) {
  char pattern[512];
  if (::LoadStringA(::GetModuleHandleA(nullptr), stringId, pattern, sizeof pattern) <= 0) return;
  const DWORD flags = FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                      (arguments == nullptr ? FORMAT_MESSAGE_IGNORE_INSERTS : 0);
  char* formatted = nullptr;
  // Lists of paths can be long: the text is as long as it needs to be.
  if (::FormatMessageA(flags, pattern, 0, 0, reinterpret_cast<char*>(&formatted), 0,
                       reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments))) == 0)
    return;
  text->append(formatted);
  ::LocalFree(formatted);
}

void AppendLossLine(std::string* text, UINT stringId, const DWORD_PTR* arguments = nullptr) {
  text->append("\n- ");
  AppendMessageRes(text, stringId, arguments);
}

DWORD_PTR TextArgument(const std::string& text) { return reinterpret_cast<DWORD_PTR>(text.c_str()); }

}  // namespace

bool CChildFrame::SaveAutomatically() {
  m_savingAutomatically = true;
  m_saveHeldBack = false;
  SendMessage(WM_COMMAND, ID_FILE_SAVE, 0);
  m_savingAutomatically = false;
  return !m_saveHeldBack;
}

bool CChildFrame::RefuseImpossibleSave(const SaveLosses& losses) {
  if (!losses.numberTooWide) return false;
  // No question: whatever the answer, the table could not be written.
  const std::string text = std::string(GetErrorText(kFileNumberTooWide)) + ": " +
                           LossCellName(losses.tooWideRow, losses.tooWideColumn);
  ShowMessage(text.c_str());
  return true;
}

bool CChildFrame::ConfirmSaveLosses(uint8_t kind, const SaveLosses& losses, bool readBack) {
  std::string text;
  const DWORD_PTR kindName[] = {reinterpret_cast<DWORD_PTR>(SaveKindName(kind))};
  AppendMessageRes(&text, readBack ? IDS_SAVE_KEEPS_LESS : IDS_FILE_KEEPS_LESS, kindName);
  if (losses.otherWorksheets != 0) {
    char sheetPath[kTreePathCapacity] = "";
    if (m_workbook.activeWorksheet != nullptr) m_workbook.activeWorksheet->GetFullPath(sheetPath, sizeof sheetPath);
    const DWORD_PTR sheets[] = {losses.otherWorksheets, reinterpret_cast<DWORD_PTR>(sheetPath)};
    AppendLossLine(&text, IDS_LOSES_OTHER_WORKSHEETS, sheets);
  }
  if (losses.folders) AppendLossLine(&text, IDS_LOSES_FOLDERS);
  if (!losses.names.renamed.empty()) {
    const std::string renamed = RenamedSheetsText(losses.names);
    const DWORD_PTR arguments[] = {TextArgument(renamed)};
    AppendLossLine(&text, IDS_LOSES_RENAMED_SHEETS, arguments);
  }
  if (losses.names.brokenFormulas != 0) {
    const std::string broken = BrokenReferencesText(losses.names);
    const DWORD_PTR arguments[] = {losses.names.brokenFormulas, TextArgument(broken)};
    AppendLossLine(&text, IDS_LOSES_SHEET_REFERENCES, arguments);
  }
  if (losses.formulas) AppendLossLine(&text, IDS_LOSES_FORMULAS);
  if (losses.unfieldedColumns != 0) {
    const std::string column = LossColumnName(losses.firstUnfielded);
    const DWORD_PTR arguments[] = {losses.unfieldedColumns, TextArgument(column)};
    AppendLossLine(&text, IDS_LOSES_UNFIELDED_COLUMNS, arguments);
  }
  if (losses.shown.numbers != 0) {
    const std::string cell = LossCellName(losses.shown.numberRow, losses.shown.numberColumn);
    const DWORD_PTR arguments[] = {losses.shown.numbers, TextArgument(cell), TextArgument(losses.shown.numberHeld),
                                   TextArgument(losses.shown.numberWritten)};
    AppendLossLine(&text, IDS_LOSES_SHOWN_NUMBERS, arguments);
  }
  if (losses.shown.values != 0) {
    const std::string cell = LossCellName(losses.shown.valueRow, losses.shown.valueColumn);
    const DWORD_PTR arguments[] = {losses.shown.values, TextArgument(cell)};
    AppendLossLine(&text, IDS_LOSES_SHOWN_VALUES, arguments);
  }
  if (losses.characters != 0) {
    const DWORD_PTR arguments[] = {losses.characters, TextArgument(losses.characterCell)};
    AppendLossLine(&text, IDS_LOSES_CHARACTERS, arguments);
  }
  if (losses.formats) AppendLossLine(&text, IDS_LOSES_FORMATS);
  if (!losses.pageSettings.empty()) {
    const DWORD_PTR arguments[] = {TextArgument(losses.pageSettings)};
    AppendLossLine(&text, IDS_LOSES_PAGE_SETTINGS, arguments);
  }
  if (losses.containers) AppendLossLine(&text, IDS_LOSES_CONTAINERS);
  if (losses.dropDownLists) AppendLossLine(&text, IDS_LOSES_DROP_DOWN_LISTS);
  if (losses.firstRow) AppendLossLine(&text, IDS_LOSES_FIRST_ROW);
  if (losses.fieldValues) AppendLossLine(&text, IDS_LOSES_FIELD_VALUES);
  if (losses.emptyNumbers != 0) {
    const std::string cell = LossCellName(losses.emptyRow, losses.emptyColumn);
    const DWORD_PTR arguments[] = {losses.emptyNumbers, TextArgument(cell)};
    AppendLossLine(&text, IDS_LOSES_EMPTY_NUMBERS, arguments);
  }
  text.append("\n\n");
  AppendMessageRes(&text, IDS_SAVE_ALL_THE_SAME);
  char caption[128];
  LoadProductTitle(caption, sizeof caption);
  const HWND owner = m_owner != nullptr ? m_owner->m_hWnd : m_hWnd;
  return ShowMessageBox(owner, text.c_str(), caption, MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDOK;
}

void CChildFrame::OnFileReload() {
  if (m_workbook.bufferedFile.file == nullptr) return;
  EndOpenEdit();
  const uint8_t format = m_workbook.sourceFormat;
  const uint8_t kind = m_workbook.saveKind;
  const uint8_t withoutPassword = m_workbook.openedWithoutPassword;
  m_workbook.Clear();
  // The tree's items named the workbook's old items.
  FillTree();
  // The file read again is asked about as when it was opened.
  m_workbook.automationCalls = kAutomationCallsAsk;
  m_workbook.sourceFormat = format;
  m_workbook.saveKind = kind;
  m_workbook.openedWithoutPassword = withoutPassword;

  bool loaded = false;
  if (format == kFormatNative) {
    loaded = LoadNativeAskingPassword(m_workbook, m_owner != nullptr ? m_owner->m_hWnd : m_hWnd);
  } else if (format == kFormatExcelXml) {
    loaded = LoadExcelXmlMeasured(m_workbook);
  } else if (format == kFormatText) {
    WaitCursor wait;
    loaded = m_workbook.LoadText();
  } else if (format >= kFormatXBaseFirst && format <= kFormatXBaseLast) {
    WaitCursor wait;
    loaded = m_workbook.LoadXBase();
  } else {
    m_workbook.error = kFileBadFormat;
  }
  if (!loaded) {
    const uint8_t code = m_workbook.error;
    const uint32_t xmlLine = m_workbook.xmlErrorLine;
    m_workbook.bufferedFile.Close();
    m_workbook.readOnly = 0;
    m_workbook.Clear();
    m_workbook.NewDocument();
    m_workbook.error = code;
    RenameOpenDocument(&m_workbook, "");
    FillTree();
    m_inspect.FillList();
    ShowLoadError(code, xmlLine);
  } else if (!FillTree() || !m_inspect.FillList()) {
    m_workbook.error = kWorkbookOutOfMemory;
    ShowError(m_workbook.error);
  }
  m_workbook.undoHistory.FreeAll();
  for (CDocumentView& view : m_view)
    if (view.m_hWnd != nullptr) view.Invalidate();
  SetModified(false);
  UpdateTitle();
  RefreshFrameUI();
}
