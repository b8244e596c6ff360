// The commands that open the program's small dialogs, in a real main frame
// and document window, with their dialogs answered by scripts and their
// message boxes by the test; each checked on the workbook.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/document/document_window_fixture.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/about/about_dialog.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/color_items.h"
#include "dialogs/drop_down_lists/list_dialogs.h"
#include "dialogs/sort/sort_dialog.h"
#include "dialogs/statistics/cell_counts.h"
#include "dialogs/statistics/statistics_dialog.h"
#include "dialogs/width_height/width_height_dialog.h"
#include "files/dispatch/native_kind.h"
#include "tests/platform/ui/windows/ui_test_support.h"
#include "view/geometry/sheet_sizes.h"

namespace {

std::string Text(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::vector<double> ColumnValues(CWorkBook& book, uint16_t column, uint32_t first, uint32_t last) {
  std::vector<double> values;
  for (uint32_t row = first; row <= last; ++row) values.push_back(NumberAt(book, row, column));
  return values;
}

std::vector<std::string> Items(const DropDownList& list) {
  std::vector<std::string> items;
  for (const DropDownEntry* entry = list.entries; entry != nullptr; entry = entry->next) items.push_back(entry->text);
  return items;
}

DropDownRef ListOfCell(CWorkBook& book, uint32_t row, uint16_t column) {
  return book.styles.StyleAt(book.activeWorksheet->format.CellStyle(row, column)).dropDown;
}

class SheetDialogCommandsTest : public DocumentWindowTest {
 protected:
  void TearDown() override {
    SetDialogScripts(nullptr, 0);
    DocumentWindowTest::TearDown();
  }
  CChildFrame* Open(const std::string& path, DialogScript* password) {
    return OpenWithDialog(path, 1, password);
  }
  // The command sent as the menus send it, its dialogs answered by the scripts.
  void Command(UINT command, DialogScript* scripts = nullptr, int count = 0) {
    SetDialogScripts(scripts, count);
    frame.SendMessage(WM_COMMAND, command, 0);
    Pump();
    SetDialogScripts(nullptr, 0);
  }
  void Select(CChildFrame* doc, uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn, uint32_t lastRow) {
    doc->GetActiveView()->m_selection =
        GridSelection{firstColumn, firstRow, lastColumn, lastRow, 0, firstColumn, firstRow};
  }
  SelectionRange Selection(CChildFrame* doc) { return doc->GetActiveView()->Selection(); }
  // The worksheet-format sheet opened by its command on one of its pages.
  CWorksheetPropSheet& OpenWorksheetFormat(int page) {
    Options.WorksheetFormatPage = static_cast<uint8_t>(page);
    Command(ID_FORMAT_WORKSHEET);
    return frame.WorksheetFormatSheet();
  }
  // A modal dialog opened as a plain window for a picture of it.
  void Screenshot(CDialogImpl& dialog, const char* name) {
    HWND window = dialog.Create(frame.m_hWnd);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOW);
    Pump();
    SaveClientScreenshot(window, name);
    ::DestroyWindow(window);
    Pump();
  }
};

TEST_F(SheetDialogCommandsTest, RowHeightAndColumnWidthTakeWholePixelsUpTo4095) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  Select(doc, 1, 2, 3, 3);
  const DialogScriptStep heights[] = {
      {IDC_ROW_HEIGHT_EDIT, DialogAction::kSetText, "4096", 0}, {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_ROW_HEIGHT_EDIT, DialogAction::kSetText, "-1", 0},   {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_ROW_HEIGHT_EDIT, DialogAction::kSetText, "0", 0},    {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_WIDTH_HEIGHT, heights, 6, false, false, 0};
  Command(ID_ROW_HEIGHT, &script, 1);
  EXPECT_EQ(script.result, IDOK);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0], "Please enter an integer between 0 and 4095.");
  EXPECT_EQ(g_boxes[1], g_boxes[0]);
  EXPECT_EQ(GetRowHeight(book.activeWorksheet, 2, 100), 0);
  EXPECT_EQ(GetRowHeight(book.activeWorksheet, 3, 100), 0);
  EXPECT_NE(GetRowHeight(book.activeWorksheet, 4, 100), 0);
  EXPECT_TRUE(doc->IsModified());

  const DialogScriptStep widths[] = {{IDC_COLUMN_WIDTH_EDIT, DialogAction::kSetText, "4095", 0},
                                     {IDOK, DialogAction::kPress, nullptr, 0}};
  script = DialogScript{IDD_WIDTH_HEIGHT, widths, 2, false, false, 0};
  Command(ID_COLUMN_WIDTH, &script, 1);
  for (uint32_t column = 1; column <= 3; ++column) EXPECT_EQ(GetColumnWidth(book.activeWorksheet, column, 100), 4095);
  EXPECT_EQ(book.undoHistory.Current(), 1);

  // The dialog of one size leaves the other's edit out of reach.
  CWidthHeightDlg rows(kSizeRowHeight, 17);
  HWND window = rows.Create(frame.m_hWnd);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_COLUMN_WIDTH_EDIT)));
  EXPECT_EQ(Text(GetDlgItem(window, IDC_ROW_HEIGHT_EDIT)), "17");
  DestroyWindow(window);
  CWidthHeightDlg columns(kSizeColumnWidth, 64);
  Screenshot(columns, "dialog_width_height");
}

