#ifndef TALVERO_TESTS_APP_DOCUMENT_DOCUMENT_WINDOW_FIXTURE_H
#define TALVERO_TESTS_APP_DOCUMENT_DOCUMENT_WINDOW_FIXTURE_H

// Document windows in a real main frame under Wine, for the tests of the
// document window and its commands: the message boxes and the file dialogs
// answered by the test, the cells of the active worksheet, and keys as the
// keyboard delivers them.

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/document/child_frame.h"
#include "app/frame/activity_clock.h"
#include "app/frame/document_services.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "charts/containers/chart_painters.h"
#include "core/cells/cell_record.h"
#include "dialogs/file/file_dialog.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/dialog_script.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_loop.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"
#include "tests/platform/ui/windows/own_desktop_win32.h"
#include "view/grid_view/talver_view.h"

inline std::deque<int> g_answers;
inline std::vector<std::string> g_boxes;

inline int AnswerBox(HWND, const char* text, const char*, UINT) {
  g_boxes.push_back(text);
  if (g_answers.empty()) return IDCANCEL;
  const int answer = g_answers.front();
  g_answers.pop_front();
  return answer;
}

// The save dialog: cancelled when no path is set, else that path and type.
inline std::string g_savePath;
inline DWORD g_saveFilter = 1;
inline std::string g_defaultExtension;
inline int g_saveDialogs = 0;

