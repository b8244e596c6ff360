// The worksheet tree and inspect panes of document windows, driven through
// the tree control's messages, the keys and the pane's buttons.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/document/document_window_fixture.h"
#include "app/inspect/inspect_entries.h"
#include "platform/ui/popup_menu.h"
#include "services/messages/error_text.h"
#include "tests/view/dib_canvas_win32.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// The command a test chooses in the next pop-up menu.
UINT g_menuChoice = 0;
UINT ChooseMenuItem(HMENU, UINT, int, int, HWND, const RECT*) { return g_menuChoice; }

class PanesTest : public DocumentEditingTest {
 protected:
  static constexpr LPARAM kAltHeld = 1 << 29;
  HTREEITEM Next(HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(doc->m_tree.SendMessage(TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
  }
  // The tree as "label:image" words, children in brackets, "+" after an
  // expanded item, "*" after the selected one.
  std::string Tree(HTREEITEM item) {
    std::string out;
    for (; item != nullptr; item = Next(item, TVGN_NEXT)) {
      char label[160] = {};
      TVITEMA data{};
      data.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_HANDLE;
      data.hItem = item;
      data.pszText = label;
      data.cchTextMax = sizeof label;
      data.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
      doc->m_tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
      out += std::string(out.empty() ? "" : " ") + label + ":" + std::to_string(data.iImage);
      if (data.state & TVIS_EXPANDED) out += "+";
      if (data.state & TVIS_SELECTED) out += "*";
      if (HTREEITEM child = Next(item, TVGN_CHILD)) out += " [" + Tree(child) + "]";
    }
    return out;
  }
  std::string Tree() { return Tree(Next(nullptr, TVGN_ROOT)); }
  HTREEITEM Handle(const char* name) {
    for (CTreeItem* item = doc->Workbook()->firstItem; item; item = item->next)
      if (std::string(item->name) == name) return doc->FindTreeItem(nullptr, item);
    return nullptr;
  }
  // A workbook of A, Folder (expanded) holding B and Closed (collapsed)
  // holding C, saved and opened again.
  void OpenSampleWorkbook(const char* file) {
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    CWorkBook& book = *doc->Workbook();
    book.firstItem->SetName("A");
    CTreeItem* folder = NewFolderItem("Folder", 1, 1);
    book.InsertItems(folder, nullptr);
    book.InsertItems(NewWorksheet("B", 1), folder);
    CTreeItem* closed = NewFolderItem("Closed", 1, 0);
    book.InsertItems(closed, folder);
    book.InsertItems(NewWorksheet("C", 1), closed);
    doc = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, file);
    ASSERT_NE(doc, nullptr);
    Command(doc, ID_VIEW_TREE);
    doc->m_splitOuter.SetSplitterPos(200);
    Pump();
  }
  RECT LabelRect(const char* name) { return TreeLabelRect(doc, Handle(name)); }
  void Collapse(HTREEITEM item) {
    ::SetFocus(doc->m_tree);
    doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Key(VK_LEFT);
  }
  // What the view shows in a cell as it stands, read without painting.
  std::vector<uint32_t> ShownPixels(CDocumentView* view, uint32_t column, uint32_t row) {
    const RECT r = view->GetRangeRect(SelectionRange{column, row, column, row});
    if (r.right <= r.left || r.bottom <= r.top) return {};
    DibCanvas canvas(r.right - r.left, r.bottom - r.top);
    HDC screen = ::GetDC(*view);
    ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen, r.left, r.top, SRCCOPY);
    ::ReleaseDC(*view, screen);
    return canvas.Pixels();
  }
  // Whether the view shows in the cell what painting it afresh shows.
  bool ShowsAsPaintedAfresh(CDocumentView* view, uint32_t column, uint32_t row) {
    const std::vector<uint32_t> shown = ShownPixels(view, column, row);
    view->Invalidate();
    view->UpdateWindow();
    return !shown.empty() && shown == ShownPixels(view, column, row);
  }
  std::string FormulaBarText() {
    char text[256] = {};
    ::GetWindowTextA(frame.FormulaBar(), text, sizeof text);
    return text;
  }
  int SelectedTreeImage() {
    TVITEMA data{};
    data.mask = TVIF_IMAGE | TVIF_HANDLE;
    data.hItem = doc->m_tree.SelectedItem();
    doc->m_tree.SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return data.iImage;
  }
  std::string SelectedTreeName() {
    const CTreeItem* item = doc->SelectedTreeWorkbookItem();
    return item != nullptr ? item->name : "";
  }
  // The document after its active worksheet went: the tree, the title, the
  // views, what they paint and the formula bar all show the worksheet that
  // took its place, whose A1 holds the text.
  void ExpectShown(const char* sheet, const char* path, const char* a1) {
    SCOPED_TRACE(std::string("showing ") + sheet);
    ASSERT_NE(doc->Workbook()->activeWorksheet, nullptr);
    EXPECT_STREQ(doc->Workbook()->activeWorksheet->name, sheet);
    EXPECT_EQ(SelectedTreeName(), sheet);
    EXPECT_EQ(SelectedTreeImage(), CChildFrame::kImageActiveWorksheet);
    const std::string title = Title(doc->m_hWnd);
    EXPECT_NE(title.find(std::string(" - ") + path + " *"), std::string::npos) << title;
    CDocumentView* view = doc->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(ShowsAsPaintedAfresh(view, 0, 0)) << "A1 still shows what was there before";
    EXPECT_NE(ShownPixels(view, 0, 0), ShownPixels(view, 3, 0)) << "A1 shows no text";
    ClickCell(view, 0, 0);
    EXPECT_EQ(FormulaBarText(), a1);
    EXPECT_TRUE(ShowsAsPaintedAfresh(view, 0, 0));
  }
  // A new workbook whose Worksheet1 holds 1, 2, 3 in A1:A3 and Worksheet2
  // "b1" and "b2" in A1:A2, both typed; the tree shown.
  void TwoTypedWorksheets() {
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    FocusCell(doc, 0, 0);
    for (const char* text : {"1", "2", "3"}) {
      Type(text);
      Key(VK_DOWN);
    }
    Command(doc, ID_NEW_WORKSHEET);
    doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
    Pump();
    ASSERT_STREQ(doc->Workbook()->activeWorksheet->name, "Worksheet2");
    FocusCell(doc, 0, 0);
    for (const char* text : {"b1", "b2"}) {
      Type(text);
      Key(VK_DOWN);
    }
    if (!doc->Workbook()->panes.treePaneVisible) Command(doc, ID_VIEW_TREE);
    doc->m_splitOuter.SetSplitterPos(200);
    Pump();
  }
  void ClickTreeItem(const char* name) {
    const RECT r = LabelRect(name);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    doc->m_tree.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    doc->m_tree.PostMessage(WM_LBUTTONUP, 0, at);
    Pump();
  }
  // A command chosen from a menu.
  void Choose(UINT command) {
    frame.SendMessage(WM_COMMAND, command, 0);
    Pump();
  }
  // The edit of an item's name open in the tree, or null.
  HWND LabelEdit() { return doc->m_tree.LabelEdit(); }
  // The item's name opened for editing by a click and Enter, its text
  // replaced by the one given; the edit, or null.
  HWND OpenName(const char* item, const char* typed = nullptr) {
    ClickTreeItem(item);
    Key(VK_RETURN);
    if (LabelEdit() != nullptr && typed != nullptr) {
      Key('A', VK_CONTROL);
      Key(VK_DELETE);
      Type(typed);
    }
    return LabelEdit();
  }
  std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
  }
  // No name is being edited, and no edit box is left shown over the tree.
  bool NoNameOpen() {
    for (HWND child = ::GetWindow(doc->m_tree, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
      char name[32] = {};
      ::GetClassNameA(child, name, sizeof name);
      if (::lstrcmpiA(name, "Edit") == 0 && ::IsWindowVisible(child)) return false;
    }
    return LabelEdit() == nullptr;
  }
  // The worksheets and folders as "name" words, with each worksheet's A1 as
  // "=number" (nothing when A1 holds no number).
  std::string Items() {
    std::string out;
    for (CTreeItem* item = doc->Workbook()->firstItem; item != nullptr; item = item->next) {
      out += std::string(out.empty() ? "" : " ") + item->name;
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
        const CellRecord* a1 = sheet->cells.GetCell(0, 0);
        if (a1 != nullptr && a1->IsNumber()) out += "=" + std::to_string(static_cast<int>(a1->Number()));
      }
    }
    return out;
  }
  // Enter takes the name being edited: the tree shows it, and so does the
  // file saved, closed and opened again.
  void TakeNameAndReopen(const char* tree, const char* file, const char* items) {
    Key(VK_RETURN);
    EXPECT_TRUE(NoNameOpen());
    EXPECT_EQ(Tree(), tree);
    doc = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, file);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Items(), items);
  }
  // A button of the main toolbar clicked with the mouse.
  void ClickToolBarButton(UINT command) {
    const HWND bar = frame.MainToolBar();
    RECT r{};
    ASSERT_TRUE(::SendMessageA(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(bar, WM_LBUTTONUP, 0, at);
    Pump();
  }
  // A workbook of Worksheet1, Data (A1 7) and Last (A1 99), saved and opened
  // again, with the tree shown.
  void OpenDataAndLastWorkbook(const char* file) {
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    CWorkBook& book = *doc->Workbook();
    CWorkSheet* data = NewWorksheet("Data", 1);
    book.InsertItems(data, nullptr);
    CWorkSheet* last = NewWorksheet("Last", 1);
    book.InsertItems(last, nullptr);
    for (const auto& [sheet, value] : {std::pair{data, 7.0}, std::pair{last, 99.0}}) {
      uint8_t record[64];
      const uint32_t size = BuildNumberCell(record, sizeof record, 0, 0, value, 0);
      ASSERT_NE(size, 0u);
      ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
    }
    doc = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, file);
    ASSERT_NE(doc, nullptr);
    if (!doc->Workbook()->panes.treePaneVisible) Command(doc, ID_VIEW_TREE);
    doc->m_splitOuter.SetSplitterPos(200);
    Pump();
    ASSERT_EQ(Items(), "Worksheet1 Data=7 Last=99");
  }
  CChildFrame* doc = nullptr;
};

