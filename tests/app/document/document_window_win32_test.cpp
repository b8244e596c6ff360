// Document windows in a real main frame, driven through their commands with
// the save dialog and the message boxes answered by the test.

#include "app/document/child_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/document/document_opening.h"
#include "app/document/document_window_fixture.h"
#include "app/document/pane_cycle.h"
#include "app/frame/activity_clock.h"
#include "app/frame/document_services.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "app/frame/unbuilt_commands.h"
#include "services/settings/global_options.h"
#include "core/cells/cell_record.h"
#include "core/numfmt/regional_settings.h"
#include "dialogs/file/file_dialog.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "numerics/numeric_function_table.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/dialog_script.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/popup_menu.h"
#include "resources/resource_ids.h"
#include "services/messages/error_text.h"
#include "tests/files/old_binary/old_file_writer.h"
#include "view/grid_view/talver_view.h"
#include "app/document/document_window_fixture.h"

namespace {

TEST_F(DocumentWindowTest, NewDocumentStandsWithPanesTitleAndSlot) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(CountOpenDocuments(), 1u);
  EXPECT_EQ(frame.GetActiveWorkbook(), doc->Workbook());
  EXPECT_EQ(Title(doc->m_hWnd), "New Workbook - \\Worksheet1");
  EXPECT_NE(doc->m_tree.m_hWnd, nullptr);
  EXPECT_EQ(GetDlgCtrlID(doc->m_tree), int(CChildFrame::kTreeId));
  EXPECT_STREQ(doc->m_paneTree.GetTitle(), "Worksheets");
  EXPECT_STREQ(doc->m_paneInspect.GetTitle(), "Inspect Cells");
  EXPECT_EQ(doc->ViewsSplitter(), &doc->m_splitViewsH);
  EXPECT_EQ(doc->m_splitViewsV.m_hWnd, nullptr);
  EXPECT_TRUE(doc->m_view[0].IsWindowVisible());
  EXPECT_FALSE(doc->m_view[1].IsWindowVisible());
  EXPECT_EQ(doc->GetActiveView(), &doc->m_view[0]);
  doc->SetModified(true);
  EXPECT_EQ(Title(doc->m_hWnd), "New Workbook - \\Worksheet1 *");
}

TEST_F(DocumentWindowTest, SeventeenthDocumentIsRefused) {
  for (uint32_t i = 0; i < kOpenDocumentSlots; ++i) ASSERT_NE(NewDocument(), nullptr) << i;
  const CChildFrame* sixteenth = frame.GetActiveChildFrame();
  frame.SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
  Pump();
  EXPECT_EQ(CountOpenDocuments(), kOpenDocumentSlots);
  EXPECT_EQ(frame.GetActiveChildFrame(), sixteenth);
  EXPECT_TRUE(g_boxes.empty());
  // Closing the third frees its slot for the next one.
  CChildFrame* third = OpenDocuments().slots[2].frame;
  Command(third, ID_FILE_CLOSE);
  EXPECT_EQ(CountOpenDocuments(), kOpenDocumentSlots - 1);
  CChildFrame* next = NewDocument();
  EXPECT_EQ(OpenDocuments().slots[2].frame, next);
}

TEST_F(DocumentWindowTest, SaveAsThenSaveAndReloadRoundTripBinary) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  PutNumber(*doc->Workbook(), 0, 0, 42.5);
  doc->SetModified(true);
  const std::string path = FullPath("w32_round.tlv");
  std::remove(path.c_str());
  g_savePath = path;
  Command(doc, ID_FILE_SAVE);  // without a file: Save As
  EXPECT_EQ(g_saveDialogs, 1);
  EXPECT_EQ(g_defaultExtension, "tlv");
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(Title(doc->m_hWnd), path + " - \\Worksheet1");
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeBinaryGzip);
  EXPECT_EQ(FindOpenDocumentByPath(path.c_str()), doc);

  PutNumber(*doc->Workbook(), 0, 0, 7);
  doc->SetModified(true);
  Command(doc, ID_FILE_SAVE);  // into the file it holds, no dialog
  EXPECT_EQ(g_saveDialogs, 1);
  EXPECT_FALSE(doc->IsModified());

  PutNumber(*doc->Workbook(), 0, 0, 99);
  Command(doc, ID_RELOAD);
  EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 0), 7);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_NE(doc->Workbook()->bufferedFile.file, nullptr);
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(frame.RecentDocuments().Count(), 1);
}

TEST_F(DocumentWindowTest, SaveAsXmlThenReloadAndBackToBinary) {
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 2, 1, 12.25);
  frame.SendMessage(WM_COMMAND, ID_SAVE_FORMAT_XML, 0);
  EXPECT_TRUE(doc->IsModified());
  const std::string xmlPath = FullPath("w32_round.xml.tlv");
  std::remove(xmlPath.c_str());
  g_savePath = xmlPath;
  Command(doc, ID_FILE_SAVE_AS);
  ASSERT_TRUE(g_boxes.empty()) << g_boxes.front();
  PutNumber(*doc->Workbook(), 2, 1, 1);
  Command(doc, ID_RELOAD);
  EXPECT_EQ(NumberAt(*doc->Workbook(), 2, 1), 12.25);
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeXmlPlain);
  doc->Workbook()->bufferedFile.Close();
  EXPECT_EQ(ReadAll(xmlPath).compare(0, 5, "<?xml"), 0);
  ASSERT_TRUE(doc->Workbook()->bufferedFile.Open(xmlPath.c_str(), "r+b"));

  // The binary format chosen again: Save As into another file, which then
  // reloads as binary.
  frame.SendMessage(WM_COMMAND, ID_SAVE_FORMAT_BINARY, 0);
  const std::string binaryPath = FullPath("w32_round_back.tlv");
  std::remove(binaryPath.c_str());
  g_savePath = binaryPath;
  Command(doc, ID_FILE_SAVE_AS);
  Command(doc, ID_RELOAD);
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(NumberAt(*doc->Workbook(), 2, 1), 12.25);
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeBinaryGzip);
  EXPECT_STREQ(doc->Workbook()->bufferedFile.path, binaryPath.c_str());
  EXPECT_EQ(FindOpenDocumentByPath(xmlPath.c_str()), nullptr);
}

