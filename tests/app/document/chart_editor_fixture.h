#ifndef TALVERO_TESTS_APP_DOCUMENT_CHART_EDITOR_FIXTURE_H
#define TALVERO_TESTS_APP_DOCUMENT_CHART_EDITOR_FIXTURE_H

// A document window with the chart editor: containers of charts put on the
// sheet, the editor opened by a double click, and the user's clicks on its
// buttons, tabs and chart menu.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "core/model/chart_record.h"
#include "platform/ui/popup_menu.h"
#include "tests/app/document/document_window_fixture.h"

// The chart menu answers with this command.
inline UINT g_menuChoice = 0;
inline std::string g_menuEntries;

inline UINT ChooseFromMenu(HMENU popup, UINT, int, int, HWND, const RECT*) {
  g_menuEntries.clear();
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    char text[64] = {};
    GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    g_menuEntries += std::string(text) + ((GetMenuState(popup, i, MF_BYPOSITION) & MF_CHECKED) ? "*|" : "|");
  }
  return g_menuChoice;
}

inline constexpr ContainerRect kBox = {0, 0, 299, 199};

class ChartEditorTest : public DocumentWindowTest {
 protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    SetTrackPopupMenuFunction(ChooseFromMenu);
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    book = doc->Workbook();
    view = doc->GetActiveView();
  }
  void TearDown() override {
    SetTrackPopupMenuFunction(nullptr);
    DocumentWindowTest::TearDown();
  }

  CChartDlg2& Editor() { return doc->m_chartEditor; }

  // A container anchored at B2 holding charts of the kinds given, each with
  // one data series of column A.
  uint16_t AddContainer(std::initializer_list<uint8_t> kinds) {
    ContainerRecord* box = new ContainerRecord();
    const ContainerAnchor anchor = {1, 1, 9};
    box->Init(&anchor, &kBox);
    EXPECT_TRUE(book->AssignContainerId(box));
    for (uint8_t kind : kinds) {
      ChartRecord* chart = new ChartRecord(kind);
      chart->options.seriesCount = 1;
      chart->series[0].role = kSeriesData;
      std::strcpy(chart->series[0].dataArray, "=R1C1:R3C1");
      box->items[box->header.itemCount].kind = kItemChart;
      box->items[box->header.itemCount++].chart = chart;
    }
    book->activeWorksheet->AddContainer(box);
    book->RefreshContainer(box->header.id);
    InvalidateRect(view->m_hWnd, nullptr, TRUE);
    Pump();
    return box->header.id;
  }
  ContainerRecord* Stored(uint16_t id) { return book->FindContainerById(id); }

  // The user's double click inside the container.
  void DoubleClickContainer() {
    const RECT b2 = view->GetRangeRect(SelectionRange{1, 1, 1, 1});
    const LPARAM at = MAKELPARAM(b2.left + 150, b2.top + 100);
    view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    view->PostMessage(WM_LBUTTONUP, 0, at);
    view->PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    view->PostMessage(WM_LBUTTONUP, 0, at);
    Pump();
  }
  // A click on a toolbar button, as the mouse gives it.
  void ClickButton(HWND toolbar, UINT command) {
    ASSERT_NE(toolbar, nullptr);
    RECT r = {};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(toolbar, WM_LBUTTONUP, 0, at);
    Pump();
  }
  HWND SeriesBar(UINT command) {
    HWND bar = FindWindowExA(Editor().m_hWnd, nullptr, TOOLBARCLASSNAMEA, nullptr);
    for (; bar != nullptr; bar = FindWindowExA(Editor().m_hWnd, bar, TOOLBARCLASSNAMEA, nullptr))
      if (SendMessageA(bar, TB_COMMANDTOINDEX, command, 0) >= 0) return bar;
    return nullptr;
  }
  // A click on the tab of that text; false when no tab has it.
  bool ClickTab(const char* text) {
    HWND tabs = Editor().Tabs();
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
      char label[64] = {};
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = label;
      item.cchTextMax = sizeof label;
      SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      if (std::strcmp(label, text) != 0)
        continue;
      RECT r = {};
      TabCtrl_GetItemRect(tabs, i, &r);
      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageA(tabs, WM_LBUTTONUP, 0, at);
      Pump();
      return TabCtrl_GetCurSel(tabs) == i;
    }
    return false;
  }
  void ChooseFromChartMenu(UINT command) {
    g_menuChoice = command;
    ClickButton(Editor().MainToolBar(), ID_CHART_SELECTOR);
  }
  // Text typed into one of the editor's edits.
  void TypeInto(int id, const char* text) {
    HWND edit = GetDlgItem(Editor().m_hWnd, id);
    SetFocus(edit);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    Pump();
  }
  std::string ControlText(int id) {
    char text[1100] = {};
    GetWindowTextA(GetDlgItem(Editor().m_hWnd, id), text, sizeof text);
    return text;
  }
  std::string SelectorText() {
    char text[64] = {};
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = text;
    info.cchText = sizeof text;
    SendMessageA(Editor().MainToolBar(), TB_GETBUTTONINFOA, ID_CHART_SELECTOR, reinterpret_cast<LPARAM>(&info));
    return text;
  }

  CChildFrame* doc = nullptr;
  CWorkBook* book = nullptr;
  CDocumentView* view = nullptr;
};

#endif
