#ifndef TALVERO_APP_COMMAND_LINE_H
#define TALVERO_APP_COMMAND_LINE_H

// What the command line asks the program to do. A switch is a word after "-"
// or "/" that runs to the end of the command line, so a path holding "-" or
// "/" in a folder name still opens as a path.

#include <cstddef>

// Room for the path to open, NUL included; a longer one is cut.
constexpr size_t kCommandLinePathSize = 1024;

enum class CommandLineSwitch {
  kNone,
  kRegServer,
  kUnregServer,
  kUninstall,
  kAutomation,  // "Automation" or "Embedding": no main window
};

struct CommandLineAction {
  CommandLineSwitch switchWord;
  // Without a switch: true when a path is to be opened (the arguments were
  // not empty), false when a new workbook is to be created.
  bool openPath;
  // The arguments with leading blanks skipped and one pair of enclosing
  // double quotes removed (the shell quotes a path that holds blanks); may
  // be empty when the arguments were blanks only.
  char path[kCommandLinePathSize];
};

// Scans the whole command line (program name included) for a switch and
// takes the path from the arguments (the text after the program name).
CommandLineAction ScanCommandLine(const char* wholeCommandLine, const char* arguments);

#endif