// Every text that is no whole number from 0 to 4095 is refused as 4096 is,
// so that no row vanishes by a slip: an emptied field, letters, a fraction,
// a number of 2000 digits. A 0 typed on purpose still hides.
TEST_F(SheetDialogCommandsTest, RowHeightRefusesEveryTextThatIsNoSize) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  Select(doc, 0, 1, 1, 1);
  const int height = GetRowHeight(book.activeWorksheet, 1, 100);
  const std::string digits(2000, '9');
  const char* const refused[] = {"", "abc", "1.5", digits.c_str()};
  std::vector<DialogScriptStep> steps;
  for (const char* text : refused) {
    steps.push_back({IDC_ROW_HEIGHT_EDIT, DialogAction::kSetText, text, 0});
    steps.push_back({IDOK, DialogAction::kPress, nullptr, 0});
  }
  steps.push_back({IDCANCEL, DialogAction::kPress, nullptr, 0});
  DialogScript script{IDD_WIDTH_HEIGHT, steps.data(), static_cast<int>(steps.size()), false, false, 0};
  Command(ID_ROW_HEIGHT, &script, 1);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDCANCEL);
  EXPECT_EQ(g_boxes, std::vector<std::string>(4, "Please enter an integer between 0 and 4095."));
  EXPECT_EQ(GetRowHeight(book.activeWorksheet, 1, 100), height);
  EXPECT_FALSE(book.undoHistory.CanUndo());
  EXPECT_FALSE(doc->IsModified());
}

// The id of the control with the focus each time a refusal was answered.
std::vector<int> g_focused;

void NoteFocus(HWND) { g_focused.push_back(GetDlgCtrlID(GetFocus())); }

