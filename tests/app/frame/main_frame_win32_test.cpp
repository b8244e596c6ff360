// The main frame created in the test process and driven with posted
// messages, as the user's input and the system's timer reach it.

#include "app/frame/main_frame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/document/child_frame.h"
#include "app/frame/active_document.h"
#include "app/frame/activity_clock.h"
#include "app/frame/document_services.h"
#include "app/frame/selection_statistics.h"
#include "services/settings/global_options.h"
#include "charts/png/png_codec.h"
#include "core/base/global_options.h"
#include "core/workbook/workbook.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/mdi_child.h"
#include "platform/ui/message_box.h"
#include "platform/ui/popup_menu.h"
#include "resources/resource_ids.h"
#include "tests/platform/ui/windows/own_desktop_win32.h"

namespace {

void Pump() {
  if (CMessageLoop* loop = CMessageLoop::Current()) loop->RunPending(10000, true);
}

// The quit message a destroyed frame posts would end the next pump early.
void DropQuit() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

// A PNG of the window for a person to look at; no test compares it.
void SavePng(HWND hwnd, const char* name) {
  const char* folder = std::getenv("TALVERO_ARTIFACTS_DIR");
  if (folder == nullptr) return;
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT r;
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> block(sizeof(BitmapInfoHeader) + stride * height);
  BitmapInfoHeader* header = reinterpret_cast<BitmapInfoHeader*>(block.data());
  *header = BitmapInfoHeader{40, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HDC windowDc = GetWindowDC(hwnd);
  HDC memDc = CreateCompatibleDC(windowDc);
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  HGDIOBJ old = SelectObject(memDc, bitmap);
  BitBlt(memDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  SelectObject(memDc, old);
  GetDIBits(memDc, bitmap, 0, height, block.data() + sizeof(BitmapInfoHeader),
            reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memDc);
  ReleaseDC(hwnd, windowDc);
  uint8_t* png = nullptr;
  size_t count = 0;
  uint8_t error = 0;
  if (!EncodePng(header, &png, &count, 0.0, &error)) return;
  const std::string path = std::string(folder) + "/" + name + ".png";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(png, 1, count, file);
    std::fclose(file);
  }
  std::free(png);
}

// A document window that only records the commands it receives.
class CRecordingChild : public CMDIChildWindowImpl {
 public:
  std::vector<UINT> commands;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
    handled = false;
    return 0;
  }
};

struct BandState {
  UINT id;
  HWND child;
  bool hidden;
};

std::vector<BandState> Bands(HWND rebar) {
  std::vector<BandState> bands;
  const int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_ID | RBBIM_CHILD | RBBIM_STYLE;
    SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    bands.push_back({info.wID, info.hwndChild, (info.fStyle & RBBS_HIDDEN) != 0});
  }
  return bands;
}

bool BandHidden(HWND rebar, UINT id) {
  for (const BandState& band : Bands(rebar))
    if (band.id == id) return band.hidden;
  return true;
}

// The toolbar's items: command (0 for separators) and style.
std::vector<std::pair<int, int>> Items(HWND toolbar) {
  std::vector<std::pair<int, int>> items;
  const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    const bool separator = (button.fsStyle & BTNS_SEP) != 0;
    items.push_back({separator ? 0 : button.idCommand, button.fsStyle & ~(BTNS_SHOWTEXT | BTNS_AUTOSIZE)});
  }
  return items;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

bool ButtonEnabled(HWND toolbar, UINT command) {
  return SendMessageA(toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
}

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControlClasses();
    LoadRichEdit20();
    RECT r{0, 0, 900, 560};
    ASSERT_NE(frame.CreateFrame(&r), nullptr);
    rebar = frame.GetDlgItem(CMainFrame::kReBarId);
  }
  void Show() {
    frame.ShowWindow(SW_SHOWNORMAL);
    Pump();
  }
  void TearDown() override {
    if (frame.IsWindow()) frame.DestroyWindow();
    DropQuit();
    for (CWorkBook& book : books) UnregisterOpenDocument(&book);
    SetDocumentServices(nullptr);
    SetActivityClockForTesting(nullptr);
    SetMessageBoxFunction(nullptr);
    SetDefaultOptions(Options);
  }
  void OpenChild(CRecordingChild* child) {
    WindowClass cls;
    ASSERT_TRUE(RegisterMDIChildClass("TalveroTestDocument", &cls));
    ASSERT_NE(child->CreateChild(cls, frame.m_hWndClient, "Book1"), nullptr);
    Pump();
  }

  CMessageLoop loop;
  CMainFrame frame;
  HWND rebar = nullptr;
  CWorkBook books[3];
};

