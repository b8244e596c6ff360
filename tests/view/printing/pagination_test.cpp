#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/core/generic_locale_test.h"
#include "view/geometry/sheet_sizes.h"
#include "view/printing/print_frame.h"
#include "view/printing/print_geometry.h"

namespace {

// Columns 40 pixels wide (41 with the grid line), rows 18 high (19), no
// headings unless a test turns them on: a page 84 pixels wide holds two
// columns (1 + 2 x 41), one 58 high three rows (1 + 3 x 19).
class Pagination : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    for (int c = 0; c < 40; ++c) sheet->format.columns[c].SetWidth(40, true);
    ASSERT_EQ(GetRowHeight(sheet, 0, 100), 18);
    sheet->pageSettings.rowHeadings = 0;
    sheet->pageSettings.columnHeadings = 0;
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  bool Paginate() { return book->Paginate(fake.Measurer(), sheet, frame, &zoom); }
  std::vector<PageRecord> Pages() const {
    std::vector<PageRecord> pages(book->pageList.Count());
    for (uint32_t i = 0; i < pages.size(); ++i) book->pageList.Get(i, &pages[i]);
    return pages;
  }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  FakeTextMeasurer fake;
  PrintFrame frame = {0, 0, 83, 57, 0, 0, 0, 0, 0, 0};
  PrintZoom zoom = {100, 100};
};

TEST_F(Pagination, SplitsAcrossThenDown) {
  Type(5, 5, "1");
  ASSERT_TRUE(Paginate());
  const std::vector<PageRecord> pages = Pages();
  ASSERT_EQ(pages.size(), 6u);
  const uint32_t expected[6][4] = {{0, 0, 2, 1}, {0, 2, 2, 3}, {0, 4, 2, 5},
                                   {3, 0, 5, 1}, {3, 2, 5, 3}, {3, 4, 5, 5}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(pages[i].firstRow, expected[i][0]) << i;
    EXPECT_EQ(pages[i].firstColumn, expected[i][1]) << i;
    EXPECT_EQ(pages[i].lastRow, expected[i][2]) << i;
    EXPECT_EQ(pages[i].lastColumn, expected[i][3]) << i;
    EXPECT_EQ(pages[i].width, 83u);
    EXPECT_EQ(pages[i].height, 58u);
    EXPECT_EQ(pages[i].selected, 1);
  }
  EXPECT_EQ(zoom.x, 100);
}

TEST_F(Pagination, EmptySheetIsOnePageOfA1WithHeadings) {
  sheet->pageSettings.rowHeadings = 1;
  sheet->pageSettings.columnHeadings = 1;
  frame = {0, 0, 999, 999, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(Paginate());
  const std::vector<PageRecord> pages = Pages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].lastRow, 0u);
  EXPECT_EQ(pages[0].lastColumn, 0u);
  // Headings in the default font: "C" 20 high, row numbers "99" + 8 = 28 wide.
  EXPECT_EQ(pages[0].width, 1u + 28 + 41);
  EXPECT_EQ(pages[0].height, 1u + 20 + 19);
}

TEST_F(Pagination, WideColumnLowersTheZoomForEveryPage) {
  sheet->format.columns[1].SetWidth(200, true);
  Type(0, 2, "1");
  ASSERT_TRUE(Paginate());
  const std::vector<PageRecord> pages = Pages();
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[1].firstColumn, 1u);
  EXPECT_EQ(pages[1].lastColumn, 1u);
  // 202 > 84: 41 percent makes column B 82 pixels wide.
  EXPECT_EQ(zoom.x, 41);
  EXPECT_EQ(zoom.y, 41);
  EXPECT_EQ(pages[1].width, 1u + 82 + 1);
  EXPECT_EQ(pages[0].width, 1u + 16 + 1);  // measured again at the final zoom
  EXPECT_EQ(pages[2].width, 1u + 16 + 1);
}

