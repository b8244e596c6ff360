// The formula composer in a real frame beside a document window: opened
// from its command, functions chosen from its list, parameters taken from
// the selection, and the formula or its value put into the formula bar.

#include "app/document/document_window_fixture.h"

#include <richedit.h>

#include "numerics/numeric_function_table.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/windows/ui_test_support.h"

namespace {

UINT g_menuChoice = 0;
UINT ChooseFromMenu(HMENU, UINT, int, int, HWND, const RECT*) { return g_menuChoice; }

class ComposerTest : public DocumentWindowTest {
 protected:
  void SetUp() override {
    InstallFunctionLibrary();
    DocumentWindowTest::SetUp();
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    frame.SendMessage(WM_COMMAND, ID_VIEW_COMPOSER, 0);
    Pump();
    ASSERT_NE(Composer(), nullptr);
  }
  void TearDown() override {
    SetTrackPopupMenuFunction(nullptr);
    DocumentWindowTest::TearDown();
  }
  HWND Composer() { return frame.Composer().m_hWnd; }
  std::string Text(int id) { return Title(GetDlgItem(Composer(), id)); }
  void Command(UINT id, UINT code = BN_CLICKED) {
    SendMessageA(Composer(), WM_COMMAND, MAKEWPARAM(id, code), 0);
    Pump();
  }
  void ChooseCategory(int category) {
    SendDlgItemMessageA(Composer(), IDC_CATEGORY_COMBO, CB_SETCURSEL, category, 0);
    Command(IDC_CATEGORY_COMBO, CBN_SELCHANGE);
  }
  // A click on the function's name in the list.
  void ClickFunction(const char* name) {
    HWND list = frame.Composer().FunctionList();
    const LRESULT item = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    ASSERT_GE(item, 0) << name;
    SendMessageA(list, LB_SETCURSEL, item, 0);
    PostMessageA(list, WM_LBUTTONUP, 0, 0);
    Pump();
  }
  // The bar's text after it held `before` with the caret at its end.
  std::string InsertInto(const char* before, UINT button) {
    SetWindowTextA(frame.FormulaBar(), before);
    const LRESULT end = GetWindowTextLengthA(frame.FormulaBar());
    SendMessageA(frame.FormulaBar(), EM_SETSEL, end, end);
    Command(button);
    return Title(frame.FormulaBar());
  }

