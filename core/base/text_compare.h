#ifndef TALVERO_CORE_TEXT_COMPARE_H
#define TALVERO_CORE_TEXT_COMPARE_H

// How formulas order texts: letter case aside (each character compared in
// its upper-case form, as the ANSI code page converts it, as an unsigned
// byte), and a text that is a prefix of another sorts first. Operators,
// lookups and sorting all use this order.

#include <cstddef>
#include <cstdint>

// Each byte's upper-case form, made once from the platform's conversion:
// comparisons fold a character of every cell they meet.
const uint8_t* UpperCaseTable();

// Negative, 0 or positive as a sorts before, with or after b.
int CompareTextIgnoringCase(const char* a, size_t aLength, const char* b, size_t bLength);

#endif
