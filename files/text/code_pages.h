#ifndef TALVERO_FILES_CODE_PAGES_H
#define TALVERO_FILES_CODE_PAGES_H

// Single-byte code pages to and from UTF-16, the same on every target: the
// ANSI code page the program's text is in, and the system's OEM (DOS) code
// page of text and xBase files.

#include <cstdint>

constexpr uint16_t kCodePageAnsi = 1252;
constexpr uint16_t kCodePageOemUnitedStates = 437;
constexpr uint16_t kCodePageOemWesternEurope = 850;

// The system's OEM code page when it is one of the two known here, else 437.
uint16_t OemCodePage();

// The UTF-16 unit of a byte, as MultiByteToWideChar gives it. Code pages
// other than 850 and 437 read as 1252.
uint16_t DecodeCodePageByte(uint16_t codePage, uint8_t byte);
// The byte of a UTF-16 unit, as WideCharToMultiByte gives it without a
// default character: the code page's own byte, else its best fit, else "?".
uint8_t EncodeCodePageUnit(uint16_t codePage, uint16_t unit);

#endif