TEST_F(PanesTest, TreeShowsTheLoadedWorkbookAndActivatesSelectedWorksheets) {
  OpenSampleWorkbook("w32_tree.tlv");
  EXPECT_EQ(Tree(), "Workbook:4+ [A:3* Folder:1+ [B:2 Closed:0 [C:2]]]");
  // A worksheet selected in the tree is the one both views show; a folder
  // changes nothing.
  doc->OnSplit(false);
  doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Handle("Folder")));
  EXPECT_STREQ(doc->Workbook()->activeWorksheet->name, "A");
  doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Handle("B")));
  Pump();
  EXPECT_STREQ(doc->Workbook()->activeWorksheet->name, "B");
  EXPECT_STREQ(doc->m_view[0].Worksheet()->name, "B");
  EXPECT_EQ(Tree(), "Workbook:4+ [A:2 Folder:1+ [B:3* Closed:0 [C:2]]]");
  EXPECT_NE(Title(doc->m_hWnd).find("\\Folder\\B"), std::string::npos);
  // Ctrl+Up goes back to A with the split A was left with; the root stays open.
  FocusCell(doc, 0, 0);
  Key(VK_UP, VK_CONTROL);
  EXPECT_STREQ(doc->Workbook()->activeWorksheet->name, "A");
  EXPECT_TRUE(doc->SecondViewShown());
  Collapse(Next(nullptr, TVGN_ROOT));
  Collapse(Handle("Folder"));
  EXPECT_EQ(Tree(), "Workbook:4+ [A:3 Folder:0* [B:2 Closed:0 [C:2]]]");
  EXPECT_EQ(doc->Workbook()->firstItem->next->flag, 0);
  EXPECT_FALSE(doc->IsModified());
}