TEST_F(DocumentWindowTest, SaveAsExcelXmlThenOpenThatFile) {
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 0, 0, 0.1 + 0.2);
  PutText(*doc->Workbook(), 2, 1, "caf\xE9  \x80");
  doc->SetModified(true);
  const std::string path = FullPath("w32_export.xml");
  std::remove(path.c_str());
  g_savePath = path;
  g_saveFilter = 3;
  Command(doc, ID_FILE_SAVE_AS);
  ASSERT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_FALSE(doc->IsModified());
  // The document now shows what the file holds, and saves as that kind.
  CWorkBook& saved = *doc->Workbook();
  EXPECT_EQ(saved.sourceFormat, kFormatExcelXml);
  EXPECT_EQ(NumberAt(saved, 0, 0), 0.1 + 0.2);
  EXPECT_STRNE(saved.documentProperties.author, "");
  EXPECT_STREQ(saved.documentProperties.version, "10.2625");
  EXPECT_EQ(saved.documentProperties.lastSaved[std::strlen(saved.documentProperties.lastSaved) - 1], 'Z');
  Command(doc, ID_FILE_CLOSE);
  ASSERT_EQ(CountOpenDocuments(), 0u);
  const std::string bytes = ReadAll(path);
  EXPECT_EQ(bytes.compare(0, 5, "<?xml"), 0);
  EXPECT_NE(bytes.find("xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""), std::string::npos);

  // Open by the Excel 2003 XML type, then by the native entry, which goes by
  // the extension.
  for (DWORD filter : {3u, 1u}) {
    g_openPath = path;
    g_openFilter = filter;
    frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    Pump();
    CChildFrame* opened = frame.GetActiveChildFrame();
    ASSERT_NE(opened, nullptr) << filter;
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(Title(opened->m_hWnd), path + " - \\Worksheet1");
    EXPECT_EQ(NumberAt(*opened->Workbook(), 0, 0), 0.1 + 0.2);
    EXPECT_EQ(TextAt(*opened->Workbook(), 2, 1), "caf\xE9  \x80");
    EXPECT_EQ(opened->Workbook()->sourceFormat, kFormatExcelXml);
    Command(opened, ID_FILE_CLOSE);
  }
}

TEST_F(DocumentWindowTest, OpenOlderBinaryFileThenSaveItAsBinary) {
  oldfile::File old;
  old.sheets[0].name = "Old sheet";
  old.sheets[0].cells = {{0, 0, 2, 12.5, ""}, {1, 1, 1, 0, "kept"}, {2, 0, 4, 25, "=R1C1*2"}};
  const std::string path = FullPath("w32_old.tlw");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  const std::string bytes = old.Encoded();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  CChildFrame* doc = frame.GetActiveChildFrame();
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(Title(doc->m_hWnd), path + " - \\Old sheet");
  EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 0), 12.5);
  EXPECT_EQ(TextAt(*doc->Workbook(), 1, 1), "kept");
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeOldBinary);
  // The older format has no writer: the document is saved in the binary
  // format, and reads back from it.
  PutNumber(*doc->Workbook(), 0, 0, 13.5);
  doc->SetModified(true);
  Command(doc, ID_FILE_SAVE);
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeBinaryGzip);
  Command(doc, ID_RELOAD);
  EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 0), 13.5);
  EXPECT_EQ(TextAt(*doc->Workbook(), 1, 1), "kept");
}

TEST_F(DocumentWindowTest, OpenReadsByTypeAndActivatesAnOpenPath) {
  const std::string path = SavedWorkbookFile("w32_open.tlv", 0, 1, 3.5);
  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  CChildFrame* doc = frame.GetActiveChildFrame();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 1), 3.5);
  EXPECT_EQ(Title(doc->m_hWnd), path + " - \\Worksheet1");
  EXPECT_STREQ(frame.RecentDocuments().Entry(0), path.c_str());

  // The same file named in other letters, even as text: only activated.
  CChildFrame* other = NewDocument();
  ASSERT_NE(other, doc);
  g_openPath = Upper(path);
  g_openFilter = 2;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  EXPECT_EQ(CountOpenDocuments(), 2u);
  EXPECT_EQ(frame.GetActiveChildFrame(), doc);
  EXPECT_TRUE(g_boxes.empty());

  // "All Files" reads native whatever the extension; chosen as text, the
  // same file is read as text after the text-file dialog.
  Command(doc, ID_FILE_CLOSE);
  const std::string copy = FullPath("w32_open_copy.csv");
  CopyFileA(path.c_str(), copy.c_str(), FALSE);
  g_openPath = copy;
  g_openFilter = 8;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  EXPECT_EQ(CountOpenDocuments(), 2u);
  EXPECT_TRUE(g_boxes.empty());
  CChildFrame* copied = FindOpenDocumentByPath(copy.c_str());
  ASSERT_NE(copied, nullptr);
  Command(copied, ID_FILE_CLOSE);
  const DialogScriptStep ok[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript textOptions = {IDD_OPEN_TEXT_FILE, ok, 1, false, false, 0};
  OpenWithDialog(copy, 2, &textOptions);
  EXPECT_TRUE(textOptions.ran);
  EXPECT_EQ(CountOpenDocuments(), 2u);
  EXPECT_TRUE(g_boxes.empty());
  ASSERT_NE(FindOpenDocumentByPath(copy.c_str()), nullptr);
  EXPECT_EQ(FindOpenDocumentByPath(copy.c_str())->Workbook()->sourceFormat, kFormatText);
}

TEST_F(DocumentWindowTest, RecentFileThatFailsLeavesTheList) {
  const std::string missing = FullPath("w32_gone.tlv");
  std::remove(missing.c_str());
  frame.RecentDocuments().Add(missing.c_str());
  frame.SendMessage(WM_COMMAND, ID_FILE_MRU_FIRST, 0);
  Pump();
  EXPECT_EQ(CountOpenDocuments(), 0u);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], FileErrorText(kFileCannotOpenForReading));
  EXPECT_EQ(frame.RecentDocuments().Count(), 0);
}

TEST_F(DocumentWindowTest, FailedSaveKeepsOldFilePathAndKinds) {
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 3, 2, 5);
  // Saved natively under a table's name, so that a table can be saved over
  // it: a native name would be saved natively whatever the type chosen.
  const std::string path = FullPath("w32_keep.dbf");
  std::remove(path.c_str());
  g_savePath = path;
  Command(doc, ID_FILE_SAVE_AS);
  ASSERT_STREQ(doc->Workbook()->bufferedFile.path, path.c_str());
  doc->Workbook()->bufferedFile.Close();
  const std::string before = ReadAll(path);
  ASSERT_FALSE(before.empty());
  doc->Workbook()->bufferedFile.Open(path.c_str(), "r+b");

  // Save As into a folder that does not exist: refused, the document as it was.
  g_savePath = FullPath("w32_no_such_folder\\other.tlv");
  doc->SetModified(true);
  Command(doc, ID_FILE_SAVE_AS);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], FileErrorText(kFileCannotOpenForWriting));
  EXPECT_STREQ(doc->Workbook()->bufferedFile.path, path.c_str());
  EXPECT_NE(doc->Workbook()->bufferedFile.file, nullptr);
  EXPECT_EQ(doc->Workbook()->sourceFormat, kFormatNative);
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeBinaryGzip);
  EXPECT_TRUE(doc->IsModified());

  // Save As a dBase IV table of a number too wide for its field: refused
  // before any question, naming the cell, and the old file intact.
  g_boxes.clear();
  PutNumber(*doc->Workbook(), 4, 2, 1.2345678901234567e300);
  const DialogScriptStep ok[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript description = {IDD_XBASE_FILE, ok, 1, false, false, 0};
  SaveAsWithDialog(doc, path, 5, &description);
  EXPECT_TRUE(description.ran);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], std::string(FileErrorText(kFileNumberTooWide)) + ": C5");
  EXPECT_EQ(doc->Workbook()->sourceFormat, kFormatNative);
  EXPECT_EQ(doc->Workbook()->saveKind, kNativeBinaryGzip);
  EXPECT_STREQ(doc->Workbook()->bufferedFile.path, path.c_str());
  EXPECT_TRUE(doc->IsModified());
  doc->Workbook()->bufferedFile.Close();
  EXPECT_EQ(ReadAll(path), before);
}

#ifdef TALVERO_READ_ONLY_FOLDER
TEST_F(DocumentWindowTest, ReadOnlyFolderGivesItsErrorAndChangesNothing) {
  std::string folder = "Z:" TALVERO_READ_ONLY_FOLDER;
  for (char& c : folder)
    if (c == '/') c = '\\';
  const std::string probe = folder + "\\probe.tlv";
  if (std::FILE* file = std::fopen(probe.c_str(), "wb")) {
    std::fclose(file);
    std::remove(probe.c_str());
    GTEST_SKIP() << "the folder " << folder << " takes files: this user writes everywhere";
  }
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 0, 0, 1);
  doc->SetModified(true);
  g_savePath = folder + "\\book.tlv";
  Command(doc, ID_FILE_SAVE);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], FileErrorText(kFileCannotOpenForWriting));
  EXPECT_EQ(doc->Workbook()->bufferedFile.file, nullptr);
  EXPECT_STREQ(doc->Workbook()->bufferedFile.path, "");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(Title(doc->m_hWnd), "New Workbook - \\Worksheet1 *");
}
#endif

