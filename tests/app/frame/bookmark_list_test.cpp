// The bookmarks of the profile as the name box lists them, and their
// removal.

#include "app/frame/bookmark_list.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/base/global_options.h"
#include "core/formula/eval_state.h"

namespace {

TEST(BookmarkList, ShowsTheReferenceInTheAddressingStyleWithItsName) {
  struct Case {
    const char* stored;
    bool a1;
    const char* shown;
  } cases[] = {
      {"\\Sheet1!R2C3:R4C5  -  Totals", true, "\\Sheet1!$C$2:$E$4  -  Totals"},
      {"\\Sheet1!R2C3:R4C5  -  Totals", false, "\\Sheet1!R2C3:R4C5  -  Totals"},
      {"\\Sheet1!C2:C4  -  Columns", true, "\\Sheet1!$B:$D  -  Columns"},
      {"\"[C:\\books\\a - b.tlv]\\Costs\\May\"!R1C1  -  Start", true,
       "\"[C:\\books\\a - b.tlv]\\Costs\\May\"!$A$1  -  Start"},
      // A name holding the separator keeps it.
      {"\\S!R1C1  -  a  -  b", true, "\\S!$A$1  -  a  -  b"},
      // Unreadable bookmarks keep their place, shown as they are.
      {"no separator", true, "no separator"},
      {"\"[unclosed!R1C1  -  x", true, "\"[unclosed!R1C1  -  x"},
  };
  EvalState translator;
  for (const Case& c : cases) {
    ResetGlobalOptions();
    AddressingA1 = c.a1 ? 1 : 0;
    char shown[kProfilePathSize];
    FormatBookmarkForDisplay(translator, c.stored, shown, sizeof shown);
    EXPECT_STREQ(shown, c.shown) << c.stored;
  }
  ResetGlobalOptions();
}

TEST(BookmarkList, RemovesOneEntryOrAll) {
  ProfileLists lists{};
  const char* names[] = {"\\A!B2", "\\B!C3", "\\C!D4"};
  for (const char* name : names) std::snprintf(lists.bookmarks[lists.bookmarkCount++], kProfilePathSize, "%s", name);
  EXPECT_FALSE(RemoveBookmarkEntry(lists, 3));
  EXPECT_FALSE(RemoveBookmarkEntry(lists, -1));
  ASSERT_TRUE(RemoveBookmarkEntry(lists, 0));
  ASSERT_EQ(lists.bookmarkCount, 2);
  EXPECT_STREQ(lists.bookmarks[0], "\\B!C3");
  EXPECT_STREQ(lists.bookmarks[1], "\\C!D4");
  EXPECT_STREQ(lists.bookmarks[2], "");
  RemoveAllBookmarkEntries(lists);
  EXPECT_EQ(lists.bookmarkCount, 0);
  EXPECT_STREQ(lists.bookmarks[0], "");
}

}  // namespace