// Renaming in place is one undo step and shows in the title; the same name
// records nothing; the root keeps its name. Delete takes the selected item
// and refuses the last worksheet with its message.
TEST_F(PanesTest, RenameAndDeleteInTheTree) {
  doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  const auto rename = [&](HTREEITEM item, const char* text) {
    ::SetFocus(doc->m_tree);
    HWND edit = reinterpret_cast<HWND>(doc->m_tree.SendMessage(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
    if (edit == nullptr) return false;
    ::SetWindowTextA(edit, text);
    doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, FALSE, 0);
    Pump();
    return true;
  };
  EXPECT_FALSE(rename(Next(nullptr, TVGN_ROOT), "Renamed"));
  ASSERT_TRUE(rename(Handle("Worksheet1"), "Worksheet1"));
  EXPECT_EQ(book.undoHistory.Current(), -1);
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(rename(Handle("Worksheet1"), "Sales"));
  EXPECT_STREQ(book.firstItem->name, "Sales");
  EXPECT_EQ(book.undoHistory.Current(), 0);
  EXPECT_NE(Title(doc->m_hWnd).find("\\Sales *"), std::string::npos) << Title(doc->m_hWnd);

  Command(doc, ID_NEW_FOLDER);
  doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
  Command(doc, ID_NEW_WORKSHEET);  // into the new folder, which is selected
  doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
  EXPECT_EQ(Tree(), "Workbook:4+ [Sales:2 Folder1:1+ [Worksheet2:3*]]");
  EXPECT_EQ(book.undoHistory.Current(), 2);

  ::SetFocus(doc->m_tree);
  doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Handle("Folder1")));
  Key(VK_DELETE);
  EXPECT_EQ(Tree(), "Workbook:4+ [Sales:3*]");
  EXPECT_EQ(book.undoHistory.Current(), 3);
  Key(VK_DELETE);
  EXPECT_EQ(g_boxes, std::vector<std::string>{GetErrorText(kWorkbookLastWorksheet)});
  EXPECT_EQ(book.worksheetCount, 1u);
  EXPECT_EQ(book.undoHistory.Current(), 3);

  // Undo and Redo of the tree's steps show in the tree at once.
  Command(doc, ID_EDIT_UNDO);
  EXPECT_EQ(Tree(), "Workbook:4+ [Sales:3* Folder1:1+ [Worksheet2:2]]");
  Command(doc, ID_EDIT_UNDO);
  Command(doc, ID_EDIT_UNDO);
  Command(doc, ID_EDIT_UNDO);
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:3*]");
  Command(doc, ID_EDIT_REDO);
  EXPECT_EQ(Tree(), "Workbook:4+ [Sales:3*]");
}

