#include "dialogs/protection/protection_dialogs.h"

#include <gtest/gtest.h>

#include "services/settings/global_options.h"

#include "platform/ui/dialog_script.h"
#include "resources/resource_ids.h"
#include "tests/dialogs/dialog_test_support.h"

namespace {

const char kTooShort[] = "Please enter at least 6 characters as a password.";
const char kDiffer[] = "The entered passwords do not match. Please re-type your password.";

INT_PTR RunProtect(CProtectDlg* dialog, const DialogScriptStep* steps, int count, bool* stalled) {
  DialogScript script{IDD_PROTECTION, steps, count, false, false, 0};
  SetDialogScripts(&script, 1);
  const INT_PTR result = dialog->DoModal(nullptr);
  SetDialogScripts(nullptr, 0);
  *stalled = script.stalled;
  return result;
}

TEST(ProtectDialog, ChecksLengthThenMatchAndStaysOpenUntilBothPass) {
  AnsweredBoxes boxes;
  ScopedBoxAnswers answers(&boxes);
  const DialogScriptStep steps[] = {
      {IDC_TEXT_EDIT, DialogAction::kSetText, "abcde", 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "abcde", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_TEXT_EDIT, DialogAction::kSetText, "secret", 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "secreT", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "secret", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  CProtectDlg dialog;
  bool stalled = true;
  EXPECT_EQ(RunProtect(&dialog, steps, 8, &stalled), IDOK);
  EXPECT_FALSE(stalled);
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_EQ(boxes.texts[0], kTooShort);
  EXPECT_EQ(boxes.texts[1], kDiffer);
  EXPECT_EQ(boxes.types[0], UINT(MB_TASKMODAL | MB_OK | MB_ICONEXCLAMATION));
  EXPECT_STREQ(dialog.password, "secret");
  EXPECT_EQ(dialog.choice.protect, 1u);
  EXPECT_EQ(dialog.choice.encryption, 1u);
}

TEST(ProtectDialog, ReadOnlyAccessIsAskedFirstAndNoMeansStay) {
  AnsweredBoxes boxes;
  boxes.answers = {IDNO, IDYES, IDOK, IDYES};
  ScopedBoxAnswers answers(&boxes);
  const DialogScriptStep steps[] = {
      {IDC_READ_ONLY_CHECK, DialogAction::kSetCheck, nullptr, 1},
      {IDC_KIND_COMBO, DialogAction::kSelectItem, nullptr, 0},
      {IDC_TEXT_EDIT, DialogAction::kSetText, "abc", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_TEXT_EDIT, DialogAction::kSetText, "longer one", 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "longer one", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  CProtectDlg dialog;
  bool stalled = true;
  EXPECT_EQ(RunProtect(&dialog, steps, 8, &stalled), IDOK);
  EXPECT_FALSE(stalled);
  // No, then Yes and the short password, then Yes again and success.
  ASSERT_EQ(boxes.texts.size(), 4u);
  EXPECT_EQ(boxes.types[0], UINT(MB_TASKMODAL | MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION));
  EXPECT_EQ(boxes.texts[2], kTooShort);
  EXPECT_EQ(boxes.texts[3], boxes.texts[0]);
  EXPECT_EQ(JoinProtectionMode(dialog.choice), 1);
}

TEST(ProtectDialog, NoProtectionEndsAtOnceWhateverTheEditsHold) {
  AnsweredBoxes boxes;
  ScopedBoxAnswers answers(&boxes);
  const DialogScriptStep steps[] = {
      {IDC_SECOND_EDIT, DialogAction::kSetText, "mismatch", 0},
      {IDC_SECOND_RADIO, DialogAction::kSetCheck, nullptr, 0},
      {IDC_FIRST_RADIO, DialogAction::kSetCheck, nullptr, 1},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  CProtectDlg dialog;
  std::snprintf(dialog.password, sizeof dialog.password, "%s", "kept secret");
  bool stalled = true;
  EXPECT_EQ(RunProtect(&dialog, steps, 4, &stalled), IDOK);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(dialog.choice.protect, 0u);
  EXPECT_STREQ(dialog.password, "kept secret");
}

TEST(PasswordDialog, ReadOnlyIsOfferedOnlyWhenTheFileAllowsIt) {
  CPasswordDlg closed(false);
  Options.Opacity = 50;  // every dialog takes the opacity option as it opens
  HWND hwnd = closed.Create(nullptr);
  Options.Opacity = 100;
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_SIDE_BUTTON)));
  EXPECT_NE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  DestroyWindow(hwnd);

  const DialogScriptStep readOnly[] = {{IDC_SIDE_BUTTON, DialogAction::kPress, nullptr, 0}};
  const DialogScriptStep typed[] = {{IDC_TEXT_EDIT, DialogAction::kSetText, "pass word", 0},
                                    {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_PASSWORD, readOnly, 1, false, false, 0};
  SetDialogScripts(&script, 1);
  CPasswordDlg open(true);
  EXPECT_EQ(open.DoModal(nullptr), IDOK);
  EXPECT_EQ(open.readOnlyChosen, 1);
  EXPECT_STREQ(open.password, "");

  script = DialogScript{IDD_PASSWORD, typed, 2, false, false, 0};
  CPasswordDlg again(true);
  EXPECT_EQ(again.DoModal(nullptr), IDOK);
  SetDialogScripts(nullptr, 0);
  EXPECT_EQ(again.readOnlyChosen, 0);
  EXPECT_STREQ(again.password, "pass word");
}

}  // namespace
