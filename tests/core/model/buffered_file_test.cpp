#include "core/model/buffered_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TEST(BufferedFile, ModesDecideReadOnlyAndAFailedOpenLeavesItClear) {
  std::FILE* seed = std::fopen("core_buffered.tmp", "wb");
  ASSERT_NE(seed, nullptr);
  std::fclose(seed);
  struct Case {
    const char* mode;
    bool readOnly;
  };
  const Case cases[] = {{"rb", true}, {"r", true}, {"r+b", false}, {"rb+", false}, {"w+b", false}};
  BufferedFile file;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ASSERT_TRUE(file.Open("core_buffered.tmp", c.mode));
    EXPECT_EQ(file.readOnly, c.readOnly ? 1 : 0);
    EXPECT_STREQ(file.path, "core_buffered.tmp");
  }
  // Opening another path closes the one held first.
  EXPECT_FALSE(file.Open("no_such_folder/none.tmp", "rb"));
  EXPECT_EQ(file.file, nullptr);
  EXPECT_STREQ(file.path, "");
  EXPECT_EQ(file.readOnly, 0);
  EXPECT_FALSE(file.Open(std::string(kFilePathSize, 'x').c_str(), "w+b"));
  file.Close();
  std::remove("core_buffered.tmp");
}
