#ifndef TALVERO_APP_OPEN_CHOICE_H
#define TALVERO_APP_OPEN_CHOICE_H

// What File Open decides before a file is read: the reader a file type of
// the open dialog chooses, and the type a file's extension gives.

#include <cstdint>

// The open dialog's filters, pairs of NUL-separated texts ending in an empty
// one: native (both extensions), text, Excel 2003 XML, the four xBase
// dialects, all files.
extern const char kOpenFilter[];

// The file type of a path's extension (its last four characters, letter case
// aside): ".tlv" and ".tlw" native, ".txt", ".csv" and ".tsv" text, ".xml"
// Excel 2003 XML, ".dbf" dBase IV; anything else native.
uint8_t GetFileTypeFromExtension(const char* path);

// The file type of an open-dialog filter index: the native entry (and no
// choice) goes by the extension; "All Files" and unknown indexes read native.
uint8_t FileTypeOfOpenFilter(uint32_t filterIndex, const char* path);

#endif
