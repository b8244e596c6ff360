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

TEST(ListSlots, FreedSlotsAreTakenAgainFirstAndAFullSetHasNone) {
  DropDownList lists[kDropDownListCount];
  EXPECT_EQ(FirstFreeListSlot(lists), 0);
  for (int slot = 0; slot < 3; ++slot) ProposedListName(slot, lists[slot].name, sizeof lists[slot].name);
  EXPECT_STREQ(lists[2].name, "List 3.");
  EXPECT_EQ(FirstFreeListSlot(lists), 3);
  lists[1].Clear();
  EXPECT_EQ(FirstFreeListSlot(lists), 1);
  // A slot without a name but with items is in use.
  ASSERT_TRUE(lists[1].AppendEntry("item"));
  EXPECT_TRUE(IsListInUse(lists[1]));
  for (DropDownList& list : lists) std::snprintf(list.name, sizeof list.name, "%s", "full");
  EXPECT_EQ(FirstFreeListSlot(lists), -1);
}

TEST(ListSlots, EachListKeepsItsOwnThreeSettings) {
  DropDownList list;
  for (int bits = 0; bits < 8; ++bits) {
    const ListSettings set{uint8_t(bits & 1), uint8_t((bits >> 1) & 1), uint8_t((bits >> 2) & 1)};
    SetListSettings(&list, set);
    const ListSettings read = ListSettingsOf(list);
    EXPECT_EQ(read.autoAppend, set.autoAppend);
    EXPECT_EQ(read.autoComplete, set.autoComplete);
    EXPECT_EQ(read.sort, set.sort);
  }
}

}  // namespace