// Saving as an xBase table, a field's length and decimals that are no
// numbers of their ranges are refused with the ranges, the focus kept in
// the field; a Numeric length the table cannot keep is cut to its 20
// characters, and the user is told so.
TEST_F(SheetDialogCommandsTest, XBaseFieldRefusalsSayWhatTheFieldTakes) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  PutText(book, 0, 0, "PRICE");
  PutNumber(book, 1, 0, 5.25);
  g_focused.clear();
  const DialogScriptStep field[] = {
      {IDC_KIND_COMBO, DialogAction::kSelectItem, nullptr, 1},  // Numeric
      {IDC_SECOND_EDIT, DialogAction::kSetText, "", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {0, DialogAction::kInspect, nullptr, 0, NoteFocus},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "0", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "12abc", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {0, DialogAction::kInspect, nullptr, 0, NoteFocus},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "300", 0},
      {IDC_DECIMALS_EDIT, DialogAction::kSetText, "19", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {0, DialogAction::kInspect, nullptr, 0, NoteFocus},
      {IDC_DECIMALS_EDIT, DialogAction::kSetText, "2", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  const DialogScriptStep file[] = {
      {IDC_FIELD_LIST, DialogAction::kSelectItem, nullptr, 0},
      {IDC_SIDE_BUTTON, DialogAction::kPress, nullptr, 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript scripts[2] = {{IDD_XBASE_FIELD, field, 15, false, false, 0},
                             {IDD_XBASE_FILE, file, 3, false, false, 0}};
  const std::string path = FullPath("w32_field_refusals.dbf");
  std::remove(path.c_str());
  g_savePath = path;
  g_saveFilter = 4;  // dBase III+
  SetDialogScripts(scripts, 2);
  DocumentWindowTest::Command(doc, ID_FILE_SAVE_AS);
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(scripts[0].ran);
  EXPECT_FALSE(scripts[0].stalled || scripts[1].stalled);
  const std::string length = "Please enter an integer between 1 and 32767.";
  EXPECT_EQ(g_boxes, (std::vector<std::string>{length, length, length, "Please enter an integer between 0 and 18.",
                                               "A Numeric field is at most 20 characters long: its length is set to "
                                               "20."}));
  EXPECT_EQ(g_focused, (std::vector<int>{IDC_SECOND_EDIT, IDC_SECOND_EDIT, IDC_DECIMALS_EDIT}));
  DocumentWindowTest::Command(doc, ID_FILE_CLOSE);
  const std::string written = ReadAll(path);
  ASSERT_GT(written.size(), 64u);
  EXPECT_EQ(written[32 + kXBaseFieldType], 'N');
  EXPECT_EQ(written[32 + kXBaseFieldLength], 20);
  EXPECT_EQ(written[32 + kXBaseFieldDecimals], 2);
}

// A key must name a column of the range being sorted: 0, a column past its
// last one, a number far beyond and a text that is no number are refused
// with the bounds, and the dialog stays for the next try. A key that is not enabled may keep any
// position of its field.
TEST_F(SheetDialogCommandsTest, SortRefusesKeysOutsideTheSortedColumns) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  const double second[] = {30, 10, 40, 20};
  for (uint32_t row = 0; row < 4; ++row) {
    PutNumber(book, row, 0, row + 1.0);
    PutNumber(book, row, 1, second[row]);
  }
  Select(doc, 0, 0, 1, 3);
  const DialogScriptStep steps[] = {
      {IDC_KEY1_ORDER, DialogAction::kSelectItem, nullptr, 0},
      {IDC_KEY1_EDIT, DialogAction::kSetText, "3", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_KEY1_EDIT, DialogAction::kSetText, "0", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_KEY1_EDIT, DialogAction::kSetText, "99999999", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_KEY1_EDIT, DialogAction::kSetText, "12abc", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_KEY1_EDIT, DialogAction::kSetText, "2", 0},
      {IDC_KEY2_CHECK, DialogAction::kSetCheck, nullptr, 0},
      {IDC_KEY2_EDIT, DialogAction::kSetText, "9", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_SORT, steps, 13, false, false, 0};
  Command(ID_SORT, &script, 1);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDOK);
  EXPECT_EQ(g_boxes, std::vector<std::string>(4, "Please enter an integer between 1 and 2."));
  EXPECT_EQ(ColumnValues(book, 1, 0, 3), (std::vector<double>{10, 20, 30, 40}));
  EXPECT_EQ(ColumnValues(book, 0, 0, 3), (std::vector<double>{2, 4, 1, 3}));
}

TEST_F(SheetDialogCommandsTest, SortDialogSortsTheUsedPartOfTheSelectionByItsKeys) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  const double first[] = {1, 2, 3, 4};
  const double second[] = {20, 40, 10, 30};
  for (uint32_t row = 0; row < 4; ++row) {
    PutNumber(book, row + 1, 0, first[row]);
    PutNumber(book, row + 1, 1, second[row]);
  }
  Select(doc, 0, 0, 5, 100);
  // An empty position is refused and the dialog stays for the next try.
  const DialogScriptStep steps[] = {
      {IDC_KEY1_EDIT, DialogAction::kSetText, "", 0},  {IDOK, DialogAction::kPress, nullptr, 0},
      {IDC_KEY1_EDIT, DialogAction::kSetText, "2", 0}, {IDC_KEY1_ORDER, DialogAction::kSelectItem, nullptr, 1},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script{IDD_SORT, steps, 5, false, false, 0};
  Command(ID_SORT, &script, 1);
  EXPECT_EQ(script.result, IDOK);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(ColumnValues(book, 1, 1, 4), (std::vector<double>{40, 30, 20, 10}));
  EXPECT_EQ(ColumnValues(book, 0, 1, 4), (std::vector<double>{2, 4, 1, 3}));
  EXPECT_EQ(book.undoHistory.Current(), 0);
  EXPECT_TRUE(doc->IsModified());

  // The keys are remembered: OK alone sorts the same way again.
  PutNumber(book, 2, 1, 5);
  const DialogScriptStep ok[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  script = DialogScript{IDD_SORT, ok, 1, false, false, 0};
  Command(ID_SORT, &script, 1);
  EXPECT_EQ(ColumnValues(book, 1, 1, 4), (std::vector<double>{40, 20, 10, 5}));

  CSortDlg dialog;
  Screenshot(dialog, "dialog_sort");
}

TEST_F(SheetDialogCommandsTest, SortByTheFirstColumnIsOneStepAndLeavesASingleRowAlone) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  const double values[] = {3, 1, 2};
  for (uint32_t row = 0; row < 3; ++row) PutNumber(book, row, 0, values[row]);
  PutNumber(book, 0, 4, 8);
  Select(doc, 0, 0, 0, 0);
  Command(ID_SORT_ASCENDING);
  EXPECT_FALSE(book.undoHistory.CanUndo());
  EXPECT_FALSE(doc->IsModified());
  Select(doc, 0, 0, 0, kMaxRow);
  Command(ID_SORT_ASCENDING);
  EXPECT_EQ(ColumnValues(book, 0, 0, 2), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(book.undoHistory.Current(), 0);
  Command(ID_SORT_DESCENDING);
  EXPECT_EQ(ColumnValues(book, 0, 0, 2), (std::vector<double>{3, 2, 1}));
  ASSERT_TRUE(book.UndoStep());
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(ColumnValues(book, 0, 0, 2), (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(NumberAt(book, 0, 4), 8);
}

TEST_F(SheetDialogCommandsTest, GoToCommandsMoveTheSelectionAlongItsColumns) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  PutNumber(book, 0, 0, 1);
  PutNumber(book, 1, 0, 1);
  PutNumber(book, 2, 0, 2);
  PutNumber(book, 0, 1, 1);
  PutNumber(book, 2, 1, 5);
  PutNumber(book, 3, 0, 7);
  const struct {
    UINT command;
    SelectionRange from;
    SelectionRange to;
  } cases[] = {
      {ID_NEXT_DIFFERENT, {0, 0, 0, 0}, {0, 2, 0, 2}},
      {ID_NEXT_IDENTICAL, {0, 0, 0, 0}, {0, 1, 0, 1}},
      {ID_PREVIOUS_NON_EMPTY, {0, 3, 0, 3}, {0, 2, 0, 2}},
      // Two columns: rows where only one of them is empty are passed.
      {ID_NEXT_EMPTY, {0, 0, 1, 0}, {0, 4, 1, 4}},
      {ID_PREVIOUS_EMPTY, {1, 3, 2, 8}, {1, 1, 2, 1}},
      // At either end nothing moves.
      {ID_NEXT_NON_EMPTY, {0, 3, 0, 3}, {0, 3, 0, 3}},
      {ID_PREVIOUS_EMPTY, {0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    Select(doc, c.from.firstColumn, c.from.firstRow, c.from.lastColumn, c.from.lastRow);
    Command(c.command);
    const SelectionRange s = Selection(doc);
    EXPECT_EQ(s.firstColumn, c.to.firstColumn) << c.command;
    EXPECT_EQ(s.firstRow, c.to.firstRow) << c.command;
    EXPECT_EQ(s.lastColumn, c.to.lastColumn) << c.command;
    EXPECT_EQ(s.lastRow, c.to.lastRow) << c.command;
    EXPECT_EQ(doc->GetActiveView()->m_selection.currentColumn, c.to.firstColumn);
  }
  // Top and Bottom scroll the view.
  PutNumber(book, 500, 0, 1);
  Command(ID_GO_BOTTOM);
  EXPECT_GT(doc->GetActiveView()->m_firstRow, 400u);
  Command(ID_GO_TOP);
  EXPECT_EQ(doc->GetActiveView()->m_firstRow, 0u);
  EXPECT_FALSE(doc->IsModified());
}

TEST_F(SheetDialogCommandsTest, ListEditorFillsANewListAndOKAppliesItToTheSelection) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  Select(doc, 1, 1, 2, 2);
  const DialogScriptStep editor[] = {
      {IDC_NEW_LIST_BUTTON, DialogAction::kPress, nullptr, 0},
      {IDC_LIST_ITEMS_EDIT, DialogAction::kSetText, "red\r\n\r\n\r\ngreen\r\nblue\r\n", 0},
      {IDC_AUTO_APPEND_CHECK, DialogAction::kSetCheck, nullptr, 1},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  const DialogScriptStep name[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript scripts[] = {{IDD_DROP_DOWN_LISTS, editor, 4, false, false, 0},
                            {IDD_LIST_NAME, name, 1, false, false, 0}};
  Command(ID_DROP_DOWN_LIST, scripts, 2);
  EXPECT_EQ(scripts[0].result, IDOK);
  EXPECT_STREQ(book.dropDownLists[0].name, "List 1.");
  EXPECT_EQ(Items(book.dropDownLists[0]), (std::vector<std::string>{"red", "green", "blue"}));
  EXPECT_EQ(ListOfCell(book, 1, 1).listId, 1);
  EXPECT_EQ(ListOfCell(book, 2, 2).listId, 1);
  EXPECT_EQ(ListOfCell(book, 2, 2).autoAppend, 1);
  EXPECT_EQ(ListOfCell(book, 3, 2).listId, 0);
  EXPECT_EQ(book.undoHistory.Current(), 0);

  // Reopened on the cell, the list is current; None and OK take it off the
  // cells while the list itself stays.
  const DialogScriptStep none[] = {{IDC_LIST_NAME_COMBO, DialogAction::kSelectItem, nullptr, 0},
                                   {IDOK, DialogAction::kPress, nullptr, 0}};
  scripts[0] = DialogScript{IDD_DROP_DOWN_LISTS, none, 2, false, false, 0};
  Command(ID_DROP_DOWN_LIST, scripts, 1);
  EXPECT_EQ(ListOfCell(book, 1, 1).listId, 0);
  EXPECT_EQ(Items(book.dropDownLists[0]).size(), 3u);
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(ListOfCell(book, 1, 1).listId, 1);

  CInputListDlg dialog(book.dropDownLists, book.styles.StyleAt(book.activeWorksheet->format.CellStyle(1, 1)));
  Screenshot(dialog, "dialog_drop_down_lists");
  CListNameDlg listName("List 2.");
  Screenshot(listName, "dialog_list_name");
}

TEST_F(SheetDialogCommandsTest, ListChangesStayAfterCancelAndFreedSlotsComeBackFirst) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  for (int slot = 0; slot < 3; ++slot) std::snprintf(book.dropDownLists[slot].name, 30, "List %d.", slot + 1);
  // Remove "List 2." (answered Yes), then a new list takes its slot with the
  // name typed, its items beginning with a line break; then Cancel.
  const DialogScriptStep editor[] = {
      {IDC_LIST_NAME_COMBO, DialogAction::kSelectItem, nullptr, 2},
      {IDC_REMOVE_LIST_BUTTON, DialogAction::kPress, nullptr, 0},
      {IDC_NEW_LIST_BUTTON, DialogAction::kPress, nullptr, 0},
      {IDC_LIST_ITEMS_EDIT, DialogAction::kSetText, "\r\nfirst", 0},
      {IDC_LIST_NAME_COMBO, DialogAction::kSelectItem, nullptr, 0},
      {IDCANCEL, DialogAction::kPress, nullptr, 0},
  };
  const DialogScriptStep name[] = {{IDC_LIST_NAME_EDIT, DialogAction::kSetText, "", 0},
                                   {IDOK, DialogAction::kPress, nullptr, 0},
                                   {IDC_LIST_NAME_EDIT, DialogAction::kSetText, "50% off", 0},
                                   {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript scripts[] = {{IDD_DROP_DOWN_LISTS, editor, 6, false, false, 0},
                            {IDD_LIST_NAME, name, 4, false, false, 0}};
  g_answers = {IDYES};
  Command(ID_DROP_DOWN_LIST, scripts, 2);
  EXPECT_EQ(scripts[0].result, IDCANCEL);
  EXPECT_FALSE(scripts[1].stalled);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0],
            "The selected drop-down list will be permanently deleted. (This action can't be undone.)\nContinue?");
  EXPECT_STREQ(book.dropDownLists[1].name, "50% off");
  EXPECT_EQ(Items(book.dropDownLists[1]), (std::vector<std::string>{"", "first"}));
  EXPECT_STREQ(book.dropDownLists[2].name, "List 3.");
  EXPECT_FALSE(book.undoHistory.CanUndo());
  // The lists are part of the workbook: their change asks to be saved.
  EXPECT_TRUE(doc->IsModified());

  // With every slot in use a new list is refused.
  for (DropDownList& list : book.dropDownLists) std::snprintf(list.name, sizeof list.name, "%s", "full");
  const DialogScriptStep full[] = {{IDC_NEW_LIST_BUTTON, DialogAction::kPress, nullptr, 0},
                                   {IDCANCEL, DialogAction::kPress, nullptr, 0}};
  scripts[0] = DialogScript{IDD_DROP_DOWN_LISTS, full, 2, false, false, 0};
  g_boxes.clear();
  Command(ID_DROP_DOWN_LIST, scripts, 1);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Too many drop-down lists in one document");
}

TEST_F(SheetDialogCommandsTest, ProtectionSetAndRemovedRoundTripsThroughBothNativeFormats) {
  const DialogScriptStep protect[] = {
      {IDC_FIRST_RADIO, DialogAction::kSetCheck, nullptr, 0},
      {IDC_SECOND_RADIO, DialogAction::kSetCheck, nullptr, 1},
      {IDC_TEXT_EDIT, DialogAction::kSetText, "secret12", 0},
      {IDC_SECOND_EDIT, DialogAction::kSetText, "secret12", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  const DialogScriptStep unprotect[] = {{IDC_SECOND_RADIO, DialogAction::kSetCheck, nullptr, 0},
                                        {IDC_FIRST_RADIO, DialogAction::kSetCheck, nullptr, 1},
                                        {IDOK, DialogAction::kPress, nullptr, 0}};
  const DialogScriptStep password[] = {{IDC_TEXT_EDIT, DialogAction::kSetText, "secret12", 0},
                                       {IDOK, DialogAction::kPress, nullptr, 0}};
  for (const bool xml : {false, true}) {
    SCOPED_TRACE(xml ? "xml" : "binary");
    const std::string path = FullPath(xml ? "w32_protect_xml.tlv" : "w32_protect_binary.tlv");
    std::remove(path.c_str());
    CChildFrame* doc = NewDocument();
    PutNumber(*doc->Workbook(), 0, 0, 42);
    if (xml) frame.SendMessage(WM_COMMAND, ID_SAVE_FORMAT_XML, 0);
    g_savePath = path;
    Command(ID_FILE_SAVE_AS);
    ASSERT_FALSE(doc->IsModified());

    DialogScript script{IDD_PROTECTION, protect, 5, false, false, 0};
    Command(ID_PROTECTION, &script, 1);
    EXPECT_EQ(doc->Workbook()->protectionMode, 4);
    EXPECT_STREQ(doc->Workbook()->password, "secret12");
    EXPECT_TRUE(doc->IsModified());
    // The XML format cannot keep a password: the file becomes binary.
    g_answers = {IDOK};
    Command(ID_FILE_SAVE);
    EXPECT_EQ(g_boxes.size(), xml ? 1u : 0u);
    g_boxes.clear();
    Command(ID_FILE_CLOSE);
    DialogScript asked{IDD_PASSWORD, password, 2, false, false, 0};
    doc = Open(path, &asked);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(asked.ran);
    EXPECT_EQ(doc->Workbook()->protectionMode, 4);
    EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 0), 42);

    script = DialogScript{IDD_PROTECTION, unprotect, 3, false, false, 0};
    Command(ID_PROTECTION, &script, 1);
    EXPECT_EQ(doc->Workbook()->protectionMode, 0);
    EXPECT_STREQ(doc->Workbook()->password, "");
    if (xml) frame.SendMessage(WM_COMMAND, ID_SAVE_FORMAT_XML, 0);
    Command(ID_FILE_SAVE);
    Command(ID_FILE_CLOSE);
    DialogScript notAsked{IDD_PASSWORD, password, 0, false, false, 0};
    doc = Open(path, &notAsked);
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(notAsked.ran);
    EXPECT_EQ(doc->Workbook()->protectionMode, 0);
    EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 0), 42);
    EXPECT_EQ(doc->Workbook()->saveKind, xml ? kNativeXmlPlain : kNativeBinaryGzip);
    EXPECT_TRUE(g_boxes.empty());
    Command(ID_FILE_CLOSE);
  }
}

TEST_F(SheetDialogCommandsTest, StatisticsListsEachWorksheetAndGoesToTheChosenOne) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  for (int i = 0; i < 12345; ++i) PutNumber(book, static_cast<uint32_t>(i), 0, i);
  CWorkSheetTree::CTreeItem* folder = NewFolderItem("Sales", 1);
  ASSERT_NE(folder, nullptr);
  book.InsertItems(folder, nullptr);
  CWorkSheet* second = NewWorksheet("Q1", 1);
  ASSERT_NE(second, nullptr);
  book.InsertItems(second, folder);
  ASSERT_TRUE(doc->FillTree());

  CStatisticsDlg dialog(&book);
  HWND window = dialog.Create(frame.m_hWnd);
  ASSERT_NE(window, nullptr);
  HWND list = GetDlgItem(window, IDC_STATISTICS_LIST);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
  const auto cellText = [&](int row, int column) {
    char text[260] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return std::string(text);
  };
  char many[32];
  FormatCount(12345, &CurrentRegionalSettings(), many, sizeof many);
  EXPECT_EQ(cellText(0, 0), "\\Worksheet1");
  EXPECT_EQ(cellText(0, 1), many);
  EXPECT_EQ(cellText(0, 3), many);
  EXPECT_EQ(cellText(1, 0), "\\Sales\\Q1");
  EXPECT_EQ(cellText(1, 1), "0");
  EXPECT_EQ(Text(GetDlgItem(window, IDC_STATISTICS_SUMMARY)), "2  worksheet(s),  1  folders");
  ShowWindow(window, SW_SHOW);
  Pump();
  SaveClientScreenshot(window, "dialog_statistics");
  DestroyWindow(window);

  const DialogScriptStep steps[] = {{IDC_STATISTICS_LIST, DialogAction::kSelectItem, nullptr, 1},
                                    {IDC_GO_TO_BUTTON, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_STATISTICS, steps, 2, false, false, 0};
  Command(ID_WORKBOOK_STATISTICS, &script, 1);
  EXPECT_EQ(script.result, IDOK);
  EXPECT_EQ(book.activeWorksheet, second);
}

TEST_F(SheetDialogCommandsTest, WorksheetFormatSheetHasItsOwnTitleAndChangesTheWorksheetAtOnce) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CWorksheetPropSheet& sheet = OpenWorksheetFormat(CWorksheetPropSheet::kGridlinesPage);
  ASSERT_NE(sheet.m_hWnd, nullptr);
  EXPECT_EQ(Text(sheet.m_hWnd), "Worksheet Format");
  EXPECT_EQ(Options.WorksheetFormatVisible, 1);
  EXPECT_FALSE(doc->IsModified());  // opening changes nothing

  HWND page = sheet.PageWindow();
  HWND check = GetDlgItem(page, IDC_GRIDLINES_CHECK);
  SetFocus(check);
  CheckDlgButton(page, IDC_GRIDLINES_CHECK, BST_UNCHECKED);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_GRIDLINES_CHECK, BN_CLICKED), reinterpret_cast<LPARAM>(check));
  EXPECT_EQ(book.activeWorksheet->viewFormat.gridLines, 0);
  EXPECT_TRUE(doc->IsModified());
  SaveClientScreenshot(sheet.m_hWnd, "dialog_worksheet_format_gridlines");

  // The Background tab: pattern "None" means no background, and the grid
  // lines set on the other tab stay off.
  HWND tabs = GetDlgItem(sheet.m_hWnd, IDC_SHEET_TABS);
  SendMessageA(tabs, TCM_SETCURSEL, CWorksheetPropSheet::kBackgroundPage, 0);
  NMHDR change{tabs, IDC_SHEET_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(sheet.m_hWnd, WM_NOTIFY, IDC_SHEET_TABS, reinterpret_cast<LPARAM>(&change));
  page = sheet.PageWindow();
  HWND pattern = GetDlgItem(page, IDC_PATTERN_COMBO);
  SetFocus(pattern);
  SendMessageA(pattern, CB_SETCURSEL, 0, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PATTERN_COMBO, CBN_SELENDOK), reinterpret_cast<LPARAM>(pattern));
  EXPECT_EQ(book.activeWorksheet->viewFormat.backgroundMode, 0);
  EXPECT_EQ(book.activeWorksheet->viewFormat.gridLines, 0);
  EXPECT_EQ(Options.WorksheetFormatPage, CWorksheetPropSheet::kBackgroundPage);
  Pump();
  SaveClientScreenshot(sheet.m_hWnd, "dialog_worksheet_format_background");

  // A grid-line colour chosen is shown again when the sheet opens again.
  SendMessageA(tabs, TCM_SETCURSEL, CWorksheetPropSheet::kGridlinesPage, 0);
  SendMessageA(sheet.m_hWnd, WM_NOTIFY, IDC_SHEET_TABS, reinterpret_cast<LPARAM>(&change));
  page = sheet.PageWindow();
  HWND colour = GetDlgItem(page, IDC_GRID_COLOR_COMBO);
  SetFocus(colour);
  SendMessageA(colour, CB_SETCURSEL, 4, 0);
  const COLORREF chosen = static_cast<COLORREF>(SendMessageA(colour, CB_GETITEMDATA, 4, 0));
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_GRID_COLOR_COMBO, CBN_SELENDOK), reinterpret_cast<LPARAM>(colour));
  EXPECT_EQ(book.activeWorksheet->viewFormat.gridColorSet, 1);
  EXPECT_EQ(book.activeWorksheet->viewFormat.gridColor, chosen);

  // The command closes it; the options bring it back with the next document.
  Command(ID_FORMAT_WORKSHEET);
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  Command(ID_FORMAT_WORKSHEET);
  colour = GetDlgItem(sheet.PageWindow(), IDC_GRID_COLOR_COMBO);
  EXPECT_EQ(SendMessageA(colour, CB_GETCURSEL, 0, 0), 4);
  Command(ID_FORMAT_WORKSHEET);
  EXPECT_EQ(sheet.m_hWnd, nullptr);
  EXPECT_EQ(Options.WorksheetFormatVisible, 0);
  Options.WorksheetFormatVisible = 1;
  NewDocument();
  Pump();
  EXPECT_NE(sheet.m_hWnd, nullptr);
  EXPECT_EQ(Options.WorksheetFormatVisible, 1);
}

