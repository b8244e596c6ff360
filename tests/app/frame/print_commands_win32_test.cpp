// Printing from the frame in a real frame under Wine: the print sheet
// answered by scripts, the test printer spooling into a file, and the
// preview driven with the preview bar's commands and the wheel.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document/document_window_fixture.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/printing/print_sheet_values.h"
#include "platform/ui/print_job.h"
#include "tests/view/printing/test_printer_win32.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

namespace ids = print_sheet_ids;

std::string ControlText(HWND page, int id) {
  char text[256] = {};
  GetDlgItemTextA(page, id, text, sizeof text);
  return text;
}

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

BOOL CALLBACK FindShownPage(HWND child, LPARAM context) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof name);
  if (!IsWindowVisible(child) || std::strcmp(name, "#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

// The shown page of the sheet.
HWND ShownPage(HWND sheet) {
  HWND shown = nullptr;
  EnumChildWindows(sheet, FindShownPage, reinterpret_cast<LPARAM>(&shown));
  return shown;
}

// What the inspectors read of each page, by the tab it was read on.
std::vector<std::vector<std::string>> g_read;

void ReadGeneral(HWND sheet) {
  HWND page = ShownPage(sheet);
  g_read.push_back({ControlText(page, ids::kCopies), Checked(page, ids::kCollate) ? "collate" : "",
                    Checked(page, ids::kRangePages) ? "pages" : "", ControlText(page, ids::kPages)});
}

void ReadLayout(HWND sheet) {
  HWND page = ShownPage(sheet);
  g_read.push_back({ControlText(page, ids::kHeaderText), ControlText(page, ids::kFooterText),
                    ControlText(page, ids::kMarginLeft), ControlText(page, ids::kHeaderPosition),
                    ControlText(page, ids::kSheetColumns), Checked(page, ids::kLandscape) ? "landscape" : "",
                    ControlText(page, ids::kHorizontalAlign), ControlText(page, ids::kPaper)});
}

void ReadContent(HWND sheet) {
  HWND page = ShownPage(sheet);
  g_read.push_back({ControlText(page, ids::kScale), ControlText(page, ids::kFirstPage),
                    ControlText(page, ids::kExcludedRows), Checked(page, ids::kRowHeadings) ? "rows" : "",
                    Checked(page, ids::kColumnHeadings) ? "columns" : ""});
}

// Which page shows, and how many tabs the sheet has.
void ReadShownPage(HWND sheet) {
  HWND page = ShownPage(sheet);
  const LRESULT tabs = SendDlgItemMessageA(sheet, IDC_PRINT_SHEET_TABS, TCM_GETITEMCOUNT, 0, 0);
  g_read.push_back({GetDlgItem(page, ids::kRowHeadings) != nullptr   ? "content"
                    : GetDlgItem(page, ids::kHeaderText) != nullptr ? "layout"
                                                                     : "general",
                    std::to_string(tabs)});
}

DialogScriptStep Inspect(void (*inspector)(HWND)) { return {0, DialogAction::kInspect, nullptr, 0, inspector}; }
DialogScriptStep Tab(int index) { return {IDC_PRINT_SHEET_TABS, DialogAction::kSelectItem, nullptr, index}; }
DialogScriptStep Text(int id, const char* text) { return {id, DialogAction::kSetText, text, 0}; }
DialogScriptStep Press(int id) { return {id, DialogAction::kPress, nullptr, 0}; }

class PrintCommands : public DocumentEditingTest {
 protected:
  void SetUp() override {
    DocumentEditingTest::SetUp();
    std::string failure;
    ASSERT_TRUE(EnsureTestPrinter(&failure)) << failure;
    ASSERT_TRUE(SetDefaultPrinterA(kTestPrinter));
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    book = doc->Workbook();
    sheet = book->activeWorksheet;
    g_read.clear();
    std::remove(output.c_str());
    SetPrintJobOutputForTesting(output.c_str());
  }
  void TearDown() override {
    SetPrintJobOutputForTesting(nullptr);
    SetDialogScripts(nullptr, 0);
    DocumentEditingTest::TearDown();
  }
  // Rows so tall that each fills a page of the test printer, one page
  // across, each with a text.
  void FillPages(int pages) {
    for (int i = 0; i < pages; ++i) {
      ASSERT_TRUE(sheet->format.rows.SetRow(static_cast<uint32_t>(i), 600, true));
      PutText(*book, static_cast<uint32_t>(i), 0, "page " + std::to_string(i + 1));
    }
  }
  void RunScripted(UINT command, std::vector<DialogScriptStep>& steps) {
    script = {IDD_PRINT_SHEET, steps.data(), static_cast<int>(steps.size()), false, false, 0};
    SetDialogScripts(&script, 1);
    frame.SendMessage(WM_COMMAND, command, 0);
    Pump();
    SetDialogScripts(nullptr, 0);
  }
  bool BandHidden(UINT id) {
    HWND rebar = frame.GetDlgItem(CMainFrame::kReBarId);
    const int index = static_cast<int>(SendMessageA(rebar, RB_IDTOINDEX, id, 0));
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&info));
    return (info.fStyle & RBBS_HIDDEN) != 0;
  }

  CChildFrame* doc = nullptr;
  CWorkBook* book = nullptr;
  CWorkSheet* sheet = nullptr;
  DialogScript script = {};
  std::string output = FullPath("talvero-frame-print.ps");
};