TEST_F(Pagination, TextRunningOnWidensThePageOrContinuesRight) {
  Type(0, 0, "abcdef");  // 60 pixels: reaches column B
  ASSERT_TRUE(Paginate());
  std::vector<PageRecord> pages = Pages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].lastColumn, 1u);
  EXPECT_EQ(pages[0].continuesRight, 0);

  book->FreePageList(sheet);
  sheet->cells.DeleteRange(0, 0, 0, 0, nullptr, false);
  Type(0, 0, "abcdefghij");  // 100 pixels: reaches column C, past the page
  ASSERT_TRUE(Paginate());
  pages = Pages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].lastColumn, 1u);
  EXPECT_EQ(pages[0].continuesRight, 1);
  EXPECT_EQ(pages[1].firstColumn, 2u);
}

TEST_F(Pagination, FrozenRowRepeatsAndExcludedRowsTakeNoRoom) {
  WorksheetViewState* state = ViewStateOf(&sheet->viewFormat);
  state->frozen.flags = kCornerRowGiven;
  state->frozen.row = 0;
  std::strcpy(sheet->pageSettings.excludedRows, "2-3");
  Type(6, 0, "1");
  ASSERT_TRUE(Paginate());
  const std::vector<PageRecord> pages = Pages();
  // Room for two rows under the frozen one: rows 4-5 (2 and 3 left out and
  // row 1 printed at the top instead), then 6-7.
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].firstRow, 0u);
  EXPECT_EQ(pages[0].lastRow, 4u);
  EXPECT_EQ(pages[0].height, 1u + 3 * 19);
  EXPECT_EQ(pages[1].firstRow, 5u);
  EXPECT_EQ(pages[1].lastRow, 6u);
  EXPECT_TRUE(sheet->pageSettings.IsRowExcluded(1));
  EXPECT_FALSE(sheet->pageSettings.IsRowExcluded(3));
}

TEST_F(Pagination, CopiesRepeatTheRunOrEachPage) {
  Type(0, 2, "1");  // two pages across
  sheet->pageSettings.copies = 3;
  ASSERT_TRUE(Paginate());
  std::vector<uint32_t> order;
  for (const PageRecord& p : Pages()) order.push_back(p.firstColumn);
  EXPECT_EQ(order, (std::vector<uint32_t>{0, 2, 0, 2, 0, 2}));

  sheet->pageSettings.collate = 1;
  ASSERT_TRUE(Paginate());
  order.clear();
  for (const PageRecord& p : Pages()) order.push_back(p.firstColumn);
  EXPECT_EQ(order, (std::vector<uint32_t>{0, 0, 0, 2, 2, 2}));
}

TEST_F(Pagination, PageListSelectsPagesOrFails) {
  Type(0, 4, "1");  // three pages across
  sheet->pageSettings.printRangeKind = kPrintPageList;
  std::strcpy(sheet->pageSettings.pages, "1,3");
  ASSERT_TRUE(Paginate());
  std::vector<PageRecord> pages = Pages();
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].selected + pages[1].selected * 2 + pages[2].selected * 4, 5);
  for (const char* list : {"9", "", "1;3"}) {
    std::strcpy(sheet->pageSettings.pages, list);
    EXPECT_FALSE(Paginate()) << list;
    EXPECT_EQ(book->error, kWorkbookInvalidPageRange) << list;
  }
}

