#include "view/grid_view/grid_hit_test.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/worksheet.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"

namespace {

// A 400 x 300 client; columns 49 wide (50 with the grid line), rows at the
// default height.
class GridHitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (uint32_t c = 0; c <= kMaxColumn; ++c) sheet->format.columns[c].SetWidth(49, true);
    Refresh();
  }
  void Refresh() {
    view = MakeSheetViewport(sheet.get(), portable.Measurer(), 400, 300, 100, 100);
    frame = ComputeGridFrame(view, 0);
    rowHeight = GetRowHeight(sheet.get(), 0, 100);
  }
  GridHitInput Input(uint32_t c1 = 0, uint32_t r1 = 0, uint32_t c2 = 0, uint32_t r2 = 0) const {
    return {&view, 0, 0, c1, r1, c2, r2};
  }
  // Left grid line of a visible column; top grid line of a visible row.
  int ColumnStart(int c) const { return frame.scrollLeft + 50 * c; }
  int RowStart(int r) const { return frame.scrollTop + (rowHeight + 1) * r; }

  std::unique_ptr<CWorkSheet> sheet{NewWorksheet("S", 1)};
  PortableTextMeasurer portable;
  SheetViewport view;
  GridFrame frame;
  int rowHeight = 0;
};

TEST_F(GridHitTest, HeaderBandsSplitIntoHeadersAndBordersAtTheirTolerances) {
  // Selection far away, so that only the bands and cells answer.
  const GridHitInput in = Input(30, 500, 30, 500);
  const int s = ColumnStart(2), e = s + 49;  // column 2's left and right edge
  const int y = frame.columnHeaderHeight / 2;
  struct Case {
    int x;
    GridHitKind kind;
    uint16_t column;
  } columns[] = {
      {s + 2, GridHitKind::kNone, 0},         {s + 3, GridHitKind::kColumnHeader, 2},
      {e - 4, GridHitKind::kColumnHeader, 2}, {e - 3, GridHitKind::kColumnBorder, 2},
      {e + 2, GridHitKind::kColumnBorder, 2}, {e + 3, GridHitKind::kNone, 0},
      {e + 4, GridHitKind::kColumnHeader, 3},
  };
  for (const Case& c : columns) {
    const GridHit hit = HitTestGrid(in, c.x, y);
    EXPECT_EQ(hit.kind, c.kind) << c.x - s;
    if (hit.kind != GridHitKind::kNone) {
      EXPECT_EQ(hit.column, c.column) << c.x - s;
    }
    if (hit.kind == GridHitKind::kColumnBorder) {
      EXPECT_EQ(hit.edgeStart, s);
      EXPECT_EQ(hit.edgeEnd, e + 1);
    }
  }
  const int t = RowStart(4), b = t + rowHeight;
  const int x = frame.rowHeaderWidth / 2;
  struct RowCase {
    int y;
    GridHitKind kind;
    uint32_t row;
  } rows[] = {
      {t + 2, GridHitKind::kNone, 0},      {t + 3, GridHitKind::kRowHeader, 4}, {b - 4, GridHitKind::kRowHeader, 4},
      {b - 3, GridHitKind::kRowBorder, 4}, {b + 2, GridHitKind::kRowBorder, 4}, {b + 4, GridHitKind::kRowHeader, 5},
  };
  for (const RowCase& c : rows) {
    const GridHit hit = HitTestGrid(in, x, c.y);
    EXPECT_EQ(hit.kind, c.kind) << c.y - t;
    if (hit.kind != GridHitKind::kNone) {
      EXPECT_EQ(hit.row, c.row) << c.y - t;
    }
  }
  // A border whose edge is not left of the client's right edge is none.
  const int lastVisible = (400 - frame.scrollLeft) / 50;
  const int lastEdge = ColumnStart(lastVisible) + 49;
  ASSERT_GE(lastEdge, 400);
  EXPECT_EQ(HitTestGrid(in, ColumnStart(lastVisible) - 1, y).kind, GridHitKind::kColumnBorder);
}

