#include "app/startup/command_line.h"

#include <cstring>

namespace {

struct SwitchWord {
  const char* word;
  CommandLineSwitch meaning;
};

const SwitchWord kSwitchWords[] = {
    {"UnregServer", CommandLineSwitch::kUnregServer}, {"Uninstall", CommandLineSwitch::kUninstall},
    {"RegServer", CommandLineSwitch::kRegServer},     {"Automation", CommandLineSwitch::kAutomation},
    {"Embedding", CommandLineSwitch::kAutomation},
};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (UpperAscii(*a) != UpperAscii(*b)) return false;
  return *a == *b;
}

bool IsSwitchMark(char c) { return c == '-' || c == '/'; }

}  // namespace

CommandLineAction ScanCommandLine(const char* wholeCommandLine, const char* arguments) {
  CommandLineAction action = {CommandLineSwitch::kNone, false, {}};
  if (wholeCommandLine != nullptr) {
    for (const char* p = wholeCommandLine; *p != '\0'; ++p) {
      if (!IsSwitchMark(*p)) continue;
      for (const SwitchWord& entry : kSwitchWords) {
        if (EqualIgnoringCase(p + 1, entry.word)) {
          action.switchWord = entry.meaning;
          return action;
        }
      }
    }
  }
  if (arguments == nullptr || arguments[0] == '\0') return action;
  const char* path = arguments;
  while (*path == ' ' || *path == '\t') ++path;
  size_t length = std::strlen(path);
  if (length >= 2 && path[0] == '"' && path[length - 1] == '"') {
    ++path;
    length -= 2;
  }
  if (length >= sizeof action.path) length = sizeof action.path - 1;
  std::memcpy(action.path, path, length);
  action.path[length] = '\0';
  action.openPath = true;
  return action;
}
