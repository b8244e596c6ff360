#ifndef TALVERO_FILES_CODE_PAGE_TABLES_H
#define TALVERO_FILES_CODE_PAGE_TABLES_H

// The three code pages text and xBase files are exchanged in, as Windows
// converts them: Windows-1252 (the ANSI code page the program's text is
// in) and the DOS code pages 437 and 850. Each byte's UTF-16 unit, and every
// unit a code page gives a byte for other than "?", with the best-fit
// characters Windows substitutes.

#include <cstddef>
#include <cstdint>

struct UnitByte {
  uint16_t unit;
  uint8_t byte;
};

extern const uint16_t kDecode1252[256];
extern const uint16_t kDecode437[256];
extern const uint16_t kDecode850[256];

// In ascending unit order.
extern const UnitByte kEncode1252[];
extern const UnitByte kEncode437[];
extern const UnitByte kEncode850[];
extern const size_t kEncode1252Count;
extern const size_t kEncode437Count;
extern const size_t kEncode850Count;

#endif
