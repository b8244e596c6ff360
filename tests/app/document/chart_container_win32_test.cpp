// A workbook with a chart container, saved, opened again from the File
// menu and shown: the view's pixels show the container's fill and its
// chart, whose series the opening loaded.

#include <gtest/gtest.h>

#include <cstring>

#include "core/model/chart_record.h"
#include "tests/app/document/document_window_fixture.h"
#include "tests/view/dib_canvas_win32.h"

namespace {

constexpr COLORREF kBoxFill = RGB(255, 200, 0);
constexpr COLORREF kWall = RGB(200, 230, 255);

class ChartContainerStory : public DocumentWindowTest {
 protected:
  // A container at B2, 300 by 200 pixels, holding one column chart of three
  // numbers typed into column A.
  void AddChartContainer(CWorkBook& book) {
    PutNumber(book, 0, 0, 4);
    PutNumber(book, 1, 0, 9);
    PutNumber(book, 2, 0, 2);
    ContainerRecord* box = new ContainerRecord();
    const ContainerAnchor anchor = {1, 1, 9};
    const ContainerRect offsets = {0, 0, 299, 199};
    box->Init(&anchor, &offsets);
    ASSERT_TRUE(book.AssignContainerId(box));
    box->header.backgroundKind = kBackgroundPattern;
    box->header.fill = {1, 1, {}, kBoxFill, 1, {}, kBoxFill};
    box->header.itemCount = 1;
    box->items[0].kind = kItemChart;
    ChartRecord* chart = box->items[0].chart = new ChartRecord(kChart2D);
    chart->options.wallFill = {1, 1, {}, kWall, 1, {}, kWall};
    chart->options.seriesCount = 1;
    chart->series[0].role = kSeriesData;
    char formula[kSeriesFormulaSize] = "=A1:A3";
    book.evaluator.sheet = &book.activeWorksheet->cells;
    ASSERT_TRUE(book.evaluator.TranslateFormula(formula, sizeof formula, 0, 0, true));
    std::strcpy(chart->series[0].dataArray, formula);
    book.activeWorksheet->AddContainer(box);
  }

  // How many pixels of the view's client area have the colour.
  int CountPixels(CDocumentView* view, COLORREF colour) {
    Pump();
    InvalidateRect(view->m_hWnd, nullptr, FALSE);
    UpdateWindow(view->m_hWnd);
    const RECT client = view->GetClientRect();
    DibCanvas canvas(client.right, client.bottom);
    HDC dc = GetDC(view->m_hWnd);
    BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(view->m_hWnd, dc);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        if (canvas.At(x, y) == colour) ++count;
    return count;
  }
};

TEST_F(ChartContainerStory, AnOpenedWorkbookShowsItsChartContainer) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  AddChartContainer(*doc->Workbook());
  CChildFrame* reopened = SaveCloseAndReopen(doc, ID_FILE_SAVE_AS, "chart_container_story.tlv");
  ASSERT_NE(reopened, nullptr);
  CWorkSheet* sheet = reopened->Workbook()->activeWorksheet;
  ASSERT_NE(sheet->containers, nullptr);
  ChartRecord* chart = sheet->containers->items[0].chart;
  ASSERT_NE(chart, nullptr);
  EXPECT_TRUE(chart->flags & kChartDataLoaded);
  EXPECT_EQ(chart->seriesLists[0].points.Count(), 3u);

  CDocumentView* view = reopened->GetActiveView();
  // The box's fill around the chart, and the chart's wall inside it.
  EXPECT_GT(CountPixels(view, kBoxFill), 1000);
  EXPECT_GT(CountPixels(view, kWall), 10000);
  EXPECT_TRUE(chart->flags & kChartPrepared);
}

}  // namespace