TEST_F(GridHitTest, CellsOwnTheirRightAndBottomGridPixel) {
  const GridHitInput in = Input(30, 500, 30, 500);
  const int s = ColumnStart(1), t = RowStart(2);
  struct Case {
    int x, y;
    uint16_t column;
    uint32_t row;
  } cases[] = {
      {s, t, 1, 2}, {s + 49, t + rowHeight, 1, 2}, {s + 50, t, 2, 2}, {s, t + rowHeight + 1, 1, 3},
      {s - 1, t, 0, 2},
  };
  for (const Case& c : cases) {
    const GridHit hit = HitTestGrid(in, c.x, c.y);
    ASSERT_EQ(hit.kind, GridHitKind::kCell) << c.x << "," << c.y;
    EXPECT_EQ(hit.column, c.column);
    EXPECT_EQ(hit.row, c.row);
  }
}

TEST_F(GridHitTest, SelectionFrameBandDependsOnTheRowsSpanned) {
  const int left = ColumnStart(1), top = RowStart(1);
  // Two rows: only the top edge down to 4 pixels below it.
  const GridHitInput two = Input(1, 1, 3, 2);
  EXPECT_EQ(HitTestGrid(two, left + 20, top + 4).kind, GridHitKind::kSelectionFrame);
  EXPECT_EQ(HitTestGrid(two, left + 20, top + 5).kind, GridHitKind::kCell);
  EXPECT_EQ(HitTestGrid(two, left + 2, top + 10).kind, GridHitKind::kCell);
  // Three rows: 8 pixels inside every edge.
  const GridHitInput three = Input(1, 1, 3, 3);
  const int right = ColumnStart(4), bottom = RowStart(4);
  EXPECT_EQ(HitTestGrid(three, left + 7, top + 20).kind, GridHitKind::kSelectionFrame);
  EXPECT_EQ(HitTestGrid(three, left + 8, top + 20).kind, GridHitKind::kCell);
  EXPECT_EQ(HitTestGrid(three, right - 7, top + 20).kind, GridHitKind::kSelectionFrame);
  EXPECT_EQ(HitTestGrid(three, right - 8, top + 20).kind, GridHitKind::kCell);
  EXPECT_EQ(HitTestGrid(three, left + 60, bottom - 7).kind, GridHitKind::kSelectionFrame);
  EXPECT_EQ(HitTestGrid(three, left - 1, top + 20).kind, GridHitKind::kCell);
}

TEST_F(GridHitTest, FrozenRowAndColumnHoldNoCell) {
  ViewStateOf(&sheet->viewFormat)->frozen = {0, 0, kCornerRowGiven | kCornerColumnGiven};
  Refresh();
  const GridHitInput in = Input(30, 500, 30, 500);
  const int frozenTop = frame.columnHeaderHeight + 2;
  EXPECT_EQ(HitTestGrid(in, frame.scrollLeft + 20, frozenTop + 3).kind, GridHitKind::kNone);
  EXPECT_EQ(HitTestGrid(in, frame.rowHeaderWidth + 5, frame.scrollTop + 5).kind, GridHitKind::kNone);
  const GridHit first = HitTestGrid(in, frame.scrollLeft + 1, frame.scrollTop + 1);
  ASSERT_EQ(first.kind, GridHitKind::kCell);
  EXPECT_EQ(first.column, 0);
  EXPECT_EQ(first.row, 0u);
}

TEST_F(GridHitTest, TheLastContainerUnderThePointWinsAndMovesToTheEnd) {
  ContainerRecord* ids[3];
  for (uint16_t i = 0; i < 3; ++i) {
    ContainerRecord* c = new ContainerRecord;
    const ContainerAnchor anchor = {1, 1, 9};
    const ContainerRect rect = {0, 0, 100, 60};
    c->Init(&anchor, &rect);
    c->header.id = static_cast<uint16_t>(i + 1);
    sheet->AddContainer(c);
    ids[i] = c;
  }
  ids[2]->header.anchor.column = 5;  // elsewhere
  const GridHitInput in = Input(30, 500, 30, 500);
  const GridHit hit = HitTestGrid(in, ColumnStart(1) + 10, RowStart(1) + 10);
  ASSERT_EQ(hit.kind, GridHitKind::kContainer);
  EXPECT_EQ(hit.containerId, 2);
  EXPECT_EQ(sheet->containers, ids[0]);
  EXPECT_EQ(ids[0]->next, ids[2]);
  EXPECT_EQ(ids[2]->next, ids[1]);
  EXPECT_EQ(ids[1]->next, nullptr);
}

}  // namespace