TEST_F(PrintCommands, WithoutAnyPrinterEveryCommandSaysNoPrinterIsSelected) {
  NoDefaultPrinter none;
  const UINT commands[] = {ID_FILE_PRINT, ID_FILE_PAGE_SETUP, ID_FILE_PRINT_PREVIEW};
  for (UINT command : commands) {
    g_boxes.clear();
    frame.SendMessage(WM_COMMAND, command, 0);
    Pump();
    EXPECT_EQ(g_boxes, std::vector<std::string>{"No printer selected."}) << command;
  }
  EXPECT_EQ(frame.Preview(), nullptr);
  EXPECT_EQ(CountPostScriptPages(output), -1);
}

TEST_F(PrintCommands, TheSheetShowsThePageSettingsAndStoresWhatWasChanged) {
  PageSettings& s = sheet->pageSettings;
  std::strcpy(s.headerText, "&cTitle");
  std::strcpy(s.footerText, "&rpage &p");
  std::strcpy(s.excludedRows, "3-4");
  std::strcpy(s.sheetSizeName, "a4");  // another case still finds the paper
  s.marginLeft = 25;
  s.headerMargin = 15;
  s.copies = 3;
  s.collate = 1;
  s.scale = 80;
  s.firstPageNumber = 7;
  s.pagesPerSheetColumns = 2;
  s.landscape = 1;
  s.alignment = 2 | 16;
  s.rowHeadings = 1;
  s.columnHeadings = 0;
  s.printRangeKind = kPrintContainer;

  // Lengths show in inches where the system measures in inches.
  char measure[4] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure);
  const bool imperial = measure[0] == '1';
  const char decimal = CurrentRegionalSettings().decimalSeparator;
  // Page Setup: the Layout and Content pages alone, changed and applied.
  std::vector<DialogScriptStep> setup = {Inspect(ReadLayout),
                                         Text(ids::kHeaderText, "&lLeft"),
                                         Text(ids::kMarginLeft, "1"),
                                         Tab(1),
                                         Inspect(ReadContent),
                                         Text(ids::kScale, "150"),
                                         Text(ids::kExcludedRows, "1, 9"),
                                         Press(IDOK)};
  RunScripted(ID_FILE_PAGE_SETUP, setup);
  ASSERT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDOK);
  ASSERT_EQ(g_read.size(), 2u);
  // 25 mm and 15 mm: 2.5 and 1.5 cm, or 0.984 and 0.591 inches shown with
  // two and one decimals.
  const std::string left = imperial ? std::string("0") + decimal + "98" : std::string("2") + decimal + "5";
  const std::string header = imperial ? std::string("0") + decimal + "6" : std::string("1") + decimal + "5";
  EXPECT_EQ(g_read[0], (std::vector<std::string>{"&cTitle", "&rpage &p", left, header, "2", "landscape",
                                                  "Center horizontally", "A4"}));
  EXPECT_EQ(g_read[1], (std::vector<std::string>{"80", "7", "3-4", "rows", ""}));
  EXPECT_STREQ(s.headerText, "&lLeft");
  EXPECT_EQ(s.scale, 150);
  EXPECT_STREQ(s.excludedRows, "1, 9");
  EXPECT_STREQ(s.sheetSizeName, "A4");
  // One inch is 25.3995 mm.
  EXPECT_EQ(s.marginLeft, imperial ? 25.3995 : 10);
  EXPECT_EQ(s.printRangeKind, kPrintSelection);  // the container's kind shows and stores as the selection
  EXPECT_TRUE(doc->IsModified());

  // Print: the General page too; Apply stores, Cancel then prints nothing.
  g_read.clear();
  std::vector<DialogScriptStep> print = {Inspect(ReadGeneral), Text(ids::kCopies, "2"),
                                         {ids::kRangePages, DialogAction::kSetCheck, nullptr, 1},
                                         Text(ids::kPages, "2-3"), Press(IDC_PRINT_SHEET_APPLY), Press(IDCANCEL)};
  RunScripted(ID_FILE_PRINT, print);
  ASSERT_FALSE(script.stalled);
  ASSERT_EQ(g_read.size(), 1u);
  EXPECT_EQ(g_read[0], (std::vector<std::string>{"3", "collate", "", ""}));
  EXPECT_EQ(s.copies, 2);
  EXPECT_EQ(s.printRangeKind, kPrintPageList);
  EXPECT_STREQ(s.pages, "2-3");
  EXPECT_EQ(CountPostScriptPages(output), -1);

  // Each form opens again on the page it showed last: the page setup on
  // Content, where it was left, with its two tabs.
  g_read.clear();
  std::vector<DialogScriptStep> again = {Inspect(ReadShownPage), Press(IDCANCEL)};
  RunScripted(ID_FILE_PAGE_SETUP, again);
  RunScripted(ID_FILE_PRINT, again);
  EXPECT_EQ(g_read, (std::vector<std::vector<std::string>>{{"content", "2"}, {"general", "3"}}));
}

