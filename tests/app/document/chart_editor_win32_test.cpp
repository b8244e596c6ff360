// The chart editor in a real document window: opened by a double click on
// a container, a chart added from the chart menu, a series made from the
// worksheet's selection, applied as one undo step; charts moved and
// checked before Apply; the View page's owner-drawn gallery tiles compared
// with the rendering suite's pictures.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "charts/gallery/sample_charts.h"
#include "core/model/chart_record.h"
#include "platform/ui/popup_menu.h"
#include "tests/app/document/chart_editor_fixture.h"
#include "tests/charts/support/render_golden_win32.h"
#include "tests/platform/ui/windows/ui_test_support.h"

namespace {

TEST_F(ChartEditorTest, AChartAndASeriesFromTheSelectionAreAppliedAsOneUndoStep) {
  PutNumber(*book, 0, 0, 4);
  PutNumber(*book, 1, 0, 9);
  PutNumber(*book, 2, 0, 2);
  const uint16_t id = AddContainer({});
  DoubleClickContainer();
  ASSERT_NE(Editor().m_hWnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(Editor().m_hWnd));
  EXPECT_EQ(Title(Editor().m_hWnd), "Container [id: " + std::to_string(id) + "]");
  EXPECT_EQ(Editor().SelectedChart(), -1);
  EXPECT_EQ(SelectorText(), "Container Window");
  EXPECT_FALSE(IsWindowEnabled(Editor().SeriesList()));

  ChooseFromChartMenu(ID_ADD_CHART_2D);
  EXPECT_EQ(g_menuEntries, "Container Window*||Add Chart|Remove|");
  EXPECT_EQ(Editor().SelectedChart(), 0);
  EXPECT_EQ(SelectorText(), "2D Chart 1.");
  EXPECT_EQ(TabCtrl_GetItemCount(Editor().Tabs()), CChartDlg2::kChartPages);
  EXPECT_TRUE(IsWindowEnabled(Editor().SeriesList()));
  EXPECT_EQ(Stored(id)->header.itemCount, 0) << "the worksheet's container waits for Apply";

  // The cells A1:A3, selected with the mouse, become the series' formula.
  ClickCell(view, 0, 0);
  ClickCell(view, 0, 2, MK_SHIFT);
  ClickButton(SeriesBar(ID_SERIES_USE_SELECTION), ID_SERIES_USE_SELECTION);
  EXPECT_NE(ControlText(IDC_SERIES_FORMULA_EDIT).find("!$A$1:$A$3"), std::string::npos)
      << ControlText(IDC_SERIES_FORMULA_EDIT);
  TypeInto(IDC_SERIES_NAME_EDIT, "Sales");
  ClickButton(SeriesBar(ID_SERIES_ADD), ID_SERIES_ADD);
  EXPECT_EQ(SendMessageA(Editor().SeriesList(), LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(Editor().SelectedSeries(), 0);

  const int32_t before = book->undoHistory.Current();
  ClickButton(Editor().MainToolBar(), ID_CHART_APPLY);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_EQ(book->undoHistory.Current(), before + 1);
  EXPECT_TRUE(doc->IsModified());
  ContainerRecord* stored = Stored(id);
  ASSERT_EQ(stored->header.itemCount, 1);
  EXPECT_EQ(stored->selectedItem, 0);
  const ChartRecord* chart = stored->items[0].chart;
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Kind(), kChart2D);
  ASSERT_EQ(chart->options.seriesCount, 1);
  EXPECT_EQ(chart->series[0].role, kSeriesData);
  EXPECT_STREQ(chart->series[0].name, "Sales");
  const std::string formula = chart->series[0].dataArray;
  EXPECT_EQ(formula.substr(formula.size() - 10), "!R1C1:R3C1") << formula;
  EXPECT_TRUE(chart->flags & kChartDataLoaded);
  EXPECT_EQ(chart->seriesLists[0].points.Count(), 3u);

  // One Undo takes the whole edit back.
  Command(doc, ID_EDIT_UNDO);
  EXPECT_EQ(book->undoHistory.Current(), before);
  EXPECT_EQ(Stored(id)->header.itemCount, 0);

  // Closed and opened again after Apply, the editor shows the chart it applied.
  Command(doc, ID_EDIT_REDO);
  SendMessageA(Editor().m_hWnd, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_EQ(Editor().m_hWnd, nullptr);
  DoubleClickContainer();
  EXPECT_EQ(Editor().SelectedChart(), 0);
  EXPECT_EQ(ControlText(IDC_SERIES_NAME_EDIT), "Sales");
  EXPECT_EQ(ControlText(IDC_SERIES_TYPE_COMBO), "Data");
}

TEST_F(ChartEditorTest, AnEditAppliedWhileAnotherWorksheetIsShownUndoesOnTheContainersWorksheet) {
  const uint16_t id = AddContainer({});
  CWorkSheet* first = book->activeWorksheet;
  DoubleClickContainer();
  Command(doc, ID_NEW_WORKSHEET);
  ASSERT_NE(book->activeWorksheet, first);
  ChooseFromChartMenu(ID_ADD_CHART_XY);
  ClickButton(Editor().MainToolBar(), ID_CHART_APPLY);
  EXPECT_EQ(Stored(id)->header.itemCount, 1);
  Command(doc, ID_EDIT_UNDO);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_EQ(book->activeWorksheet, first);
  EXPECT_EQ(Stored(id)->header.itemCount, 0);
}

TEST_F(ChartEditorTest, TheEditorOpensOnAChartTheContainerHasAndFollowsItsDrag) {
  const uint16_t id = AddContainer({kChart2D, kChartXY});
  Stored(id)->selectedItem = 1;
  DoubleClickContainer();
  EXPECT_EQ(Editor().SelectedChart(), 1);
  EXPECT_EQ(SelectorText(), "XY Chart 2.");
  EXPECT_EQ(ControlText(IDC_SERIES_TYPE_COMBO), "Y-series");
  SendMessageA(Editor().m_hWnd, WM_COMMAND, IDCANCEL, 0);
  // A last-edited index the container has no slot for opens the container.
  Stored(id)->selectedItem = 7;
  DoubleClickContainer();
  EXPECT_EQ(Editor().SelectedChart(), -1);
  EXPECT_EQ(Editor().WorkingCopy().selectedItem, -1);

  // Dragged on the sheet, the container takes the editor's copy with it.
  const RECT b2 = view->GetRangeRect(SelectionRange{1, 1, 1, 1});
  view->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(b2.left + 150, b2.top + 100));
  view->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b2.left + 190, b2.top + 130));
  view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(b2.left + 190, b2.top + 130));
  Pump();
  const ContainerRecord* stored = Stored(id);
  EXPECT_NE(std::memcmp(&stored->header.rect, &kBox, sizeof kBox), 0);
  EXPECT_EQ(std::memcmp(&Editor().WorkingCopy().header.rect, &stored->header.rect, sizeof kBox), 0);
  EXPECT_EQ(std::memcmp(&Editor().WorkingCopy().header.anchor, &stored->header.anchor, sizeof(ContainerAnchor)), 0);
}

