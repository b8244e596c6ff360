#ifndef TALVERO_FILES_XBASE_VALUES_H
#define TALVERO_FILES_XBASE_VALUES_H

// How the values of xBase fields are written into a record and read back
// from it, one field's bytes at a time.

#include <cstddef>
#include <cstdint>

// Writing. Each fills exactly width bytes of the record.

// A text cut to the width or padded with blanks on the right.
void PutXBaseText(uint8_t* field, size_t width, const char* text, size_t length);
// A number right-aligned with that many decimals ("%*.*f"); one that needs
// more than the width with fewer decimals while they lose nothing, else in
// its shortest exact form ("1e9"), as tables hold such numbers. A number
// that fits none of these fills the field with "*" and gives false; a field
// of no width holds nothing and takes any number.
bool PutXBaseNumber(uint8_t* field, size_t width, double value, int decimals);
// "Y" or "N" for a number (above 0) or a text ("Y", "y", "T", "t" against
// "N", "n", "F", "f"); a blank for any other text.
char XBaseLogicalOfNumber(double value);
char XBaseLogicalOfText(const char* text);

// Reading.

// The decimal number a field spells after its leading blanks; 0 for a
// blank field or one that spells none.
double ParseXBaseNumber(const uint8_t* field, size_t width);
// The block number of a memo field; 0 for none.
uint32_t ParseXBaseBlock(const uint8_t* field, size_t width);
// "Y", "N" or 0 (no value: blank, "?" and anything else) of a logical byte.
char ParseXBaseLogical(uint8_t byte);

enum XBaseDateKind : uint8_t {
  kXBaseNoDate = 0,    // a blank field
  kXBaseDate = 1,      // iso holds "yyyy-mm-dd"
  kXBaseBadDate = 2,   // digits that make no date
};
// An 8-byte "yyyymmdd" field; iso has room for 11 characters.
XBaseDateKind ParseXBaseDate(const uint8_t* field, char* iso);
// The digits "yyyymmdd" of a text "yyyy-mm-dd", as the reader gives every
// date field it takes, even a day past its month's end; digits has room for
// 9 characters. False for any other text.
bool XBaseDateDigits(const char* text, char* digits);

#endif
