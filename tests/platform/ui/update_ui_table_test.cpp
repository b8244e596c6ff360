#include "platform/ui/update_ui_table.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdateUITable, ToolbarsTakeOnlyRealChangesOnce) {
  UpdateUITable table;
  ASSERT_TRUE(table.AddCommand(57603, kUpdateUIMenu | kUpdateUIToolBar));
  ASSERT_TRUE(table.AddCommand(32815, kUpdateUIMenu));
  table.Enable(57603, false);
  table.SetCheck(32815, 1);  // menu only: no toolbar change
  table.Enable(57643, true);  // unknown, added, but nothing changed

  UpdateUIEntry changes[8];
  ASSERT_EQ(table.TakeToolBarChanges(changes, 8), 1);
  EXPECT_EQ(changes[0].id, 57603);
  EXPECT_EQ(changes[0].disabled, 1);
  EXPECT_EQ(table.TakeToolBarChanges(changes, 8), 0);
  table.Enable(57603, false);  // same state again
  EXPECT_EQ(table.TakeToolBarChanges(changes, 8), 0);

  ASSERT_NE(table.Find(32815), nullptr);
  EXPECT_EQ(table.Find(32815)->checked, 1);
  EXPECT_EQ(table.Find(57643)->kinds, kUpdateUIMenu | kUpdateUIToolBar);
  EXPECT_EQ(table.Find(1), nullptr);
}

TEST(UpdateUITable, RefusesCommandsBeyondItsCapacity) {
  UpdateUITable table;
  for (int i = 0; i < UpdateUITable::kMaxEntries; ++i) ASSERT_TRUE(table.Enable(uint16_t(1000 + i), true));
  EXPECT_FALSE(table.Enable(5, false));
  EXPECT_TRUE(table.Enable(1000, false));  // known commands still change
  EXPECT_EQ(table.Count(), UpdateUITable::kMaxEntries);
}

TEST(UpdateUITable, ACommandKeptDisabledIgnoresLaterEnables) {
  UpdateUITable table;
  ASSERT_TRUE(table.Enable(57634, true));
  ASSERT_TRUE(table.KeepDisabled(57634));
  table.Enable(57634, true);
  table.SetCheck(57634, 1);  // its check still shows
  EXPECT_EQ(table.Find(57634)->disabled, 1);
  EXPECT_EQ(table.Find(57634)->checked, 1);
  UpdateUIEntry changes[4];
  ASSERT_EQ(table.TakeToolBarChanges(changes, 4), 1);
  EXPECT_EQ(changes[0].disabled, 1);
}

}  // namespace
