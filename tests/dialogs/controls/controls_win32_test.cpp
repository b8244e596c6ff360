#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "dialogs/controls/color_items.h"
#include "dialogs/controls/location_combo.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/parsed_edit.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

constexpr COLORREF kByDefault = RGB(10, 20, 30);

HWND CreateCombo(HWND parent, int id, int top) {
  return CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL,
                         10, top, 160, 200, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(owner_.CreateTopLevel("controls", 400, 300), nullptr);
  }
  MessageLog log_;
  CLoggingWindow owner_{&log_, 1};
};

TEST_F(Controls, PatternAndLineListsOfferWhatTheyAreAskedFor) {
  CPatternComboBox patterns;
  ASSERT_TRUE(patterns.SubclassWindow(CreateCombo(owner_, 101, 10)));
  patterns.Fill(3, false, true);
  EXPECT_EQ(patterns.SendMessage(CB_GETCOUNT), 2);  // gradients only come with the patterns
  EXPECT_EQ(patterns.SelectedValue(), 3u);          // none selected: the stored value
  patterns.Fill(3, true, false);
  EXPECT_EQ(patterns.SendMessage(CB_GETCOUNT), 19);
  patterns.Fill(21, true, true);
  EXPECT_EQ(patterns.SendMessage(CB_GETCOUNT), 23);
  EXPECT_EQ(patterns.SelectedValue(), 21u);

  CLineComboBox lines;
  ASSERT_TRUE(lines.SubclassWindow(CreateCombo(owner_, 102, 40)));
  lines.Fill(7, false);
  EXPECT_EQ(lines.SendMessage(CB_GETCOUNT), 6);
  EXPECT_EQ(lines.SendMessage(CB_GETCURSEL), CB_ERR);
  lines.Fill(7, true);
  EXPECT_EQ(lines.SendMessage(CB_GETCOUNT), 9);
  EXPECT_EQ(lines.SelectedValue(), 7u);

  CSymbolComboBox symbols;
  ASSERT_TRUE(symbols.SubclassWindow(CreateCombo(owner_, 103, 70)));
  symbols.Fill(15);
  EXPECT_EQ(symbols.SendMessage(CB_GETCOUNT), 15);
  // Dropped lists draw every item through the reflected WM_DRAWITEM.
  symbols.SendMessage(CB_SHOWDROPDOWN, TRUE);
  PumpMessages();
  SaveClientScreenshot(owner_, "dialogs_symbol_combo");
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(symbols, &info)) SaveClientScreenshot(info.hwndList, "dialogs_symbol_list");
  symbols.SendMessage(CB_SHOWDROPDOWN, FALSE);
}

TEST_F(Controls, ColourListSelectsPaletteDefaultOrCustom) {
  CColorComboBox colours;
  ASSERT_TRUE(colours.SubclassWindow(CreateCombo(owner_, 104, 10)));
  colours.SetColor(RGB(128, 128, 128), kByDefault, false);
  EXPECT_EQ(colours.SendMessage(CB_GETCOUNT), kColorItemCount);
  EXPECT_EQ(colours.SendMessage(CB_GETCURSEL), 7);
  EXPECT_FALSE(colours.IsDefault());

  colours.SetColor(RGB(1, 2, 3), kByDefault, false);
  EXPECT_EQ(colours.SendMessage(CB_GETCURSEL), kColorItemCustom);
  EXPECT_EQ(colours.GetColor(), RGB(1, 2, 3));
  EXPECT_EQ(colours.SendMessage(CB_GETCOUNT), kColorItemCount);  // filled once

  colours.SetColor(kByDefault, kByDefault, false);
  EXPECT_TRUE(colours.IsDefault());

  CPatternComboBox pattern;
  ASSERT_TRUE(pattern.SubclassWindow(CreateCombo(owner_, 105, 40)));
  pattern.Fill(2, true, true);
  CColorComboBox second;
  ASSERT_TRUE(second.SubclassWindow(CreateCombo(owner_, 106, 70)));
  second.SetColor(RGB(255, 0, 0), kByDefault, false);
  FillRecord fill;
  ReadThreeCombos(pattern, colours, second, &fill);
  EXPECT_EQ(fill.pattern, 2);
  EXPECT_EQ(fill.patternColorSet, 0);
  EXPECT_EQ(fill.backgroundColorSet, 1);
  EXPECT_EQ(fill.backgroundColor, RGB(255, 0, 0));

  CLineComboBox line;
  ASSERT_TRUE(line.SubclassWindow(CreateCombo(owner_, 107, 100)));
  line.Fill(3, false);
  BorderLine border;
  ReadTwoCombos(line, second, &border);
  EXPECT_EQ(border.style, 3);
  EXPECT_EQ(border.colorSet, 1);
  EXPECT_EQ(border.color, RGB(255, 0, 0));
  colours.SendMessage(CB_SHOWDROPDOWN, TRUE);
  PumpMessages();
  SaveClientScreenshot(owner_, "dialogs_colour_combo");
  colours.SendMessage(CB_SHOWDROPDOWN, FALSE);
}