  CChildFrame* doc = nullptr;
};

TEST_F(ComposerTest, FirstOpeningShowsAbsWithItsArgumentHighlighted) {
  EXPECT_EQ(Options.ComposerVisible, 1);
  EXPECT_EQ(Text(IDC_CATEGORY_COMBO), "mathematical");
  EXPECT_EQ(Title(frame.Composer().HelpText()).rfind("abs(x)", 0), 0u);
  EXPECT_EQ(Text(IDC_TEMPLATE_EDIT), "=abs(x)");
  // "x" stands out: bold, 11 points, green.
  HWND templ = GetDlgItem(Composer(), IDC_TEMPLATE_EDIT);
  SendMessageA(templ, EM_SETSEL, 5, 6);
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  SendMessageA(templ, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_TRUE(format.dwEffects & CFE_BOLD);
  EXPECT_EQ(format.yHeight, 220);
  EXPECT_EQ(format.crTextColor, RGB(0, 128, 0));
  SaveClientScreenshot(Composer(), "composer_first_opening");
}

TEST_F(ComposerTest, TheSelectionFillsTheParameterAndTheFormulaGoesIntoTheBar) {
  PutNumber(*doc->Workbook(), 1, 1, 2.5);
  doc->SetCursorCell(1, 1);
  Pump();
  Command(ID_SELECT_CELL_ADDRESS);
  EXPECT_EQ(Text(IDC_FORMULA_EDIT), "=abs(B2)");
  EXPECT_EQ(InsertInto("", IDC_INSERT_FORMULA), "=abs(B2)");
  // Inside a formula being typed the call goes in without its "=".
  EXPECT_EQ(InsertInto("=1+", IDC_INSERT_FORMULA), "=1+abs(B2)");
  EXPECT_EQ(InsertInto("", IDC_INSERT_VALUE), "2.5");

  // A range argument takes a one-cell selection as a range.
  ClickFunction("mDeterm");
  Command(ID_SELECT_CELL_ADDRESS);
  EXPECT_EQ(Text(IDC_FORMULA_EDIT), "=mDeterm(B2:B2)");

  // The toolbar's menu offers the worksheet's path with the address.
  SetTrackPopupMenuFunction(ChooseFromMenu);
  g_menuChoice = ID_SELECT_SHEET_ADDRESS;
  NMTOOLBARA drop{};
  drop.hdr.hwndFrom = frame.Composer().ToolBar();
  drop.hdr.code = TBN_DROPDOWN;
  drop.iItem = ID_SELECT_CELL_ADDRESS;
  SendMessageA(Composer(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
  Pump();
  EXPECT_EQ(Text(IDC_FORMULA_EDIT), "=mDeterm(\\Worksheet1!B2:B2)");

  // A formula that gives an error puts the error's name into the bar.
  SetDlgItemTextA(Composer(), IDC_FORMULA_EDIT, "=1/0");
  EXPECT_EQ(InsertInto("", IDC_INSERT_VALUE), "#DIV/0!");
}

TEST_F(ComposerTest, AVariadicCallGrowsToFortyFiveParametersOnly) {
  ClickFunction("sum");
  EXPECT_EQ(Text(IDC_TEMPLATE_EDIT), "=sum(v1)");
  Command(ID_NEXT_PARAMETER);
  EXPECT_EQ(Text(IDC_TEMPLATE_EDIT), "=sum(v1, v2)");
  for (int i = 0; i < 44; ++i) Command(ID_NEXT_PARAMETER);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "The maximum number of arguments is 45.");
  EXPECT_NE(Text(IDC_TEMPLATE_EDIT).find(", v45)"), std::string::npos);
  // The formula keeps its text until the next value.
  EXPECT_EQ(Text(IDC_FORMULA_EDIT), "=sum()");
}

TEST_F(ComposerTest, ReopeningShowsTheVariadicFunctionWithOneMoreParameter) {
  ChooseCategory(3);
  ClickFunction("npv");
  EXPECT_EQ(Text(IDC_TEMPLATE_EDIT), "=npv(rate)");
  Command(IDCANCEL);
  EXPECT_EQ(Composer(), nullptr);
  EXPECT_EQ(Options.ComposerVisible, 0);
  frame.SendMessage(WM_COMMAND, ID_VIEW_COMPOSER, 0);
  Pump();
  ASSERT_NE(Composer(), nullptr);
  EXPECT_EQ(Text(IDC_CATEGORY_COMBO), "financial");
  EXPECT_EQ(Text(IDC_TEMPLATE_EDIT), "=npv(rate, v1)");

  // Without a document the composer goes, and comes back with the next one.
  doc->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
  Pump();
  EXPECT_EQ(Composer(), nullptr);
  EXPECT_EQ(Options.ComposerVisible, 1);
  ASSERT_NE(NewDocument(), nullptr);
  Pump();
  EXPECT_NE(Composer(), nullptr);
}

// Escape closes the composer from whichever of its parts the user clicked
// into, the help text and the function list below the splitter included.
TEST_F(ComposerTest, EscapeClosesItFromEveryPart) {
  const struct {
    const char* name;
    HWND (*part)(CComposerDlg&);
    bool click;  // a click would open the combo's list, which Escape closes first
  } parts[] = {
      {"help text", [](CComposerDlg& c) { return c.HelpText(); }, true},
      {"function list", [](CComposerDlg& c) { return c.FunctionList(); }, true},
      {"category", [](CComposerDlg& c) { return GetDlgItem(c.m_hWnd, IDC_CATEGORY_COMBO); }, false},
      {"template", [](CComposerDlg& c) { return GetDlgItem(c.m_hWnd, IDC_TEMPLATE_EDIT); }, true},
      {"formula", [](CComposerDlg& c) { return GetDlgItem(c.m_hWnd, IDC_FORMULA_EDIT); }, true},
  };
  for (const auto& p : parts) {
    if (Composer() == nullptr) {
      frame.SendMessage(WM_COMMAND, ID_VIEW_COMPOSER, 0);
      Pump();
    }
    ASSERT_NE(Composer(), nullptr) << p.name;
    HWND part = p.part(frame.Composer());
    ASSERT_NE(part, nullptr) << p.name;
    if (p.click) {
      PostMessageA(part, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
      PostMessageA(part, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
      Pump();
    }
    SetFocus(part);
    ASSERT_TRUE(GetFocus() == part || IsChild(part, GetFocus())) << p.name;
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    Pump();
    EXPECT_EQ(Composer(), nullptr) << p.name;
    EXPECT_EQ(Options.ComposerVisible, 0) << p.name;
    if (Composer() != nullptr) {
      // Still open: its panes must not have gone from under it.
      EXPECT_TRUE(IsWindow(frame.Composer().HelpText())) << p.name;
      Command(IDCANCEL);
    }
  }
}

// Whether window a stands above window b in the z-order of top-level windows.
bool Above(HWND a, HWND b) {
  for (HWND w = GetWindow(b, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV))
    if (w == a) return true;
  return false;
}

// The composer is a tool window of the frame: a click in the grid leaves
// it above the frame.
TEST_F(ComposerTest, StaysAboveTheFrameWhenTheGridIsClicked) {
  EXPECT_EQ(GetWindow(Composer(), GW_OWNER), frame.m_hWnd);
  EXPECT_TRUE(Above(Composer(), frame.m_hWnd)) << "when shown";
  CChildFrame* doc = frame.GetActiveChildFrame();
  ASSERT_NE(doc, nullptr);
  CDocumentView* view = doc->GetActiveView();
  const RECT r = view->GetRangeRect(SelectionRange{2, 3, 2, 3});
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  view->PostMessage(WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_TRUE(IsWindowVisible(Composer()));
  EXPECT_TRUE(Above(Composer(), frame.m_hWnd)) << "after the click";
  SetActiveWindow(frame.m_hWnd);
  Pump();
  EXPECT_TRUE(Above(Composer(), frame.m_hWnd)) << "after the frame is activated";
}

}  // namespace