// A drag posts its pointer to the tree as the mouse would; the drop moves
// the item, and a drop among its own contents copies it there.
TEST_F(PanesTest, DragMovesOrCopiesTreeItems) {
  OpenSampleWorkbook("w32_drag.tlv");
  const auto drag = [&](const char* from, const char* to) { DragTreeItem(doc, Handle(from), Handle(to)); };
  drag("A", "Closed");
  EXPECT_EQ(Tree(), "Workbook:4+ [Folder:1+ [B:2 Closed:1+ [C:2 A:3*]]]");
  drag("Folder", "B");
  EXPECT_EQ(Tree(), "Workbook:4+ [Folder:1+ [Folder:1+ [B:2 Closed:1+ [C:2 A:2]] B:2 Closed:1+ [C:2 A:3*]]]");
  EXPECT_EQ(doc->Workbook()->undoHistory.Current(), 1);
  EXPECT_TRUE(doc->IsModified());
}


// Entries added through the pane's button survive saving and reloading in
// both native formats; Go To selects the entry's worksheet and cell.
TEST_F(PanesTest, InspectEntriesSurviveSaveAndReload) {
  OpenSampleWorkbook("w32_inspect.tlv");
  CWorkBook& book = *doc->Workbook();
  CInspectView& pane = doc->m_inspect;
  PutNumber(book, 1, 1, 7);
  FocusCell(doc, 1, 1);
  SetTrackPopupMenuFunction(ChooseMenuItem);
  ::SetWindowTextA(pane.Edit(), "seven");
  g_menuChoice = ID_INSPECT_SELECTED_CELLS;
  ::SendMessageA(pane.Button(CInspectView::kAddId), BM_CLICK, 0, 0);
  ::SetWindowTextA(pane.Edit(), "empty");
  doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Handle("C")));
  FocusCell(doc, 4, 2);
  ::SendMessageA(pane.Button(CInspectView::kAddId), BM_CLICK, 0, 0);
  SetTrackPopupMenuFunction(nullptr);
  ASSERT_EQ(SendMessageA(pane.List(), LB_GETCOUNT, 0, 0), 2);
  const auto rows = [&] {
    std::string out;
    for (uint32_t i = 0; i < book.inspectCells.Count(); ++i) {
      InspectRow row;
      FormatInspectRow(&book, i, &row);
      out += std::string(row.name) + " " + row.address + " " + row.value + (row.missing ? " missing" : "") + "\n";
    }
    return out;
  };
  const std::string before = rows();
  EXPECT_EQ(before, "seven \\A!$B$2 7\nempty \\Folder\\Closed\\C!$C$5  missing\n");
  // The XML format first, then the binary one.
  for (int round = 0; round < 2; ++round) {
    book.saveKind = book.saveKind == kSaveKindBinaryGzip ? kSaveKindXmlPlain : kSaveKindBinaryGzip;
    Command(doc, ID_FILE_SAVE);
    Command(doc, ID_RELOAD);
    EXPECT_EQ(rows(), before) << int(book.saveKind);
    EXPECT_EQ(SendMessageA(pane.List(), LB_GETCOUNT, 0, 0), 2);
  }
  SendMessageA(pane.List(), LB_SETCURSEL, 0, 0);
  ::SendMessageA(pane.Button(CInspectView::kGoToId), BM_CLICK, 0, 0);
  EXPECT_STREQ(book.activeWorksheet->name, "A");
  EXPECT_EQ(doc->GetActiveView()->m_selection.currentRow, 1u);
  EXPECT_TRUE(g_boxes.empty());
}

