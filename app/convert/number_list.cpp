#include "app/convert/number_list.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a number in minimum..maximum at p; false when there is none or it
// lies outside (long digit runs stop counting once past the maximum).
bool ReadBoundedNumber(const char*& p, int minimum, int maximum, int* value) {
  if (!IsDigit(*p)) return false;
  long long number = 0;
  for (; IsDigit(*p); ++p)
    if (number <= maximum) number = number * 10 + (*p - '0');
  if (number < minimum || number > maximum) return false;
  *value = static_cast<int>(number);
  return true;
}

}  // namespace

int ParseNumberList(const char* text, NumberListPair* pairs, int capacity, int minimum, int maximum) {
  int count = 0;
  const char* p = text;
  for (;;) {
    while (IsBlank(*p) || *p == ',') ++p;
    if (*p == '\0') return count;
    int first = 0;
    if (!ReadBoundedNumber(p, minimum, maximum, &first)) return -1;
    int last = first;
    const char* afterBlanks = p;
    while (IsBlank(*afterBlanks)) ++afterBlanks;
    if (*afterBlanks == '-') {
      p = afterBlanks + 1;
      while (IsBlank(*p)) ++p;
      if (!ReadBoundedNumber(p, minimum, maximum, &last)) return -1;
    }
    if (*p != '\0' && !IsBlank(*p) && *p != ',') return -1;
    if (first > last) {
      const int swap = first;
      first = last;
      last = swap;
    }
    if (pairs != nullptr && count < capacity) pairs[count] = NumberListPair{first - 1, last - 1};
    ++count;
  }
}
