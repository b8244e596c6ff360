#include "dialogs/file/text_file_fields.h"

#include <cstdio>

namespace {

const char kSeparators[kSeparatorItemCount] = {',', '\t', '.', ';', ' ', '\0'};

// Appends a number with the optional comma when the text then stays within
// the limit; false when it would not.
bool AppendWidth(char* out, size_t size, size_t limit, size_t* length, const char* format, unsigned width) {
  char item[16];
  const int n = std::snprintf(item, sizeof item, format, width);
  if (n <= 0 || *length + static_cast<size_t>(n) > limit || *length + static_cast<size_t>(n) >= size) return false;
  for (int i = 0; i <= n; ++i) out[*length + i] = item[i];
  *length += static_cast<size_t>(n);
  return true;
}

}  // namespace

int SeparatorItemFor(char separator) {
  for (int i = 0; i < kSeparatorItemOther; ++i) {
    if (kSeparators[i] == separator) return i;
  }
  return kSeparatorItemOther;
}

char SeparatorOfItem(int item) {
  return item >= 0 && item < kSeparatorItemCount ? kSeparators[item] : '\0';
}

void FormatOpenWidthsText(const uint16_t* widths, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  size_t length = 0;
  for (uint32_t i = 0; i < kColumnCount && widths[i] != 0; ++i) {
    if (!AppendWidth(out, size, kOpenWidthsTextLimit, &length, "%u,", widths[i])) break;
  }
  if (length > 0) out[--length] = '\0';
}

void FormatSaveWidthsText(const uint16_t* widths, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  uint32_t count = kColumnCount;
  while (count > 0 && widths[count - 1] == 0) --count;
  size_t length = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (!AppendWidth(out, size, kSaveWidthsTextLimit, &length, i == 0 ? "%u" : ",%u", widths[i])) break;
  }
}

bool ParseWidthsText(const char* text, uint16_t* widths) {
  for (uint32_t i = 0; i < kColumnCount; ++i) widths[i] = 0;
  uint32_t field = 0;
  for (const char* p = text; *p != '\0';) {
    if (*p >= '0' && *p <= '9') {
      uint32_t value = 0;
      for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint32_t>(*p - '0');
        if (value > 65535) value = 65535;
      }
      if (field < kColumnCount) widths[field++] = static_cast<uint16_t>(value);
    } else if (*p == ',' || *p == ';' || *p == ' ' || *p == '\t') {
      ++p;
    } else {
      return false;
    }
  }
  return true;
}

int EncodingItemFor(uint8_t charset) { return charset >= 1 && charset <= 3 ? charset - 1 : -1; }

uint8_t CharsetOfItem(int item) {
  if (item == 0) return 1;
  if (item == 2) return 3;
  return 2;
}