// The active worksheet deleted in the tree, by the mouse and Delete or by
// F6 and the arrow keys, leaves every part of the window on the worksheet
// that takes its place; so do a deleted folder holding it, Cut, and the undo
// and redo of each. The window still closes.
TEST_F(PanesTest, DeletingTheActiveWorksheetShowsTheOneTakingItsPlace) {
  TwoTypedWorksheets();
  ClickTreeItem("Worksheet1");
  ASSERT_STREQ(doc->Workbook()->activeWorksheet->name, "Worksheet1");
  ASSERT_EQ(::GetFocus(), doc->m_tree.m_hWnd);
  Key(VK_DELETE);
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");

  Command(doc, ID_EDIT_UNDO);
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Worksheet2:3*]");
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");
  ClickTreeItem("Worksheet1");
  ExpectShown("Worksheet1", "\\Worksheet1", "1");
  Command(doc, ID_EDIT_REDO);
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");

  // The keyboard's way: F6 to the tree, Up onto Worksheet1, Delete.
  Command(doc, ID_EDIT_UNDO);
  ASSERT_STREQ(doc->Workbook()->activeWorksheet->name, "Worksheet2");
  FocusCell(doc, 0, 0);
  Key(VK_F6);
  ASSERT_EQ(::GetFocus(), doc->m_tree.m_hWnd);
  Key(VK_UP);
  ASSERT_EQ(SelectedTreeName(), "Worksheet1");
  ExpectShown("Worksheet1", "\\Worksheet1", "1");
  ::SetFocus(doc->m_tree);
  Key(VK_DELETE);
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");

  // The tree's context menu, called up on Worksheet1 while the view has the
  // focus: its Delete takes the worksheet, not the view's cells.
  Command(doc, ID_EDIT_UNDO);
  ClickTreeItem("Worksheet1");
  FocusCell(doc, 0, 0);
  const RECT label = LabelRect("Worksheet1");
  const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
  SetTrackPopupMenuFunction(ChooseMenuItem);
  g_menuChoice = ID_EDIT_CLEAR;
  // The button's release calls up the menu.
  doc->m_tree.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, at);
  doc->m_tree.PostMessage(WM_RBUTTONUP, 0, at);
  Pump();
  SetTrackPopupMenuFunction(nullptr);
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet2:3*]");
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");

  // A folder holding the active worksheet, cut from the tree; its undo.
  Command(doc, ID_EDIT_UNDO);
  ::SetFocus(doc->m_tree);
  Command(doc, ID_NEW_FOLDER);
  doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
  Command(doc, ID_NEW_WORKSHEET);
  doc->m_tree.SendMessage(TVM_ENDEDITLABELNOW, TRUE, 0);
  Pump();
  ASSERT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Worksheet2:2 Folder1:1+ [Worksheet3:3*]]");
  FocusCell(doc, 0, 0);
  Type("c1");
  Key(VK_DOWN);
  ClickTreeItem("Folder1");
  Key(VK_DELETE, VK_SHIFT);  // Cut
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Worksheet2:3*]");
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");
  Command(doc, ID_EDIT_UNDO);
  ClickTreeItem("Worksheet3");
  ExpectShown("Worksheet3", "\\Folder1\\Worksheet3", "c1");
  ClickTreeItem("Folder1");
  Key(VK_DELETE);
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");
  Command(doc, ID_EDIT_UNDO);
  Command(doc, ID_EDIT_REDO);
  ExpectShown("Worksheet2", "\\Worksheet2", "b1");
  EXPECT_TRUE(g_boxes.empty());

  // Alt+F4 in the tree asks once; No closes the program's window.
  ::SetFocus(doc->m_tree);
  g_answers = {IDNO};
  Hold(VK_MENU);
  ::PostMessageA(doc->m_tree, WM_SYSKEYDOWN, VK_F4, kAltHeld | 1);
  Pump();
  Hold(0);
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_FALSE(frame.IsWindow());
}

