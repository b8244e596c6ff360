// The user formats and bookmarks as a client reads and replaces them.

#include "automation/options/option_lists.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(OptionLists, UserFormatTextsSplitAtTheFirstCommaAndReadBackWithOneBlank) {
  const struct {
    const char* text;
    bool taken;
    const char* name;
    const char* pattern;
    const char* readBack;
  } cases[] = {
      {"Price, 0.00", true, "Price", "0.00", "Price, 0.00"},
      {"Rate,  ,0%", true, "Rate", "0%", "Rate, 0%"},
      {"Plain", true, "Plain", "", "Plain, "},
      {"Date,dd, mm", true, "Date", "dd, mm", "Date, dd, mm"},
      {", #", true, "", "#", ", #"},
      {"0123456789012345678901234567890123456789012345678, x", true,
       "0123456789012345678901234567890123456789012345678", "x",
       "0123456789012345678901234567890123456789012345678, x"},
      {"01234567890123456789012345678901234567890123456789, x", false, "", "", ""},
      {"x, 01234567890123456789012345678901234567890123456789", false, "", "", ""},
  };
  for (const auto& c : cases) {
    UserFormatList list;
    EXPECT_EQ(AddUserFormatText(list, c.text), c.taken) << c.text;
    EXPECT_EQ(list.count, c.taken ? 1 : 0) << c.text;
    if (!c.taken) continue;
    EXPECT_STREQ(list.names[0], c.name);
    EXPECT_STREQ(list.patterns[0], c.pattern);
    ProfileLists lists = {};
    StoreUserFormats(list, lists);
    char text[kUserFormatEntryTextSize];
    UserFormatText(lists, 0, text);
    EXPECT_STREQ(text, c.readBack);
  }
}

TEST(OptionLists, ListsRefuseEntriesBeyondTheirRoom) {
  UserFormatList formats;
  BookmarkList bookmarks;
  for (int i = 0; i < kUserFormatCount; ++i) {
    ASSERT_TRUE(AddUserFormatText(formats, "F, 0"));
    ASSERT_TRUE(AddBookmarkText(bookmarks, "B"));
  }
  EXPECT_FALSE(AddUserFormatText(formats, "One more, 0"));
  EXPECT_FALSE(AddBookmarkText(bookmarks, "One more"));
  BookmarkList one;
  EXPECT_FALSE(AddBookmarkText(one, std::string(256, 'b').c_str()));
  EXPECT_TRUE(AddBookmarkText(one, std::string(255, 'b').c_str()));
}

}  // namespace