TEST_F(DocumentWindowTest, CloseQueryMatrix) {
  struct Case {
    const char* name;
    bool modified;
    bool withFile;
    bool readOnly;
    std::vector<int> answers;
    bool cancelSaveAs;
    bool closes;
    size_t boxes;
  } cases[] = {
      {"unmodified", false, false, false, {}, false, true, 0},
      {"read-only with file", true, true, true, {}, false, true, 0},
      {"yes saves", true, true, false, {IDYES}, false, true, 1},
      {"no discards", true, false, false, {IDNO}, false, true, 1},
      {"cancel keeps", true, true, false, {IDCANCEL}, false, false, 1},
      {"save as cancelled keeps", true, false, false, {IDYES}, true, false, 1},
  };
  int n = 0;
  for (const Case& c : cases) {
    CChildFrame* doc = NewDocument();
    ASSERT_NE(doc, nullptr) << c.name;
    if (c.withFile) {
      g_savePath = FullPath(("w32_close" + std::to_string(n++) + ".tlv").c_str());
      std::remove(g_savePath.c_str());
      Command(doc, ID_FILE_SAVE_AS);
      ASSERT_NE(doc->Workbook()->bufferedFile.file, nullptr) << c.name;
      if (c.readOnly) doc->Workbook()->openedWithoutPassword = 1;
    }
    g_savePath = c.cancelSaveAs ? "" : g_savePath;
    doc->SetModified(c.modified);
    g_boxes.clear();
    g_answers.assign(c.answers.begin(), c.answers.end());
    const HWND window = doc->m_hWnd;
    Command(doc, ID_FILE_CLOSE);
    EXPECT_EQ(IsWindow(window) == FALSE, c.closes) << c.name;
    EXPECT_EQ(g_boxes.size(), c.boxes) << c.name;
    if (c.boxes > 0) {
      const std::string expected =
          "Save changes to " + (c.withFile ? g_savePath : std::string("New Workbook")) + "?";
      EXPECT_EQ(g_boxes[0], expected) << c.name;
    }
    if (IsWindow(window)) {
      doc->SetModified(false);
      Command(doc, ID_FILE_CLOSE);
    }
    EXPECT_EQ(CountOpenDocuments(), 0u) << c.name;
  }
}

TEST_F(DocumentWindowTest, SplitTogglesRebuildAndUnsplit) {
  CChildFrame* doc = NewDocument();
  CWorkSheet* sheet = doc->Workbook()->activeWorksheet;
  Command(doc, ID_SPLIT_HORIZONTALLY);
  EXPECT_EQ(doc->ViewsSplitter(), &doc->m_splitViewsH);
  EXPECT_TRUE(doc->SecondViewShown());
  EXPECT_TRUE(doc->m_view[1].IsWindowVisible());
  EXPECT_EQ(sheet->horizontalSplit, 1);

  Command(doc, ID_SPLIT_VERTICALLY);
  EXPECT_EQ(doc->m_splitViewsH.m_hWnd, nullptr);
  EXPECT_EQ(doc->ViewsSplitter(), &doc->m_splitViewsV);
  EXPECT_EQ(doc->m_splitInner.GetSplitterPane(0), doc->m_splitViewsV.m_hWnd);
  EXPECT_TRUE(doc->SecondViewShown());
  EXPECT_EQ(GetParent(doc->m_view[0]), doc->m_splitViewsV.m_hWnd);
  EXPECT_EQ(sheet->verticalSplit, 1);
  EXPECT_EQ(sheet->horizontalSplit, 0);

  Command(doc, ID_SPLIT_VERTICALLY);
  EXPECT_FALSE(doc->SecondViewShown());
  EXPECT_FALSE(doc->m_view[1].IsWindowVisible());
  EXPECT_EQ(sheet->verticalSplit, 0);
  EXPECT_EQ(doc->GetActiveView(), &doc->m_view[0]);
}

TEST_F(DocumentWindowTest, PaneTogglesAndF6SkipHiddenPanes) {
  CChildFrame* doc = NewDocument();
  EXPECT_FALSE(doc->TreeShown());
  EXPECT_FALSE(doc->InspectShown());
  doc->m_view[0].SetFocus();
  Command(doc, ID_NEXT_PANE);
  EXPECT_EQ(GetFocus(), doc->m_view[0].m_hWnd);

  doc->Workbook()->panes.treePaneWidth = 120;
  Command(doc, ID_VIEW_TREE);
  Command(doc, ID_VIEW_INSPECT);
  EXPECT_TRUE(doc->TreeShown());
  EXPECT_TRUE(doc->InspectShown());
  EXPECT_EQ(doc->Workbook()->panes.treePaneVisible, 1);
  doc->m_view[0].SetFocus();
  Command(doc, ID_NEXT_PANE);
  EXPECT_EQ(GetFocus(), doc->m_inspect.List());  // the second view is hidden
  Command(doc, ID_NEXT_PANE);
  EXPECT_EQ(GetFocus(), doc->m_tree.m_hWnd);
  Command(doc, ID_NEXT_PANE);
  EXPECT_EQ(GetFocus(), doc->m_view[0].m_hWnd);

  Command(doc, ID_SPLIT_HORIZONTALLY);
  doc->m_view[0].SetFocus();
  Command(doc, ID_NEXT_PANE);
  EXPECT_EQ(GetFocus(), doc->m_view[1].m_hWnd);
  EXPECT_EQ(doc->GetActiveView(), &doc->m_view[1]);

  // The close button of a pane hides it and keeps its size.
  doc->SendMessage(WM_COMMAND, MAKEWPARAM(ID_PANE_CLOSE, 0), reinterpret_cast<LPARAM>(doc->m_paneTree.m_hWnd));
  Pump();
  EXPECT_FALSE(doc->TreeShown());
  EXPECT_EQ(doc->Workbook()->panes.treePaneVisible, 0);
  EXPECT_GT(doc->Workbook()->panes.treePaneWidth, 0);
  Command(doc, ID_VIEW_INSPECT);
  EXPECT_FALSE(doc->InspectShown());
  EXPECT_GT(doc->Workbook()->panes.inspectPaneHeight, 0);
}