TEST_F(MainFrameTest, StandsWithItsBandsToolbarsAndControls) {
  const std::vector<BandState> bands = Bands(rebar);
  ASSERT_EQ(bands.size(), 5u);
  const HWND children[] = {frame.CommandBar(), frame.MainToolBar(), frame.SecondaryToolBar(), frame.FindToolBar(),
                           frame.PreviewToolBar()};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(bands[i].id, CMainFrame::kCommandBarBand + i);
    EXPECT_EQ(bands[i].child, children[i]);
    EXPECT_EQ(bands[i].hidden, i >= 3) << i;
  }

  const std::vector<std::pair<int, int>> main = Items(frame.MainToolBar());
  const int mainCommands[] = {57600, 57601, 57603, 0,     32803, 32804, 0,     57635, 57634, 57637,
                              0,     57609, 57607, 0,     57643, 57644, 0,     57636, 32896, 32895,
                              0,     32939, 32832, 33103, 0,     32808, 33031, 0,     32822};
  ASSERT_EQ(main.size(), sizeof mainCommands / sizeof mainCommands[0]);
  for (size_t i = 0; i < main.size(); ++i) EXPECT_EQ(main[i].first, mainCommands[i]) << i;
  EXPECT_EQ(main[9].second, BTNS_DROPDOWN);
  EXPECT_EQ(main[21].second, BTNS_WHOLEDROPDOWN);
  EXPECT_EQ(main[22].second, BTNS_WHOLEDROPDOWN);
  EXPECT_EQ(main[25].second, BTNS_WHOLEDROPDOWN);

  const std::vector<std::pair<int, int>> secondary = Items(frame.SecondaryToolBar());
  const int secondaryCommands[] = {32796, 0, 32849, 0, 32985, 0, 32851, 32852, 32853, 0, 32856};
  ASSERT_EQ(secondary.size(), 11u);
  for (size_t i = 0; i < secondary.size(); ++i) EXPECT_EQ(secondary[i].first, secondaryCommands[i]) << i;
  EXPECT_EQ(secondary[8].second, BTNS_DROPDOWN);
  EXPECT_EQ(Items(frame.FindToolBar()).size(), 11u);
  EXPECT_EQ(Items(frame.PreviewToolBar()).size(), 11u);

  EXPECT_EQ(ClassOf(frame.NameBox()), "ComboBoxEx32");
  EXPECT_EQ(GetDlgCtrlID(frame.NameBox()), 1045);
  EXPECT_EQ(ClassOf(frame.FormulaBar()), "RichEdit20A");
  EXPECT_EQ(GetDlgCtrlID(frame.FormulaBar()), 1047);
  EXPECT_EQ(GetParent(frame.FormulaBar()), frame.FormulaBarFrame());
  EXPECT_EQ(ClassOf(frame.FormulaBarFrame()), "Static");
  EXPECT_FALSE(IsWindowEnabled(frame.FindTextCombo()));
  EXPECT_TRUE(SendMessageA(frame.FindTextCombo(), CB_GETEXTENDEDUI, 0, 0));
  EXPECT_FALSE(SendMessageA(frame.PreviewPageCombo(), CB_GETEXTENDEDUI, 0, 0));
  EXPECT_EQ(GetDlgCtrlID(frame.PreviewPageCombo()), 1046);

  HWND status = frame.GetDlgItem(CMainFrame::kStatusBarId);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 0, 0), 4);
  char text[64] = {};
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Ready");
  EXPECT_EQ(frame.GetMenu(), nullptr);  // the command bar shows the menu

  NMTTDISPINFOA tip{};
  tip.hdr.hwndFrom = frame.MainToolBar();
  tip.hdr.idFrom = ID_FILE_NEW;
  tip.hdr.code = TTN_GETDISPINFOA;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  EXPECT_STREQ(tip.lpszText, "New Workbook (Ctrl + N)");

  // Without a document window the first idle call hides the secondary bar.
  Show();
  EXPECT_TRUE(BandHidden(rebar, CMainFrame::kSecondaryToolBarBand));
  EXPECT_FALSE(BandHidden(rebar, CMainFrame::kMainToolBarBand));
  EXPECT_FALSE(frame.DocumentActive());
  SavePng(frame.m_hWnd, "main_frame_empty");
}

