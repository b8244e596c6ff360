// The texts entered through the formula bar, newest first.

#include "app/frame/recent_cell_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const ProfileLists& lists) {
  std::vector<std::string> texts;
  for (int i = 0; i < lists.recentCellTextCount; ++i) texts.push_back(lists.recentCellTexts[i]);
  return texts;
}

TEST(RecentCellTexts, AnEqualTextMovesToTheFrontAtAnyLength) {
  auto lists = std::make_unique<ProfileLists>();
  AddRecentCellText(*lists, "=A1");
  AddRecentCellText(*lists, "total");
  AddRecentCellText(*lists, "");  // nothing entered, nothing kept
  AddRecentCellText(*lists, "TOTAL");
  EXPECT_EQ(Texts(*lists), (std::vector<std::string>{"TOTAL", "=A1"}));

  for (int i = 2; i < kRecentCellTextsKept; ++i) AddRecentCellText(*lists, std::to_string(i).c_str());
  ASSERT_EQ(lists->recentCellTextCount, kRecentCellTextsKept);
  EXPECT_EQ(Texts(*lists).back(), "=A1");
  // Full, an equal text still moves instead of coming twice, and the last
  // entry stays.
  AddRecentCellText(*lists, "total");
  ASSERT_EQ(lists->recentCellTextCount, kRecentCellTextsKept);
  EXPECT_EQ(Texts(*lists).front(), "total");
  EXPECT_EQ(Texts(*lists).back(), "=A1");
  const std::vector<std::string> full = Texts(*lists);
  EXPECT_EQ(std::count(full.begin(), full.end(), "total"), 1);
  // A new text then drops the last.
  AddRecentCellText(*lists, "new");
  ASSERT_EQ(lists->recentCellTextCount, kRecentCellTextsKept);
  EXPECT_EQ(Texts(*lists).back(), "2");
}

TEST(RecentCellTexts, AProfileWithMoreTextsKeepsThemAll) {
  auto lists = std::make_unique<ProfileLists>();
  lists->recentCellTextCount = kRecentCellTextCount;
  for (int i = 0; i < kRecentCellTextCount; ++i)
    std::snprintf(lists->recentCellTexts[i], kRecentCellTextSize, "t%d", i);
  AddRecentCellText(*lists, std::string(kRecentCellTextSize + 10, 'x').c_str());
  EXPECT_EQ(lists->recentCellTextCount, kRecentCellTextCount);
  EXPECT_EQ(std::string(lists->recentCellTexts[0]), std::string(kRecentCellTextSize - 1, 'x'));
  EXPECT_STREQ(lists->recentCellTexts[1], "t0");
  EXPECT_STREQ(lists->recentCellTexts[kRecentCellTextCount - 1], "t48");
  // An equal text anywhere in the longer list moves to the front.
  AddRecentCellText(*lists, "T40");
  EXPECT_EQ(lists->recentCellTextCount, kRecentCellTextCount);
  EXPECT_STREQ(lists->recentCellTexts[0], "T40");
  EXPECT_STREQ(lists->recentCellTexts[kRecentCellTextCount - 1], "t48");
}

}  // namespace
