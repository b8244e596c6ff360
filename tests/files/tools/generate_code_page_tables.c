/* Writes files/text/code_page_tables.cpp from the running Windows system's
   conversions (made once under Wine 8.0; its tables come from the code-page
   and best-fit files Windows publishes):
     i686-w64-mingw32-gcc -O1 generate_code_page_tables.c -o generate.exe
     wine generate.exe > files/text/code_page_tables.cpp
   The program's tests compare the committed tables with the system's under
   Wine (tests/files/text/code_pages_win32_test.cpp). */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

static const int kCodePages[] = {1252, 437, 850};

static void WriteDecoding(int codePage) {
  printf("const uint16_t kDecode%d[256] = {\n", codePage);
  for (int b = 0; b < 256; ++b) {
    char byte = (char)b;
    WCHAR unit = 0;
    MultiByteToWideChar(codePage, 0, &byte, 1, &unit, 1);
    printf("%s0x%04X,%s", b % 12 == 0 ? "    " : " ", unit, b % 12 == 11 || b == 255 ? "\n" : "");
  }
  printf("};\n\n");
}

/* Every unit the code page gives a byte other than the default "?" for, in
   unit order: its own characters and the best-fit ones. */
static void WriteEncoding(int codePage) {
  printf("const UnitByte kEncode%d[] = {\n", codePage);
  int n = 0;
  for (int u = 0; u < 65536; ++u) {
    WCHAR unit = (WCHAR)u;
    char out[4] = {0};
    if (u == '?' || WideCharToMultiByte(codePage, 0, &unit, 1, out, sizeof out, NULL, NULL) != 1 || out[0] == '?')
      continue;
    printf("%s{0x%04X, 0x%02X},%s", n % 6 == 0 ? "    " : " ", u, (unsigned char)out[0], n % 6 == 5 ? "\n" : "");
    ++n;
  }
  printf("%s};\n", n % 6 == 0 ? "" : "\n");
  printf("const size_t kEncode%dCount = %d;\n\n", codePage, n);
}

int main(void) {
  _setmode(_fileno(stdout), _O_BINARY);
  printf("// Made by tests/files/tools/generate_code_page_tables.c from the system's\n");
  printf("// own conversions; do not edit by hand.\n\n");
  printf("#include \"files/text/code_page_tables.h\"\n\n");
  for (int i = 0; i < 3; ++i) WriteDecoding(kCodePages[i]);
  for (int i = 0; i < 3; ++i) WriteEncoding(kCodePages[i]);
  return 0;
}
