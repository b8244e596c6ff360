// The chart editor's changes to the item table of its working copy: the
// grid grows to hold a new chart, and the slot the editor opens on is
// always one the container has. (Removing and moving charts are tested
// with the editor's window.)

#include "dialogs/chart_editor/chart_slots.h"

#include <gtest/gtest.h>

#include "core/model/chart_record.h"

namespace {

// A container of `count` charts of the kind, laid out columns by rows.
void Fill(ContainerRecord& box, int count, uint8_t columns, uint8_t rows, uint8_t kind = kChart2D) {
  box.Init();
  box.header.columns = columns;
  box.header.rows = rows;
  for (int i = 0; i < count; ++i) {
    box.items[i].kind = kItemChart;
    box.items[i].chart = new ChartRecord(kind);
  }
  box.header.itemCount = static_cast<uint8_t>(count);
}

TEST(ChartSlots, AGridFullOfChartsGrowsByARowWhileNarrowerThanWideElseByAColumn) {
  struct Case {
    int count;
    uint8_t columns, rows;
    uint8_t grownColumns, grownRows;
  };
  const Case cases[] = {
      {4, 2, 2, 3, 2},   // full: one column more
      {6, 3, 2, 3, 3},   // full and wider than high: one row more
      {1, 1, 1, 2, 1},
      {0, 1, 1, 1, 1},   // room left: unchanged
      {3, 2, 2, 2, 2},
      {3, 1, 3, 2, 3},   // higher than wide: one column more
      {0, 0, 0, 1, 1},   // a damaged grid counts its lines as 1
      {100, 10, 10, 11, 10},  // beyond the 10 by 10 the file's range allows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " in " << int(c.columns) << "x" << int(c.rows));
    ContainerRecord box;
    Fill(box, c.count, c.columns, c.rows);
    ASSERT_TRUE(AddChartSlot(box, kChartXY));
    EXPECT_EQ(box.header.columns, c.grownColumns);
    EXPECT_EQ(box.header.rows, c.grownRows);
    EXPECT_EQ(box.header.itemCount, c.count + 1);
    ASSERT_NE(ChartOfSlot(box, c.count), nullptr);
    EXPECT_EQ(ChartOfSlot(box, c.count)->Kind(), kChartXY);
    EXPECT_TRUE(box.CheckInvariants());
  }
}

TEST(ChartSlots, EveryChartUpTo255FindsRoomAndTheNextIsRefused) {
  ContainerRecord box;
  Fill(box, 0, 1, 1);
  for (int i = 0; i < kContainerMaxItems; ++i) {
    ASSERT_TRUE(AddChartSlot(box, kChart2D)) << i;
    ASSERT_LE(box.header.itemCount, box.header.columns * box.header.rows);
  }
  EXPECT_EQ(box.header.columns, 16);
  EXPECT_EQ(box.header.rows, 16);
  const ContainerHeader before = box.header;
  EXPECT_FALSE(AddChartSlot(box, kChart2D));
  EXPECT_EQ(box.error, kContainerErrorTooManyItems);
  EXPECT_EQ(box.header.itemCount, before.itemCount);
  EXPECT_EQ(box.header.columns, before.columns);
  EXPECT_EQ(box.header.rows, before.rows);
  EXPECT_TRUE(box.CheckInvariants());
}

TEST(ChartSlots, AChartThatCannotBeAllocatedChangesNothing) {
  ContainerRecord box;
  Fill(box, 4, 2, 2);
  SetContainerAllocationGateForTesting([](size_t) { return false; });
  EXPECT_FALSE(AddChartSlot(box, kChart3D));
  SetContainerAllocationGateForTesting(nullptr);
  EXPECT_EQ(box.error, kContainerErrorOutOfMemory);
  EXPECT_EQ(box.header.itemCount, 4);
  EXPECT_EQ(box.header.columns, 2);
  EXPECT_EQ(box.items[4].kind, kItemEmpty);
}

TEST(ChartSlots, TheEditorOpensOnTheLastEditedChartOnlyWhenTheContainerHasIt) {
  ContainerRecord box;
  Fill(box, 2, 2, 1);
  box.items[1].kind = kItemImage;  // an image: a slot all the same
  delete box.items[1].chart;
  box.items[1].chart = nullptr;
  const struct {
    int32_t stored;
    int32_t opened;
  } cases[] = {{-1, -1}, {0, 0}, {1, 1}, {2, -1}, {255, -1}, {-2, -1}, {INT32_MIN, -1}, {INT32_MAX, -1}};
  for (const auto& c : cases) {
    box.selectedItem = c.stored;
    EXPECT_EQ(RestoredChartSlot(box), c.opened) << c.stored;
  }
  EXPECT_NE(ChartOfSlot(box, 0), nullptr);
  EXPECT_EQ(ChartOfSlot(box, 1), nullptr);
  EXPECT_EQ(ChartOfSlot(box, 2), nullptr);
  EXPECT_EQ(ChartOfSlot(box, -1), nullptr);
}

}  // namespace
