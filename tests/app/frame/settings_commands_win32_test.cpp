// The frame's settings commands in a real frame with document windows: the
// options dialog answered by scripts, its live opacity, a profile loaded
// and saved, the regional settings and locking the formula bar.

#include "app/document/document_window_fixture.h"

#include <cstring>

#include "app/clipboard/clipboard_ring.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/options/options_dialog.h"
#include "platform/ui/windows/ui_test_support.h"
#include "services/messages/error_text.h"
#include "services/settings/settings_path.h"
#include "services/settings/settings_profile.h"
#include "services/ui_services/window_transparency.h"
#include "view/draw_context/default_font.h"

namespace {

class SettingsCommandsTest : public DocumentWindowTest {
 protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    std::snprintf(savedSettingsPath, sizeof savedSettingsPath, "%s", SettingsPath);
  }
  void TearDown() override {
    SetDialogScripts(nullptr, 0);
    DocumentWindowTest::TearDown();
    std::snprintf(SettingsPath, sizeof SettingsPath, "%s", savedSettingsPath);
    ResetGlobalOptions();
    ApplyRegionalSettings(kRegionGeneric, true);
    SetDefaultFaceName(nullptr);
    ClipboardRing().SetLevels(Options.CopyLevel);
  }
  // Runs the options dialog from the Tools menu with the script.
  DialogScript RunOptions(const DialogScriptStep* steps, int count) {
    DialogScript script{IDD_OPTIONS, steps, count, false, false, 0};
    SetDialogScripts(&script, 1);
    frame.SendMessage(WM_COMMAND, ID_OPTIONS, 0);
    Pump();
    SetDialogScripts(nullptr, 0);
    return script;
  }
  // The check as the menu shows it when opened.
  bool MenuChecked(UINT command) {
    OpenPopups(frame.Menu());
    return (GetMenuState(frame.Menu(), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  void OpenPopups(HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      if (HMENU popup = GetSubMenu(menu, i)) {
        frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
        OpenPopups(popup);
      }
    }
  }

  char savedSettingsPath[kSettingsPathSize] = {};
};

TEST_F(SettingsCommandsTest, OptionsAreStoredOnlyWhenEveryNumberIsValidAndReachEveryWorkbook) {
  CChildFrame* first = NewDocument();
  CChildFrame* second = NewDocument();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(first->Workbook()->undoHistory.Levels(), 20u);

  // A copy level out of bounds refuses OK, and nothing is stored: not even
  // the valid undo level typed before it. Cancel then keeps everything.
  const DialogScriptStep refused[] = {
      {IDC_UNDO_LEVEL_EDIT, DialogAction::kSetText, "5", 0},
      {IDC_COPY_LEVEL_EDIT, DialogAction::kSetText, "99", 0},
      {IDC_R1C1_CHECK, DialogAction::kSetCheck, nullptr, BST_CHECKED},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDCANCEL, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script = RunOptions(refused, 5);
  EXPECT_TRUE(script.ran);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDCANCEL);
  EXPECT_EQ(Options.UndoLevel, 20);
  EXPECT_EQ(Options.CopyLevel, 1);
  EXPECT_EQ(AddressingA1, 1);
  EXPECT_EQ(first->Workbook()->undoHistory.Levels(), 20u);

  // 258 is no undo level (it is not taken as 2); once corrected, OK stores
  // every field and the new levels reach both open workbooks and the ring.
  const DialogScriptStep stored[] = {
      {IDC_UNDO_LEVEL_EDIT, DialogAction::kSetText, "258", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_UNDO_LEVEL_EDIT, DialogAction::kSetText, "5", 0},
      {IDC_COPY_LEVEL_EDIT, DialogAction::kSetText, "3", 0},
      {IDC_OPACITY_EDIT, DialogAction::kSetText, "80", 0},
      {IDC_R1C1_CHECK, DialogAction::kSetCheck, nullptr, BST_CHECKED},
      {IDC_SHOW_FORMULAS_CHECK, DialogAction::kSetCheck, nullptr, BST_CHECKED},
      {IDC_AUTO_SAVE_COMBO, DialogAction::kSelectItem, nullptr, 3},
      {IDC_UPDATING_COMBO, DialogAction::kSelectItem, nullptr, 1},
      {IDC_FILE_FORMAT_COMBO, DialogAction::kSelectItem, nullptr, 0},
      {IDC_ENTER_COMBO, DialogAction::kSelectItem, nullptr, 3},
      {IDC_FOLDER_EDIT, DialogAction::kSetText, "C:\\books", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  script = RunOptions(stored, 13);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDOK);
  EXPECT_EQ(Options.UndoLevel, 5);
  EXPECT_EQ(Options.CopyLevel, 3);
  EXPECT_EQ(Options.Opacity, 80);
  EXPECT_EQ(AddressingA1, 0);
  EXPECT_EQ(Options.ShowFormulas, 1);
  EXPECT_EQ(Options.AutoSave, 3);
  EXPECT_EQ(AutomaticUpdating, kUpdateManual);
  EXPECT_EQ(Options.SaveFormat, kSaveFormatXml);
  EXPECT_EQ(Options.WhenEnterPressed, 3);
  EXPECT_STREQ(Options.Folder, "C:\\books");
  EXPECT_EQ(first->Workbook()->undoHistory.Levels(), 5u);
  EXPECT_EQ(second->Workbook()->undoHistory.Levels(), 5u);
  EXPECT_EQ(ClipboardRing().Levels(), 3u);
  // The name box shows the selection in the new addressing style.
  char text[32] = {};
  GetWindowTextA(frame.NameBox(), text, sizeof text);
  EXPECT_STREQ(text, "R1C1");
}

// Where the refused field's focus stood when the message had been answered.
std::vector<int> g_focusedFields;

void NoteFocusedField(HWND dialog) {
  HWND focus = GetFocus();
  g_focusedFields.push_back(GetParent(focus) == dialog ? GetDlgCtrlID(focus) : 0);
}

// Each refused number says what its field takes, letters and an emptied
// field as much as a number out of range, and leaves the focus in the field
// with the dialog open; nothing is stored until every number is one.
TEST_F(SettingsCommandsTest, EveryRefusedNumberSaysWhatItsFieldTakes) {
  g_focusedFields.clear();
  const DialogScriptStep steps[] = {
      {IDC_UNDO_LEVEL_EDIT, DialogAction::kSetText, "12abc", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {0, DialogAction::kInspect, nullptr, 0, NoteFocusedField},
      {IDC_UNDO_LEVEL_EDIT, DialogAction::kSetText, "12", 0},
      {IDC_COPY_LEVEL_EDIT, DialogAction::kSetText, "", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {0, DialogAction::kInspect, nullptr, 0, NoteFocusedField},
      {IDC_COPY_LEVEL_EDIT, DialogAction::kSetText, "4", 0},
      {IDC_OPACITY_EDIT, DialogAction::kSetText, "-2147483648", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {0, DialogAction::kInspect, nullptr, 0, NoteFocusedField},
      {IDCANCEL, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script = RunOptions(steps, 12);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDCANCEL);
  EXPECT_EQ(g_boxes, (std::vector<std::string>{"Please enter an integer between 2 and 200.",
                                               "Please enter an integer between 1 and 16.",
                                               "Please enter an integer between 10 and 100."}));
  EXPECT_EQ(g_focusedFields, (std::vector<int>{IDC_UNDO_LEVEL_EDIT, IDC_COPY_LEVEL_EDIT, IDC_OPACITY_EDIT}));
  EXPECT_EQ(Options.UndoLevel, 20);
  EXPECT_EQ(Options.CopyLevel, 1);
}

TEST_F(SettingsCommandsTest, TypedOpacityShowsOnTheDialogAtOnce) {
  COptionsDlg dialog;
  ASSERT_NE(dialog.Create(frame.m_hWnd), nullptr);
  dialog.ShowWindow(SW_SHOW);
  HWND opacity = dialog.GetDlgItem(IDC_OPACITY_EDIT);
  SetFocus(opacity);
  Pump();
  const auto alpha = [&] {
    BYTE value = 255;
    DWORD flags = 0;
    if ((GetWindowLongA(dialog.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED) == 0) return 255;
    GetLayeredWindowAttributes(dialog.m_hWnd, nullptr, &value, &flags);
    return static_cast<int>(value);
  };
  SetWindowTextA(opacity, "50");
  EXPECT_EQ(alpha(), TransparencyAlpha(50));
  SaveClientScreenshot(dialog.m_hWnd, "options_dialog");
  SetWindowTextA(opacity, "5");
  EXPECT_EQ(alpha(), TransparencyAlpha(50));
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  Pump();
  EXPECT_EQ(Options.Opacity, 100);
}

TEST_F(SettingsCommandsTest, ProfilesLoadIntoEveryOpenWorkbookAndSaveWhereChosen) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  const std::string path = FullPath("loaded_profile.xml");
  COptions written{};
  ASSERT_TRUE(SetDefaultOptions(written));
  written.UndoLevel = 9;
  std::strcpy(written.DefaultFont.faceName, "Tahoma");
  std::strcpy(written.Lists->bookmarks[written.Lists->bookmarkCount++], "\\Worksheet1!R2C2  -  Here");
  ASSERT_EQ(WriteProfileFile(path.c_str(), written), 0);
  FreeSettingsProfileBuffer(written);

  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_LOAD_PROFILE, 0);
  Pump();
  EXPECT_EQ(Options.UndoLevel, 9);
  EXPECT_EQ(doc->Workbook()->undoHistory.Levels(), 9u);
  EXPECT_STREQ(DefaultFaceName(), "Tahoma");
  EXPECT_STREQ(SettingsPath, path.c_str());
  ASSERT_EQ(SendMessageA(frame.NameBox(), CB_GETCOUNT, 0, 0), 1);

  // A file that is no profile changes nothing.
  const std::string bad = FullPath("not_a_profile.xml");
  if (FILE* file = std::fopen(bad.c_str(), "wb")) {
    std::fputs("\xFF\xFE<", file);
    std::fclose(file);
  }
  g_openPath = bad;
  frame.SendMessage(WM_COMMAND, ID_LOAD_PROFILE, 0);
  Pump();
  ASSERT_FALSE(g_boxes.empty());
  EXPECT_EQ(g_boxes.back(), GetErrorText(46));
  EXPECT_STREQ(SettingsPath, path.c_str());

  const std::string saved = FullPath("saved_profile.xml");
  std::remove(saved.c_str());
  g_savePath = saved;
  frame.SendMessage(WM_COMMAND, ID_SAVE_PROFILE_AS, 0);
  Pump();
  EXPECT_EQ(g_defaultExtension, "xml");
  EXPECT_STREQ(SettingsPath, saved.c_str());
  COptions read{};
  ASSERT_TRUE(SetDefaultOptions(read));
  EXPECT_EQ(ReadProfileFile(saved.c_str(), read), 0);
  EXPECT_EQ(read.UndoLevel, 9);
  FreeSettingsProfileBuffer(read);
}

TEST_F(SettingsCommandsTest, RegionsAndTheLockAreCheckedInTheMenus) {
  ASSERT_NE(NewDocument(), nullptr);
  frame.SendMessage(WM_COMMAND, ID_REGION_GENERIC, 0);
  Pump();
  EXPECT_EQ(Options.Region, kRegionGeneric);
  EXPECT_EQ(CurrentRegionalSettings().localeChoice, kRegionGeneric);
  EXPECT_TRUE(MenuChecked(ID_REGION_GENERIC));
  EXPECT_FALSE(MenuChecked(ID_REGION_USER));
  frame.SendMessage(WM_COMMAND, ID_REGION_USER, 0);
  Pump();
  EXPECT_EQ(Options.Region, kRegionUserDefault);
  EXPECT_TRUE(MenuChecked(ID_REGION_USER));

  // Locked, the formula bar keeps its text while the selection moves.
  CChildFrame* doc = frame.GetActiveChildFrame();
  PutNumber(*doc->Workbook(), 1, 1, 42);
  frame.SendMessage(WM_COMMAND, ID_LOCK_EDITING, 0);
  Pump();
  EXPECT_EQ(Options.LockEdit, 1);
  EXPECT_TRUE(MenuChecked(ID_LOCK_EDITING));
  SetWindowTextA(frame.FormulaBar(), "=1+");
  doc->SetCursorCell(1, 1);
  Pump();
  EXPECT_EQ(Title(frame.FormulaBar()), "=1+");
  frame.SendMessage(WM_COMMAND, ID_LOCK_EDITING, 0);
  Pump();
  EXPECT_EQ(Options.LockEdit, 0);
  EXPECT_FALSE(MenuChecked(ID_LOCK_EDITING));
  EXPECT_EQ(Title(frame.FormulaBar()), "42");
}

}  // namespace