// Alt and each letter of g_keys, as the dialog manager takes them in the
// sheet: the control that then has the focus, by its id.
const char* g_keys = "";
void PressAccessKeys(HWND sheet) {
  std::vector<std::string> reached;
  for (const char* key = g_keys; *key != '\0'; ++key) {
    MSG msg = {GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(*key), 0x20000001, 0, {0, 0}};
    IsDialogMessageA(sheet, &msg);
    reached.push_back(std::to_string(GetDlgCtrlID(GetFocus())));
  }
  g_read.push_back(reached);
}

// Each page's access keys reach their own fields: none is taken by another
// field of the page or by the sheet's Apply.
TEST_F(PrintCommands, AccessKeysReachTheirOwnFields) {
  const struct {
    UINT command;
    int tab;
    const char* keys;
    std::vector<int> reached;
  } pages[] = {
      {ID_FILE_PRINT, 0, "gmn", {ids::kRangePages, ids::kPrinterList, ids::kCopies}},
      {ID_FILE_PAGE_SETUP, 0, "pdiosl",
       {ids::kPortrait, ids::kLandscape, ids::kFooterPosition, ids::kHeaderPosition, ids::kPaper, ids::kMarginLeft}},
      {ID_FILE_PAGE_SETUP, 1, "scf", {ids::kScaleChoice, ids::kColumnHeadings, ids::kFitChoice}},
  };
  for (const auto& page : pages) {
    g_read.clear();
    g_keys = page.keys;
    std::vector<DialogScriptStep> steps = {Tab(page.tab), Inspect(PressAccessKeys), Press(IDCANCEL)};
    RunScripted(page.command, steps);
    ASSERT_FALSE(script.stalled) << page.keys;
    std::vector<std::string> expected;
    for (int id : page.reached) expected.push_back(std::to_string(id));
    EXPECT_EQ(g_read, std::vector<std::vector<std::string>>{expected}) << page.keys;
  }
}