CHOOSECOLORA g_asked;
BOOL WINAPI ChooseGreen(CHOOSECOLORA* choose) {
  g_asked = *choose;
  choose->rgbResult = RGB(0, 200, 0);
  return TRUE;
}
BOOL WINAPI CancelColour(CHOOSECOLORA*) { return FALSE; }

TEST_F(Controls, ClosingOnCustomAsksForAColourAndTellsTheParent) {
  CColorComboBox colours;
  HWND combo = CreateCombo(owner_, 108, 10);
  ASSERT_TRUE(colours.SubclassWindow(combo));
  colours.SetColor(RGB(1, 2, 3), kByDefault, false);
  CColorComboBox::ChooseColorFunction previous = CColorComboBox::SetChooseColorFunction(CancelColour);
  log_.Clear();
  SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(108, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(colours.GetColor(), RGB(1, 2, 3));
  const int commandsAfterCancel = log_.CountOf(1, WM_COMMAND);

  CColorComboBox::SetChooseColorFunction(ChooseGreen);
  SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(108, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
  CColorComboBox::SetChooseColorFunction(previous);
  EXPECT_EQ(g_asked.rgbResult, RGB(1, 2, 3));
  EXPECT_EQ(g_asked.Flags & (CC_FULLOPEN | CC_RGBINIT), DWORD(CC_FULLOPEN | CC_RGBINIT));
  EXPECT_EQ(colours.GetColor(), RGB(0, 200, 0));
  EXPECT_EQ(colours.SendMessage(CB_GETITEMDATA, kColorItemCustom), LRESULT(RGB(0, 200, 0)));
  // The closing command itself and the CBN_SELENDOK that follows the choice.
  EXPECT_EQ(log_.CountOf(1, WM_COMMAND), commandsAfterCancel + 2);
}

TEST_F(Controls, ParsedEditSwallowsForeignCharactersAndSteps) {
  HWND edit = CreateWindowExA(0, "EDIT", "12", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, owner_, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  CParsedEdit parsed(kParsedInteger, 0, 20);
  ASSERT_TRUE(parsed.SubclassWindow(edit));
  SendMessageA(edit, EM_SETSEL, 2, 2);
  SendMessageA(edit, WM_CHAR, 'a', 0);
  char text[32];
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "12");
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  SendMessageA(edit, WM_CHAR, '9', 0);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "19");
  EXPECT_EQ(parsed.Step(3), 1);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "20");
  SetWindowTextA(edit, "x");
  EXPECT_EQ(parsed.Step(1), 0);
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "x");
}

}  // namespace

namespace {

TEST_F(Controls, EnterInTheNameBoxAsksTheFrameToGo) {
  HWND comboEx = CreateWindowExA(0, WC_COMBOBOXEXA, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 160, 200,
                                 owner_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1045)),
                                 GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(comboEx, nullptr);
  CLocationCombo location;
  ASSERT_TRUE(location.Attach(comboEx));
  HWND edit = reinterpret_cast<HWND>(SendMessageA(comboEx, CBEM_GETEDITCONTROL, 0, 0));
  log_.Clear();
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  const int at = log_.Find(1, WM_COMMAND);
  ASSERT_GE(at, 0);
  EXPECT_EQ(LOWORD(log_.At(at).wp), 32849);
}

}  // namespace
