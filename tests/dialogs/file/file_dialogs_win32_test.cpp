#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "services/settings/global_options.h"
#include "core/model/buffered_file.h"
#include "dialogs/file/file_dialog.h"
#include "dialogs/file/file_wait_dialog.h"
#include "dialogs/file/text_file_dialogs.h"
#include "platform/os_files.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/dialog_script.h"
#include "resources/resource_ids.h"
#include "tests/dialogs/dialog_test_support.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

OPENFILENAMEA g_seen;
char g_chosenFolder[MAX_PATH];

// The folder the dialog was asked to start in, kept while its text lives.
char g_seenInitialDir[MAX_PATH];

BOOL WINAPI ChooseInFolder(OPENFILENAMEA* record) {
  g_seen = *record;
  std::snprintf(g_seenInitialDir, sizeof g_seenInitialDir, "%s",
                record->lpstrInitialDir != nullptr ? record->lpstrInitialDir : "");
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s\\book.tlv", g_chosenFolder);
  record->nFilterIndex = 3;
  // As the system dialog does, the process's folder follows the choice.
  SetCurrentDirectoryA(g_chosenFolder);
  return TRUE;
}
BOOL WINAPI Cancel(OPENFILENAMEA* record) {
  g_seen = *record;
  std::strcpy(record->lpstrFile, "garbage");
  return FALSE;
}

TEST(FileDialog, OpenAndSaveAddTheirFlagsAndRememberTheChosenFolder) {
  GetTempPathA(sizeof g_chosenFolder, g_chosenFolder);
  g_chosenFolder[std::strlen(g_chosenFolder) - 1] = '\0';
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  CFileDlg::SetCommonDialogFunctions(ChooseInFolder, ChooseInFolder);
  const char filter[] = "Talvero (*.tlv)\0*.tlv\0All Files (*.*)\0*.*\0";
  // Without a folder of its own the dialog starts in the options' folder.
  std::snprintf(Options.Folder, sizeof Options.Folder, "%s", "C:\\windows");
  CFileDlg open(true, "Open", 0, "tlv", "", filter, 1, nullptr, nullptr);
  EXPECT_EQ(open.DoModal(), IDOK);
  Options.Folder[0] = '\0';
  EXPECT_EQ(g_seen.Flags, DWORD(0x81804));
  EXPECT_STREQ(g_seenInitialDir, "C:\\windows");
  EXPECT_STREQ(g_seen.lpstrTitle, "Open");
  EXPECT_EQ(g_seen.nMaxFile, 256u);
  EXPECT_EQ(open.GetFilterIndex(), 3u);
  EXPECT_STREQ(open.GetFolder(), g_chosenFolder);
  EXPECT_EQ(std::string(open.GetPathName()), std::string(g_chosenFolder) + "\\book.tlv");

  CFileDlg save(false, nullptr, OFN_NOREADONLYRETURN, "tlv", "old.tlv", filter, 1, "C:\\", nullptr);
  CFileDlg::SetCommonDialogFunctions(Cancel, Cancel);
  EXPECT_EQ(save.DoModal(), IDCANCEL);
  CFileDlg::SetCommonDialogFunctions(nullptr, nullptr);
  SetCurrentDirectoryA(before);
  EXPECT_EQ(g_seen.Flags, DWORD(0x80802 | OFN_NOREADONLYRETURN));
  EXPECT_STREQ(g_seen.lpstrInitialDir, "C:\\");
  EXPECT_EQ(g_seen.lpstrTitle, nullptr);
  EXPECT_STREQ(save.GetPathName(), "old.tlv");  // kept through the cancel
  EXPECT_STREQ(save.GetFolder(), "C:\\");
}

