#include "view/geometry/scroll_steps.h"
#include "view/geometry/cell_at_point.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/worksheet.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/geometry/sheet_sizes.h"

namespace {

// A 400 x 300 client with a frozen row 0 and a frozen column 0. Rows are 18
// high (19 with the grid line); columns 49 wide (50) except the hidden
// columns 5 and 6 (1 each) and column 10 of 149 (150). Rows: 301 - 15 (the
// header band) - 19 (the frozen row) = 267 pixels, 14 rows whole and a 15th
// in part. Columns, while the rows shown have at most two digits: 401 - 22
// (the header band) - 50 (the frozen column) = 329 pixels.
class ScrollSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    for (uint32_t c = 0; c <= kMaxColumn; ++c) sheet->format.columns[c].SetWidth(49, true);
    sheet->format.columns[5].SetWidth(0, true);
    sheet->format.columns[6].SetWidth(0, true);
    sheet->format.columns[10].SetWidth(149, true);
    ViewStateOf(&sheet->viewFormat)->frozen = {0, 0, kCornerRowGiven | kCornerColumnGiven};
    view = MakeSheetViewport(sheet.get(), portable.Measurer(), 400, 300, 100, 100);
  }
  void PutCell(uint32_t row, uint16_t column) {
    alignas(8) uint8_t record[kNumberCellSize] = {};
    CellRecord* cell = AsCellRecord(record);
    cell->SetType(kCellNumber);
    cell->SetRow(row);
    cell->SetColumn(column);
    ASSERT_TRUE(sheet->cells.InsertCell(cell, nullptr));
  }

  std::unique_ptr<CWorkSheet> sheet{NewWorksheet("S", 1)};
  PortableTextMeasurer portable;
  SheetViewport view;
};

using Step = int64_t (*)(const SheetViewport&, ScrollPosition*);
template <void (*F)(const SheetViewport&, ScrollPosition*)>
int64_t NoPixels(const SheetViewport& v, ScrollPosition* p) {
  F(v, p);
  return 0;
}

TEST_F(ScrollSteps, EachStepFromTheEdgesAndTheMiddle) {
  ASSERT_EQ(AvailableHeight(view), 267);
  ASSERT_EQ(AvailableWidth(view, 0), 329);
  const uint32_t lastRow = kMaxRow;
  struct Case {
    const char* name;
    Step step;
    ScrollPosition from;  // first row, first column, cursor row, cursor column
    ScrollPosition to;
    int64_t pixels;
  } cases[] = {
      {"line right", ScrollLineRight, {0, 1, 0, 8}, {0, 2, 0, 9}, 50},
      {"line right at the last column", ScrollLineRight, {0, 2041, 0, 2046}, {0, 2041, 0, 2046}, 0},
      {"line left into a hidden column", ScrollLineLeft, {0, 7, 0, 7}, {0, 6, 0, 6}, 1},
      {"line left at column 0", ScrollLineLeft, {0, 0, 0, 0}, {0, 0, 0, 0}, 0},
      {"line down", ScrollLineDown, {0, 0, 13, 0}, {1, 0, 14, 0}, 19},
      {"line down inside the view", ScrollLineDown, {0, 0, 3, 0}, {0, 0, 4, 0}, 0},
      {"line down at the last row", ScrollLineDown, {lastRow - 3, 0, lastRow, 0}, {lastRow - 3, 0, lastRow, 0}, 0},
      {"line up at row 0", ScrollLineUp, {0, 0, 0, 0}, {0, 0, 0, 0}, 0},
      {"line up", ScrollLineUp, {20, 0, 20, 0}, {19, 0, 19, 0}, 19},
      {"page down", NoPixels<ScrollPageDown>, {0, 0, 5, 0}, {14, 0, 19, 0}, 0},
      {"page down to the end", NoPixels<ScrollPageDown>, {lastRow - 10, 0, lastRow - 8, 0},
       {lastRow - 10, 0, lastRow, 0}, 0},
      {"page up", NoPixels<ScrollPageUp>, {14, 0, 19, 0}, {0, 0, 5, 0}, 0},
      {"page up at the top", NoPixels<ScrollPageUp>, {0, 0, 9, 0}, {0, 0, 0, 0}, 0},
      {"page right over a wide column", NoPixels<ScrollPageRight>, {0, 1, 0, 3}, {0, 9, 0, 11}, 0},
      {"page left over hidden columns", NoPixels<ScrollPageLeft>, {0, 9, 0, 11}, {0, 1, 0, 3}, 0},
      {"page left at column 0", NoPixels<ScrollPageLeft>, {0, 0, 0, 4}, {0, 0, 0, 0}, 0},
      {"page right at the end", NoPixels<ScrollPageRight>, {0, 2044, 0, 2044}, {0, 2044, 0, 2046}, 0},
      {"home", NoPixels<ScrollHome>, {30, 40, 35, 42}, {30, 0, 35, 0}, 0},
      {"top", NoPixels<ScrollTop>, {30, 40, 35, 42}, {0, 40, 0, 42}, 0},
      {"end of an empty sheet", NoPixels<ScrollEnd>, {30, 40, 35, 42}, {30, 0, 35, 0}, 0},
      {"bottom of an empty sheet", NoPixels<ScrollBottom>, {30, 40, 35, 42}, {0, 40, 0, 42}, 0},
  };
  for (const Case& c : cases) {
    ScrollPosition p = c.from;
    const int64_t pixels = c.step(view, &p);
    EXPECT_EQ(p.firstRow, c.to.firstRow) << c.name;
    EXPECT_EQ(p.firstColumn, c.to.firstColumn) << c.name;
    EXPECT_EQ(p.cursorRow, c.to.cursorRow) << c.name;
    EXPECT_EQ(p.cursorColumn, c.to.cursorColumn) << c.name;
    EXPECT_EQ(pixels, c.pixels) << c.name;
  }
}