// A failed OK keeps the sheet open and takes nothing of any page, not even
// of the pages that passed.
TEST_F(PrintCommands, AFailedOkStoresNothing) {
  PageSettings& s = sheet->pageSettings;
  std::strcpy(s.headerText, "&cKept");
  s.scale = 100;
  std::vector<DialogScriptStep> steps = {Text(ids::kHeaderText, "&cChanged"), Tab(1), Text(ids::kScale, "5"),
                                         Press(IDOK), Press(IDCANCEL)};
  RunScripted(ID_FILE_PAGE_SETUP, steps);
  ASSERT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDCANCEL);
  EXPECT_EQ(g_boxes, std::vector<std::string>{"Please enter an integer between 10 and 1000."});
  EXPECT_STREQ(s.headerText, "&cKept");
  EXPECT_EQ(s.scale, 100);
  EXPECT_FALSE(doc->IsModified());
}

// The control with the focus, by its id.
void ReadFocus(HWND) { g_read.push_back({std::to_string(GetDlgCtrlID(GetFocus()))}); }

// Each refused field of the page setup says what it takes: a margin below
// the printer's minimum, negative or no number at all names that minimum; a
// scale that is no whole number names its range. The focus stays in the
// field, the sheet open, and nothing is stored.
TEST_F(PrintCommands, EveryRefusedFieldSaysWhatItTakes) {
  const PageSettings before = sheet->pageSettings;
  std::vector<DialogScriptStep> steps = {
      Tab(0),
      Text(ids::kMarginLeft, "-5"),  Press(IDOK), Inspect(ReadFocus),
      Text(ids::kMarginLeft, ""),    Press(IDOK), Inspect(ReadFocus),
      Text(ids::kMarginLeft, "abc"), Press(IDOK), Inspect(ReadFocus),
      Text(ids::kMarginLeft, "2"),   Tab(1),
      Text(ids::kScale, "abc"),      Press(IDOK), Inspect(ReadFocus),
      Text(ids::kScale, "2.5"),      Press(IDOK), Inspect(ReadFocus),
      Press(IDCANCEL)};
  RunScripted(ID_FILE_PAGE_SETUP, steps);
  ASSERT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDCANCEL);
  ASSERT_EQ(g_boxes.size(), 5u);
  const std::string minimumIs = "The minimum margin for the current printer is ";
  ASSERT_EQ(g_boxes[0].rfind(minimumIs, 0), 0u) << g_boxes[0];
  const std::string minimum = g_boxes[0].substr(minimumIs.size(), g_boxes[0].size() - minimumIs.size() - 1);
  const std::string number =
      "Please enter a number not smaller than " + minimum + ", the minimum margin for the current printer.";
  const std::string scale = "Please enter an integer between 10 and 1000.";
  EXPECT_EQ(std::vector<std::string>(g_boxes.begin() + 1, g_boxes.end()),
            (std::vector<std::string>{number, number, scale, scale}));
  const std::string left = std::to_string(ids::kMarginLeft);
  const std::string scaleField = std::to_string(ids::kScale);
  EXPECT_EQ(g_read, (std::vector<std::vector<std::string>>{{left}, {left}, {left}, {scaleField}, {scaleField}}));
  EXPECT_EQ(std::memcmp(&sheet->pageSettings, &before, sizeof before), 0);
  EXPECT_FALSE(doc->IsModified());
}