TEST_F(MainFrameTest, PostedCommandsReachTheirHandlersOrTheActiveDocument) {
  Show();
  frame.PostMessage(WM_COMMAND, ID_EDIT_FIND);
  Pump();
  EXPECT_FALSE(BandHidden(rebar, CMainFrame::kFindToolBarBand));
  EXPECT_TRUE(IsWindowEnabled(frame.FindTextCombo()));
  frame.PostMessage(WM_COMMAND, ID_FIND_BAR_CLOSE);
  Pump();
  EXPECT_TRUE(BandHidden(rebar, CMainFrame::kFindToolBarBand));
  EXPECT_FALSE(IsWindowEnabled(frame.ReplaceTextCombo()));

  CRecordingChild child;
  OpenChild(&child);
  frame.PostMessage(WM_COMMAND, ID_FILE_SAVE);
  frame.PostMessage(WM_COMMAND, ID_TRANSPOSE);
  Pump();
  EXPECT_EQ(child.commands, (std::vector<UINT>{ID_FILE_SAVE, ID_TRANSPOSE}));

  frame.PostMessage(WM_COMMAND, ID_APP_EXIT);
  Pump();
  EXPECT_FALSE(frame.IsWindow());
  // The placement stays for the next start.
  EXPECT_EQ(Options.FrameShowState, SW_SHOWNORMAL);
  EXPECT_EQ(Options.FrameRect.right - Options.FrameRect.left, 900);
}

TEST_F(MainFrameTest, ItsPlacementIsKeptForTheNextStart) {
  Show();
  frame.ShowWindow(SW_MAXIMIZE);
  Pump();
  EXPECT_EQ(Options.FrameShowState, kShowStateMaximized);
  frame.ShowWindow(SW_MINIMIZE);
  Pump();
  EXPECT_EQ(Options.FrameShowState, kShowStateMinimized);
  frame.ShowWindow(SW_RESTORE);  // back to maximised, as it was
  Pump();
  EXPECT_EQ(Options.FrameShowState, kShowStateMaximized);
  frame.ShowWindow(SW_RESTORE);
  Pump();
  frame.DestroyWindow();
  EXPECT_EQ(Options.FrameShowState, kShowStateNormal);
  EXPECT_EQ(Options.FrameRect.bottom - Options.FrameRect.top, 560);
}

TEST_F(MainFrameTest, SecondaryBarGivesTheFormulaBarTwiceTheNameBoxWidth) {
  Show();
  ReBarShowBand(rebar, CMainFrame::kSecondaryToolBarBand, true);
  frame.PostMessage(WM_COMMAND, ID_EDIT_FIND);
  Pump();
  frame.LayoutSecondaryBar();
  RECT name, formula, bar;
  GetWindowRect(frame.NameBox(), &name);
  GetWindowRect(frame.FormulaBarFrame(), &formula);
  GetWindowRect(frame.SecondaryToolBar(), &bar);
  const int nameShare = name.right - name.left + 2;
  const int formulaShare = formula.right - formula.left + 3;
  EXPECT_GE(nameShare, 13);
  EXPECT_NEAR(formulaShare, 2 * nameShare, 1);
  EXPECT_GT(name.left, bar.left);
  EXPECT_GT(formula.left, name.right);
  EXPECT_LE(formula.right, bar.right);
  SavePng(frame.m_hWnd, "main_frame_all_bars");
}

