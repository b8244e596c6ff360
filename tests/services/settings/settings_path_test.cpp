#include "services/settings/settings_path.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "services/settings/settings_profile.h"
#include "platform/os_files.h"
#include "tests/files/file_test_support.h"

namespace {

std::set<std::string> existing;
bool ExistsForTest(const char* path) { return existing.count(path) != 0; }

TEST(SettingsPath, ChoosesTheUsersProfileOrTheOneBesideTheProgram) {
  const char kLocal[] = "C:\\Users\\u\\AppData\\Local\\Talvero\\settings.xml";
  const char kInstalled[] = "C:\\Program Files\\Talvero\\settings.xml";
  const char kPortable[] = "D:\\tools\\talvero\\settings.xml";
  struct Case { const char* programFolder; std::set<std::string> files; const char* chosen; };
  const Case cases[] = {
      {"C:\\Program Files\\Talvero\\", {}, kLocal},
      {"c:\\PROGRAM FILES\\Talvero\\", {}, kLocal},
      {"C:\\Program Files\\Talvero\\", {kInstalled}, kInstalled},
      {"C:\\Program Files\\Talvero\\", {kInstalled, kLocal}, kLocal},
      {"D:\\tools\\talvero\\", {}, kPortable},
      {"D:\\tools\\talvero\\", {kLocal}, kLocal},
  };
  for (const Case& c : cases) {
    existing = c.files;
    const SettingsPlaces places = {"C:\\Users\\u\\AppData\\Local", c.programFolder, "C:\\Program Files"};
    char path[kSettingsPathSize];
    ASSERT_TRUE(ChooseSettingsPath(places, ExistsForTest, path, sizeof path)) << c.programFolder;
    EXPECT_STREQ(path, c.chosen) << c.programFolder << " with " << c.files.size() << " files";
  }
  existing.clear();
  char small[16];
  const SettingsPlaces places = {"C:\\Local", "D:\\x\\", "C:\\Program Files"};
  EXPECT_FALSE(ChooseSettingsPath(places, ExistsForTest, small, sizeof small));
}

TEST(SettingsPath, ComparesWithoutLetterCase) {
  EXPECT_EQ(StrNICmpCharUpper("abc", "ABD", 2), 0);
  EXPECT_EQ(StrNICmpCharUpper("abc", "ABD", 3), -1);
  EXPECT_EQ(StrNICmpCharUpper("b", "A", 1), 1);
  EXPECT_EQ(StrNICmpCharUpper("x", "y", 0), 0);
}

TEST(SettingsPath, TheExitCreatesTheMissingFolderAndWritesTheProfile) {
  std::remove("app_settings_exit/settings.xml");
  std::remove("app_settings_exit");
  Options.UndoLevel = 77;
  ASSERT_TRUE(WriteProfileAtExit("app_settings_exit/settings.xml"));
  EXPECT_NE(filetest::ReadAll("app_settings_exit/settings.xml").find("<UndoLevel>77</UndoLevel>"), std::string::npos);
  // One level only: a folder inside a missing folder is not made.
  EXPECT_FALSE(WriteProfileAtExit("app_settings_missing/deeper/settings.xml"));
  EXPECT_FALSE(OsFolderExists("app_settings_missing"));
  SetDefaultOptions(Options);
}

}  // namespace
