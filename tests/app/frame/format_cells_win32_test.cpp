// The format-cells sheet in a real main frame with a document window: opened
// from its command on a formatted cell, its pages read back, and one control
// of each page changed as a user changes it, each change one undo step.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/document/document_window_fixture.h"
#include "core/workbook/workbook.h"
#include "dialogs/format_cells/alignment_page_rules.h"
#include "dialogs/format_cells/border_preview_rules.h"
#include "dialogs/format_cells/font_page_rules.h"
#include "dialogs/format_cells/format_prop_sheet.h"
#include "dialogs/format_cells/selection_appliers.h"
#include "dialogs/number_format/num_format_dlg.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

std::string Text(HWND window) {
  char text[1100] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

int Selected(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  const bool list = lstrcmpiA(name, "ListBox") == 0;
  return static_cast<int>(SendMessageA(control, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

uint32_t SelectedData(HWND combo) {
  const LRESULT item = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  return item == CB_ERR ? 0xFFFFFFFFu : static_cast<uint32_t>(SendMessageA(combo, CB_GETITEMDATA, item, 0));
}

bool Checked(HWND toolbar, UINT command) { return SendMessageA(toolbar, TB_ISBUTTONCHECKED, command, 0) != 0; }

class FormatCellsTest : public DocumentWindowTest {
 protected:
  void TearDown() override {
    SetDialogScripts(nullptr, 0);
    DocumentWindowTest::TearDown();
  }
  CWorkBook& Book() { return *frame.GetActiveWorkbook(); }
  CFormatPropSheet& Sheet() { return frame.FormatSheet(); }
  const StyleRecord& CellStyle(uint32_t row, uint16_t column) {
    return Book().styles.StyleAt(Book().activeWorksheet->format.CellStyle(row, column));
  }
  const FontRecord& CellFont(uint32_t row, uint16_t column) {
    return Book().styles.FontAt(CellStyle(row, column).fontIndex);
  }
  int32_t Steps() { return Book().undoHistory.Current(); }
  void Select(uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn, uint32_t lastRow) {
    frame.GetActiveChildFrame()->GetActiveView()->m_selection =
        GridSelection{firstColumn, firstRow, lastColumn, lastRow, 0, firstColumn, firstRow};
    frame.UpdateUI();
    Pump();
  }
  void ShowTab(int index) {
    SendMessageA(Sheet().Tabs(), TCM_SETCURSEL, index, 0);
    NMHDR header{Sheet().Tabs(), IDC_SHEET_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    Sheet().SendMessage(WM_NOTIFY, IDC_SHEET_TABS, reinterpret_cast<LPARAM>(&header));
    Pump();
  }
  HWND PageWindow(int index) { return Sheet().Page(index)->Dialog().m_hWnd; }
  // A list or combo box of a page changed by the user: focused, set, and
  // the notification its parent gets.
  void Choose(HWND parent, int id, int item, WORD code) {
    HWND control = GetDlgItem(parent, id);
    SetFocus(control);
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    SendMessageA(control, lstrcmpiA(name, "ListBox") == 0 ? LB_SETCURSEL : CB_SETCURSEL, item, 0);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    Pump();
  }
  void Press(HWND page, HWND toolbar, UINT command) {
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    Pump();
  }
  void Type(HWND parent, int id, const char* text) {
    HWND edit = GetDlgItem(parent, id);
    SetFocus(edit);
    SetWindowTextA(edit, text);
    Pump();
  }
  // Cell B2 in every attribute the pages show.
  void FormatB2() {
    StyleRecord style = StyleRecord::Default();
    style.numFormat.category = kNumFormatCurrency;
    std::strcpy(style.numFormat.options.currency.symbol, "$");
    style.numFormat.options.currency.decimals = 4;
    style.fontColorSet = 1;
    style.fontColor = RGB(255, 0, 0);
    style.alignment = {kVAlignNone, kHAlignRight, 5, 3, 1, 0, 30, 0};
    style.borders.sides = kBorderTop | kBorderLeft;
    style.borders.line = {6, 1, {}, RGB(0, 0, 255)};
    style.interior = {3, 1, {}, RGB(0, 255, 0), 1, {}, RGB(255, 255, 0)};
    FontRecord font = Book().styles.FontAt(0);
    font.size = 14;
    font.weight = kFontWeightBold;
    font.italic = 1;
    CWorkSheet* sheet = Book().activeWorksheet;
    for (int kind : {kApplyNumberFormat, kApplyWholeFont, kApplyFontColor, kApplyAlignment, kApplyBorders,
                     kApplyInterior})
      ASSERT_TRUE(Book().ApplyFormatToRange(&Book().styles, 1, 1, 1, 1, &sheet->format, kind, style, font));
  }
  CChildFrame* OpenOnFormattedCell() {
    CChildFrame* doc = NewDocument();
    EXPECT_NE(doc, nullptr);
    if (doc == nullptr) return nullptr;
    FormatB2();
    Select(1, 1, 1, 1);
    frame.SendMessage(WM_COMMAND, ID_FORMAT_CELLS, 0);
    Pump();
    return doc;
  }
};

TEST_F(FormatCellsTest, EveryPageShowsTheFormattedCellAndLoadingAppliesNothing) {
  CChildFrame* doc = OpenOnFormattedCell();
  ASSERT_NE(doc, nullptr);
  ASSERT_NE(Sheet().m_hWnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(Sheet().m_hWnd));
  EXPECT_EQ(Text(Sheet().m_hWnd), "Cell Format");
  EXPECT_EQ(Options.CellFormatVisible, 1);
  // A tool window, not a dialog in the middle of something: auto-save goes on.
  SetActiveWindow(Sheet().m_hWnd);
  Pump();
  EXPECT_FALSE(frame.PopupActive());
  const int32_t steps = Steps();
  char tab[32] = {};
  const char* const names[] = {"Style", "Font", "Alignment", "Border", "Background"};
  for (int i = 0; i < CFormatPropSheet::kPageCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = tab;
    item.cchTextMax = sizeof tab;
    SendMessageA(Sheet().Tabs(), TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(names[i], tab);
  }

  ShowTab(CFormatPropSheet::kStyle);
  HWND style = PageWindow(CFormatPropSheet::kStyle);
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(Selected(GetDlgItem(style, IDC_FIRST_COMBO)), kNumFormatCurrency);
  EXPECT_EQ(Text(GetDlgItem(style, IDC_TEXT_EDIT)), "\\$#,##0.0000");
  CNumFormatSubPage* options = Sheet().stylePage.ShownSubPage();
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->Category(), kNumFormatCurrency);
  EXPECT_EQ(Selected(GetDlgItem(options->m_hWnd, IDC_FIRST_COMBO)), 4);
  EXPECT_EQ(Text(GetDlgItem(options->m_hWnd, IDC_THIRD_COMBO)), "$");
  SaveClientScreenshot(Sheet().m_hWnd, "format_cells_style");

  ShowTab(CFormatPropSheet::kFont);
  HWND font = PageWindow(CFormatPropSheet::kFont);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(Selected(GetDlgItem(font, IDC_SIZE_LIST)), FontSizeIndex(14));
  EXPECT_TRUE(Checked(Sheet().fontPage.ToolBar(), ID_FONT_BOLD));
  EXPECT_TRUE(Checked(Sheet().fontPage.ToolBar(), ID_FONT_ITALIC));
  EXPECT_FALSE(Checked(Sheet().fontPage.ToolBar(), ID_FONT_UNDERLINE));
  EXPECT_EQ(SelectedData(GetDlgItem(font, IDC_FIRST_COMBO)), RGB(255, 0, 0));
  EXPECT_GT(SendMessageA(GetDlgItem(font, IDC_ITEM_LIST), LB_GETCOUNT, 0, 0), 0);
  SaveClientScreenshot(Sheet().m_hWnd, "format_cells_font");

  ShowTab(CFormatPropSheet::kAlignment);
  HWND alignment = PageWindow(CFormatPropSheet::kAlignment);
  ASSERT_NE(alignment, nullptr);
  HWND bar = Sheet().alignmentPage.ToolBar();
  EXPECT_TRUE(Checked(bar, kAlignRight));
  EXPECT_TRUE(Checked(bar, kOverflowWrap));
  EXPECT_FALSE(Checked(bar, kOverflowIntoNeighbours));
  EXPECT_FALSE(Checked(bar, kAlignTop));
  EXPECT_EQ(Selected(GetDlgItem(alignment, IDC_FIRST_COMBO)), 5);
  EXPECT_EQ(Selected(GetDlgItem(alignment, IDC_SECOND_COMBO)), 3);
  EXPECT_EQ(SendMessageA(GetDlgItem(alignment, IDC_ROTATION_TRACK), TBM_GETPOS, 0, 0), 3);
  EXPECT_EQ(Text(GetDlgItem(alignment, IDC_FRAME_STATIC)), "30 degrees");
  SaveClientScreenshot(Sheet().m_hWnd, "format_cells_alignment");

  ShowTab(CFormatPropSheet::kBorder);
  HWND border = PageWindow(CFormatPropSheet::kBorder);
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(SelectedData(GetDlgItem(border, IDC_FIRST_COMBO)), 6u);
  EXPECT_EQ(SelectedData(GetDlgItem(border, IDC_SECOND_COMBO)), RGB(0, 0, 255));
  EXPECT_NE(Sheet().borderPage.Preview(), nullptr);
  EXPECT_EQ(Sheet().borderPage.style.borders.sides, kBorderTop | kBorderLeft);
  SaveClientScreenshot(Sheet().m_hWnd, "format_cells_border");

  ShowTab(CFormatPropSheet::kBackground);
  HWND background = PageWindow(CFormatPropSheet::kBackground);
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(SelectedData(GetDlgItem(background, IDC_FIRST_COMBO)), 3u);
  EXPECT_EQ(SelectedData(GetDlgItem(background, IDC_SECOND_COMBO)), RGB(0, 255, 0));
  EXPECT_EQ(SelectedData(GetDlgItem(background, IDC_THIRD_COMBO)), RGB(255, 255, 0));
  SaveClientScreenshot(Sheet().m_hWnd, "format_cells_background");

  // Only the shown page has a window; visiting them changed nothing.
  EXPECT_EQ(PageWindow(CFormatPropSheet::kStyle), nullptr);
  EXPECT_EQ(Steps(), steps);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(Options.CellFormatPage, CFormatPropSheet::kBackground);

  // The command closes it again, and Esc as well.
  frame.SendMessage(WM_COMMAND, ID_FORMAT_CELLS, 0);
  Pump();
  EXPECT_EQ(Sheet().m_hWnd, nullptr);
  EXPECT_EQ(Options.CellFormatVisible, 0);
  frame.SendMessage(WM_COMMAND, ID_FORMAT_CELLS, 0);
  Pump();
  ASSERT_NE(Sheet().m_hWnd, nullptr);
  EXPECT_NE(PageWindow(CFormatPropSheet::kBackground), nullptr);
  Sheet().SendMessage(WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_EQ(Sheet().m_hWnd, nullptr);
  EXPECT_EQ(Options.CellFormatVisible, 0);
}

TEST_F(FormatCellsTest, OneControlOfEachPageChangesTheCellWithOneUndoStep) {
  CChildFrame* doc = OpenOnFormattedCell();
  ASSERT_NE(doc, nullptr);
  const auto step = [&](const char* what, const std::function<void()>& change, const std::function<bool()>& done,
                        int steps) {
    SCOPED_TRACE(what);
    const int32_t before = Steps();
    change();
    EXPECT_TRUE(done());
    EXPECT_EQ(Steps(), before + steps);
  };

  ShowTab(CFormatPropSheet::kStyle);
  HWND style = PageWindow(CFormatPropSheet::kStyle);
  step("percent", [&] { Choose(style, IDC_FIRST_COMBO, kNumFormatPercent, CBN_SELCHANGE); },
       [&] { return CellStyle(1, 1).numFormat.category == kNumFormatPercent; }, 1);
  EXPECT_TRUE(doc->IsModified());
  ASSERT_TRUE(Book().UndoStep());
  EXPECT_EQ(CellStyle(1, 1).numFormat.category, kNumFormatCurrency);

  ShowTab(CFormatPropSheet::kFont);
  step("bold off", [&] { Press(PageWindow(CFormatPropSheet::kFont), Sheet().fontPage.ToolBar(), ID_FONT_BOLD); },
       [&] { return CellFont(1, 1).weight == kFontWeightNormal && CellFont(1, 1).italic == 1; }, 1);
  EXPECT_FALSE(Checked(Sheet().fontPage.ToolBar(), ID_FONT_BOLD));
  // The default font resets the font but keeps the cells' colour.
  step("default font",
       [&] {
         SendMessageA(PageWindow(CFormatPropSheet::kFont), WM_COMMAND, MAKEWPARAM(IDC_DEFAULT_FONT, BN_CLICKED), 0);
         Pump();
       },
       [&] { return CellFont(1, 1).italic == 0 && CellFont(1, 1).size == 10 && CellStyle(1, 1).fontColor == RGB(255, 0, 0); },
       1);

  ShowTab(CFormatPropSheet::kAlignment);
  HWND alignment = PageWindow(CFormatPropSheet::kAlignment);
  HWND bar = Sheet().alignmentPage.ToolBar();
  step("align left", [&] { Press(alignment, bar, kAlignLeft); },
       [&] { return CellStyle(1, 1).alignment.horizontal == kHAlignLeft; }, 1);
  step("align left again", [&] { Press(alignment, bar, kAlignLeft); },
       [&] { return CellStyle(1, 1).alignment.horizontal == kHAlignNone && CellStyle(1, 1).alignment.wrapText == 1; },
       1);
  HWND track = GetDlgItem(alignment, IDC_ROTATION_TRACK);
  step("thumb dragged",
       [&] {
         SendMessageA(track, TBM_SETPOS, TRUE, -5);
         SendMessageA(alignment, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, -5), reinterpret_cast<LPARAM>(track));
         Pump();
       },
       [&] { return Text(GetDlgItem(alignment, IDC_FRAME_STATIC)) == "-50 degrees" && CellStyle(1, 1).alignment.rotation == 30; },
       0);
  step("thumb released",
       [&] {
         SendMessageA(alignment, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, -5), reinterpret_cast<LPARAM>(track));
         SendMessageA(alignment, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(track));
         Pump();
       },
       [&] { return CellStyle(1, 1).alignment.rotation == -50; }, 1);

  ShowTab(CFormatPropSheet::kBorder);
  HWND border = PageWindow(CFormatPropSheet::kBorder);
  step("no line", [&] { Choose(border, IDC_FIRST_COMBO, 0, CBN_SELENDOK); },
       [&] { return CellStyle(1, 1).borders.sides == 0; }, 1);
  // A side clicked with no line style still gives an empty mask.
  HWND preview = Sheet().borderPage.Preview();
  RECT client{};
  GetClientRect(preview, &client);
  step("top clicked",
       [&] {
         SendMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, kPreviewInset));
         Pump();
       },
       [&] { return CellStyle(1, 1).borders.sides == 0; }, 1);
  step("solid line", [&] { Choose(border, IDC_FIRST_COMBO, 1, CBN_SELENDOK); },
       [&] { return CellStyle(1, 1).borders.line.style == 1; }, 1);
  step("key 4",
       [&] {
         SetFocus(preview);
         PostMessageA(preview, WM_KEYDOWN, '4', 0);
         Pump();
       },
       [&] { return CellStyle(1, 1).borders.sides == kBorderLeft; }, 1);

  ShowTab(CFormatPropSheet::kBackground);
  step("no pattern", [&] { Choose(PageWindow(CFormatPropSheet::kBackground), IDC_FIRST_COMBO, 0, CBN_SELENDOK); },
       [&] { return CellStyle(1, 1).interior.pattern == 0; }, 1);
  ASSERT_TRUE(Book().UndoStep());
  EXPECT_EQ(CellStyle(1, 1).interior.pattern, 3);
  EXPECT_TRUE(g_boxes.empty());
}

// Digits toggle sides only while the Border tab is shown.
TEST_F(FormatCellsTest, DigitKeysBelongToTheBorderPage) {
  ASSERT_NE(OpenOnFormattedCell(), nullptr);
  ShowTab(CFormatPropSheet::kAlignment);
  const int32_t steps = Steps();
  PostMessageA(Sheet().Tabs(), WM_KEYDOWN, '1', 0);
  Pump();
  EXPECT_EQ(Steps(), steps);
  ShowTab(CFormatPropSheet::kBorder);
  PostMessageA(Sheet().Tabs(), WM_KEYDOWN, '1', 0);
  Pump();
  EXPECT_EQ(CellStyle(1, 1).borders.sides, kBorderLeft);
  PostMessageA(Sheet().Tabs(), WM_KEYDOWN, '6', 0);
  Pump();
  EXPECT_EQ(CellStyle(1, 1).borders.sides, kBorderLeft | kBorderDiagonalLeft);
  EXPECT_EQ(Steps(), steps + 2);
}

TEST_F(FormatCellsTest, StylePageTypedCodesFractionsAndNamedFormats) {
  ASSERT_NE(OpenOnFormattedCell(), nullptr);
  ShowTab(CFormatPropSheet::kStyle);
  HWND page = PageWindow(CFormatPropSheet::kStyle);
  Type(page, IDC_TEXT_EDIT, "0.000");
  EXPECT_EQ(Selected(GetDlgItem(page, IDC_FIRST_COMBO)), -1);
  EXPECT_EQ(CellStyle(1, 1).numFormat.category, kNumFormatUserPattern);
  EXPECT_STREQ(CellStyle(1, 1).numFormat.code, "0.000");

  Choose(page, IDC_FIRST_COMBO, kNumFormatFraction, CBN_SELCHANGE);
  EXPECT_EQ(CellStyle(1, 1).numFormat.category, kNumFormatFraction);
  CNumFormatSubPage* fraction = Sheet().stylePage.ShownSubPage();
  ASSERT_NE(fraction, nullptr);
  const int32_t steps = Steps();
  Type(fraction->m_hWnd, IDC_TEXT_EDIT, "15");
  EXPECT_EQ(Steps(), steps);
  EXPECT_EQ(GetFocus(), GetDlgItem(fraction->m_hWnd, IDC_TEXT_EDIT));
  Type(fraction->m_hWnd, IDC_TEXT_EDIT, "2");
  EXPECT_EQ(Steps(), steps + 1);
  EXPECT_EQ(CellStyle(1, 1).numFormat.options.fraction.denominatorDigits, 2);

  // A named format made of the code shown, chosen, and deleted again.
  DialogScriptStep name[] = {{IDC_TEXT_EDIT, DialogAction::kSetText, "Halves", 0},
                             {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_STYLE_NAME, name, 2, false, false, 0};
  SetDialogScripts(&script, 1);
  Press(page, Sheet().stylePage.ToolBar(), CNumFormatHost::kNewFormat);
  EXPECT_TRUE(script.ran);
  ASSERT_EQ(Options.Lists->userFormatCount, 1);
  EXPECT_STREQ(Options.Lists->userFormatNames[0], "Halves");
  EXPECT_STREQ(Options.Lists->userFormatPatterns[0], "?\\ ??" "/??");
  EXPECT_EQ(Selected(GetDlgItem(page, IDC_FIRST_COMBO)), kBuiltinCategoryCount);
  Press(page, Sheet().stylePage.ToolBar(), CNumFormatHost::kDeleteFormat);
  EXPECT_EQ(Options.Lists->userFormatCount, 0);
  EXPECT_EQ(Selected(GetDlgItem(page, IDC_FIRST_COMBO)), kNumFormatScientific);
  EXPECT_EQ(CellStyle(1, 1).numFormat.category, kNumFormatScientific);
}

TEST_F(FormatCellsTest, WholeColumnBoldFromTheFontStyleButton) {
  ASSERT_NE(NewDocument(), nullptr);
  Select(2, 0, 2, kMaxRow);
  frame.SendMessage(WM_COMMAND, ID_FONT_BOLD, 0);
  Pump();
  const CWorkSheet* sheet = Book().activeWorksheet;
  EXPECT_EQ(Book().styles.FontAt(Book().styles.StyleAt(sheet->format.columns[2].Style()).fontIndex).weight,
            kFontWeightBold);
  EXPECT_EQ(CellFont(kMaxRow, 2).weight, kFontWeightBold);
  EXPECT_EQ(CellFont(5, 1).weight, kFontWeightNormal);
  frame.SendMessage(WM_COMMAND, ID_FONT_BOLD, 0);
  Pump();
  EXPECT_EQ(CellFont(7, 2).weight, kFontWeightNormal);
  EXPECT_EQ(Steps(), 1);
}

TEST_F(FormatCellsTest, WithoutADocumentNothingHappensAndTheSheetComesBackWithTheNext) {
  frame.SendMessage(WM_COMMAND, ID_FORMAT_CELLS, 0);
  Pump();
  EXPECT_EQ(Sheet().m_hWnd, nullptr);
  StyleRecord style = StyleRecord::Default();
  EXPECT_TRUE(ApplyBorderToSelection(&frame, style, kApplyBorders));
  EXPECT_TRUE(g_boxes.empty());

  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  frame.SendMessage(WM_COMMAND, ID_FORMAT_CELLS, 0);
  Pump();
  ASSERT_NE(Sheet().m_hWnd, nullptr);
  // Closing the last document takes the sheet away but keeps it to be shown.
  doc->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
  Pump();
  EXPECT_EQ(frame.GetActiveChildFrame(), nullptr);
  EXPECT_EQ(Sheet().m_hWnd, nullptr);
  EXPECT_EQ(Options.CellFormatVisible, 1);
  ASSERT_NE(NewDocument(), nullptr);
  Pump();
  EXPECT_NE(Sheet().m_hWnd, nullptr);
  EXPECT_EQ(Options.CellFormatVisible, 1);
}

// The Numeric Format dialog on its own, answered by a script: it edits the
// caller's params and applies nothing.
TEST_F(FormatCellsTest, NumericFormatDialogEditsTheCallersFormat) {
  DialogScriptStep steps[] = {{IDC_FIRST_COMBO, DialogAction::kSelectItem, nullptr, kNumFormatScientific},
                              {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_NUMERIC_FORMAT, steps, 2, false, false, 0};
  SetDialogScripts(&script, 1);
  CNumFormatDlg dialog;
  dialog.Params().category = kNumFormatPercent;
  EXPECT_EQ(dialog.DoModal(frame.m_hWnd), IDOK);
  EXPECT_TRUE(script.ran);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(dialog.Params().category, kNumFormatScientific);
  EXPECT_EQ(dialog.Params().options.scientific.decimals, 2);
  EXPECT_EQ(frame.GetActiveChildFrame(), nullptr);
}

}  // namespace

namespace {

// Esc pressed in any control of any page closes the whole sheet, as its
// Cancel does; the page is never left empty in an open sheet.
TEST_F(FormatCellsTest, EscInAPageClosesTheSheet) {
  ASSERT_NE(OpenOnFormattedCell(), nullptr);
  for (int page : {CFormatPropSheet::kStyle, CFormatPropSheet::kFont}) {
    if (Sheet().m_hWnd == nullptr) {
      frame.SendMessage(WM_COMMAND, ID_FORMAT_CELLS, 0);
      Pump();
    }
    ASSERT_NE(Sheet().m_hWnd, nullptr);
    ShowTab(page);
    HWND control = GetNextDlgTabItem(PageWindow(page), nullptr, FALSE);
    ASSERT_NE(control, nullptr);
    SetFocus(control);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    PostMessageA(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    Pump();
    EXPECT_EQ(Sheet().m_hWnd, nullptr) << "page " << page;
  }
}

}  // namespace
