#include "app/frame/row_height_state.h"

#include <gtest/gtest.h>

#include "core/cells/row_table.h"

TEST(AutoRowHeightState, FixedAndAutomaticRowsOfTheSelection) {
  RowTable rows;
  ASSERT_TRUE(rows.SetRow(2, 20, true));
  ASSERT_TRUE(rows.SetRow(3, 20, true));
  ASSERT_TRUE(rows.SetRow(5, 30, false));
  EXPECT_EQ(GetAutoRowHeightState(2, 3, rows), kAllRowsFixed);
  EXPECT_EQ(GetAutoRowHeightState(0, 1, rows), kNoRowFixed);
  EXPECT_EQ(GetAutoRowHeightState(1, 2, rows), kSomeRowsFixed);
  EXPECT_EQ(GetAutoRowHeightState(3, 5, rows), kSomeRowsFixed);
  EXPECT_EQ(GetAutoRowHeightState(100, 200, rows), kNoRowFixed);
  EXPECT_EQ(GetAutoRowHeightState(0, 0, RowTable()), kNoRowFixed);
}

TEST(AutoRowHeightState, RowsBeyondTheTableCountAsAutomatic) {
  RowTable rows;
  ASSERT_TRUE(rows.SetRow(0, 20, true));
  ASSERT_TRUE(rows.SetRow(1, 20, true));
  EXPECT_EQ(GetAutoRowHeightState(0, 1, rows), kAllRowsFixed);
  EXPECT_EQ(GetAutoRowHeightState(0, 9, rows), kSomeRowsFixed);
}