// The background is a pattern or an image, never both: the two radio
// buttons are one group, and the pattern chosen after an image applies
// the pattern again. Each is clicked as the mouse clicks it.
TEST_F(SheetDialogCommandsTest, BackgroundPatternAndImageAreOneChoice) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CWorksheetPropSheet& sheet = OpenWorksheetFormat(CWorksheetPropSheet::kBackgroundPage);
  ASSERT_NE(sheet.m_hWnd, nullptr);
  HWND page = sheet.PageWindow();
  HWND pattern = GetDlgItem(page, IDC_PATTERN_COMBO);
  SetFocus(pattern);
  SendMessageA(pattern, CB_SETCURSEL, 3, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PATTERN_COMBO, CBN_SELENDOK), reinterpret_cast<LPARAM>(pattern));
  const WorksheetViewFormat& format = book.activeWorksheet->viewFormat;
  ASSERT_EQ(format.backgroundMode, kBackgroundPattern);
  const uint8_t chosen = format.fill.pattern;
  EXPECT_NE(chosen, 0);

  const struct {
    int clicked;
    uint8_t mode;
  } clicks[] = {{IDC_IMAGE_RADIO, kBackgroundImage}, {IDC_PATTERN_RADIO, kBackgroundPattern},
                {IDC_IMAGE_RADIO, kBackgroundImage}};
  for (const auto& click : clicks) {
    SendMessageA(GetDlgItem(page, click.clicked), BM_CLICK, 0, 0);
    Pump();
    const bool image = click.clicked == IDC_IMAGE_RADIO;
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_IMAGE_RADIO), image ? BST_CHECKED : BST_UNCHECKED) << click.clicked;
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_PATTERN_RADIO), image ? BST_UNCHECKED : BST_CHECKED) << click.clicked;
    EXPECT_EQ(format.backgroundMode, click.mode) << click.clicked;
    EXPECT_EQ(format.fill.pattern, chosen) << click.clicked;
  }
  Command(ID_FORMAT_WORKSHEET);
}