// A worksheet's name opened for editing in the tree, after typing into two
// worksheets: every key an edit control uses acts on the name alone and no
// key runs a command on the workbook, until Enter takes the name.
TEST_F(PanesTest, KeysOfANameBeingEditedActOnTheNameAlone) {
  doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  FocusCell(doc, 0, 0);
  Type("1");
  Key(VK_RETURN);
  Choose(ID_NEW_WORKSHEET);
  ASSERT_NE(LabelEdit(), nullptr);
  Key(VK_RETURN);  // the offered name
  FocusCell(doc, 0, 0);
  Type("2");
  Key(VK_RETURN);
  if (!book.panes.treePaneVisible) Choose(ID_VIEW_TREE);  // View > Worksheets
  const HWND edit = OpenName("Worksheet2");
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(::GetFocus(), edit);

  const int32_t steps = book.undoHistory.Current();
  const struct {
    UINT key;
    int held;
    const char* name;
  } presses[] = {{VK_END, 0, "Worksheet2"},      {VK_BACK, 0, "Worksheet"},
                 {VK_DELETE, 0, "Worksheet"},    {VK_HOME, 0, "Worksheet"},
                 {VK_DELETE, 0, "orksheet"},     {VK_RIGHT, 0, "orksheet"},
                 {VK_DELETE, VK_CONTROL, "o"},   {VK_LEFT, 0, "o"},
                 {VK_DELETE, VK_SHIFT, "o"},     {VK_UP, 0, "o"},
                 {VK_DOWN, 0, "o"},              {'Z', VK_CONTROL, "orksheet"},
                 {'A', VK_CONTROL, "orksheet"},  {'C', VK_CONTROL, "orksheet"},
                 {'X', VK_CONTROL, ""},          {'V', VK_CONTROL, "orksheet"},
                 {VK_INSERT, VK_SHIFT, "orksheetorksheet"}, {VK_F2, 0, "orksheetorksheet"},
                 {'Y', VK_CONTROL, "orksheetorksheet"},     {VK_F5, 0, "orksheetorksheet"},
                 {VK_F6, 0, "orksheetorksheet"},            {'R', VK_CONTROL, "orksheetorksheet"},
                 {VK_DOWN, VK_CONTROL, "orksheetorksheet"}};
  for (const auto& press : presses) {
    SCOPED_TRACE(testing::Message() << "key " << press.key << " with " << press.held);
    Key(press.key, press.held);
    EXPECT_EQ(TextOf(edit), press.name);
    // The workbook, the tree and the views as they were, the name still open.
    EXPECT_EQ(LabelEdit(), edit);
    EXPECT_EQ(::GetFocus(), edit);
    EXPECT_EQ(Items(), "Worksheet1=1 Worksheet2=2");
    EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Worksheet2:3*]");
    EXPECT_EQ(book.undoHistory.Current(), steps);
    EXPECT_EQ(doc->m_editing, 0);
  }
  Key('A', VK_CONTROL);
  Type("Sales");
  TakeNameAndReopen("Workbook:4+ [Worksheet1:2 Sales:3*]", "w32_name_keys.tlv", "Worksheet1=1 Sales=2");
  EXPECT_TRUE(g_boxes.empty());
}

