// Document windows in a real main frame, driven through their commands with
// the save dialog and the message boxes answered by the test.

#include "app/document/child_frame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/document/document_opening.h"
#include "app/document/pane_cycle.h"
#include "app/frame/document_services.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "services/settings/global_options.h"
#include "core/cells/cell_record.h"
#include "dialogs/file/file_dialog.h"
#include "files/dispatch/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/dialog_script.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_loop.h"
#include "resources/resource_ids.h"
#include "tests/files/old_binary/old_file_writer.h"
#include "view/grid_view/talver_view.h"

namespace {

std::deque<int> g_answers;
std::vector<std::string> g_boxes;

int AnswerBox(HWND, const char* text, const char*, UINT) {
  g_boxes.push_back(text);
  if (g_answers.empty()) return IDCANCEL;
  const int answer = g_answers.front();
  g_answers.pop_front();
  return answer;
}

// The save dialog: cancelled when no path is set, else that path and type.
std::string g_savePath;
DWORD g_saveFilter = 1;
std::string g_defaultExtension;
int g_saveDialogs = 0;

BOOL WINAPI AnswerSaveDialog(OPENFILENAMEA* record) {
  ++g_saveDialogs;
  g_defaultExtension = record->lpstrDefExt != nullptr ? record->lpstrDefExt : "";
  if (g_savePath.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", g_savePath.c_str());
  record->nFilterIndex = g_saveFilter;
  return TRUE;
}

std::string g_openPath;
DWORD g_openFilter = 1;

BOOL WINAPI AnswerOpenDialog(OPENFILENAMEA* record) {
  if (g_openPath.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", g_openPath.c_str());
  record->nFilterIndex = g_openFilter;
  return TRUE;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string FullPath(const char* name) {
  char path[MAX_PATH];
  GetFullPathNameA(name, sizeof path, path, nullptr);
  return path;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

std::string Title(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void PutNumber(CWorkBook& book, uint32_t row, uint16_t column, double value) {
  uint8_t record[64];
  const uint32_t size = BuildNumberCell(record, sizeof record, row, column, value, 0);
  ASSERT_NE(size, 0u);
  CellStore& cells = book.activeWorksheet->cells;
  if (CellRecord* old = cells.GetCell(row, column)) {
    old->SetNumber(value);
    return;
  }
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

double NumberAt(CWorkBook& book, uint32_t row, uint16_t column) {
  if (book.activeWorksheet == nullptr) return -1;
  const CellRecord* cell = book.activeWorksheet->cells.GetCell(row, column);
  return cell != nullptr && cell->IsNumber() ? cell->Number() : -1;
}

class DocumentWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControlClasses();
    LoadRichEdit20();
    SetDefaultOptions(Options);
    Options.SaveFormat = kSaveFormatBinary;
    RECT r{0, 0, 900, 600};
    ASSERT_NE(frame.CreateFrame(&r), nullptr);
    frame.ShowWindow(SW_SHOWNORMAL);
    InstallDocumentWindowServices();
    SetMessageBoxFunction(AnswerBox);
    CFileDlg::SetCommonDialogFunctions(AnswerOpenDialog, AnswerSaveDialog);
    g_openPath.clear();
    g_openFilter = 1;
    g_answers.clear();
    g_boxes.clear();
    g_savePath.clear();
    g_saveFilter = 1;
    g_saveDialogs = 0;
    Pump();
  }
  void TearDown() override {
    for (OpenDocument& slot : OpenDocuments().slots)
      if (slot.frame != nullptr) slot.frame->SetModified(false);
    if (frame.IsWindow()) frame.DestroyWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    OpenDocuments() = OpenDocumentTable{};
    SetDocumentServices(nullptr);
    SetMessageBoxFunction(nullptr);
    CFileDlg::SetCommonDialogFunctions(nullptr, nullptr);
    SetDefaultOptions(Options);
  }
  void Pump() {
    if (CMessageLoop* current = CMessageLoop::Current()) current->RunPending(10000, true);
  }
  CChildFrame* NewDocument() {
    frame.SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    Pump();
    return frame.GetActiveChildFrame();
  }
  void Command(CChildFrame* doc, UINT command) {
    doc->SendMessage(WM_COMMAND, command, 0);
    Pump();
  }

  CMessageLoop loop;
  CMainFrame frame;
};

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

std::string TextAt(CWorkBook& book, uint32_t row, uint16_t column) {
  const CellRecord* cell = book.activeWorksheet ? book.activeWorksheet->cells.GetCell(row, column) : nullptr;
  return cell != nullptr && cell->IsText() ? std::string(cell->Text(), cell->TextLength()) : "";
}

TEST_F(DocumentWindowTest, SaveAsExcelXmlThenOpenThatFile) {
  CChildFrame* doc = NewDocument();
  PutNumber(*doc->Workbook(), 0, 0, 0.1 + 0.2);
  uint8_t record[64];
  const uint32_t size = BuildTextCell(record, sizeof record, 2, 1, "caf\xE9  \x80", 7);
  ASSERT_TRUE(doc->Workbook()->activeWorksheet->cells.InsertCell(AsCellRecord(record), nullptr));
  doc->SetModified(true);
  ASSERT_NE(size, 0u);
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
  CChildFrame* first = NewDocument();
  PutNumber(*first->Workbook(), 0, 1, 3.5);
  const std::string path = FullPath("w32_open.tlv");
  std::remove(path.c_str());
  g_savePath = path;
  Command(first, ID_FILE_SAVE_AS);
  Command(first, ID_FILE_CLOSE);
  ASSERT_EQ(CountOpenDocuments(), 0u);

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

  // "All Files" reads native whatever the extension; a text file chosen as
  // text has no reader yet.
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
  g_openFilter = 2;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  EXPECT_EQ(CountOpenDocuments(), 1u);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], FileErrorText(kFileBadFormat));
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
  const std::string path = FullPath("w32_keep.tlv");
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

  // Save As into a kind without a writer: the same, and the old file intact.
  g_boxes.clear();
  g_savePath = path;
  g_saveFilter = 2;
  const DialogScriptStep ok[] = {{IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript textOptions = {IDD_SAVE_TEXT_FILE, ok, 1, false, false, 0};
  SetDialogScripts(&textOptions, 1);
  Command(doc, ID_FILE_SAVE_AS);
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(textOptions.ran);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], FileErrorText(kFileBadFormat));
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
  EXPECT_EQ(GetFocus(), doc->m_inspect.m_hWnd);  // the second view is hidden
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
  const std::string path = FullPath("w32_place.tlv");
  std::remove(path.c_str());
  g_savePath = path;
  Command(doc, ID_FILE_SAVE);
  Command(doc, ID_FILE_CLOSE);
  g_openPath = path;
  frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
  Pump();
  CChildFrame* reopened = frame.GetActiveChildFrame();
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
  const auto post = [&](UINT msg, WPARAM keys, POINT p) {
    view->PostMessage(msg, keys, MAKELPARAM(p.x, p.y));
    Pump();
  };
  const auto centre = [&](uint32_t column, uint32_t row) {
    const RECT r = view->GetRangeRect(SelectionRange{column, row, column, row});
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  post(WM_LBUTTONDOWN, MK_LBUTTON, centre(1, 1));
  post(WM_LBUTTONUP, 0, centre(1, 1));
  post(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, centre(2, 3));
  post(WM_LBUTTONUP, 0, centre(2, 3));
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

}  // namespace
