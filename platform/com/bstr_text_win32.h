#ifndef TALVERO_PLATFORM_COM_BSTR_TEXT_H
#define TALVERO_PLATFORM_COM_BSTR_TEXT_H

// Text across automation interfaces: BSTRs in UTF-16, the program's text in
// the ANSI code page.

#include <windows.h>

#include <oleauto.h>

#include <cstddef>

// The text in the ANSI code page, cut to size - 1 bytes; a null BSTR is the
// empty text.
void BstrToAnsi(BSTR text, char* out, size_t size);
// The same for texts that must not be cut (paths): false, with out empty,
// when the whole text does not fit size - 1 bytes.
bool BstrToWholeAnsi(BSTR text, char* out, size_t size);
// A new BSTR of at most maxChars characters of the ANSI text; null when it
// cannot be made.
BSTR AnsiToBstr(const char* text, int maxChars);

#endif
