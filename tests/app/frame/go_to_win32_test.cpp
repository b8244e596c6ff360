// The name box's go-to and the bookmarks in a real frame with document
// windows: references typed with Enter, bookmarks chosen from the list,
// workbooks opened for a reference into them, and Add Bookmark answered by
// a script.

#include "app/document/document_window_fixture.h"

#include <cstring>

#include "core/base/global_options.h"

namespace {

class GoToTest : public DocumentWindowTest {
 protected:
  void TearDown() override {
    SetDialogScripts(nullptr, 0);
    DocumentWindowTest::TearDown();
    ResetGlobalOptions();
  }
  HWND NameEdit() { return reinterpret_cast<HWND>(SendMessageA(frame.NameBox(), CBEM_GETEDITCONTROL, 0, 0)); }
  // The text typed into the name box and Enter pressed there.
  void GoTo(const char* text) {
    SetWindowTextA(NameEdit(), text);
    SendMessageA(NameEdit(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
  }
  SelectionRange Selected() { return frame.GetActiveChildFrame()->GetActiveView()->Selection(); }
  std::string ActiveSheet() {
    char path[kTreePathCapacity] = {};
    frame.GetActiveWorkbook()->activeWorksheet->GetFullPath(path, sizeof path);
    return path;
  }
  // Add Bookmark with the name typed into its dialog.
  DialogScript AddBookmark(const char* name) {
    const DialogScriptStep steps[] = {{IDC_BOOKMARK_NAME_EDIT, DialogAction::kSetText, name, 0},
                                      {IDOK, DialogAction::kPress, nullptr, 0}};
    DialogScript script{IDD_ADD_BOOKMARK, steps, 2, false, false, 0};
    SetDialogScripts(&script, 1);
    frame.SendMessage(WM_COMMAND, ID_ADD_BOOKMARK, 0);
    Pump();
    SetDialogScripts(nullptr, 0);
    script.steps = nullptr;
    return script;
  }
  std::string NameBoxItem(int index) {
    char text[kProfilePathSize] = {};
    COMBOBOXEXITEMA item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(frame.NameBox(), CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
  }
};

const char kInvalidGoTo[] = "Invalid worksheet path and/or cell address.";

TEST_F(GoToTest, TypedReferencesSelectTheirCellsOnTheirWorksheets) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook* book = doc->Workbook();
  CWorkSheetTree::CTreeItem* costs = NewFolderItem("Costs", 1);
  book->InsertItems(costs, nullptr);
  book->InsertItems(NewWorksheet("May", 1), costs);
  ASSERT_TRUE(doc->FillTree());

  GoTo("C3:D5");
  EXPECT_EQ(Selected().firstColumn, 2u);
  EXPECT_EQ(Selected().lastRow, 4u);
  GoTo("\\Costs\\May!B2");
  EXPECT_EQ(ActiveSheet(), "\\Costs\\May");
  EXPECT_EQ(Selected().firstColumn, 1u);
  EXPECT_EQ(Selected().firstRow, 1u);
  EXPECT_TRUE(g_boxes.empty());

  // A folder, a missing worksheet and a text that is no reference change
  // nothing.
  for (const char* wrong : {"\\Costs!A1", "\\Nowhere!A1", "B2B", "Costs\\May!R2C2"}) {
    g_boxes.clear();
    GoTo(wrong);
    ASSERT_EQ(g_boxes.size(), 1u) << wrong;
    EXPECT_EQ(g_boxes[0], kInvalidGoTo) << wrong;
    EXPECT_EQ(ActiveSheet(), "\\Costs\\May") << wrong;
    EXPECT_EQ(Selected().firstColumn, 1u) << wrong;
  }

  // In R1C1 addressing the same place is written so.
  AddressingA1 = 0;
  g_boxes.clear();
  GoTo("\\Worksheet1!R4C3");
  EXPECT_EQ(ActiveSheet(), "\\Worksheet1");
  EXPECT_EQ(Selected().firstColumn, 2u);
  EXPECT_EQ(Selected().firstRow, 3u);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(GoToTest, AReferenceIntoAWorkbookNotOpenOpensItFirst) {
  const std::string path = SavedWorkbookFile("go_to_target.tlv", 2, 1, 7);
  ASSERT_FALSE(path.empty());
  CChildFrame* other = NewDocument();
  ASSERT_NE(other, nullptr);
  GoTo(("[" + path + "]\\Worksheet1!B3").c_str());
  CChildFrame* opened = frame.GetActiveChildFrame();
  ASSERT_NE(opened, other);
  EXPECT_EQ(Upper(opened->Workbook()->bufferedFile.path), Upper(path));
  EXPECT_EQ(NumberAt(*opened->Workbook(), 2, 1), 7);
  EXPECT_EQ(Selected().firstRow, 2u);
  EXPECT_EQ(CountOpenDocuments(), 2u);
  // Open already: only activated.
  frame.MDIActivate(other->m_hWnd);
  Pump();
  GoTo(("[" + path + "]\\Worksheet1!A1").c_str());
  EXPECT_EQ(frame.GetActiveChildFrame(), opened);
  EXPECT_EQ(CountOpenDocuments(), 2u);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(GoToTest, BookmarksNameTheSelectionAndLeadBackToIt) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  ProfileLists& lists = *Options.Lists;
  doc->SelectRange(SelectionRange{2, 1, 4, 3});
  DialogScript script = AddBookmark("Totals");
  EXPECT_EQ(script.result, IDOK);
  ASSERT_EQ(lists.bookmarkCount, 1);
  EXPECT_STREQ(lists.bookmarks[0], "\\Worksheet1!R2C3:R4C5  -  Totals");
  EXPECT_EQ(NameBoxItem(0), "\\Worksheet1!$C$2:$E$4  -  Totals");
  // Whole columns are kept as columns.
  doc->SelectRange(SelectionRange{1, 0, 1, kMaxRow});
  AddBookmark("Column B");
  ASSERT_EQ(lists.bookmarkCount, 2);
  EXPECT_STREQ(lists.bookmarks[1], "\\Worksheet1!C2  -  Column B");

  // Chosen from the list, a bookmark selects its cells again.
  doc->SetCursorCell(0, 0);
  SendMessageA(frame.NameBox(), CB_SETCURSEL, 0, 0);
  frame.SendMessage(WM_COMMAND, MAKEWPARAM(CMainFrame::kNameBoxId, CBN_SELENDOK),
                    reinterpret_cast<LPARAM>(frame.NameBox()));
  Pump();
  EXPECT_EQ(Selected().firstColumn, 2u);
  EXPECT_EQ(Selected().lastColumn, 4u);
  EXPECT_EQ(Selected().lastRow, 3u);
  EXPECT_TRUE(g_boxes.empty());

  // A name that makes the bookmark reach 256 characters is refused.
  const std::string longName(250, 'n');
  AddBookmark(longName.c_str());
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Please enter no more than 255 characters.");
  EXPECT_EQ(lists.bookmarkCount, 2);

  // The 50th bookmark is refused before its name is asked for.
  while (lists.bookmarkCount < 49) std::strcpy(lists.bookmarks[lists.bookmarkCount++], "\\Worksheet1!R1C1  -  x");
  g_boxes.clear();
  script = AddBookmark("Fiftieth");
  EXPECT_FALSE(script.ran);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Please enter no more than 49 items.");
  EXPECT_EQ(lists.bookmarkCount, 49);
}

}  // namespace

namespace {

// After a go-to the grid has the focus: what is typed next goes to the
// cells the go-to led to, not into the name box.
TEST_F(GoToTest, TheGridTakesTheFocusAfterAGoTo) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  SetFocus(NameEdit());
  GoTo("G1:H3");
  EXPECT_EQ(GetFocus(), doc->GetActiveView()->m_hWnd);
}

}  // namespace
