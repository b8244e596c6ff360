#include "dialogs/drop_down_lists/list_slots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(const DropDownList& list) {
  std::vector<std::string> items;
  for (const DropDownEntry* entry = list.entries; entry != nullptr; entry = entry->next) items.push_back(entry->text);
  return items;
}

TEST(ListSlots, ItemsAreTheLinesOfTheTextWithoutBlankLines) {
  const struct {
    const char* text;
    std::vector<std::string> items;
  } cases[] = {
      {"", {}},
      {"red\r\ngreen\r\nblue", {"red", "green", "blue"}},
      {"red\r\n\r\n\r\ngreen\r\n", {"red", "green"}},
      {"\r\nred", {"", "red"}},
      {"one\ntwo\rthree\n\r\n", {"one", "two", "three"}},
      {"  spaced  \r\n", {"  spaced  "}},
  };
  for (const auto& c : cases) {
    DropDownList list;
    std::snprintf(list.name, sizeof list.name, "%s", "Kept");
    ASSERT_TRUE(list.AppendEntry("old"));
    ASSERT_TRUE(StoreListItems(&list, c.text));
    EXPECT_EQ(Items(list), c.items) << c.text;
    EXPECT_STREQ(list.name, "Kept");
  }
}

TEST(ListSlots, ShownItemsEachEndWithALineBreakAndStoreBackTheSame) {
  DropDownList list;
  ASSERT_TRUE(StoreListItems(&list, "a\r\n\r\nb c\r\n"));
  const std::string shown = ListItemsText(list);
  EXPECT_EQ(shown, "a\r\nb c\r\n");
  DropDownList again;
  ASSERT_TRUE(StoreListItems(&again, shown.c_str()));
  EXPECT_EQ(Items(again), Items(list));
  // An item longer than a list keeps is cut.
  const std::string longItem(kDropDownEntryMaxLength + 10, 'x');
  ASSERT_TRUE(StoreListItems(&again, (longItem + "\r\nnext").c_str()));
  ASSERT_EQ(Items(again).size(), 2u);
  EXPECT_EQ(Items(again)[0].size(), kDropDownEntryMaxLength);
  EXPECT_EQ(Items(again)[1], "next");
}

}  // namespace
