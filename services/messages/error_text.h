#ifndef TALVERO_APP_ERROR_TEXT_H
#define TALVERO_APP_ERROR_TEXT_H

#include <cstddef>

// The message text of every one-byte error code a subsystem leaves in its
// owner (workbook, container, chart, image cache, file reader).

// "No error" for 0 and for every code that has no text.
const char* GetErrorText(int code);

// The text of a code followed by "\nLine: <line>", as the XML readers'
// errors are shown, cut to the size of out.
void FormatErrorTextWithLine(int code, int line, char* out, size_t size);

#endif