TEST_F(MainFrameTest, CommandStatesShowOnToolbarsAndMenus) {
  Show();
  HWND main = frame.MainToolBar();
  EXPECT_FALSE(ButtonEnabled(main, ID_FILE_SAVE));   // no document
  EXPECT_FALSE(ButtonEnabled(main, ID_EDIT_UNDO));
  EXPECT_FALSE(ButtonEnabled(main, ID_FILE_PRINT));  // not available
  EXPECT_TRUE(ButtonEnabled(frame.SecondaryToolBar(), ID_LOCK_EDITING));  // a setting of its own
  EXPECT_TRUE(ButtonEnabled(frame.FindToolBar(), ID_FIND_BAR_CLOSE));

  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  HMENU edit = GetSubMenu(menu, 1);
  HMENU tools = GetSubMenu(menu, 5);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 5);
  EXPECT_TRUE(GetMenuState(edit, ID_EDIT_UNDO, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(edit, ID_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED);  // no document
  EXPECT_TRUE(GetMenuState(edit, ID_EDIT_FIND, MF_BYCOMMAND) & MF_GRAYED);  // no document
  EXPECT_FALSE(GetMenuState(tools, ID_OPTIONS, MF_BYCOMMAND) & MF_GRAYED);
  DestroyMenu(menu);
}

TEST_F(MainFrameTest, EnterInTheFormulaBarPostsItsCommand) {
  Show();
  CRecordingChild child;
  OpenChild(&child);
  SetWindowTextA(frame.FormulaBar(), "=1+2");
  child.commands.clear();
  ::SendMessageA(frame.FormulaBar(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(child.commands.empty());  // posted, not sent
  Pump();
  EXPECT_EQ(child.commands, std::vector<UINT>{ID_FORMULA_BAR_OK});
  char text[32] = {};
  GetWindowTextA(frame.FormulaBar(), text, sizeof text);
  EXPECT_STREQ(text, "=1+2");
}

// Keys pass the frame's accelerators first; what they leave goes to the
// active document window to translate.
class CTranslatingChild : public CRecordingChild {
 public:
  std::vector<WPARAM> forwardedKeys;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override {
    if (msg == WM_FORWARDMSG) {
      const MSG* forwarded = reinterpret_cast<const MSG*>(lp);
      if (forwarded->message == WM_KEYDOWN) forwardedKeys.push_back(forwarded->wParam);
      return forwarded->message == WM_KEYDOWN && forwarded->wParam == 'Q';
    }
    return CRecordingChild::ProcessWindowMessage(msg, wp, lp, handled);
  }
};

TEST_F(MainFrameTest, KeysPassTheAcceleratorsThenTheActiveDocument) {
  Show();
  CTranslatingChild child;
  OpenChild(&child);
  child.commands.clear();
  frame.PostMessage(WM_KEYDOWN, VK_F12, 0);  // Save As, a document command
  frame.PostMessage(WM_KEYDOWN, VK_F9, 0);   // Update Data, another
  Pump();
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  frame.PostMessage(WM_KEYDOWN, 'P', 0);  // Ctrl+P, Print: the frame's own command, not the child's
  Pump();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  frame.PostMessage(WM_KEYDOWN, 'Q', 0);
  Pump();
  EXPECT_EQ(child.commands, (std::vector<UINT>{ID_FILE_SAVE_AS, ID_UPDATE_DATA}));
  EXPECT_EQ(child.forwardedKeys, std::vector<WPARAM>{'Q'});
}

UINT g_chosen = 0;
UINT g_shownFirstItem = 0;
UINT ChooseFromMenu(HMENU popup, UINT, int, int, HWND, const RECT*) {
  g_shownFirstItem = GetMenuItemID(popup, 0);
  return g_chosen;
}

TEST_F(MainFrameTest, ToolbarDropDownsShowTheirMenus) {
  Show();
  CRecordingChild child;
  OpenChild(&child);
  child.commands.clear();
  SetTrackPopupMenuFunction(ChooseFromMenu);
  g_chosen = ID_INSERT_CHART_3D;
  NMTOOLBARA drop{};
  drop.hdr.hwndFrom = frame.MainToolBar();
  drop.hdr.code = TBN_DROPDOWN;
  drop.iItem = ID_INSERT_CHART;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
  EXPECT_EQ(g_shownFirstItem, static_cast<UINT>(ID_INSERT_CONTAINER));
  EXPECT_EQ(child.commands, std::vector<UINT>{ID_INSERT_CHART_3D});
  // The paste ring keeps only its resource entry while nothing was copied.
  g_chosen = 0;
  drop.iItem = ID_EDIT_PASTE;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
  EXPECT_EQ(g_shownFirstItem, static_cast<UINT>(ID_PASTE_RING_FIRST));
  SetTrackPopupMenuFunction(nullptr);
}

TEST_F(MainFrameTest, NameBoxShowsTheSelectionInTheAddressingStyle) {
  Show();
  char text[64] = {};
  frame.WriteNameBox(1, 2, 3, 9);
  GetWindowTextA(frame.NameBox(), text, sizeof text);
  EXPECT_STREQ(text, "B3:D10");
  AddressingA1 = 0;
  frame.WriteNameBox(1, 0, 1, 2097151);
  AddressingA1 = 1;
  GetWindowTextA(frame.NameBox(), text, sizeof text);
  EXPECT_STREQ(text, "C2:C2");
}

TEST_F(MainFrameTest, ADocumentWindowBringsTheDocumentBarsAndStates) {
  InstallDocumentWindowServices();
  Show();
  ASSERT_TRUE(BandHidden(rebar, CMainFrame::kSecondaryToolBarBand));
  // The clipboard is the prefix's, which other programs may have filled.
  if (OpenClipboard(frame.m_hWnd)) {
    EmptyClipboard();
    CloseClipboard();
  }
  frame.PostMessage(WM_COMMAND, ID_FILE_NEW);
  Pump();
  ASSERT_NE(frame.GetActiveChildFrame(), nullptr);
  EXPECT_TRUE(frame.DocumentActive());
  EXPECT_FALSE(BandHidden(rebar, CMainFrame::kSecondaryToolBarBand));
  HWND main = frame.MainToolBar();
  EXPECT_TRUE(ButtonEnabled(main, ID_FILE_SAVE));
  EXPECT_TRUE(ButtonEnabled(main, ID_EDIT_FIND));
  // Copy is there; Paste waits for something to paste, Undo for an edit;
  // Print and its preview work on the document.
  EXPECT_TRUE(ButtonEnabled(main, ID_EDIT_COPY));
  EXPECT_FALSE(ButtonEnabled(main, ID_EDIT_PASTE));
  EXPECT_FALSE(ButtonEnabled(main, ID_EDIT_UNDO));
  EXPECT_TRUE(ButtonEnabled(main, ID_FILE_PRINT));
  EXPECT_TRUE(ButtonEnabled(main, ID_FILE_PRINT_PREVIEW));
  HWND status = frame.GetDlgItem(CMainFrame::kStatusBarId);
  char text[64] = {};
  SendMessageA(status, SB_GETTEXTA, 3, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, " 100%");
  SavePng(frame.m_hWnd, "main_frame_new_workbook");
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  HMENU file = GetSubMenu(menu, 0);
  HMENU tools = GetSubMenu(menu, 5);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 5);
  EXPECT_FALSE(GetMenuState(file, ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(file, ID_SAVE_FORMAT_BINARY, MF_BYCOMMAND) & MF_CHECKED);  // a new workbook's
  EXPECT_FALSE(GetMenuState(file, ID_SAVE_FORMAT_XML, MF_BYCOMMAND) & MF_CHECKED);
  frame.PostMessage(WM_COMMAND, ID_SAVE_FORMAT_XML);
  Pump();
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_TRUE(GetMenuState(file, ID_SAVE_FORMAT_XML, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(file, ID_SAVE_FORMAT_BINARY, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(tools, ID_AUTOMATIC_UPDATING, MF_BYCOMMAND) & MF_CHECKED);
  AutomaticUpdating = kUpdateManual;
  frame.UpdateUI();
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 5);
  EXPECT_FALSE(GetMenuState(tools, ID_AUTOMATIC_UPDATING, MF_BYCOMMAND) & MF_CHECKED);
  AutomaticUpdating = kUpdateAutomatic;
  DestroyMenu(menu);

  // The last document closed (its changes not saved), the document bars go
  // again.
  SetMessageBoxFunction([](HWND, const char*, const char*, UINT) { return IDNO; });
  ::SendMessageA(frame.MDIGetActive(), WM_COMMAND, ID_FILE_CLOSE, 0);
  Pump();
  EXPECT_EQ(frame.GetActiveChildFrame(), nullptr);
  EXPECT_TRUE(BandHidden(rebar, CMainFrame::kSecondaryToolBarBand));
  EXPECT_FALSE(ButtonEnabled(main, ID_EDIT_FIND));
  SetDocumentWindowFinder(nullptr);
  SetFrameFileCommands(nullptr);
}

TEST_F(MainFrameTest, RecentCellTextsGoIntoTheFormulaBar) {
  ProfileLists& lists = *Options.Lists;
  lists.recentCellTextCount = 2;
  lstrcpyA(lists.recentCellTexts[0], "=SUM(A1:A9)");
  lstrcpyA(lists.recentCellTexts[1], "hello");
  Show();
  EXPECT_TRUE(ButtonEnabled(frame.SecondaryToolBar(), ID_RECENT_DATA_FIRST));
  SetTrackPopupMenuFunction(ChooseFromMenu);
  g_chosen = ID_RECENT_DATA_FIRST + 1;
  NMTOOLBARA drop{};
  drop.hdr.hwndFrom = frame.SecondaryToolBar();
  drop.hdr.code = TBN_DROPDOWN;
  drop.iItem = ID_RECENT_DATA_FIRST;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop));
  SetTrackPopupMenuFunction(nullptr);
  char text[64] = {};
  GetWindowTextA(frame.FormulaBar(), text, sizeof text);
  EXPECT_STREQ(text, "hello");
  frame.PostMessage(WM_COMMAND, ID_RECENT_DATA_FIRST + 5);  // no such entry
  Pump();
  GetWindowTextA(frame.FormulaBar(), text, sizeof text);
  EXPECT_STREQ(text, "hello");
}

TEST(MainFrameRecentFiles, TheFileMenuListsTheProfilesRecentFilesNewestFirst) {
  CMessageLoop loop;
  ProfileLists& lists = *Options.Lists;
  lists.recentFileCount = 2;
  lstrcpyA(lists.recentFiles[0], "C:\\newest.tlv");
  lstrcpyA(lists.recentFiles[1], "C:\\older.tlv");
  CMainFrame frame;
  RECT r{0, 0, 600, 400};
  ASSERT_NE(frame.CreateFrame(&r), nullptr);
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  HMENU recent = nullptr;
  HMENU file = GetSubMenu(menu, 0);
  for (int i = 0; i < GetMenuItemCount(file) && recent == nullptr; ++i) {
    HMENU sub = GetSubMenu(file, i);
    if (sub != nullptr && GetMenuItemID(sub, 0) == ID_FILE_MRU_FIRST) recent = sub;
  }
  ASSERT_NE(recent, nullptr);
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(recent), 0);
  char text[128] = {};
  GetMenuStringA(recent, ID_FILE_MRU_FIRST, text, sizeof text, MF_BYCOMMAND);
  EXPECT_NE(std::string(text).find("newest.tlv"), std::string::npos) << text;
  EXPECT_EQ(GetMenuItemCount(recent), 2);
  DestroyMenu(menu);
  frame.DestroyWindow();
  DropQuit();
  SetDefaultOptions(Options);
}

std::string NameBoxItem(HWND nameBox, int index) {
  char text[300] = {};
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_TEXT;
  item.iItem = index;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(nameBox, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return text;
}

int g_bookmarkAnswer = IDYES;
int AnswerBookmarkQuestion(HWND, const char*, const char*, UINT) { return g_bookmarkAnswer; }

// The name box lists the profile's bookmarks from the start, each in the
// addressing style; removing one or all changes the profile and the list.
TEST(MainFrameBookmarks, TheNameBoxListsTheProfilesBookmarksAndRemovesThem) {
  CMessageLoop loop;
  InitCommonControlClasses();
  LoadRichEdit20();
  ProfileLists& lists = *Options.Lists;
  const char* stored[] = {"\\Sheet1!R2C3:R4C5  -  Totals", "\"[C:\\a.tlv]\\Costs\"!C2:C4  -  Columns",
                          "\\S!R1C1  -  Start"};
  for (const char* bookmark : stored) lstrcpyA(lists.bookmarks[lists.bookmarkCount++], bookmark);
  CMainFrame frame;
  RECT r{0, 0, 700, 400};
  ASSERT_NE(frame.CreateFrame(&r), nullptr);
  HWND nameBox = frame.NameBox();
  ASSERT_EQ(SendMessageA(nameBox, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(NameBoxItem(nameBox, 0), "\\Sheet1!$C$2:$E$4  -  Totals");
  EXPECT_EQ(NameBoxItem(nameBox, 1), "\"[C:\\a.tlv]\\Costs\"!$B:$D  -  Columns");

  SetMessageBoxFunction(AnswerBookmarkQuestion);
  SendMessageA(nameBox, CB_SETCURSEL, 1, 0);
  g_bookmarkAnswer = IDNO;
  frame.PostMessage(WM_COMMAND, ID_REMOVE_BOOKMARK);
  Pump();
  EXPECT_EQ(lists.bookmarkCount, 3);
  g_bookmarkAnswer = IDYES;
  frame.PostMessage(WM_COMMAND, ID_REMOVE_BOOKMARK);
  Pump();
  ASSERT_EQ(lists.bookmarkCount, 2);
  EXPECT_STREQ(lists.bookmarks[1], stored[2]);
  ASSERT_EQ(SendMessageA(nameBox, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(NameBoxItem(nameBox, 1), "\\S!$A$1  -  Start");
  char text[64] = {};
  GetWindowTextA(nameBox, text, sizeof text);
  EXPECT_STREQ(text, "");

  frame.PostMessage(WM_COMMAND, ID_REMOVE_ALL_BOOKMARKS);
  Pump();
  EXPECT_EQ(lists.bookmarkCount, 0);
  EXPECT_EQ(SendMessageA(nameBox, CB_GETCOUNT, 0, 0), 0);
  frame.DestroyWindow();
  DropQuit();
  SetMessageBoxFunction(nullptr);
  SetDefaultOptions(Options);
}

std::vector<std::string> g_shownTexts;
UINT ChooseAndListMenu(HMENU popup, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
  g_shownTexts.clear();
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    char text[128] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    g_shownTexts.push_back(text);
  }
  return ChooseFromMenu(popup, flags, x, y, owner, exclude);
}

TEST_F(MainFrameTest, ChevronsOfANarrowFrameOfferTheButtonsCutOff) {
  Show();
  CRecordingChild child;
  OpenChild(&child);
  child.commands.clear();
  ::SetWindowPos(frame.m_hWnd, nullptr, 0, 0, 320, 400, SWP_NOZORDER | SWP_NOMOVE);
  Pump();
  SetTrackPopupMenuFunction(ChooseAndListMenu);
  g_chosen = ID_EDIT_FIND;
  NMREBARCHEVRON chevron{};
  chevron.hdr.hwndFrom = rebar;
  chevron.hdr.code = RBN_CHEVRONPUSHED;
  chevron.uBand = 1;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&chevron));
  ASSERT_FALSE(g_shownTexts.empty());
  EXPECT_EQ(g_shownTexts.back(), "Update Data (F9)");
  EXPECT_FALSE(BandHidden(rebar, CMainFrame::kFindToolBarBand));  // Find chosen
  // The command bar's chevron lists the menus cut off.
  g_chosen = 0;
  chevron.uBand = 0;
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&chevron));
  ASSERT_FALSE(g_shownTexts.empty());
  EXPECT_EQ(g_shownTexts.back(), "&Help");
  // The frame's menu keeps its pop-ups.
  frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&chevron));
  EXPECT_EQ(g_shownTexts.back(), "&Help");
  EXPECT_TRUE(IsMenu(GetSubMenu(frame.Menu(), 7)));
  EXPECT_EQ(GetMenuItemCount(frame.Menu()), 8);
  SetTrackPopupMenuFunction(nullptr);
}