TEST_F(ChartEditorTest, MovingAChartAppliesItAndRemovingOneSelectsTheNewLast) {
  const uint16_t id = AddContainer({kChart2D, kChart3D, kChartXY});
  DoubleClickContainer();
  ASSERT_EQ(Editor().SelectedChart(), 0);
  const int32_t before = book->undoHistory.Current();
  ClickButton(Editor().MainToolBar(), ID_CHART_MOVE_UP);  // the first slot: nothing
  EXPECT_EQ(book->undoHistory.Current(), before);
  ClickButton(Editor().MainToolBar(), ID_CHART_MOVE_DOWN);
  EXPECT_EQ(Editor().SelectedChart(), 1);
  EXPECT_EQ(SelectorText(), "2D Chart 2.");
  EXPECT_EQ(book->undoHistory.Current(), before + 1);
  EXPECT_EQ(Stored(id)->items[0].chart->Kind(), kChart3D);
  EXPECT_EQ(Stored(id)->items[1].chart->Kind(), kChart2D);

  g_menuChoice = ID_REMOVE_CHART;
  ClickButton(Editor().MainToolBar(), ID_CHART_SELECTOR);
  EXPECT_EQ(g_menuEntries, "Container Window|3D Chart 1.|2D Chart 2.*|XY Chart 3.||Add Chart|Remove|");
  EXPECT_EQ(Editor().WorkingCopy().header.itemCount, 2);
  EXPECT_EQ(Editor().SelectedChart(), 1);
  EXPECT_EQ(SelectorText(), "XY Chart 2.");
  ChooseFromChartMenu(ID_REMOVE_CHART);
  ChooseFromChartMenu(ID_REMOVE_CHART);
  EXPECT_EQ(Editor().SelectedChart(), -1);
  EXPECT_EQ(SelectorText(), "Container Window");
  EXPECT_EQ(Stored(id)->header.itemCount, 3) << "removals wait for Apply";
}

