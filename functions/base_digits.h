#ifndef TALVERO_FUNCTIONS_BASE_DIGITS_H
#define TALVERO_FUNCTIONS_BASE_DIGITS_H

// Binary, octal and hexadecimal numbers as the engineering functions write
// them: texts of at most 10 digits, where a text of exactly 10 digits whose
// first digit has its top bit set is negative in two's complement over
// 10 digits (10, 30 or 40 bits).

#include <cstddef>
#include <cstdint>

constexpr int kBinaryDigitBits = 1;
constexpr int kOctalDigitBits = 3;
constexpr int kHexDigitBits = 4;

constexpr size_t kBaseDigitsMax = 10;
// Room for any text WriteBaseDigits writes, with its NUL.
constexpr size_t kBaseTextCapacity = kBaseDigitsMax + 1;

// The smallest and largest values a base's 10 digits hold.
int64_t SmallestInBase(int digitBits);
int64_t LargestInBase(int digitBits);

// False (the caller's "#VALUE!") for a text longer than 10 characters or a
// character that is not a digit of the base; hexadecimal letters in either
// case. An empty text is 0.
bool ReadBaseDigits(const char* text, int digitBits, int64_t* value);

// The value's digits, upper case, padded with zeros to places; a negative
// value always takes exactly 10 digits in two's complement, whatever places
// says. The value must lie within the base's range. Returns the length.
size_t WriteBaseDigits(int64_t value, int digitBits, int places, char* buffer);

#endif