// Ctrl+Z in a new worksheet's offered name undoes the name's typing, not the
// insertion; Enter then gives the new worksheet that name, and the file
// keeps every worksheet with its own cells.
TEST_F(PanesTest, UndoKeyInANewWorksheetsNameLeavesTheWorkbookAlone) {
  OpenDataAndLastWorkbook("w32_name_undo_key.tlv");
  Choose(ID_NEW_WORKSHEET);
  const HWND edit = LabelEdit();
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(::GetFocus(), edit);
  Key('Z', VK_CONTROL);
  EXPECT_EQ(LabelEdit(), edit);
  EXPECT_EQ(TextOf(edit), "Worksheet4");
  TakeNameAndReopen("Workbook:4+ [Worksheet1:2 Data:2 Last:2 Worksheet4:3*]", "w32_name_undo_key.tlv",
                    "Worksheet1 Data=7 Last=99 Worksheet4");
  EXPECT_TRUE(g_boxes.empty());
}

// A command that changes the tree, chosen from the menu or the toolbar while
// a name is being edited, first takes the name as Enter does: no edit stays
// over an item that went, and the tree's labels are the workbook's names.
TEST_F(PanesTest, CommandsEndANameBeingEditedFirst) {
  OpenDataAndLastWorkbook("w32_name_commands.tlv");
  CWorkBook& book = *doc->Workbook();
  Choose(ID_NEW_WORKSHEET);
  ASSERT_NE(LabelEdit(), nullptr);
  Choose(ID_EDIT_UNDO);
  EXPECT_TRUE(NoNameOpen());
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Data:2 Last:3*]");

  // Cut from the toolbar takes the new name, then the worksheet; Undo brings
  // back the renamed one.
  ASSERT_NE(OpenName("Data", "Sales"), nullptr);
  ClickToolBarButton(ID_EDIT_CUT);
  EXPECT_TRUE(NoNameOpen());
  EXPECT_EQ(Items(), "Worksheet1 Last=99");
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Last:3*]");
  ClickToolBarButton(ID_EDIT_UNDO);
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Sales:2 Last:3*]");

  ASSERT_NE(OpenName("Sales"), nullptr);
  Choose(ID_EDIT_REDO);
  EXPECT_TRUE(NoNameOpen());
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Last:3*]");
  Choose(ID_EDIT_UNDO);
  Choose(ID_EDIT_UNDO);

  ASSERT_NE(OpenName("Last"), nullptr);
  Choose(ID_EDIT_CLEAR);
  EXPECT_TRUE(NoNameOpen());
  EXPECT_EQ(Items(), "Worksheet1 Data=7");
  ASSERT_NE(OpenName("Data", "Sales"), nullptr);
  Choose(ID_NEW_FOLDER);
  ASSERT_NE(LabelEdit(), nullptr);
  EXPECT_EQ(TextOf(LabelEdit()), "Folder1");
  Key(VK_RETURN);
  EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Sales:3 Folder1:0*]");
  EXPECT_EQ(book.undoHistory.Current(), 2);
  EXPECT_TRUE(g_boxes.empty());
}

