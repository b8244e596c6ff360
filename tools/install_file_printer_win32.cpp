// Installs the file printer in the prefix it runs in and makes it the
// default printer; every job it prints is written, as PostScript, to the
// file given (C:\talvero-printed.ps when none is).
// Usage: install_file_printer.exe [FILE]

#include <cstdio>
#include <string>

#include "tools/file_printer_win32.h"

int main(int argc, char** argv) {
  const char* file = argc > 1 ? argv[1] : "C:\\talvero-printed.ps";
  std::string failure;
  if (!EnsureFilePrinter(file, &failure)) {
    std::fprintf(stderr, "install_file_printer: %s\n", failure.c_str());
    return 1;
  }
  if (!SetDefaultPrinterA(kTestPrinter)) {
    std::fprintf(stderr, "install_file_printer: cannot make it the default printer (%lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