// A file held by the test cannot be opened until the test lets it go; the
// dialog's timer ticks are posted, so nothing waits for the clock.
TEST(FileWaitDialog, EndsWithTheFileOpenOnceItIsReleased) {
  InitCommonControlClasses();
  char path[MAX_PATH];
  GetTempPathA(sizeof path, path);
  std::strcat(path, "talvero_wait_test.tlv");
  std::FILE* held = OsOpenExclusiveFile(path, "w+b");
  ASSERT_NE(held, nullptr);
  BufferedFile file;
  ASSERT_FALSE(file.Open(path, "rb"));  // the hold is real

  CFileWaitDlg dialog(path, &file, "r+b", "rb");
  HWND hwnd = dialog.Create(nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(ControlText(hwnd, IDC_CLOCK_TEXT), "00:00:00");
  // Ten ticks reach at least one attempt while the file is held.
  for (int i = 0; i < 10; ++i) {
    PostMessageA(hwnd, WM_TIMER, kFileWaitTimer, 0);
    PumpMessages();
  }
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(file.file, nullptr);

  std::fclose(held);
  for (int i = 0; i < 10 && IsWindow(hwnd); ++i) {
    PostMessageA(hwnd, WM_TIMER, kFileWaitTimer, 0);
    PumpMessages();
  }
  EXPECT_FALSE(IsWindow(hwnd));
  ASSERT_NE(file.file, nullptr);
  EXPECT_EQ(file.readOnly, 0);  // the first mode, reading and writing, won
  file.Close();
  DeleteFileA(path);
}

TEST(FileWaitDialog, CancelGivesUp) {
  InitCommonControlClasses();
  const DialogScriptStep steps[] = {{IDCANCEL, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_FILE_WAIT, steps, 1, false, false, 0};
  SetDialogScripts(&script, 1);
  BufferedFile file;
  CFileWaitDlg dialog("C:\\nowhere\\held.tlv", &file, "r+b", "rb");
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  SetDialogScripts(nullptr, 0);
  EXPECT_FALSE(script.stalled);
}

TEST(TextFileDialogs, ShowTheOptionsInEachForm) {
  InitCommonControlClasses();
  TextFileOptions options;
  options.separator = '|';
  options.widths[0] = 10, options.widths[1] = 8, options.widths[3] = 15;
  options.charset = 3;
  options.recognizeValues = 0;
  COpenTextFileDlg open(&options);
  HWND hwnd = open.Create(nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_KIND_COMBO, CB_GETCURSEL, 0, 0), 5);
  EXPECT_EQ(ControlText(hwnd, IDC_TEXT_EDIT), "|");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_TEXT_EDIT)));
  EXPECT_EQ(ControlText(hwnd, IDC_SECOND_EDIT), "10,8");
  EXPECT_EQ(ControlText(hwnd, IDC_QUOTE_COMBO), "\"");
  EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_CONVERSION_COMBO, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_ENCODING_COMBO, CB_GETCURSEL, 0, 0), 2);

  // Choosing "comma" puts the comma in and locks the edit; "other" empties it.
  SendDlgItemMessageA(hwnd, IDC_KIND_COMBO, CB_SETCURSEL, 0, 0);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_KIND_COMBO, CBN_SELCHANGE), 0);
  EXPECT_EQ(ControlText(hwnd, IDC_TEXT_EDIT), ",");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_TEXT_EDIT)));
  SendDlgItemMessageA(hwnd, IDC_KIND_COMBO, CB_SETCURSEL, 5, 0);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_KIND_COMBO, CBN_SELCHANGE), 0);
  EXPECT_EQ(ControlText(hwnd, IDC_TEXT_EDIT), "");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_TEXT_EDIT)));
  DestroyWindow(hwnd);

  CSaveTextFileDlg save(&options);
  hwnd = save.Create(nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(ControlText(hwnd, IDC_SECOND_EDIT), "10,8,0,15");
  EXPECT_EQ(GetDlgItem(hwnd, IDC_CONVERSION_COMBO), nullptr);
  DestroyWindow(hwnd);
}

TEST(TextFileDialogs, OkStoresFixedWidthsAndRefusesAForeignCharacter) {
  InitCommonControlClasses();
  TextFileOptions options;
  const DialogScriptStep steps[] = {
      {IDC_FIRST_RADIO, DialogAction::kSetCheck, nullptr, 0},
      {IDC_SECOND_RADIO, DialogAction::kSetCheck, nullptr, 1},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "10,x", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "10, 8;15", 0},
      {IDC_QUOTE_COMBO, DialogAction::kSetText, "'", 0},
      {IDC_CONVERSION_COMBO, DialogAction::kSelectItem, nullptr, 0},
      {IDC_ENCODING_COMBO, DialogAction::kSelectItem, nullptr, 1},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_OPEN_TEXT_FILE, steps, 9, false, false, 0};
  SetDialogScripts(&script, 1);
  COpenTextFileDlg dialog(&options);
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  SetDialogScripts(nullptr, 0);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(options.fixedWidth, 1);
  EXPECT_EQ(options.widths[0], 10);
  EXPECT_EQ(options.widths[1], 8);
  EXPECT_EQ(options.widths[2], 15);
  EXPECT_EQ(options.widths[3], 0);
  EXPECT_EQ(options.quote, '\'');
  EXPECT_EQ(options.recognizeValues, 0);
  EXPECT_EQ(options.charset, 2);

  // Only the refusal: the script runs out with the dialog still open.
  const DialogScriptStep refused[] = {
      {IDC_FIRST_RADIO, DialogAction::kSetCheck, nullptr, 0},
      {IDC_SECOND_RADIO, DialogAction::kSetCheck, nullptr, 1},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "7,y", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript refusal{IDD_SAVE_TEXT_FILE, refused, 4, false, false, 0};
  SetDialogScripts(&refusal, 1);
  CSaveTextFileDlg save(&options);
  EXPECT_EQ(save.DoModal(nullptr), IDABORT);
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(refusal.stalled);
}

TEST(TextFileDialogs, AnEmptySeparatorIsStoredAsNul) {
  InitCommonControlClasses();
  TextFileOptions options;
  options.separator = '|';
  const DialogScriptStep steps[] = {
      {IDC_TEXT_EDIT, DialogAction::kSetText, "", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_SAVE_TEXT_FILE, steps, 2, false, false, 0};
  SetDialogScripts(&script, 1);
  CSaveTextFileDlg dialog(&options);
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  SetDialogScripts(nullptr, 0);
  EXPECT_EQ(options.fixedWidth, 0);
  EXPECT_EQ(options.separator, '\0');
}

}  // namespace
