#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/xbase/xbase_dialogs.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/dialog_script.h"
#include "resources/resource_ids.h"
#include "tests/dialogs/dialog_test_support.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

void SetField(uint8_t* field, const char* name, char type, uint8_t length, uint8_t decimals) {
  std::memcpy(field, name, std::strlen(name));
  field[kXBaseFieldType] = static_cast<uint8_t>(type);
  field[kXBaseFieldLength] = length;
  field[kXBaseFieldDecimals] = decimals;
}

void MakeTable(XBaseTable* table, uint8_t dialect) {
  table->fieldDescriptors = static_cast<uint8_t*>(std::calloc(kXBaseMaxFields, kXBaseFieldSize));
  table->dialect = dialect;
  table->header[1] = 109, table->header[2] = 3, table->header[3] = 5;
  table->header[4] = 120;
  table->header[8] = 32 + 3 * 32;
  SetField(table->fieldDescriptors, "NAME", 'C', 40, 0);
  SetField(table->fieldDescriptors + 32, "PRICE", 'N', 10, 2);
  SetField(table->fieldDescriptors + 64, "PAID", 'L', 1, 0);
}

TEST(XBaseFileDialog, OpeningShowsTheTableWithoutEditing) {
  InitCommonControlClasses();
  XBaseTable table;
  MakeTable(&table, 4);
  table.codePage = 3;
  CXBaseFileDlg dialog(&table, "C:\\DATA\\NAME.DBF", false);
  EXPECT_STREQ(dialog.DisplayName(), "name.dbf");
  HWND hwnd = dialog.Create(nullptr);
  ASSERT_NE(hwnd, nullptr);
  char caption[64];
  GetWindowTextA(hwnd, caption, sizeof caption);
  EXPECT_STREQ(caption, "Open dBase IV File");
  EXPECT_EQ(ControlText(hwnd, IDC_PATH_TEXT), "name.dbf,  120 record(s),  last saved: 3/5/2009");
  EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_FIELD_LIST, LB_GETCOUNT, 0, 0), 3);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_SIDE_BUTTON)));
  EXPECT_EQ(IsDlgButtonChecked(hwnd, IDC_SECOND_RADIO), BST_CHECKED);
  ShowWindow(hwnd, SW_SHOW);
  PumpMessages();
  SaveClientScreenshot(hwnd, "dialogs_xbase_file");

  CheckDlgButton(hwnd, IDC_SECOND_RADIO, BST_UNCHECKED);
  CheckDlgButton(hwnd, IDC_FIRST_RADIO, BST_CHECKED);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(table.codePage, 2);
}

TEST(XBaseFieldDialog, TypeChoiceFixesLengthsAndOkRefusesBadNumbers) {
  InitCommonControlClasses();
  AnsweredBoxes boxes;
  ScopedBoxAnswers answers(&boxes);
  CXbaseFieldDlg dialog("NAME", 'C', 40, 0);
  HWND hwnd = dialog.Create(nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(ControlText(hwnd, IDC_SECOND_EDIT), "40");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_SECOND_EDIT)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_DECIMALS_EDIT)));

  const auto choose = [&](int item) {
    SendDlgItemMessageA(hwnd, IDC_KIND_COMBO, CB_SETCURSEL, item, 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_KIND_COMBO, CBN_CLOSEUP), 0);
  };
  choose(3);  // Logical
  EXPECT_EQ(ControlText(hwnd, IDC_SECOND_EDIT), "1");
  EXPECT_EQ(ControlText(hwnd, IDC_DECIMALS_EDIT), "0");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_SECOND_EDIT)));
  choose(1);  // Numeric
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_SECOND_EDIT)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_DECIMALS_EDIT)));

  // The up-down control steps the length and stays at its middle.
  NMUPDOWN spin{};
  spin.hdr.hwndFrom = GetDlgItem(hwnd, IDC_LENGTH_SPIN);
  spin.hdr.idFrom = IDC_LENGTH_SPIN;
  spin.hdr.code = UDN_DELTAPOS;
  spin.iDelta = 4;
  SendMessageA(hwnd, WM_NOTIFY, IDC_LENGTH_SPIN, reinterpret_cast<LPARAM>(&spin));
  EXPECT_EQ(ControlText(hwnd, IDC_SECOND_EDIT), "5");

  for (const char* bad : {"0", "40000", "x"}) {
    SetDlgItemTextA(hwnd, IDC_SECOND_EDIT, bad);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(IsWindow(hwnd)) << bad;
    EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_SECOND_EDIT)) << bad;
  }
  EXPECT_EQ(boxes.texts, std::vector<std::string>(3, "Please enter an integer between 1 and 32767."));
  SetDlgItemTextA(hwnd, IDC_SECOND_EDIT, "30");
  SetDlgItemTextA(hwnd, IDC_DECIMALS_EDIT, "2");
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(dialog.Values().type, 'N');
  EXPECT_EQ(dialog.Values().length, 30);
  EXPECT_EQ(dialog.Values().decimals, 2);
}

TEST(XBaseFileDialog, SavingEditsAFieldThroughTheFieldDialog) {
  InitCommonControlClasses();
  AnsweredBoxes boxes;
  ScopedBoxAnswers answers(&boxes);
  XBaseTable table;
  MakeTable(&table, 3);
  const DialogScriptStep fieldSteps[] = {
      {IDC_TEXT_EDIT, DialogAction::kSetText, "TITLE", 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "300", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  const DialogScriptStep fileSteps[] = {
      {IDC_FIELD_LIST, DialogAction::kSelectItem, nullptr, 0},
      {IDC_SIDE_BUTTON, DialogAction::kPress, nullptr, 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript scripts[2] = {{IDD_XBASE_FIELD, fieldSteps, 3, false, false, 0},
                             {IDD_XBASE_FILE, fileSteps, 3, false, false, 0}};
  SetDialogScripts(scripts, 2);
  CXBaseFileDlg dialog(&table, "C:\\DATA\\NAME.DBF", true);
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(scripts[0].ran);
  EXPECT_FALSE(scripts[0].stalled || scripts[1].stalled);
  // A dBase III+ character field holds at most 254 characters, as the
  // user is told.
  EXPECT_STREQ(reinterpret_cast<const char*>(table.fieldDescriptors), "TITLE");
  EXPECT_EQ(table.fieldDescriptors[kXBaseFieldLength], 254);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{
                             "A Character field is at most 254 characters long: its length is set to 254."});
}

}  // namespace
