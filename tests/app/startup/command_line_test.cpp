#include "app/startup/command_line.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct SwitchCase {
  const char* whole;
  CommandLineSwitch expected;
};

TEST(CommandLine, RecognisesASwitchOnlyWhenItEndsTheCommandLine) {
  const SwitchCase cases[] = {
      {"talvero.exe /RegServer", CommandLineSwitch::kRegServer},
      {"talvero.exe -regserver", CommandLineSwitch::kRegServer},
      {"\"C:\\Program Files\\Talvero\\talvero.exe\" /UNREGSERVER", CommandLineSwitch::kUnregServer},
      {"talvero.exe -Uninstall", CommandLineSwitch::kUninstall},
      {"talvero.exe /Automation", CommandLineSwitch::kAutomation},
      {"talvero.exe -Embedding", CommandLineSwitch::kAutomation},
      // a switch mark inside a path does not stop the search for a later one
      {"C:\\my-files\\talvero.exe /RegServer", CommandLineSwitch::kRegServer},
      {"talvero.exe /RegServer now", CommandLineSwitch::kNone},
      {"talvero.exe /RegServe", CommandLineSwitch::kNone},
      {"talvero.exe C:\\a-b\\book.tlv", CommandLineSwitch::kNone},
      {"talvero.exe -", CommandLineSwitch::kNone},
      {"", CommandLineSwitch::kNone},
  };
  for (const SwitchCase& c : cases)
    EXPECT_EQ(ScanCommandLine(c.whole, "").switchWord, c.expected) << c.whole;
}

TEST(CommandLine, ArgumentsWithoutASwitchAreOnePathWithLeadingBlanksSkipped) {
  const CommandLineAction open =
      ScanCommandLine("talvero.exe   C:\\my-files\\a b.tlv /x", "  C:\\my-files\\a b.tlv /x");
  EXPECT_EQ(open.switchWord, CommandLineSwitch::kNone);
  EXPECT_TRUE(open.openPath);
  EXPECT_STREQ(open.path, "C:\\my-files\\a b.tlv /x");

  const CommandLineAction empty = ScanCommandLine("talvero.exe", "");
  EXPECT_FALSE(empty.openPath);  // a new workbook

  const CommandLineAction blanks = ScanCommandLine("talvero.exe   ", "   ");
  EXPECT_TRUE(blanks.openPath);
  EXPECT_STREQ(blanks.path, "");
}

// The shell's open command quotes the program and the document, whose paths
// may hold blanks; COM starts the server with its quoted path and a trailing
// switch.
TEST(CommandLine, OnePairOfEnclosingQuotesIsTakenOffThePath) {
  const struct {
    const char* arguments;
    const char* path;
  } cases[] = {
      {"\"C:\\My Books\\a b.tlv\"", "C:\\My Books\\a b.tlv"},
      {"  \"C:\\a.tlv\"", "C:\\a.tlv"},
      {"\"\"C:\\a.tlv\"\"", "\"C:\\a.tlv\""},
      {"\"C:\\a.tlv", "\"C:\\a.tlv"},
      {"\"", "\""},
      {"\"\"", ""},
  };
  for (const auto& c : cases) {
    const CommandLineAction open = ScanCommandLine("talvero.exe", c.arguments);
    EXPECT_TRUE(open.openPath);
    EXPECT_STREQ(open.path, c.path) << c.arguments;
  }
  const CommandLineAction server =
      ScanCommandLine("\"C:\\Program Files\\Talvero-7\\talvero.exe\" -Embedding", "-Embedding");
  EXPECT_EQ(server.switchWord, CommandLineSwitch::kAutomation);
}

}  // namespace
