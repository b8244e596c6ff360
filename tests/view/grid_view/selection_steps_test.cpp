#include "view/grid_view/selection_steps.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/base/global_options.h"
#include "core/workbook/workbook.h"
#include "view/grid_view/pointing_reference.h"
#include "view/grid_view/scroll_ranges.h"
#include "view/grid_view/wheel_accumulator.h"

namespace {

TEST(SelectionSteps, ShiftSteppingPastTheAnchorAndBackKeepsItACorner) {
  GridSelection s = {5, 5, 5, 5, 1, 5, 5};
  const uint32_t path[] = {6, 7, 6, 5, 4, 3, 4, 5, 6};
  for (uint32_t value : path) {
    ASSERT_EQ(MovingColumn(s), s.currentColumn == 5 ? s.endColumn : s.currentColumn);
    ApplyColumnStep(&s, value);
    EXPECT_TRUE(s.currentColumn == 5 || s.endColumn == 5) << value;
    EXPECT_EQ(s.currentColumn, std::min(5u, value));
    EXPECT_EQ(s.endColumn, std::max(5u, value));
    EXPECT_EQ(s.currentRow, 5u);  // the other axis stays
  }
  GridSelection plain = {2, 3, 2, 3, 0, 0, 0};
  ApplyRowStep(&plain, 9);
  EXPECT_EQ(plain.currentRow, 9u);
  EXPECT_EQ(plain.endRow, 9u);
}

TEST(WheelAccumulator, HalfTurnsAddUpAndOppositeTurnsCancel) {
  struct Case {
    int32_t deltas[3];
    int32_t rowsUp;  // net rows up over the sequence; negative down
  } cases[] = {
      {{60, 60, -60}, 1},   // one row up, then a fresh half turn down
      {{60, -60, 0}, 0},    // nothing
      {{240, 0, 0}, 2},     // two rows
      {{-120, -60, -60}, -2},
      {{100, 100, 0}, 1},   // the remainder is dropped
  };
  for (const Case& c : cases) {
    int32_t total = 0, rows = 0;
    for (int32_t d : c.deltas) {
      const WheelSteps steps = AccumulateWheel(&total, d);
      rows += steps.up ? steps.rows : -steps.rows;
    }
    EXPECT_EQ(rows, c.rowsUp) << c.deltas[0] << "," << c.deltas[1] << "," << c.deltas[2];
  }
  int32_t total = 0;
  AccumulateWheel(&total, 60);
  AccumulateWheel(&total, 60);
  EXPECT_EQ(total, 0);
  AccumulateWheel(&total, -60);
  EXPECT_EQ(total, -60);
}

TEST(ScrollMaxima, CoverTheSelectionTheUsedAreaAndEveryContainer) {
  std::unique_ptr<CWorkSheet> sheet{NewWorksheet("S", 1)};
  EXPECT_EQ(ComputeScrollMaxima(sheet.get(), true, 0, 0).column, 1u);
  EXPECT_EQ(ComputeScrollMaxima(sheet.get(), false, 3, 1500000).row, 1500000u);
  for (uint32_t c = 0; c <= kMaxColumn; ++c) sheet->format.columns[c].SetWidth(49, true);
  ContainerRecord* c = new ContainerRecord;
  const ContainerAnchor anchor = {10, 20, 9};
  const ContainerRect rect = {0, 0, 120, 10};
  c->Init(&anchor, &rect);
  sheet->AddContainer(c);
  const ScrollMaxima m = ComputeScrollMaxima(sheet.get(), true, 0, 0);
  EXPECT_EQ(m.column, 12u);  // 120 pixels from column 10 reach into column 12
  EXPECT_EQ(m.row, 20u);
  EXPECT_EQ(ComputeScrollMaxima(sheet.get(), false, 0, 0).column, 1u);
}

TEST(PointingReference, WholeColumnsRowsAndCellsInBothAddressingStyles) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  // The address commands ask for absolute references (Ctrl) and for the
  // worksheet's path before them.
  struct Case {
    uint8_t a1;
    SelectionRange range;
    bool absolute;
    const char* sheet;
    const char* text;
  } cases[] = {
      {1, {1, 2, 1, 2}, false, nullptr, "B3"},
      {1, {1, 2, 3, 4}, false, nullptr, "B3:D5"},
      {1, {2, 0, 3, kMaxRow}, false, nullptr, "C:D"},
      {1, {0, 6, kMaxColumn, 6}, false, nullptr, "7:7"},
      {0, {1, 2, 1, 2}, false, nullptr, "R3C2"},
      {1, {1, 2, 3, 4}, true, nullptr, "$B$3:$D$5"},
      {1, {1, 2, 1, 2}, false, "\\Worksheet1", "\\Worksheet1!B3"},
      {1, {1, 2, 1, 2}, false, "\\Sheet one", "\"\\Sheet one\"!B3"},
  };
  for (const Case& c : cases) {
    AddressingA1 = c.a1;
    char text[64];
    ASSERT_TRUE(FormatSelectionReference(book.evaluator, c.range, text, sizeof text, c.absolute, c.sheet));
    EXPECT_STREQ(text, c.text);
  }
  ResetGlobalOptions();
}

}  // namespace
