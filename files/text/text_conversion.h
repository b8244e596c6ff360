#ifndef TALVERO_FILES_TEXT_CONVERSION_H
#define TALVERO_FILES_TEXT_CONVERSION_H

// The character sets of text and xBase files to and from the program's
// single-byte ANSI text, at the file boundary.

#include <cstddef>

// UTF-16 units a UTF-8 conversion handles; longer texts are cut.
constexpr size_t kConvertedUnits = 1024;
// Bytes AnsiToUtf8 may write: three for each unit.
constexpr size_t kUtf8TextCapacity = 3 * kConvertedUnits;

// Decodes UTF-8 (one- to three-byte sequences, continuation bytes not
// checked) up to the first other byte at or above 0x80 or a sequence the end
// cuts off, at most kConvertedUnits units, into ANSI bytes in out (room for
// kConvertedUnits). Returns the byte count.
size_t Utf8ToAnsi(const char* text, size_t length, char* out);
// ANSI bytes (at most kConvertedUnits) as UTF-8 in out (room for
// kUtf8TextCapacity). Returns the byte count.
size_t AnsiToUtf8(const char* text, size_t length, char* out);
// Byte for byte between the system's OEM code page and ANSI, in place.
void OemToAnsiInPlace(char* text, size_t length);
void AnsiToOemInPlace(char* text, size_t length);

#endif