inline BOOL WINAPI AnswerSaveDialog(OPENFILENAMEA* record) {
  ++g_saveDialogs;
  g_defaultExtension = record->lpstrDefExt != nullptr ? record->lpstrDefExt : "";
  if (g_savePath.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", g_savePath.c_str());
  record->nFilterIndex = g_saveFilter;
  return TRUE;
}

inline std::string g_openPath;
inline DWORD g_openFilter = 1;

inline BOOL WINAPI AnswerOpenDialog(OPENFILENAMEA* record) {
  if (g_openPath.empty()) return FALSE;
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", g_openPath.c_str());
  record->nFilterIndex = g_openFilter;
  return TRUE;
}

inline std::string FullPath(const char* name) {
  char path[MAX_PATH];
  GetFullPathNameA(name, sizeof path, path, nullptr);
  return path;
}

inline void PutNumber(CWorkBook& book, uint32_t row, uint16_t column, double value) {
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

inline std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return text;
}

inline std::string ReadAll(const std::string& path) {
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

inline std::string Title(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

inline void PutText(CWorkBook& book, uint32_t row, uint16_t column, const std::string& text) {
  alignas(8) uint8_t record[kTextCellHeadSize + 1100];
  const uint32_t size = BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()), 0);
  ASSERT_NE(size, 0u);
  ASSERT_TRUE(book.activeWorksheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

inline std::string TextAt(CWorkBook& book, uint32_t row, uint16_t column) {
  if (book.activeWorksheet == nullptr) return "?";
  const CellRecord* cell = book.activeWorksheet->cells.GetCell(row, column);
  return cell != nullptr && cell->IsText() ? std::string(cell->Text(), cell->TextLength()) : "?";
}

inline double NumberAt(CWorkBook& book, uint32_t row, uint16_t column) {
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
    InstallChartPainters();
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
  // A new document saved under the name with a number in one cell, then
  // closed; returns its full path.
  std::string SavedWorkbookFile(const char* name, uint32_t row, uint16_t column, double value) {
    CChildFrame* doc = NewDocument();
    EXPECT_NE(doc, nullptr);
    if (doc == nullptr) return "";
    PutNumber(*doc->Workbook(), row, column, value);
    const std::string path = FullPath(name);
    std::remove(path.c_str());
    g_savePath = path;
    Command(doc, ID_FILE_SAVE_AS);
    Command(doc, ID_FILE_CLOSE);
    EXPECT_EQ(CountOpenDocuments(), 0u);
    return path;
  }

  // The document saved under the name with the command (Save As without a
  // file), closed and opened again; the window that opened.
  CChildFrame* SaveCloseAndReopen(CChildFrame* doc, UINT saveCommand, const char* name) {
    const std::string path = FullPath(name);
    std::remove(path.c_str());
    g_savePath = path;
    Command(doc, saveCommand);
    Command(doc, ID_FILE_CLOSE);
    g_openPath = path;
    frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    Pump();
    return frame.GetActiveChildFrame();
  }

  // Mouse input posted to a view, as the user's reaches it.
  void PostMouse(CDocumentView* view, UINT msg, WPARAM keys, POINT p) {
    view->PostMessage(msg, keys, MAKELPARAM(p.x, p.y));
    Pump();
  }
  POINT CellCentre(CDocumentView* view, uint32_t column, uint32_t row) {
    const RECT r = view->GetRangeRect(SelectionRange{column, row, column, row});
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void ClickCell(CDocumentView* view, uint32_t column, uint32_t row, WPARAM keys = 0) {
    PostMouse(view, WM_LBUTTONDOWN, MK_LBUTTON | keys, CellCentre(view, column, row));
    PostMouse(view, WM_LBUTTONUP, 0, CellCentre(view, column, row));
  }

  // Save As into the filter's kind, its option dialog answered by the script.
  void SaveAsWithDialog(CChildFrame* doc, const std::string& path, DWORD filter, DialogScript* script) {
    g_savePath = path;
    g_saveFilter = filter;
    SetDialogScripts(script, 1);
    Command(doc, ID_FILE_SAVE_AS);
    SetDialogScripts(nullptr, 0);
  }
  // Open as the filter's kind, its option dialog answered by the script; the
  // active document afterwards.
  CChildFrame* OpenWithDialog(const std::string& path, DWORD filter, DialogScript* script) {
    g_openPath = path;
    g_openFilter = filter;
    SetDialogScripts(script, 1);
    frame.SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    Pump();
    SetDialogScripts(nullptr, 0);
    return frame.GetActiveChildFrame();
  }

  CMessageLoop loop;
  CMainFrame frame;
};

// Keys as the keyboard delivers them: a key-down and its key-up posted to
// the window with the focus, through the frame's message filter with its
// accelerators, translated into characters, with up to two modifier keys
// held in the thread's keyboard state.
class DocumentEditingTest : public DocumentWindowTest {
 protected:
  void TearDown() override {
    Hold(0);
    SetActivityClockForTesting(nullptr);
    DocumentWindowTest::TearDown();
  }
  static void Hold(int modifier, int alsoHeld = 0) {
    BYTE state[256] = {};
    if (modifier != 0) state[modifier] = 0x80;
    if (alsoHeld != 0) state[alsoHeld] = 0x80;
    SetKeyboardState(state);
  }
  void Key(UINT key, int held = 0, int alsoHeld = 0) {
    Hold(held, alsoHeld);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    Pump();
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
    Pump();
    Hold(0);
  }
  void Type(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
      const SHORT scan = VkKeyScanA(*c);
      if (scan == -1) {
        // No key of the layout gives it (the virtual display's layout lacks
        // some): it arrives as the character, as composed input does.
        PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(*c), 1);
        Pump();
        continue;
      }
      Key(LOBYTE(scan), (scan & 0x100) != 0 ? VK_SHIFT : 0);
    }
  }
  // The label of an item of the document's tree, as the control lays it out.
  static RECT TreeLabelRect(CChildFrame* doc, HTREEITEM item) {
    RECT r{};
    std::memcpy(&r, &item, sizeof item);  // the control reads the item from the rectangle
    doc->m_tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The pointer pressed on one item of the tree, moved onto another and
  // released there, posted as the mouse would: at the middle of each label,
  // or near its start, which stays in the pane however long the name.
  void DragTreeItem(CChildFrame* doc, HTREEITEM from, HTREEITEM to, bool nearLabelStarts = false) {
    const RECT source = TreeLabelRect(doc, from);
    const RECT target = TreeLabelRect(doc, to);
    const auto across = [&](const RECT& r) { return nearLabelStarts ? r.left + 6 : (r.left + r.right) / 2; };
    const POINT drop{across(target), (target.top + target.bottom) / 2};
    doc->m_tree.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
    doc->m_tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    NMTREEVIEWA begin{};
    begin.hdr.hwndFrom = doc->m_tree;
    begin.hdr.idFrom = CChildFrame::kTreeId;
    begin.hdr.code = TVN_BEGINDRAGA;
    begin.ptDrag = POINT{across(source), (source.top + source.bottom) / 2};
    doc->SendMessage(WM_NOTIFY, CChildFrame::kTreeId, reinterpret_cast<LPARAM>(&begin));
    Pump();
  }
  // The grid view focused on a cell of the document.
  void FocusCell(CChildFrame* doc, uint32_t row, uint32_t column) {
    CDocumentView* view = doc->GetActiveView();
    view->m_selection = GridSelection{column, row, column, row, 0, column, row};
    view->SetFocus();
    Pump();
  }
};

#endif