TEST_F(ScrollSteps, EndKeepsAColumnBeyondTheLastUsedInViewAndBottomPutsTheLastRowAtTheEdge) {
  PutCell(100, 20);
  ScrollPosition p = {0, 0, 0, 0};
  ScrollEnd(view, &p);
  EXPECT_EQ(p.cursorColumn, 20);
  EXPECT_EQ(p.firstColumn, 16);  // columns 16 to 21 fill 300 of 329 pixels
  ScrollBottom(view, &p);
  EXPECT_EQ(p.cursorRow, 100u);
  EXPECT_EQ(p.firstRow, 87u);  // 14 rows whole
}

TEST_F(ScrollSteps, ScrollToCellLeavesAVisibleCellAndCentresAnyOther) {
  ScrollPosition p = {0, 1, 2, 2};
  ScrollToCell(view, &p, 5, 3);
  EXPECT_EQ(p.firstRow, 0u);
  EXPECT_EQ(p.firstColumn, 1);
  ScrollToCell(view, &p, 500, 30);
  EXPECT_EQ(p.firstRow, 494u);
  EXPECT_EQ(p.firstColumn, 28);
  EXPECT_EQ(p.cursorRow, 2u);  // the cursor stays
}

// Any sequence of keys keeps the cursor on the grid and in view (at least in
// part: the last row or column of the grid may be cut by the edge).
TEST_F(ScrollSteps, RandomKeySequencesKeepTheCursorOnTheGridAndInView) {
  const char* env = std::getenv("TALVERO_TEST_SEED");
  const uint32_t seed = env ? static_cast<uint32_t>(std::strtoul(env, nullptr, 10)) : 20260101u;
  std::mt19937 random(seed);
  for (uint32_t c = 100; c < 2047; c += 37) sheet->format.columns[c].SetWidth(0, true);
  PutCell(3000, 300);
  const Step steps[] = {ScrollLineLeft,           ScrollLineRight,          ScrollLineUp,
                        ScrollLineDown,           NoPixels<ScrollPageLeft>, NoPixels<ScrollPageRight>,
                        NoPixels<ScrollPageUp>,   NoPixels<ScrollPageDown>, NoPixels<ScrollHome>,
                        NoPixels<ScrollTop>,      NoPixels<ScrollEnd>,      NoPixels<ScrollBottom>};
  for (int sequence = 0; sequence < 1000; ++sequence) {
    // Start anywhere, often at an edge of the grid, with the cursor at the first visible cell.
    ScrollPosition p = {};
    const uint32_t edgeRow[] = {0, kMaxRow - 5, static_cast<uint32_t>(random() % (kMaxRow + 1))};
    const uint32_t edgeColumn[] = {0, kMaxColumn - 3, static_cast<uint32_t>(random() % (kMaxColumn + 1))};
    p.firstRow = p.cursorRow = edgeRow[random() % 3];
    p.firstColumn = p.cursorColumn = static_cast<uint16_t>(edgeColumn[random() % 3]);
    for (int key = 0; key < 20; ++key) {
      const int which = static_cast<int>(random() % 12);
      EXPECT_GE(steps[which](view, &p), 0);
      const uint32_t lastRow = LastVisibleRow(sheet.get(), AvailableHeight(view), p.firstRow, 100, false);
      const uint32_t lastColumn =
          LastVisibleColumn(sheet.get(), AvailableWidth(view, p.firstRow), p.firstColumn, 100, false);
      ASSERT_LE(p.cursorRow, kMaxRow) << "seed " << seed;
      ASSERT_LE(p.cursorColumn, kMaxColumn) << "seed " << seed;
      ASSERT_TRUE(p.cursorRow >= p.firstRow && p.cursorRow <= lastRow)
          << "seed " << seed << " sequence " << sequence << " step " << which;
      ASSERT_TRUE(p.cursorColumn >= p.firstColumn && p.cursorColumn <= lastColumn)
          << "seed " << seed << " sequence " << sequence << " step " << which;
    }
  }
}

// The scrolling area starts at x = 22 + 1 + 50 (headers, then the frozen
// column) and y = 15 + 1 + 19.
TEST_F(ScrollSteps, APointFindsTheCellUnderItInTheScrollingArea) {
  struct Case {
    int32_t x, y;
    bool hit;
    uint32_t row;
    uint16_t column;
  } cases[] = {
      {73, 35, true, 0, 1},     // the first pixel of the first visible cell
      {122, 53, true, 0, 1},    // its right and bottom grid lines belong to it
      {123, 54, true, 1, 2},
      {273, 35, true, 0, 5},    // the hidden column 5 holds the pixel where it stands
      {274, 35, true, 0, 6},
      {275, 35, true, 0, 7},
      {72, 35, false, 0, 0},    // the frozen column
      {80, 34, false, 0, 0},    // the frozen row
      {10, 100, false, 0, 0},   // the row headers
      {401, 100, false, 0, 0},  // outside the client area
  };
  for (const Case& c : cases) {
    uint32_t row = 99;
    uint16_t column = 99;
    EXPECT_EQ(CellAtPoint(view, 0, 1, c.x, c.y, &row, &column), c.hit) << c.x << "," << c.y;
    if (c.hit) {
      EXPECT_EQ(row, c.row) << c.x << "," << c.y;
      EXPECT_EQ(column, c.column) << c.x << "," << c.y;
    }
  }
}

}  // namespace