TEST_F(SheetDialogCommandsTest, ZoomChooserSetsTheZoomOfOneOrEveryWorksheet) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CWorkSheet* other = NewWorksheet("Other", 1);
  ASSERT_NE(other, nullptr);
  book.InsertItems(other, nullptr);
  Command(ID_VIEW_ZOOM);
  CZoomDlg& chooser = frame.ZoomChooser();
  ASSERT_NE(chooser.m_hWnd, nullptr);
  HWND track = GetDlgItem(chooser.m_hWnd, IDC_ZOOM_TRACK);
  EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 30);
  SaveClientScreenshot(chooser.m_hWnd, "dialog_zoom");
  SendMessageA(track, TBM_SETPOS, TRUE, 36);
  SendMessageA(chooser.m_hWnd, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(track));
  EXPECT_EQ(book.activeWorksheet->viewFormat.zoom, 40);
  EXPECT_EQ(other->viewFormat.zoom, 100);
  EXPECT_TRUE(doc->IsModified());
  CheckDlgButton(chooser.m_hWnd, IDC_ALL_WORKSHEETS_CHECK, BST_CHECKED);
  SendMessageA(track, TBM_SETPOS, TRUE, 28);
  SendMessageA(chooser.m_hWnd, WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(track));
  EXPECT_EQ(book.activeWorksheet->viewFormat.zoom, 120);
  EXPECT_EQ(other->viewFormat.zoom, 120);
  Pump();
  char pane[32] = {};
  SendMessageA(GetDlgItem(frame.m_hWnd, CMainFrame::kStatusBarId), SB_GETTEXTA, CMainFrame::CStatusBarCtrl2::kZoomPane,
               reinterpret_cast<LPARAM>(pane));
  EXPECT_STREQ(pane, " 120%");
}

