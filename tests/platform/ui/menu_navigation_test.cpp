#include "platform/ui/menu_navigation.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuNavigation, ArrowsSkipItemsThatCannotBeChosenAndWrap) {
  const uint8_t selectable[] = {1, 0, 1, 1, 0};
  EXPECT_EQ(NextMenuItem(selectable, 5, 0, +1), 2);
  EXPECT_EQ(NextMenuItem(selectable, 5, 3, +1), 0);
  EXPECT_EQ(NextMenuItem(selectable, 5, 0, -1), 3);
  EXPECT_EQ(NextMenuItem(selectable, 5, -1, +1), 0);
  EXPECT_EQ(NextMenuItem(selectable, 5, -1, -1), 3);
  const uint8_t none[] = {0, 0};
  EXPECT_EQ(NextMenuItem(none, 2, 0, +1), -1);
  EXPECT_EQ(NextMenuItem(none, 0, 0, +1), -1);
}

TEST(MenuNavigation, MnemonicIsTheLetterAfterASingleAmpersand) {
  EXPECT_EQ(MenuMnemonic("&File"), 'F');
  EXPECT_EQ(MenuMnemonic("For&mat"), 'M');
  EXPECT_EQ(MenuMnemonic("Save && &quit"), 'Q');
  EXPECT_EQ(MenuMnemonic("Plain"), 0);
  EXPECT_EQ(MenuMnemonic("Trailing&"), 0);
  const char* bar[] = {"&File", "&Edit", "For&mat", nullptr, "&Window"};
  EXPECT_EQ(FindMnemonicItem(bar, 5, 'm'), 2);
  EXPECT_EQ(FindMnemonicItem(bar, 5, 'W'), 4);
  EXPECT_EQ(FindMnemonicItem(bar, 5, 'x'), -1);
}

}  // namespace