TEST_F(DocumentWindowTest, ViewsEditAndKeepTheirPlaceThroughSplitsAndFiles) {
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 12, 2, 5);
  CTalverView& view = doc->m_view[0];
  view.m_firstRow = 10;
  view.m_selection = GridSelection{2, 12, 2, 12, 0, 2, 12};
  Command(doc, ID_EDIT_CELL);  // F2: the cell's own text
  EXPECT_EQ(doc->m_editing, kEditInCell);
  char text[64] = {};
  view.m_editor.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "5");
  EXPECT_TRUE(view.m_editor.IsWindowVisible());
  doc->EndOpenEdit();
  EXPECT_EQ(doc->m_editing, kEditIdle);

  Command(doc, ID_SPLIT_HORIZONTALLY);
  EXPECT_EQ(doc->m_view[1].m_firstRow, 10u);
  EXPECT_EQ(doc->m_view[1].m_selection.currentRow, 12u);
  EXPECT_TRUE(doc->ColumnSplitterShowsBoth());
  EXPECT_FALSE(doc->RowSplitterShowsBoth());
  EXPECT_EQ(doc->OtherView(&view), &doc->m_view[1]);

  doc->CompleteEdit();
  EXPECT_TRUE(doc->IsModified());
  CChildFrame* reopened = SaveCloseAndReopen(doc, ID_FILE_SAVE, "w32_place.tlv");
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->m_view[0].m_firstRow, 10u);
  EXPECT_EQ(reopened->m_view[0].m_selection.currentColumn, 2u);
  EXPECT_EQ(reopened->m_view[0].m_selection.currentRow, 12u);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(DocumentWindowTest, ProtectedWorkbookAsksBeforeXmlAndSavesBinary) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  const std::string path = FullPath("w32_protected.tlv");
  std::remove(path.c_str());
  g_savePath = path;
  Command(doc, ID_FILE_SAVE_AS);
  book.protectionMode = 3;
  std::snprintf(book.password, sizeof book.password, "%s", "secret1");
  book.saveKind = kNativeXmlPlain;
  doc->SetModified(true);
  g_answers = {IDCANCEL};
  Command(doc, ID_FILE_SAVE);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_TRUE(doc->IsModified());
  g_boxes.clear();
  g_answers = {IDOK};
  Command(doc, ID_FILE_SAVE);
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(book.saveKind, kNativeBinaryGzip);
}

TEST_F(DocumentWindowTest, PasswordAsksOnOpenAndCancelOpensNothing) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  PutNumber(book, 0, 0, 8);
  book.protectionMode = 4;
  std::snprintf(book.password, sizeof book.password, "%s", "secret12");
  const std::string path = FullPath("w32_password.tlv");
  std::remove(path.c_str());
  g_savePath = path;
  Command(doc, ID_FILE_SAVE_AS);
  ASSERT_TRUE(g_boxes.empty()) << g_boxes.front();
  Command(doc, ID_FILE_CLOSE);

  const DialogScriptStep cancel[] = {{IDCANCEL, DialogAction::kPress, nullptr, 0}};
  const DialogScriptStep typed[] = {{IDC_TEXT_EDIT, DialogAction::kSetText, "secret12", 0},
                                    {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script = {IDD_PASSWORD, cancel, 1, false, false, 0};
  SetDialogScripts(&script, 1);
  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  EXPECT_TRUE(script.ran);
  EXPECT_EQ(CountOpenDocuments(), 0u);
  EXPECT_TRUE(g_boxes.empty());

  script = DialogScript{IDD_PASSWORD, typed, 2, false, false, 0};
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(script.ran);
  CChildFrame* opened = frame.GetActiveChildFrame();
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(NumberAt(*opened->Workbook(), 0, 0), 8);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(DocumentWindowTest, DraggedRangeMovesOrCopiesWithOneUndoStep) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  PutNumber(book, 0, 0, 1);
  PutNumber(book, 1, 0, 2);
  ASSERT_TRUE(doc->MoveRangeByDrag(SelectionRange{0, 0, 0, 1}, SelectionRange{2, 4, 2, 5}, false));
  EXPECT_EQ(NumberAt(book, 0, 0), -1);
  EXPECT_EQ(NumberAt(book, 4, 2), 1);
  EXPECT_EQ(NumberAt(book, 5, 2), 2);
  EXPECT_TRUE(doc->IsModified());
  // One Undo brings the whole move back, source and target.
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(NumberAt(book, 1, 0), 2);
  EXPECT_EQ(NumberAt(book, 5, 2), -1);
  ASSERT_TRUE(book.RedoStep());
  EXPECT_EQ(NumberAt(book, 1, 0), -1);
  EXPECT_EQ(NumberAt(book, 5, 2), 2);
  ASSERT_TRUE(doc->MoveRangeByDrag(SelectionRange{2, 4, 2, 4}, SelectionRange{3, 4, 3, 4}, true));
  EXPECT_EQ(NumberAt(book, 4, 2), 1);
  EXPECT_EQ(NumberAt(book, 4, 3), 1);
  ASSERT_TRUE(book.UndoStep());
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(NumberAt(book, 0, 0), 1);
  EXPECT_EQ(NumberAt(book, 4, 2), -1);
}

// The whole road: a block dragged by its frame in the document's view
// lands one column right and one row down as one undo step.
TEST_F(DocumentWindowTest, ABlockDraggedInTheViewMovesItsCellsWithOneUndoStep) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CDocumentView* view = doc->GetActiveView();
  ASSERT_NE(view, nullptr);
  for (uint32_t row = 1; row <= 3; ++row) PutNumber(book, row, 1, row);
  ClickCell(view, 1, 1);
  ClickCell(view, 2, 3, MK_SHIFT);
  ASSERT_EQ(view->Selection().lastRow, 3u);
  const RECT block = view->GetRangeRect(SelectionRange{1, 1, 2, 3});
  const RECT cell = view->GetRangeRect(SelectionRange{1, 1, 1, 1});
  const POINT grip = {block.left + 2, (block.top + block.bottom) / 2};
  // The block follows once the pointer passes a whole cell and its grid line.
  const POINT drop = {grip.x + (cell.right - cell.left) + 3, grip.y + (cell.bottom - cell.top) + 3};
  const int32_t stepsBefore = book.undoHistory.Current();
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
  Pump();
  EXPECT_EQ(book.undoHistory.Current(), stepsBefore + 1);
  EXPECT_EQ(NumberAt(book, 1, 1), -1);
  for (uint32_t row = 1; row <= 3; ++row) EXPECT_EQ(NumberAt(book, row + 1, 2), row) << row;
  EXPECT_EQ(view->Selection().firstColumn, 2u);
  EXPECT_TRUE(doc->IsModified());
  ASSERT_TRUE(book.UndoStep());
  for (uint32_t row = 1; row <= 3; ++row) EXPECT_EQ(NumberAt(book, row, 1), row) << row;
  EXPECT_EQ(NumberAt(book, 4, 2), -1);
}

// The status bar and the name box follow the active view's selection; a
// selection of negative numbers shows its true maximum.
TEST_F(DocumentWindowTest, StatusBarAndNameBoxShowTheActiveSelection) {
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 0, 0, -3);
  PutNumber(*doc->Workbook(), 1, 0, -5);
  doc->m_view[0].m_selection = GridSelection{0, 0, 0, 1, 0, 0, 0};
  frame.UpdateStatusBar();
  char text[200] = {};
  ::SendMessageA(frame.m_hWndStatusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_NE(std::strstr(text, "Sum=-8"), nullptr) << text;
  EXPECT_NE(std::strstr(text, "Max=-3"), nullptr) << text;
  HWND edit = reinterpret_cast<HWND>(::SendMessageA(frame.NameBox(), CBEM_GETEDITCONTROL, 0, 0));
  ::GetWindowTextA(edit != nullptr ? edit : frame.NameBox(), text, sizeof text);
  EXPECT_STREQ(text, "A1:A2");
}

// A malformed XML file names the line its reader stopped at.
TEST_F(DocumentWindowTest, MalformedXmlFileShowsItsLine) {
  const std::string path = FullPath("w32_bad.tlv");
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n<Unknown/>\r\n", file);
  std::fclose(file);
  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].find("Line: 0"), std::string::npos) << g_boxes[0];
  EXPECT_NE(g_boxes[0].find("Line: "), std::string::npos) << g_boxes[0];
  std::remove(path.c_str());
}