// A first page number beyond what the files keep is refused on the spot,
// not cut short on the way to the file; the largest one they keep is taken.
TEST_F(PrintCommands, AFirstPageNumberTheFilesCannotKeepIsRefused) {
  std::vector<DialogScriptStep> steps = {Tab(1), Text(ids::kFirstPage, "65535"), Press(IDOK), Inspect(ReadFocus),
                                         Text(ids::kFirstPage, "65534"), Press(IDOK)};
  RunScripted(ID_FILE_PAGE_SETUP, steps);
  ASSERT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDOK);
  EXPECT_EQ(g_boxes, std::vector<std::string>{"Please enter an integer between 1 and 65534."});
  EXPECT_EQ(g_read, (std::vector<std::vector<std::string>>{{std::to_string(ids::kFirstPage)}}));
  EXPECT_EQ(sheet->pageSettings.firstPageNumber, 65534);
}

// Margins that leave no page to print on are refused in the sheet with the
// size of the printable area (not the paper's), however they are written,
// so that neither the preview nor printing ever meets them.
TEST_F(PrintCommands, MarginsThatLeaveNoRoomToPrintAreRefused) {
  const double left = sheet->pageSettings.marginLeft;
  const std::string digits(2000, '9');
  std::vector<DialogScriptStep> steps = {Tab(0),
                                         Text(ids::kMarginLeft, "99999999"),
                                         Press(IDOK),
                                         Text(ids::kMarginLeft, "1e308"),
                                         Press(IDOK),
                                         Text(ids::kMarginLeft, digits.c_str()),
                                         Press(IDOK),
                                         Press(IDCANCEL)};
  RunScripted(ID_FILE_PAGE_SETUP, steps);
  ASSERT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDCANCEL);
  ASSERT_EQ(g_boxes.size(), 3u);
  for (const std::string& box : g_boxes)
    EXPECT_EQ(box.rfind("The margins, header and footer must leave room to print in the printable area, which "
                        "measures ",
                        0),
              0u)
        << box;
  EXPECT_EQ(sheet->pageSettings.marginLeft, left);
  EXPECT_FALSE(doc->IsModified());
}

// A file may still carry margins no paper has room for: it opens with its
// cells, and the preview says what keeps it from printing rather than
// blaming the zoom.
TEST_F(PrintCommands, MarginsBeyondThePaperFromAFileAreReportedByThePreview) {
  PutText(*book, 0, 0, "kept");
  sheet->pageSettings.marginLeft = 99999999;
  sheet->pageSettings.marginBottom = 1e308;
  CChildFrame* reopened = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, "w32_huge_margins.tlv");
  ASSERT_NE(reopened, nullptr);
  ASSERT_TRUE(g_boxes.empty()) << g_boxes.front();
  CWorkBook* opened = reopened->Workbook();
  EXPECT_EQ(TextAt(*opened, 0, 0), "kept");
  EXPECT_EQ(opened->activeWorksheet->pageSettings.marginLeft, 99999999.0);

  frame.SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  Pump();
  EXPECT_EQ(g_boxes, std::vector<std::string>{"The margins leave no room to print on the paper"});
  EXPECT_EQ(frame.Preview(), nullptr);
  EXPECT_EQ(opened->pageList.Count(), 0u);
}

TEST_F(PrintCommands, PrintingATwoPageWorksheetSpoolsTwoPages) {
  FillPages(2);
  std::vector<DialogScriptStep> steps = {Press(IDOK)};
  RunScripted(ID_FILE_PRINT, steps);
  ASSERT_FALSE(script.stalled);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_EQ(CountPostScriptPages(output), 2);
  EXPECT_EQ(book->pageList.Count(), 0u);  // freed after the job
}

