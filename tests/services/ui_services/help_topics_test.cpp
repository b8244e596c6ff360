#include "services/ui_services/help_topics.h"

#include <gtest/gtest.h>

#include "services/ui_services/window_transparency.h"

namespace {

TEST(HelpTopics, PathsBesideTheProgramForEveryTopic) {
  struct Case { int topic; const char* path; };
  const Case cases[] = {
      {2, "C:\\Apps\\Talvero\\talver.chm::/printing.htm"},
      {6, "C:\\Apps\\Talvero\\talver.chm::/chartsXY.htm"},
      {18, "C:\\Apps\\Talvero\\talver.chm::/formulas_enter.htm"},
      {1, "C:\\Apps\\Talvero\\talver.chm::/intro.htm"},
      {19, "C:\\Apps\\Talvero\\talver.chm::/intro.htm"},
      {-3, "C:\\Apps\\Talvero\\talver.chm::/intro.htm"},
  };
  for (const Case& c : cases) {
    char path[128];
    ASSERT_TRUE(BuildHelpTopicPath("C:\\Apps\\Talvero\\talvero.exe", c.topic, path, sizeof path));
    EXPECT_STREQ(path, c.path) << c.topic;
  }
  char small[20];
  EXPECT_FALSE(BuildHelpTopicPath("C:\\Apps\\Talvero\\talvero.exe", 2, small, sizeof small));
}

TEST(WindowTransparency, AlphaOfAnOpacityNeverFallsBelowTen) {
  const int cases[][2] = {{0, 10}, {3, 10}, {4, 10}, {5, 12}, {10, 25}, {50, 127}, {99, 252}, {100, 255}};
  for (const auto& c : cases) EXPECT_EQ(TransparencyAlpha(c[0]), c[1]) << c[0];
}

}  // namespace