int64_t g_clock = 0;
int64_t TestClock() { return g_clock; }

// Refuses every window of one class that this thread creates while it
// lives, as the system does once its window handles run out.
class WindowCreationRefusal {
 public:
  explicit WindowCreationRefusal(const char* className) {
    s_className = className;
    s_refused = 0;
    m_hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~WindowCreationRefusal() { UnhookWindowsHookEx(m_hook); }
  WindowCreationRefusal(const WindowCreationRefusal&) = delete;
  WindowCreationRefusal& operator=(const WindowCreationRefusal&) = delete;
  static int Refused() { return s_refused; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    char name[64] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wp), name, sizeof name) > 0 &&
        lstrcmpiA(name, s_className) == 0) {
      ++s_refused;
      return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline const char* s_className = nullptr;
  static inline int s_refused = 0;
  HHOOK m_hook;
};

// Keys that edit text reach the in-cell editor and the formula bar before
// the frame's accelerators, which give the same keys to cell commands.
TEST_F(DocumentEditingTest, EditingKeysReachTheEditorAndTheFormulaBar) {
  struct Step {
    const char* text;
    UINT key;
    int held;
  };
  // The in-cell editor gets a typed first character as its text, the formula
  // bar as its first undoable typing; null: the case is the editor's only.
  const struct {
    const char* name;
    std::vector<Step> steps;
    const char* stored;
    const char* formulaBar;
  } cases[] = {
      {"shift+space", {{"A", 0, 0}, {nullptr, VK_SPACE, VK_SHIFT}, {"B", 0, 0}}, "A B", "A B"},
      {"del", {{"abc", 0, 0}, {nullptr, VK_LEFT, 0}, {nullptr, VK_LEFT, VK_SHIFT}, {nullptr, VK_DELETE, 0}}, "ac",
       "ac"},
      {"ctrl+a, ctrl+x, ctrl+v",
       {{"abc", 0, 0}, {nullptr, 'A', VK_CONTROL}, {nullptr, 'X', VK_CONTROL}, {"x", 0, 0},
        {nullptr, 'V', VK_CONTROL}},
       "xabc", "xabc"},
      {"ctrl+c",
       {{"ab", 0, 0}, {nullptr, 'A', VK_CONTROL}, {nullptr, 'C', VK_CONTROL}, {nullptr, VK_END, 0},
        {nullptr, 'V', VK_CONTROL}},
       "abab", "abab"},
      {"shift+del, shift+insert",
       {{"ab", 0, 0}, {nullptr, VK_HOME, 0}, {nullptr, VK_RIGHT, VK_SHIFT}, {nullptr, VK_DELETE, VK_SHIFT},
        {nullptr, VK_END, 0}, {nullptr, VK_INSERT, VK_SHIFT}},
       "ba", nullptr},
      {"ctrl+z", {{"ab", 0, 0}, {nullptr, 'Z', VK_CONTROL}, {"c", 0, 0}}, "ac", "c"},
  };
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  const auto run = [&](const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      if (step.text != nullptr) {
        Type(step.text);
      } else {
        Key(step.key, step.held);
      }
    }
  };
  uint32_t row = 0;
  for (const auto& c : cases) {
    FocusCell(doc, row, 0);
    run(c.steps);
    Key(VK_RETURN);
    EXPECT_EQ(doc->m_editing, kEditIdle) << c.name;
    EXPECT_EQ(TextAt(*doc->Workbook(), row++, 0), c.stored) << c.name;

    if (c.formulaBar == nullptr) continue;
    ::SetWindowTextA(frame.FormulaBar(), "");
    ::SetFocus(frame.FormulaBar());
    run(c.steps);
    char text[64] = {};
    ::GetWindowTextA(frame.FormulaBar(), text, sizeof text);
    EXPECT_STREQ(text, c.formulaBar) << c.name;
    EXPECT_EQ(doc->m_editing, kEditIdle) << c.name;
  }
  EXPECT_TRUE(g_boxes.empty());
}

// Save (Ctrl+S, an accelerator still while the editor is open), auto-save
// and Close store the text still open in the editor first.
TEST_F(DocumentEditingTest, SaveAutoSaveAndCloseStoreTheOpenEditFirst) {
  const std::string path = FullPath("w32_open_edit.tlv");
  std::remove(path.c_str());
  g_savePath = path;
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  FocusCell(doc, 0, 0);
  Type("saved");
  Key('S', VK_CONTROL);
  EXPECT_EQ(g_saveDialogs, 1);
  EXPECT_EQ(TextAt(*doc->Workbook(), 0, 0), "saved");
  EXPECT_FALSE(doc->IsModified());

  // The only change of the document is still in the editor.
  g_clock = 3000000;
  SetActivityClockForTesting(TestClock);
  FocusCell(doc, 1, 0);
  Type("auto");
  g_clock += 60;
  Options.AutoSave = 1;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_EQ(TextAt(*doc->Workbook(), 1, 0), "auto");
  EXPECT_FALSE(doc->IsModified());
  Options.AutoSave = 0;

  FocusCell(doc, 2, 0);
  Type("closed");
  Command(doc, ID_FILE_CLOSE);  // the question cancelled
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Save changes to " + path + "?");
  EXPECT_EQ(TextAt(*doc->Workbook(), 2, 0), "closed");
  EXPECT_EQ(doc->m_editing, kEditIdle);
}

// The window regaining the focus hands it to the open editor, so the next
// character goes on the text; without an edit the view takes it.
TEST_F(DocumentEditingTest, TheOpenEditorKeepsTheFocusWhenTheWindowRegainsIt) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  FocusCell(doc, 0, 0);
  Type("ab");
  ::SetFocus(frame.FormulaBar());
  ::SetFocus(frame.m_hWnd);
  Type("c");
  Key(VK_RETURN);
  EXPECT_EQ(TextAt(*doc->Workbook(), 0, 0), "abc");
  ::SetFocus(frame.FormulaBar());
  ::SetFocus(frame.m_hWnd);
  EXPECT_EQ(GetFocus(), doc->m_view[0].m_hWnd);
}

// F2 puts the caret before the cell's text, where Left ends the edit.
TEST_F(DocumentEditingTest, F2PutsTheCaretAtTheStart) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  PutNumber(*doc->Workbook(), 0, 1, 5);
  FocusCell(doc, 0, 1);
  Key(VK_F2);
  Type("1");
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(doc->m_editing, kEditIdle);
  EXPECT_EQ(NumberAt(*doc->Workbook(), 0, 1), 15);
  EXPECT_EQ(doc->m_view[0].m_selection.currentColumn, 0u);
}

// An edit that cannot begin (its drop-down list gets no window) starts
// nothing, so the next move stores no text cancelled earlier.
TEST_F(DocumentEditingTest, AnEditThatCannotBeginStoresNothingLater) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  ASSERT_TRUE(book.dropDownLists[0].AppendEntry("Apple"));
  StyleRecord style = StyleRecord::Default();
  style.dropDown = {1, 0, 1, 1, 0};
  uint16_t index = 0;
  ASSERT_TRUE(book.styles.FindOrAddStyle(style, &index));
  book.activeWorksheet->format.columns[1].SetStyle(index);
  FocusCell(doc, 0, 0);
  Type("cancelled");
  Key(VK_ESCAPE);

  FocusCell(doc, 0, 1);
  {
    WindowCreationRefusal refusal("ListBox");
    Type("x");
    Key(VK_F2);
    EXPECT_EQ(WindowCreationRefusal::Refused(), 2);
  }
  EXPECT_EQ(g_boxes, std::vector<std::string>(2, GetErrorText(kWorkbookOutOfMemory)));
  Key(VK_DOWN);
  EXPECT_EQ(doc->m_editing, kEditIdle);
  EXPECT_EQ(book.activeWorksheet->cells.GetCell(0, 1), nullptr);
  EXPECT_FALSE(doc->IsModified());
}