TEST_F(MainFrameTest, StatusPanesShowTheSelectionAndTheZoom) {
  Show();
  CWorkBook& book = books[0];
  book.protectionMode = 3;
  lstrcpyA(book.lastModification.user, "Ada");
  lstrcpyA(book.lastModification.date, "2024-02-29T13:05:59");
  frame.WriteStatusPanes(SelectionStatistics{-3, -2, -1, 2, 1}, book, 150);
  HWND status = frame.GetDlgItem(CMainFrame::kStatusBarId);
  char text[300] = {};
  SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Sum=-3  Min=-2  Max=-1  Numbers: 2  Text: 1");
  SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "");  // no file
  book.bufferedFile.file = stdout;
  frame.WriteStatusPanes(SelectionStatistics{}, book, 150);
  book.bufferedFile.file = nullptr;
  SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
  const std::string saved = text;
  EXPECT_EQ(saved.rfind("Last saved: ", 0), 0u) << saved;
  EXPECT_NE(saved.find("2024"), std::string::npos) << saved;
  EXPECT_NE(saved.find(", by Ada"), std::string::npos) << saved;
  EXPECT_EQ(saved.find(":59"), std::string::npos) << saved;  // no seconds
  SendMessageA(status, SB_GETTEXTA, 3, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, " 150%");
  EXPECT_NE(SendMessageA(status, SB_GETICON, 2, 0), 0);
}

