// A second program for the clipboard tests: it reads the clipboard's plain
// text as any other program would and writes it, byte for byte, into the
// file named on its command line. Exit code 0 with a text, 1 without one,
// 2 when the clipboard or the file cannot be opened.

#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  // The program that wrote the clipboard may still hold it for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
    opened = OpenClipboard(nullptr) != 0;
    if (!opened) Sleep(20);
  }
  if (!opened) return 2;
  int result = 1;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      const size_t size = GlobalSize(data);
      const void* end = std::memchr(text, '\0', size);
      const size_t length = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - text) : size;
      if (std::FILE* file = std::fopen(argv[1], "wb")) {
        std::fwrite(text, 1, length, file);
        std::fclose(file);
        result = 0;
      } else {
        result = 2;
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return result;
}
