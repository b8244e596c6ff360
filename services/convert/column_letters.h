#ifndef TALVERO_APP_COLUMN_LETTERS_H
#define TALVERO_APP_COLUMN_LETTERS_H

// Column letters as dialogs show and read them: A = 1, Z = 26, AA = 27.

#include <cstddef>
#include <cstdint>

// Seven letters reach beyond any 32-bit number; with the NUL.
constexpr size_t kColumnLettersCapacity = 8;

// Leading blanks, then upper-case letters to the end. False for any other
// character, for no letters at all and for a value beyond 32 bits.
bool ColumnLettersToNumber(const char* text, uint32_t* result);

// The letters of a number ("" for 0); the buffer holds kColumnLettersCapacity.
void ColumnNumberToLetters(char* buffer, uint32_t number);

#endif
