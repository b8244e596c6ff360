#include "core/base/text_compare.h"

#include <cstdint>

#include "platform/os_services.h"

int CompareTextIgnoringCase(const char* a, size_t aLength, const char* b, size_t bLength) {
  const size_t common = aLength < bLength ? aLength : bLength;
  for (size_t i = 0; i < common; ++i) {
    const uint8_t x = OsCharUpper(static_cast<uint8_t>(a[i]));
    const uint8_t y = OsCharUpper(static_cast<uint8_t>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (aLength == bLength) return 0;
  return aLength < bLength ? -1 : 1;
}
