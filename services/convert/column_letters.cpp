#include "services/convert/column_letters.h"

bool ColumnLettersToNumber(const char* text, uint32_t* result) {
  while (*text == ' ' || *text == '\t') ++text;
  if (*text == '\0') return false;
  uint64_t number = 0;
  for (; *text != '\0'; ++text) {
    if (*text < 'A' || *text > 'Z') return false;
    number = number * 26 + static_cast<uint64_t>(*text - 'A' + 1);
    if (number > UINT32_MAX) return false;
  }
  *result = static_cast<uint32_t>(number);
  return true;
}

void ColumnNumberToLetters(char* buffer, uint32_t number) {
  char reversed[kColumnLettersCapacity];
  size_t count = 0;
  for (uint64_t n = number; n > 0; n = (n - 1) / 26)
    reversed[count++] = static_cast<char>('A' + (n - 1) % 26);
  for (size_t i = 0; i < count; ++i) buffer[i] = reversed[count - 1 - i];
  buffer[count] = '\0';
}