TEST_F(ChartEditorTest, ApplyRefusesDataSeriesOfTwoViewTypesInA3DChart) {
  const uint16_t id = AddContainer({kChart3D});
  DoubleClickContainer();
  ASSERT_EQ(Editor().SelectedChart(), 0);
  ClickButton(SeriesBar(ID_SERIES_ADD), ID_SERIES_ADD);
  ASSERT_EQ(Editor().SelectedSeries(), 1);
  // The View page makes the new series 3D bars beside 3D columns.
  ASSERT_TRUE(ClickTab("View"));
  HWND tiles = GetDlgItem(Editor().ShownPage()->m_hWnd, IDC_GALLERY_LIST);
  ASSERT_NE(tiles, nullptr);
  EXPECT_EQ(SendMessageA(tiles, LB_GETCOUNT, 0, 0), kGalleryTiles);
  EXPECT_EQ(SendMessageA(tiles, LB_GETCURSEL, 0, 0), 0);
  SendMessageA(tiles, LB_SETCURSEL, 3, 0);
  const int32_t before = book->undoHistory.Current();
  ClickButton(Editor().MainToolBar(), ID_CHART_APPLY);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].substr(0, 40), "You must specify the same view type (for");
  EXPECT_EQ(book->undoHistory.Current(), before);
  // Without the bars the columns apply.
  ClickButton(SeriesBar(ID_SERIES_DELETE), ID_SERIES_DELETE);
  EXPECT_EQ(Editor().SelectedSeries(), 0);
  ClickButton(Editor().MainToolBar(), ID_CHART_APPLY);
  EXPECT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(book->undoHistory.Current(), before + 1);
  EXPECT_EQ(Stored(id)->items[0].chart->series[0].viewType, kViewColumn3D);
}

// Each kind's tiles drawn by the View page in rows of four 160-pixel tiles,
// as the rendering suite draws its sample charts.
void DrawTiles(CChartViewDlg& page, uint8_t kind, const char* golden) {
  const int tiles = GalleryTileCount(kind);
  ASSERT_EQ(SendMessageA(page.TileList(), LB_GETCOUNT, 0, 0), tiles);
  constexpr int kTile = 160;
  const int columns = tiles < 4 ? tiles : 4;
  DibCanvas canvas(columns * kTile, (tiles + 3) / 4 * kTile);
  for (int tile = 0; tile < tiles; ++tile) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = IDC_GALLERY_LIST;
    item.itemID = static_cast<UINT>(tile);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = page.TileList();
    item.hDC = canvas.dc();
    item.rcItem = {tile % 4 * kTile, tile / 4 * kTile, tile % 4 * kTile + kTile, tile / 4 * kTile + kTile};
    SendMessageA(page.m_hWnd, WM_DRAWITEM, IDC_GALLERY_LIST, reinterpret_cast<LPARAM>(&item));
  }
  render_golden::ExpectMatchesGolden(golden, canvas);
}

TEST_F(ChartEditorTest, TheViewPageDrawsTheGalleryOfEachChartKind) {
  AddContainer({kChart2D, kChart3D, kChartXY});
  DoubleClickContainer();
  ASSERT_TRUE(ClickTab("View"));
  CChartViewDlg* page = static_cast<CChartViewDlg*>(Editor().ShownPage());
  ASSERT_NE(page, nullptr);
  DrawTiles(*page, kChart2D, "gallery_2d");
  ChooseFromChartMenu(3);  // the second slot, on the first tab again
  ASSERT_TRUE(ClickTab("View"));
  DrawTiles(*page, kChart3D, "gallery_3d");
  ChooseFromChartMenu(4);
  ASSERT_TRUE(ClickTab("View"));
  DrawTiles(*page, kChartXY, "gallery_xy");
  // The list's own painting reaches the tiles; the picture is for people.
  InvalidateRect(Editor().m_hWnd, nullptr, TRUE);
  UpdateWindow(Editor().m_hWnd);
  SaveClientScreenshot(Editor().m_hWnd, "chart-editor-xy");
}

}  // namespace
