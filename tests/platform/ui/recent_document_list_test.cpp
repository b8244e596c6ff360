#include "platform/ui/recent_document_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Entries(const RecentDocumentList& list) {
  std::string s;
  for (int i = 0; i < list.Count(); ++i) s += std::string(list.Entry(i)) + ";";
  return s;
}

TEST(RecentDocumentList, NewestFirstWithoutDuplicatesOrOverflow) {
  RecentDocumentList list;
  ASSERT_TRUE(list.SetMaxEntries(3));
  list.Add("C:\\a.tlv");
  list.Add("C:\\b.tlv");
  list.Add("c:\\A.TLV");  // same file, other letter case: moves to the top
  EXPECT_EQ(Entries(list), "c:\\A.TLV;C:\\b.tlv;");
  list.Add("C:\\c.tlv");
  list.Add("C:\\d.tlv");  // full: the oldest goes
  EXPECT_EQ(Entries(list), "C:\\d.tlv;C:\\c.tlv;c:\\A.TLV;");
  ASSERT_TRUE(list.SetMaxEntries(2));
  EXPECT_EQ(Entries(list), "C:\\d.tlv;C:\\c.tlv;");
  EXPECT_TRUE(list.Remove(0));
  EXPECT_FALSE(list.Remove(1));
  EXPECT_EQ(list.Entry(1), nullptr);
  EXPECT_FALSE(list.SetMaxEntries(RecentDocumentList::kMaxEntries + 1));
}

// A path longer than an entry holds is not listed: cut, it would open
// another file.
TEST(RecentDocumentList, APathLongerThanAnEntryIsNotListed) {
  RecentDocumentList list;
  list.Add("C:\\a.tlv");
  const std::string longest(RecentDocumentList::kMaxPathLength, 'x');
  list.Add(longest.c_str());
  list.Add((longest + "y").c_str());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(std::string(list.Entry(0)), longest);
}

}  // namespace
