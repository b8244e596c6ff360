#ifndef TALVERO_AUTOMATION_BSTR_TEXT_H
#define TALVERO_AUTOMATION_BSTR_TEXT_H

// Text across the interfaces: BSTRs in UTF-16, the program's text in the
// ANSI code page.

#include <windows.h>

#include <oleauto.h>

#include <cstddef>

// The text in the ANSI code page, cut to size - 1 bytes; a null BSTR is the
// empty text.
void BstrToAnsi(BSTR text, char* out, size_t size);
// A new BSTR of at most maxChars characters of the ANSI text; null when it
// cannot be made.
BSTR AnsiToBstr(const char* text, int maxChars);

#endif