TEST_F(PrintCommands, ThePreviewPagesZoomsAndGivesTheBarsBack) {
  // Five pages two to a sheet: three sheets.
  FillPages(5);
  sheet->pageSettings.pagesPerSheetColumns = 2;
  sheet->pageSettings.pagesPerSheetRows = 1;
  frame.SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  Pump();
  ASSERT_TRUE(g_boxes.empty()) << g_boxes.front();
  CPrintPreviewWindow* preview = frame.Preview();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->IsWindowVisible());
  EXPECT_FALSE(IsWindowVisible(frame.m_hWndClient));
  EXPECT_FALSE(BandHidden(CMainFrame::kPreviewToolBarBand));
  EXPECT_TRUE(BandHidden(CMainFrame::kMainToolBarBand));
  EXPECT_TRUE(BandHidden(CMainFrame::kCommandBarBand));
  HWND pages = frame.PreviewPageCombo();
  ASSERT_EQ(SendMessageA(pages, CB_GETCOUNT, 0, 0), 3);
  char last[8] = {};
  SendMessageA(pages, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(last));
  EXPECT_STREQ(last, "3");

  const auto command = [&](UINT id) {
    frame.SendMessage(WM_COMMAND, id, 0);
    Pump();
    return preview->Page();
  };
  EXPECT_EQ(command(ID_PREVIEW_PREVIOUS), 0u);  // the first page stays
  EXPECT_EQ(command(ID_PREVIEW_NEXT), 1u);
  EXPECT_EQ(SendMessageA(pages, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(command(ID_PREVIEW_NEXT), 2u);
  EXPECT_EQ(command(ID_PREVIEW_NEXT), 2u);  // the last page stays
  EXPECT_EQ(command(ID_PREVIEW_PREVIOUS), 1u);
  SendMessageA(pages, CB_SETCURSEL, 0, 0);
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMainFrame::kPreviewPageComboId, CBN_SELENDOK),
                    reinterpret_cast<LPARAM>(pages));
  EXPECT_EQ(preview->Page(), 0u);

  const RECT whole = preview->PaperRect();
  POINT centre = {(whole.left + whole.right) / 2, (whole.top + whole.bottom) / 2};
  ClientToScreen(preview->m_hWnd, &centre);
  frame.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
  Pump();
  EXPECT_GT(preview->Zoom(), 1.0);
  const RECT zoomed = preview->PaperRect();
  EXPECT_GT(zoomed.bottom - zoomed.top, whole.bottom - whole.top);
  frame.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
  Pump();
  EXPECT_GT(preview->Zoom(), 1.0);
  command(ID_PREVIEW_ZOOM_OUT);
  EXPECT_EQ(preview->Zoom(), 1.0);

  command(ID_PREVIEW_CLOSE);
  EXPECT_EQ(frame.Preview(), nullptr);
  EXPECT_TRUE(IsWindowVisible(frame.m_hWndClient));
  EXPECT_TRUE(BandHidden(CMainFrame::kPreviewToolBarBand));
  EXPECT_FALSE(BandHidden(CMainFrame::kCommandBarBand));
  EXPECT_FALSE(BandHidden(CMainFrame::kMainToolBarBand));
  EXPECT_FALSE(BandHidden(CMainFrame::kSecondaryToolBarBand));
  EXPECT_EQ(book->pageList.Count(), 0u);
  EXPECT_EQ(GetFocus(), doc->GetActiveView()->m_hWnd);
}

// A document closed while it is previewed ends the preview before anything
// of it could be drawn again.
TEST_F(PrintCommands, ClosingThePreviewedDocumentEndsThePreview) {
  FillPages(1);
  frame.SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  Pump();
  ASSERT_NE(frame.Preview(), nullptr);
  doc->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
  Pump();
  EXPECT_EQ(frame.Preview(), nullptr);
  EXPECT_TRUE(IsWindowVisible(frame.m_hWndClient));
}

// Another window takes the activation from the frame and gives it back, as
// a dialog closed with Esc or a switch to another program and back does.
void TakeAndGiveBackActivation(HWND frame) {
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, frame, nullptr, nullptr,
                               nullptr);
  SetActiveWindow(other);
  SetFocus(other);
  DestroyWindow(other);
}

