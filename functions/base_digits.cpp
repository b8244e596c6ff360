#include "functions/base_digits.h"

#include <cstring>

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

int64_t Modulus(int digitBits) { return int64_t(1) << (digitBits * int(kBaseDigitsMax)); }

}  // namespace

int64_t SmallestInBase(int digitBits) { return -Modulus(digitBits) / 2; }
int64_t LargestInBase(int digitBits) { return Modulus(digitBits) / 2 - 1; }

bool ReadBaseDigits(const char* text, int digitBits, int64_t* value) {
  const size_t length = std::strlen(text);
  if (length > kBaseDigitsMax) return false;
  const int base = 1 << digitBits;
  int64_t accumulated = 0;
  for (size_t i = 0; i < length; ++i) {
    const int digit = DigitValue(text[i]);
    if (digit >= base) return false;
    accumulated = accumulated * base + digit;
  }
  // Only a full 10-digit text reaches the sign bit.
  if (accumulated > LargestInBase(digitBits)) accumulated -= Modulus(digitBits);
  *value = accumulated;
  return true;
}

size_t WriteBaseDigits(int64_t value, int digitBits, int places, char* buffer) {
  const bool negative = value < 0;
  uint64_t remaining = static_cast<uint64_t>(negative ? value + Modulus(digitBits) : value);
  const int mask = (1 << digitBits) - 1;
  char reversed[kBaseTextCapacity];
  size_t length = 0;
  while (remaining != 0 && length < kBaseDigitsMax) {
    reversed[length++] = "0123456789ABCDEF"[remaining & mask];
    remaining >>= digitBits;
  }
  const size_t width = negative ? kBaseDigitsMax : static_cast<size_t>(places);
  while (length < width) reversed[length++] = '0';
  for (size_t i = 0; i < length; ++i) buffer[i] = reversed[length - 1 - i];
  buffer[length] = '\0';
  return length;
}