TEST_F(Pagination, FitToSheetKeepsOnePageAndStoresOnePagePerSheet) {
  Type(5, 5, "1");
  sheet->pageSettings.fitToSheetSize = 1;
  sheet->pageSettings.pagesPerSheetRows = 2;
  sheet->pageSettings.pagesPerSheetColumns = 2;
  frame = {0, 0, 199, 199, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(Paginate());
  const std::vector<PageRecord> pages = Pages();
  ASSERT_GE(pages.size(), 2u);
  EXPECT_EQ(pages[0].selected, 1);
  EXPECT_EQ(pages[0].lastRow, 5u);
  EXPECT_EQ(pages[0].lastColumn, 5u);
  for (size_t i = 1; i < pages.size(); ++i) EXPECT_EQ(pages[i].selected, 0);
  EXPECT_EQ(sheet->pageSettings.pagesPerSheetRows, 1);
  EXPECT_EQ(sheet->pageSettings.pagesPerSheetColumns, 1);
  // The whole area (247 x 115) fits a 2 x 2 place of 92 x 96 at 37 percent.
  EXPECT_LE(pages[0].width, 92u);
}

TEST_F(Pagination, ZeroZoomAndNoRoomPerPageAreRefused) {
  Type(0, 0, "1");
  zoom = {0, 0};  // a scale of 0
  EXPECT_FALSE(Paginate());
  EXPECT_EQ(book->error, kWorkbookZoomTooSmall);

  // A printed container is one page whatever the zoom, copies or page list.
  sheet->pageSettings.printRangeKind = kPrintContainer;
  sheet->pageSettings.containerId = 7;
  sheet->pageSettings.copies = 3;
  ASSERT_TRUE(Paginate());
  ASSERT_EQ(book->pageList.Count(), 1u);
  EXPECT_EQ(Pages()[0].containerId, 7);
  EXPECT_EQ(Pages()[0].width, 84u);

  sheet->pageSettings.printRangeKind = kPrintAll;
  zoom = {100, 100};
  for (uint8_t count : {0, 254}) {
    sheet->pageSettings.pagesPerSheetRows = count;
    sheet->pageSettings.pagesPerSheetColumns = count;
    EXPECT_FALSE(Paginate()) << int(count);
    EXPECT_EQ(book->error, kWorkbookZoomTooSmall);
  }
}

// Margins longer than the paper, as a file or a client may store them, are
// reported as leaving no room to print, for every kind of print range, and
// not as a zoom shrunk to nothing.
TEST_F(Pagination, MarginsBeyondThePaperLeaveNoPrintableArea) {
  Type(0, 0, "kept");
  // A4 at 600 dots per inch.
  const PrinterMetrics a4 = {4960, 7016, 150, 150, 210, 297, 600, 600};
  const double lengths[] = {150, 99999999, 1e308, std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
  for (uint8_t kind : {kPrintAll, kPrintContainer}) {
    sheet->pageSettings.printRangeKind = kind;
    for (double length : lengths) {
      PageSettings& settings = sheet->pageSettings;
      settings.marginLeft = settings.marginTop = length;
      settings.marginRight = settings.marginBottom = 70;
      ASSERT_TRUE(ComputePrintFrame(a4, settings, &frame));
      EXPECT_FALSE(Paginate()) << length;
      EXPECT_EQ(book->error, kWorkbookNoPrintableArea) << length;
      EXPECT_EQ(zoom.x, 100);
    }
  }
  // Margins that fit still paginate on the same paper.
  sheet->pageSettings.printRangeKind = kPrintAll;
  sheet->pageSettings.marginLeft = sheet->pageSettings.marginTop = 20;
  ASSERT_TRUE(ComputePrintFrame(a4, sheet->pageSettings, &frame));
  EXPECT_TRUE(Paginate());
  EXPECT_EQ(book->pageList.Count(), 1u);
}

TEST_F(Pagination, PrintAreaCoversContainersAndFormattedRuns) {
  ContainerRecord* container = new ContainerRecord;
  const ContainerAnchor anchor = {2, 3, 9};
  const ContainerRect rect = {0, 0, 100, 40};  // reaches 2 more columns and rows
  container->Init(&anchor, &rect);
  sheet->AddContainer(container);
  uint32_t lastRow = 0;
  uint16_t lastColumn = 0;
  book->GetPrintArea(sheet, &lastRow, &lastColumn, zoom);
  EXPECT_EQ(lastRow, 5u);
  EXPECT_EQ(lastColumn, 4u);

  StyleRecord filled = book->styles.StyleAt(0);
  filled.interior.pattern = 1;
  uint16_t index = 0;
  ASSERT_TRUE(book->styles.FindOrAddStyle(filled, &index));
  ASSERT_TRUE(sheet->format.runs.InsertRun({0, 9, 20, index}, nullptr));
  book->GetPrintArea(sheet, &lastRow, &lastColumn, zoom);
  EXPECT_EQ(lastRow, 20u);
  EXPECT_EQ(lastColumn, 9u);
}

}  // namespace