// Documents of the open-document table whose windows the test plays.
struct FakeDocuments {
  HWND frame = nullptr;
  bool modified[kOpenDocumentSlots] = {};
  std::vector<int> saved;
  std::vector<int> asked;
};
FakeDocuments* g_documents = nullptr;

int SlotOf(const OpenDocument& document) { return static_cast<int>(&document - OpenDocuments().slots); }

const DocumentServices kFakeServices = {
    [](const OpenDocument& d) { return g_documents->modified[SlotOf(d)]; },
    [](const OpenDocument& d) {
      g_documents->saved.push_back(SlotOf(d));
      g_documents->modified[SlotOf(d)] = false;
      return true;
    },
    [](const OpenDocument& d) {
      g_documents->asked.push_back(SlotOf(d));
      const int answer = ShowMessageBox(nullptr, "Save changes?", "Talvero", MB_YESNOCANCEL);
      if (answer == IDYES) {
        g_documents->saved.push_back(SlotOf(d));
        g_documents->modified[SlotOf(d)] = false;
      }
      return answer != IDCANCEL;
    },
    [](const OpenDocument&) {},
};

int64_t g_now = 0;
int64_t TestClock() { return g_now; }

TEST_F(MainFrameTest, TimerSavesAfterTheInputPauseUnlessAModalWindowIsOpen) {
  // The clocks started when the frame was created, at the real time.
  g_now = 1000000;
  SetActivityClockForTesting(TestClock);
  FakeDocuments documents;
  g_documents = &documents;
  SetDocumentServices(&kFakeServices);
  ASSERT_TRUE(RegisterOpenDocument(&books[0], nullptr, "first.tlv"));
  ASSERT_TRUE(RegisterOpenDocument(&books[1], nullptr, "second.tlv"));
  documents.modified[0] = documents.modified[1] = true;
  Options.AutoSave = 1;
  Show();

  frame.PostMessage(WM_KEYDOWN, VK_SHIFT, 0);
  Pump();
  EXPECT_EQ(frame.Clocks().autoSave, 1000000);
  g_now += 30;
  frame.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // no click: no input
  Pump();
  g_now += 24;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_TRUE(documents.saved.empty());

  // A modal window of the frame holds the pass back.
  HWND popup = CreateWindowExA(0, "STATIC", "modal", WS_POPUP | WS_VISIBLE, 10, 10, 100, 50, frame.m_hWnd, nullptr,
                               nullptr, nullptr);
  SetActiveWindow(popup);
  g_now += 1;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_TRUE(documents.saved.empty());
  DestroyWindow(popup);
  SetActiveWindow(frame.m_hWnd);

  g_now += 60;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_EQ(documents.saved, (std::vector<int>{0, 1}));
  EXPECT_EQ(frame.Clocks().autoSave, g_now);
}