TEST_F(SheetDialogCommandsTest, AboutBoxShowsTheTitleInBold) {
  NewDocument();
  const DialogScriptStep ok[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_ABOUT, ok, 1, false, false, 0};
  Command(ID_APP_ABOUT, &script, 1);
  EXPECT_EQ(script.result, IDOK);
  CAboutDlg about;
  HWND window = about.Create(frame.m_hWnd);
  ASSERT_NE(window, nullptr);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(window, IDC_ABOUT_TITLE), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfWeight, 700);
  ShowWindow(window, SW_SHOW);
  Pump();
  SaveClientScreenshot(window, "dialog_about");
  DestroyWindow(window);
}

}  // namespace

namespace {

BOOL WINAPI ChooseTeal(CHOOSECOLORA* choose) {
  choose->rgbResult = RGB(0, 128, 128);
  return TRUE;
}

// "custom" closed up in a colour box of either page opens the colour
// dialog and applies the colour chosen there.
TEST_F(SheetDialogCommandsTest, CustomColoursOfTheWorksheetFormatOpenTheColourDialog) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CColorComboBox::SetChooseColorFunction(ChooseTeal);
  CWorksheetPropSheet& sheet = OpenWorksheetFormat(CWorksheetPropSheet::kGridlinesPage);
  ASSERT_NE(sheet.m_hWnd, nullptr);
  HWND page = sheet.PageWindow();
  HWND colour = GetDlgItem(page, IDC_GRID_COLOR_COMBO);
  SetFocus(colour);
  SendMessageA(colour, CB_SETCURSEL, kColorItemCustom, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_GRID_COLOR_COMBO, CBN_CLOSEUP), reinterpret_cast<LPARAM>(colour));
  Pump();
  EXPECT_EQ(book.activeWorksheet->viewFormat.gridColorSet, 1);
  EXPECT_EQ(book.activeWorksheet->viewFormat.gridColor, RGB(0, 128, 128));

  HWND tabs = GetDlgItem(sheet.m_hWnd, IDC_SHEET_TABS);
  SendMessageA(tabs, TCM_SETCURSEL, CWorksheetPropSheet::kBackgroundPage, 0);
  NMHDR change{tabs, IDC_SHEET_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(sheet.m_hWnd, WM_NOTIFY, IDC_SHEET_TABS, reinterpret_cast<LPARAM>(&change));
  page = sheet.PageWindow();
  HWND background = GetDlgItem(page, IDC_BACKGROUND_COLOR_COMBO);
  SetFocus(background);
  SendMessageA(background, CB_SETCURSEL, kColorItemCustom, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BACKGROUND_COLOR_COMBO, CBN_CLOSEUP),
               reinterpret_cast<LPARAM>(background));
  Pump();
  EXPECT_EQ(book.activeWorksheet->viewFormat.fill.backgroundColor, RGB(0, 128, 128));
  CColorComboBox::SetChooseColorFunction(nullptr);
  Command(ID_FORMAT_WORKSHEET);
}

}  // namespace
