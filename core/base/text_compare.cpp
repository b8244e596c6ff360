#include "core/base/text_compare.h"

#include <cstdint>

#include "platform/os_services.h"

const uint8_t* UpperCaseTable() {
  static const struct Table {
    uint8_t bytes[256];
    Table() {
      for (uint32_t c = 0; c < 256; ++c) bytes[c] = OsCharUpper(static_cast<uint8_t>(c));
    }
  } table;
  return table.bytes;
}

int CompareTextIgnoringCase(const char* a, size_t aLength, const char* b, size_t bLength) {
  const uint8_t* upper = UpperCaseTable();
  const size_t common = aLength < bLength ? aLength : bLength;
  for (size_t i = 0; i < common; ++i) {
    const uint8_t x = upper[static_cast<uint8_t>(a[i])];
    const uint8_t y = upper[static_cast<uint8_t>(b[i])];
    if (x != y) return x < y ? -1 : 1;
  }
  if (aLength == bLength) return 0;
  return aLength < bLength ? -1 : 1;
}