// A save that shows a dialog runs a modal loop, in which the timer ticks.
const DocumentServices kSavesWithAModalLoop = {
    [](const OpenDocument& d) { return g_documents->modified[SlotOf(d)]; },
    [](const OpenDocument& d) {
      g_documents->saved.push_back(SlotOf(d));
      g_now += 120;
      PostMessageA(g_documents->frame, WM_TIMER, CMainFrame::kTimerId, 0);
      Pump();
      g_documents->modified[SlotOf(d)] = false;
      return true;
    },
    [](const OpenDocument&) { return true; },
    [](const OpenDocument&) {},
};

TEST_F(MainFrameTest, ATimerTickDuringASaveStartsNoSecondPass) {
  g_now = 2000000;
  SetActivityClockForTesting(TestClock);
  Show();
  FakeDocuments documents;
  documents.frame = frame.m_hWnd;
  g_documents = &documents;
  SetDocumentServices(&kSavesWithAModalLoop);
  ASSERT_TRUE(RegisterOpenDocument(&books[0], nullptr, "first.tlv"));
  ASSERT_TRUE(RegisterOpenDocument(&books[1], nullptr, "second.tlv"));
  documents.modified[0] = documents.modified[1] = true;
  Options.AutoSave = 1;
  frame.PostMessage(WM_KEYDOWN, VK_SHIFT, 0);
  Pump();
  g_now += 60;
  frame.PostMessage(WM_TIMER, CMainFrame::kTimerId);
  Pump();
  EXPECT_EQ(documents.saved, (std::vector<int>{0, 1}));
}