// While the preview stands in the documents' place, keys act on it alone:
// typed characters, F2, Delete, Backspace and the keys of editing commands
// neither open an edit in the hidden grid nor change the workbook, not even
// after a dialog gave the activation back to the frame.
TEST_F(PrintCommands, KeysWhileThePreviewIsShownLeaveTheHiddenGridAlone) {
  FocusCell(doc, 0, 0);
  Type("keep");
  Key(VK_RETURN);
  ASSERT_EQ(TextAt(*book, 0, 0), "keep");
  const int undoSteps = book->undoHistory.Current();
  doc->SetModified(false);
  CDocumentView* view = doc->GetActiveView();

  frame.SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  Pump();
  ASSERT_NE(frame.Preview(), nullptr);
  // F12 (Save As) waits for the preview to close, like every command on
  // the document; the activation given back puts the focus in the frame.
  Key(VK_F12);
  Key(VK_ESCAPE);
  TakeAndGiveBackActivation(frame.m_hWnd);
  Pump();
  EXPECT_EQ(GetFocus(), frame.Preview()->m_hWnd);
  Type("q");
  Key(VK_F2);
  Type("x");
  Key(VK_RETURN);
  FocusCell(doc, 0, 0);  // the focus put back where the preview hides it
  Key(VK_DELETE);
  Key(VK_BACK);
  Key('V', VK_CONTROL);
  Key('Z', VK_CONTROL);
  Type("w");
  EXPECT_FALSE(view->m_editor.IsWindowVisible());
  frame.SendMessage(WM_COMMAND, ID_PREVIEW_CLOSE, 0);
  Pump();

  EXPECT_EQ(g_saveDialogs, 0);
  EXPECT_EQ(TextAt(*book, 0, 0), "keep");
  EXPECT_FALSE(view->m_editor.IsWindowVisible());
  EXPECT_EQ(book->undoHistory.Current(), undoSteps);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(GetFocus(), view->m_hWnd);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
}

}  // namespace

namespace {

// The shown page lies below the tab row, whose labels stay visible.
void ReadPagePlacement(HWND sheet) {
  HWND tabs = GetDlgItem(sheet, IDC_PRINT_SHEET_TABS);
  RECT label{};
  TabCtrl_GetItemRect(tabs, 0, &label);
  MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&label), 2);
  RECT page{};
  GetWindowRect(ShownPage(sheet), &page);
  g_read.push_back({page.top >= label.bottom ? "below the tabs" : "over the tabs"});
  SaveClientScreenshot(sheet, "print_sheet");
}

// Ctrl+Tab from a control of the page, as the keyboard gives it.
void PressControlTab(HWND sheet) {
  HWND control = GetNextDlgTabItem(ShownPage(sheet), nullptr, FALSE);
  SetFocus(control);
  BYTE state[256] = {};
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  PostMessageA(control, WM_KEYDOWN, VK_TAB, 1);
}

void ReleaseKeys(HWND) {
  BYTE state[256] = {};
  SetKeyboardState(state);
}

TEST_F(PrintCommands, PagesStandBelowTheirTabsAndControlTabTurnsThem) {
  g_read.clear();
  // A press (of nothing the sheet acts on) ends the batch of steps, so the
  // key is taken before the page is read again.
  std::vector<DialogScriptStep> steps = {Inspect(ReadPagePlacement), Inspect(ReadShownPage),
                                         Inspect(PressControlTab),   Press(IDC_PRINT_SHEET_TABS),
                                         Inspect(ReleaseKeys),       Inspect(ReadShownPage),
                                         Press(IDCANCEL)};
  RunScripted(ID_FILE_PAGE_SETUP, steps);
  ASSERT_FALSE(script.stalled);
  EXPECT_EQ(g_read, (std::vector<std::vector<std::string>>{
                        {"below the tabs"}, {"layout", "2"}, {"content", "2"}}));
}

}  // namespace