// A document window that cannot be created, in its panes or as a window,
// is freed once, by one owner: its slot stays free and its file closed.
TEST_F(DocumentWindowTest, ADocumentWindowThatCannotBeCreatedIsFreedOnce) {
  g_openPath = SavedWorkbookFile("w32_no_window.tlv", 0, 0, 4);
  for (const char* refusedClass : {"SysTreeView32", "TalveroDocument"}) {
    g_boxes.clear();
    {
      WindowCreationRefusal refusal(refusedClass);
      frame.SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
      Pump();
      frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
      Pump();
      EXPECT_EQ(WindowCreationRefusal::Refused(), 2) << refusedClass;
    }
    EXPECT_EQ(CountOpenDocuments(), 0u) << refusedClass;
    EXPECT_EQ(g_boxes, std::vector<std::string>(2, GetErrorText(kWorkbookOutOfMemory))) << refusedClass;
  }
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  CChildFrame* opened = frame.GetActiveChildFrame();
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(OpenDocuments().slots[0].frame, opened);
  EXPECT_EQ(NumberAt(*opened->Workbook(), 0, 0), 4);
}

std::string WindowText(HWND window) {
  char text[kEditCapacity + 2] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void TypeIntoFormulaBar(CMainFrame& frame, const char* text) {
  for (const char* c = text; *c != '\0'; ++c) PostMessageA(frame.FormulaBar(), WM_CHAR, static_cast<WPARAM>(*c), 0);
  PostMessageA(frame.FormulaBar(), WM_KEYDOWN, VK_RETURN, 0);
}

struct MenuItem {
  UINT command;
  bool enabled;
  std::string text;
};

// The items of a pop-up and of its sub-menus as their owner shows them:
// each pop-up is prepared with WM_INITMENUPOPUP first, as the system does
// when it opens.
void CollectMenu(HWND owner, HMENU popup, std::vector<MenuItem>& items) {
  SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    if (HMENU sub = GetSubMenu(popup, i)) {
      CollectMenu(owner, sub, items);
      continue;
    }
    const UINT state = GetMenuState(popup, i, MF_BYPOSITION);
    if ((state & MF_SEPARATOR) != 0) continue;
    char text[128] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    items.push_back({GetMenuItemID(popup, i), (state & (MF_GRAYED | MF_DISABLED)) == 0, text});
  }
}

// The menus the program tracks (context menu, toolbar drop-downs) are read
// instead of shown.
std::vector<MenuItem> g_tracked;
UINT CollectTrackedMenu(HMENU popup, UINT, int, int, HWND owner, const RECT*) {
  g_tracked.clear();
  CollectMenu(owner, popup, g_tracked);
  return 0;
}

// Every command a user can reach in a document window, from the menu bar,
// the cell context menu, the toolbars and their drop-down menus, is either
// disabled or taken by a handler of the frame or the document window.
TEST_F(DocumentWindowTest, EveryEnabledCommandOfTheMenusAndToolbarsReachesAHandler) {
  ASSERT_NE(NewDocument(), nullptr);
  // What Undo and Paste wait for is there: an edit and a text to paste.
  TypeIntoFormulaBar(frame, "1");
  Pump();
  ASSERT_TRUE(frame.GetActiveWorkbook()->undoHistory.CanUndo());
  if (OpenClipboard(frame.m_hWnd)) {
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2)) {
      lstrcpyA(static_cast<char*>(GlobalLock(block)), "7");
      GlobalUnlock(block);
      SetClipboardData(CF_TEXT, block);
    }
    CloseClipboard();
  }
  frame.UpdateUI();
  // The modal dialogs that commands open end at once; the print sheet,
  // where it opens, is cancelled.
  DialogScriptStep cancel = {IDCANCEL, DialogAction::kPress, nullptr, 0};
  DialogScript endAtOnce[] = {{IDD_WIDTH_HEIGHT, nullptr, 0, false, false, 0},
                              {IDD_SORT, nullptr, 0, false, false, 0},
                              {IDD_STATISTICS, nullptr, 0, false, false, 0},
                              {IDD_DROP_DOWN_LISTS, nullptr, 0, false, false, 0},
                              {IDD_PROTECTION, nullptr, 0, false, false, 0},
                              {IDD_ABOUT, nullptr, 0, false, false, 0},
                              {IDD_PRINT_SHEET, &cancel, 1, false, false, 0},
                              {IDD_OPTIONS, nullptr, 0, false, false, 0},
                              {IDD_ADD_BOOKMARK, nullptr, 0, false, false, 0}};
  SetDialogScripts(endAtOnce, 9);
  // Exit ends the walk and help opens windows outside the program; their
  // handlers are the frame's own.
  const UINT notRun[] = {ID_APP_EXIT, ID_HELP_CONTENTS, ID_SUPPORT, ID_ONLINE_HELP};
  std::vector<std::string> unhandled;
  int sent = 0;
  const auto run = [&](UINT command, const std::string& where) {
    for (UINT skipped : notRun)
      if (command == skipped) return;
    const uint32_t before = HandledCommandCount();
    frame.SendMessage(WM_COMMAND, command, 0);
    Pump();
    ++sent;
    if (HandledCommandCount() == before) unhandled.push_back(where + " " + std::to_string(command));
    // Every command runs in a document window.
    if (frame.GetActiveChildFrame() == nullptr) NewDocument();
  };
  // Each item as the menu shows it when opened again for it.
  const auto walk = [&](const std::string& where, const auto& open) {
    for (size_t i = 0;; ++i) {
      const std::vector<MenuItem> items = open();
      if (i >= items.size()) break;
      if (items[i].enabled) run(items[i].command, where + " \"" + items[i].text + "\"");
    }
  };
  for (int top = 0; top < GetMenuItemCount(frame.Menu()); ++top) {
    walk("menu bar", [&] {
      std::vector<MenuItem> items;
      CollectMenu(frame.m_hWnd, GetSubMenu(frame.Menu(), top), items);
      return items;
    });
  }
  SetTrackPopupMenuFunction(CollectTrackedMenu);
  walk("cell context menu", [&] {
    CChildFrame* doc = frame.GetActiveChildFrame();
    POINT p{40, 60};
    ::ClientToScreen(doc->m_view[0].m_hWnd, &p);
    doc->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(doc->m_view[0].m_hWnd), MAKELPARAM(p.x, p.y));
    return g_tracked;
  });
  const HWND toolbars[] = {frame.MainToolBar(), frame.SecondaryToolBar(), frame.FindToolBar(),
                           frame.PreviewToolBar()};
  for (HWND toolbar : toolbars) {
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      TBBUTTON button{};
      SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
      const UINT command = static_cast<UINT>(button.idCommand);
      if ((button.fsStyle & BTNS_SEP) != 0 || !SendMessageA(toolbar, TB_ISBUTTONENABLED, command, 0)) continue;
      const std::string where = "button " + std::to_string(command);
      // A whole drop-down button only opens its menu.
      if ((button.fsStyle & BTNS_WHOLEDROPDOWN) == 0) run(command, where);
      if ((button.fsStyle & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN)) == 0) continue;
      walk(where + " menu", [&] {
        g_tracked.clear();
        NMTOOLBARA drop{};
        drop.hdr.hwndFrom = toolbar;
        drop.hdr.code = TBN_DROPDOWN;
        drop.iItem = static_cast<int>(command);
        frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
        return g_tracked;
      });
    }
  }
  SetTrackPopupMenuFunction(nullptr);
  SetDialogScripts(nullptr, 0);
  // The region commands leave the user's locale in force.
  ApplyRegionalSettings(kRegionGeneric, true);
  EXPECT_TRUE(unhandled.empty()) << [&] {
    std::string list;
    for (const std::string& item : unhandled) list += item + "\n";
    return list;
  }();
  // The walk ran the built commands: files, panes, splits, windows, the find
  // bar, bookmarks, recent texts and the formula bar among them.
  EXPECT_GT(sent, 25);
}