int g_answers[4];
int g_answerCount = 0;
int ScriptedAnswer(HWND, const char*, const char*, UINT) { return g_answers[g_answerCount++]; }

TEST_F(MainFrameTest, ClosingAsksEveryDocumentInSlotOrderAndCancelKeepsThemAll) {
  FakeDocuments documents;
  g_documents = &documents;
  SetDocumentServices(&kFakeServices);
  for (CWorkBook& book : books) ASSERT_TRUE(RegisterOpenDocument(&book, nullptr, "book.tlv"));
  documents.modified[0] = documents.modified[1] = documents.modified[2] = true;
  SetMessageBoxFunction(ScriptedAnswer);
  g_answers[0] = IDYES;
  g_answers[1] = IDCANCEL;
  g_answerCount = 0;
  Show();
  frame.PostMessage(WM_CLOSE);
  Pump();
  EXPECT_TRUE(frame.IsWindow());
  EXPECT_EQ(documents.asked, (std::vector<int>{0, 1}));
  EXPECT_EQ(documents.saved, std::vector<int>{0});
  for (const CWorkBook& book : books) EXPECT_NE(FindOpenDocument("book.tlv"), nullptr) << &book;

  g_answers[2] = g_answers[3] = IDNO;
  documents.asked.clear();
  frame.PostMessage(WM_CLOSE);
  Pump();
  EXPECT_EQ(documents.asked, (std::vector<int>{0, 1, 2}));
  EXPECT_FALSE(frame.IsWindow());
}

// The zoom pane is a button: only a release inside it sends Zoom.
class CLoggingParent : public CWindowImpl {
 public:
  std::vector<UINT> commands;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) override {
    if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
    handled = false;
    return 0;
  }
};

TEST(StatusBarZoomPane, ReleasingInsideThePaneSendsZoomOnce) {
  InitCommonControlClasses();
  WindowClass cls;
  ASSERT_TRUE(RegisterOwnClass("TalveroTestStatusParent", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                               &cls));
  CLoggingParent parent;
  RECT r{0, 0, 700, 200};
  ASSERT_NE(parent.Create(cls, nullptr, r, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE), nullptr);
  HWND status = CreateStatusBar(parent.m_hWnd, 59393, "Ready");
  const int edges[4] = {200, 300, 400, 600};
  StatusBarSetParts(status, edges, 4);
  CMainFrame::CStatusBarCtrl2 bar;
  ASSERT_TRUE(bar.SubclassWindow(status));
  bar.frame = parent.m_hWnd;
  RECT pane{};
  SendMessageA(status, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&pane));
  const LPARAM inside = MAKELPARAM((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
  const LPARAM outside = MAKELPARAM(pane.left - 50, (pane.top + pane.bottom) / 2);

  PostMessageA(status, WM_LBUTTONUP, 0, outside);
  SendMessageA(status, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  EXPECT_TRUE(parent.commands.empty());
  PostMessageA(status, WM_MOUSEMOVE, MK_LBUTTON, outside);
  PostMessageA(status, WM_LBUTTONUP, 0, inside);
  SendMessageA(status, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  EXPECT_EQ(parent.commands, std::vector<UINT>{ID_VIEW_ZOOM});
  EXPECT_FALSE(bar.pressed);
  bar.UnsubclassWindow();
  parent.DestroyWindow();
}

}  // namespace
