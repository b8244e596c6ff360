#ifndef TALVERO_TESTS_VIEW_PRINTING_TEST_PRINTER_WIN32_H
#define TALVERO_TESTS_VIEW_PRINTING_TEST_PRINTER_WIN32_H

// The printer the printing tests print through, installed in the prefix
// when it lacks it, and what the tests read of what it printed.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/file_printer_win32.h"

// Installs the printer when the prefix lacks it, every job printing to the
// file its document names; a message says what failed.
inline bool EnsureTestPrinter(std::string* failure) { return EnsureFilePrinter("FILE:", failure); }

// The default printer as the system keeps it, taken away and put back, so
// that a test can run without any printer.
class NoDefaultPrinter {
 public:
  NoDefaultPrinter() {
    DWORD size = sizeof saved_;
    had_ = GetDefaultPrinterA(saved_, &size) != FALSE;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, "Device");
      RegCloseKey(key);
    }
  }
  ~NoDefaultPrinter() {
    if (had_) SetDefaultPrinterA(saved_);
  }

 private:
  static constexpr char kKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
  char saved_[512] = {};
  bool had_ = false;
};

// Pages ("%%Page:" lines) of a spooled PostScript file; -1 when it cannot be read.
inline int CountPostScriptPages(const std::string& path) {
  FILE* spooled = std::fopen(path.c_str(), "rb");
  if (spooled == nullptr) return -1;
  int pages = 0;
  char line[4096];
  while (std::fgets(line, sizeof line, spooled))
    if (std::strncmp(line, "%%Page:", 7) == 0) ++pages;
  std::fclose(spooled);
  return pages;
}

#endif