// The formula bar shows the active cell as editing starts from it: a
// percentage shown rounded comes back whole, so Enter there without a change
// leaves the cell's value exactly as it was.
TEST_F(DocumentWindowTest, FormulaBarShowsTheActiveCellAsEditingStartsFromIt) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CDocumentView* view = doc->GetActiveView();
  PutNumber(book, 1, 0, 2.5);
  ClickCell(view, 0, 1);
  EXPECT_EQ(WindowText(frame.FormulaBar()), "2.5");
  ClickCell(view, 3, 3);
  EXPECT_EQ(WindowText(frame.FormulaBar()), "");
  ClickCell(view, 0, 0);
  TypeIntoFormulaBar(frame, "12.345%");
  Pump();
  ASSERT_EQ(NumberAt(book, 0, 0), 0.12345);
  EXPECT_NE(WindowText(frame.FormulaBar()), "");
  PostMessageA(frame.FormulaBar(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(NumberAt(book, 0, 0), 0.12345);

  // While editing is locked the bar keeps what the user put there.
  Options.LockEdit = 1;
  SetWindowTextA(frame.FormulaBar(), "kept");
  ClickCell(view, 0, 1);
  EXPECT_EQ(WindowText(frame.FormulaBar()), "kept");
}

// Text typed into the formula bar goes, with Enter, into every selected
// cell; one Undo takes it all back.
TEST_F(DocumentWindowTest, EnterInTheFormulaBarFillsTheSelectionWithOneUndoStep) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  CDocumentView* view = doc->GetActiveView();
  PutNumber(book, 1, 0, 2.5);
  ClickCell(view, 1, 0);
  ClickCell(view, 2, 1, MK_SHIFT);
  const int32_t steps = book.undoHistory.Current();
  TypeIntoFormulaBar(frame, "=A2*2");
  Pump();
  for (uint32_t row = 0; row <= 1; ++row) {
    for (uint16_t column = 1; column <= 2; ++column) {
      const CellRecord* cell = book.activeWorksheet->cells.GetCell(row, column);
      ASSERT_NE(cell, nullptr) << row << "," << column;
      EXPECT_TRUE(cell->IsFormula());
      EXPECT_EQ(cell->CachedNumber(), 5) << row << "," << column;
    }
  }
  EXPECT_EQ(book.undoHistory.Current(), steps + 1);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_STREQ(Options.Lists->recentCellTexts[0], "=A2*2");
  EXPECT_EQ(WindowText(frame.FormulaBar()), "=A2*2");
  ASSERT_TRUE(book.UndoStep());
  EXPECT_EQ(book.activeWorksheet->cells.GetCell(0, 1), nullptr);
  EXPECT_EQ(book.activeWorksheet->cells.GetCell(1, 2), nullptr);
}

