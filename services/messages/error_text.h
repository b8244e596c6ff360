#ifndef TALVERO_APP_ERROR_TEXT_H
#define TALVERO_APP_ERROR_TEXT_H

// The message text of every one-byte error code a subsystem leaves in its
// owner (workbook, container, chart, image cache, file reader).

// "No error" for 0 and for every code that has no text.
const char* GetErrorText(int code);

#endif