// Esc drops the typed name; so does Enter on a name emptied, which would
// leave the worksheet, and the formulas naming it, without a name.
TEST_F(PanesTest, EscOrAnEmptiedNameKeepsTheOldName) {
  OpenDataAndLastWorkbook("w32_name_escape.tlv");
  for (const UINT ending : {VK_ESCAPE, VK_RETURN}) {
    ASSERT_NE(OpenName("Data", ending == VK_ESCAPE ? "Sales" : ""), nullptr);
    Key(ending);
    EXPECT_TRUE(NoNameOpen());
    EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Data:3* Last:2]");
    EXPECT_EQ(doc->Workbook()->undoHistory.Current(), -1);
    EXPECT_FALSE(doc->IsModified());
  }
}

// Closing the window while a name is being edited takes the name first, so
// that the question about unsaved changes and the saving see it.
TEST_F(PanesTest, ClosingTakesANameBeingEdited) {
  OpenDataAndLastWorkbook("w32_name_close.tlv");
  ASSERT_NE(OpenName("Last", "Final"), nullptr);
  g_answers = {IDYES};
  doc->PostMessage(WM_CLOSE);
  Pump();
  EXPECT_EQ(g_boxes.size(), 1u);
  g_openPath = FullPath("w32_name_close.tlv");
  Choose(ID_FILE_OPEN);
  doc = frame.GetActiveChildFrame();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(Items(), "Worksheet1 Data=7 Final=99");
}

// Insert > Worksheet and Rename with the tree pane hidden show it: the name
// is edited where the user sees it, and no key meant for the cells renames
// the worksheet unseen. Closing the pane takes the name being edited.
TEST_F(PanesTest, NamesAreEditedInTheShownTree) {
  doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  if (doc->Workbook()->panes.treePaneVisible) Command(doc, ID_VIEW_TREE);
  for (const UINT command : {ID_NEW_WORKSHEET, ID_RENAME}) {
    ASSERT_FALSE(doc->TreeShown());
    FocusCell(doc, 0, 0);
    Choose(command);
    EXPECT_TRUE(doc->TreeShown());
    ASSERT_NE(LabelEdit(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(LabelEdit()));
    EXPECT_EQ(::GetFocus(), LabelEdit());
    Type(command == ID_RENAME ? "Costs" : "Sales");
    if (command == ID_NEW_WORKSHEET) {
      Key(VK_RETURN);
      EXPECT_EQ(Tree(), "Workbook:4+ [Worksheet1:2 Sales:3*]");
      Command(doc, ID_VIEW_TREE);
    }
  }
  // The pane's close button.
  doc->SendMessage(WM_COMMAND, MAKEWPARAM(ID_PANE_CLOSE, 0), reinterpret_cast<LPARAM>(doc->m_paneTree.m_hWnd));
  Pump();
  EXPECT_FALSE(doc->TreeShown());
  EXPECT_EQ(LabelEdit(), nullptr);
  EXPECT_EQ(Items(), "Worksheet1 Costs");
  EXPECT_NE(Title(doc->m_hWnd).find("\\Costs *"), std::string::npos) << Title(doc->m_hWnd);
  EXPECT_TRUE(g_boxes.empty());
}

}  // namespace