// The View menu's pane and split checks and the tree button's picture
// follow the window; Auto Row Height is checked while no selected row has a
// fixed height.
TEST_F(DocumentWindowTest, PaneSplitAndRowHeightChecksFollowTheWindow) {
  CChildFrame* doc = NewDocument();
  HMENU viewMenu = GetSubMenu(frame.Menu(), 2);
  HMENU formatMenu = GetSubMenu(frame.Menu(), 4);
  const auto checked = [&](HMENU menu, UINT command) {
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  const auto treeImage = [&] { return SendMessageA(frame.SecondaryToolBar(), TB_GETBITMAP, ID_VIEW_TREE, 0); };
  EXPECT_FALSE(checked(viewMenu, ID_VIEW_TREE));
  EXPECT_FALSE(checked(viewMenu, ID_VIEW_INSPECT));
  EXPECT_EQ(treeImage(), 1);
  Command(doc, ID_VIEW_TREE);
  Command(doc, ID_VIEW_INSPECT);
  EXPECT_TRUE(checked(viewMenu, ID_VIEW_TREE));
  EXPECT_TRUE(checked(viewMenu, ID_VIEW_INSPECT));
  EXPECT_EQ(treeImage(), 0);

  struct Step {
    UINT command;
    bool horizontal;
    bool vertical;
  } steps[] = {{ID_SPLIT_HORIZONTALLY, true, false},
               {ID_SPLIT_VERTICALLY, false, true},
               {ID_SPLIT_VERTICALLY, false, false}};
  for (const Step& step : steps) {
    Command(doc, step.command);
    EXPECT_EQ(checked(viewMenu, ID_SPLIT_HORIZONTALLY), step.horizontal) << step.command;
    EXPECT_EQ(checked(viewMenu, ID_SPLIT_VERTICALLY), step.vertical) << step.command;
  }

  CDocumentView* view = doc->GetActiveView();
  ASSERT_TRUE(doc->Workbook()->activeWorksheet->format.rows.SetRow(2, 30, true));
  ClickCell(view, 0, 0);
  ClickCell(view, 0, 1, MK_SHIFT);
  EXPECT_TRUE(checked(formatMenu, ID_AUTO_ROW_HEIGHT));
  ClickCell(view, 0, 3, MK_SHIFT);
  EXPECT_FALSE(checked(formatMenu, ID_AUTO_ROW_HEIGHT));
}

TEST_F(DocumentWindowTest, SaveAsTextThenOpenReadsTheSameCells) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  PutNumber(book, 0, 0, 1.5);
  PutText(book, 0, 1, "a;b");
  PutText(book, 2, 2, "caf\xE9");
  const std::string path = FullPath("w32_story.csv");
  std::remove(path.c_str());
  // Semicolons, ANSI.
  const DialogScriptStep steps[] = {{IDC_KIND_COMBO, DialogAction::kSelectItem, nullptr, 3},
                                    {IDC_ENCODING_COMBO, DialogAction::kSelectItem, nullptr, 1},
                                    {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript options = {IDD_SAVE_TEXT_FILE, steps, 3, false, false, 0};
  SaveAsWithDialog(doc, path, 2, &options);
  ASSERT_TRUE(options.ran);
  EXPECT_TRUE(g_boxes.empty());
  // Saved into another kind, the document shows what the file holds.
  EXPECT_EQ(book.sourceFormat, kFormatText);
  EXPECT_STREQ(book.activeWorksheet->name, "w32_story.csv");
  EXPECT_EQ(NumberAt(book, 0, 0), 1.5);
  EXPECT_EQ(TextAt(book, 2, 2), "caf\xE9");
  Command(doc, ID_FILE_CLOSE);
  EXPECT_EQ(ReadAll(path), "1.5;\"a;b\"\r\n\r\n;;caf\xE9");

  options = DialogScript{IDD_OPEN_TEXT_FILE, steps, 3, false, false, 0};
  CChildFrame* opened = OpenWithDialog(path, 2, &options);
  ASSERT_TRUE(options.ran);
  ASSERT_NE(opened, nullptr);
  CWorkBook& read = *opened->Workbook();
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(read.sourceFormat, kFormatText);
  EXPECT_EQ(NumberAt(read, 0, 0), 1.5);
  EXPECT_EQ(TextAt(read, 0, 1), "a;b");
  EXPECT_EQ(TextAt(read, 2, 2), "caf\xE9");
  EXPECT_EQ(Title(opened->m_hWnd), path + " - \\w32_story.csv");
}

TEST_F(DocumentWindowTest, SaveAsDBaseIVThenOpenReadsTheTableWithItsMemos) {
  CChildFrame* doc = NewDocument();
  CWorkBook& book = *doc->Workbook();
  PutText(book, 0, 0, "NAME");
  PutText(book, 0, 1, "AMOUNT");
  PutText(book, 0, 2, "NOTE");
  PutText(book, 1, 0, "Ann");
  PutNumber(book, 1, 1, 12.25);
  PutText(book, 1, 2, std::string(300, 'n'));
  PutText(book, 2, 0, "Bob");
  PutNumber(book, 2, 1, -3);
  const std::string path = FullPath("w32_story.dbf");
  const std::string memoPath = FullPath("w32_story.dbt");
  std::remove(path.c_str());
  std::remove(memoPath.c_str());
  const DialogScriptStep ok[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript description = {IDD_XBASE_FILE, ok, 1, false, false, 0};
  SaveAsWithDialog(doc, path, 5, &description);
  ASSERT_TRUE(description.ran);
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(book.sourceFormat, kFormatXBaseFirst + 1);
  EXPECT_EQ(book.xbaseTable.header[0], 0x8B);
  EXPECT_EQ(TextAt(book, 1, 2), std::string(300, 'n'));
  Command(doc, ID_FILE_CLOSE);
  EXPECT_FALSE(ReadAll(memoPath).empty());

  description = DialogScript{IDD_XBASE_FILE, ok, 1, false, false, 0};
  CChildFrame* opened = OpenWithDialog(path, 5, &description);
  ASSERT_TRUE(description.ran);
  ASSERT_NE(opened, nullptr);
  CWorkBook& read = *opened->Workbook();
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(read.sourceFormat, kFormatXBaseFirst + 1);
  EXPECT_EQ(TextAt(read, 0, 1), "AMOUNT");
  EXPECT_EQ(TextAt(read, 2, 0), "Bob");
  EXPECT_EQ(NumberAt(read, 1, 1), 12.25);
  EXPECT_EQ(NumberAt(read, 2, 1), -3);
  EXPECT_EQ(TextAt(read, 1, 2), std::string(300, 'n'));
}

// What a typed formula should give: a number (within a relative tolerance
// where the runtime's mathematics computed it) or a text.
struct Expected {
  const char* typed;
  double number;
  const char* text;
  double tolerance;
};

// Formulas typed into a new workbook with the functions installed as the
// program installs them at start-up; the values are read from the workbook.
class TypedFormulasTest : public DocumentEditingTest {
 protected:
  void SetUp() override {
    DocumentEditingTest::SetUp();
    ASSERT_TRUE(InstallFunctionLibrary());
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
  }
  // Types the texts from (column, first row) down, each ended with Enter.
  void TypeColumn(uint32_t column, uint32_t firstRow, const std::vector<const char*>& texts) {
    for (uint32_t i = 0; i < texts.size(); ++i) {
      FocusCell(doc, firstRow + i, column);
      Type(texts[i]);
      Key(VK_RETURN);
    }
  }
  // The value the cell shows, formula or spilled value.
  void ExpectValue(uint32_t column, uint32_t row, const Expected& expected) {
    SCOPED_TRACE(expected.typed);
    const CellRecord* cell = doc->Workbook()->activeWorksheet->cells.GetCell(row, static_cast<uint16_t>(column));
    ASSERT_NE(cell, nullptr);
    ASSERT_EQ(cell->ErrorCode(), 0);
    if (expected.text != nullptr) {
      const bool formula = cell->IsFormula();
      ASSERT_TRUE(formula ? cell->HasCachedText() : cell->IsText());
      EXPECT_EQ(formula ? std::string(cell->CachedText(), cell->CachedTextLength())
                        : std::string(cell->Text(), cell->TextLength()),
                expected.text);
      return;
    }
    const double value = cell->IsFormula() ? cell->CachedNumber() : cell->Number();
    EXPECT_NEAR(value, expected.number, expected.tolerance * std::fabs(expected.number));
  }

  CChildFrame* doc = nullptr;
};

TEST_F(TypedFormulasTest, EveryFamilyAnswersThroughTheKeyboard) {
  TypeColumn(0, 0, {"1", "2", "3"});
  const Expected kFormulas[] = {
      {"=SUM(A1:A3)", 6, nullptr, 0},
      {"=COUNT(A1:A3)+COUNTIF(A1:A3,\">1\")", 5, nullptr, 0},
      {"=SQRT(16)+ROUND(PI(),2)", 7.14, nullptr, 1e-15},
      {"=CONCATENATE(\"Tal\",UPPER(\"vero\"))", 0, "TalVERO", 0},
      {"=IF(AND(A1>0,A2<5),\"yes\",\"no\")", 0, "yes", 0},
      {"=MATCH(3,A1:A3,0)+VLOOKUP(2,A1:A3,1,0)", 5, nullptr, 0},
      {"=DATE(2024,3,15)", 0, "2024-03-15", 0},
      {"=YEAR(A10)+MONTH(A10)", 2027, nullptr, 0},
      {"=PMT(0.1,2,-1000,,)", 576.190476190476, nullptr, 1e-14},
      {"=HEX2DEC(\"FF\")+BIN2DEC(\"101\")", 260, nullptr, 0},
      {"=AVERAGE(A1:A3)+STDEV(A1:A3)", 3, nullptr, 1e-15},
      {"=NORMSDIST(1)", 0.841344746068543, nullptr, 1e-12},
  };
  std::vector<const char*> typed;
  for (const Expected& formula : kFormulas) typed.push_back(formula.typed);
  TypeColumn(0, 3, typed);
  for (uint32_t i = 0; i < sizeof kFormulas / sizeof kFormulas[0]; ++i) ExpectValue(0, 3 + i, kFormulas[i]);

  // Array formulas spill their results below them.
  TypeColumn(2, 0, {"=MMULT({1,2;3,4},{1;1})"});
  TypeColumn(2, 3, {"=LPROG({2,1,1;1,1,3},{1;0},{5;10},{4;2;2},1,,)"});
  const double kProduct[] = {3, 7};
  for (uint32_t row = 0; row < 2; ++row) ExpectValue(2, row, {"MMULT", kProduct[row], nullptr, 0});
  const double kOptimum[] = {1, 0, 3};
  for (uint32_t row = 0; row < 3; ++row) ExpectValue(2, 3 + row, {"LPROG", kOptimum[row], nullptr, 1e-12});
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
}

// J1 reads what K2's array formula spills into K3; typed after J1 and typed
// again, K2 gives J1 its value in the one recalculation the entry runs.
TEST_F(TypedFormulasTest, AFormulaReadingASpilledValueShowsItAtOnce) {
  TypeColumn(9, 0, {"=K3"});
  TypeColumn(10, 1, {"={7;8}"});
  ExpectValue(9, 0, {"J1 after K2", 8, nullptr, 0});
  TypeColumn(10, 1, {"={7;9;10}"});
  ExpectValue(9, 0, {"J1 after K2 again", 9, nullptr, 0});
  ExpectValue(10, 3, {"K4", 10, nullptr, 0});
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
}

}  // namespace
