#include <cstdio>
#include <cstring>

#include "core/numfmt/format_colors.h"

namespace {

struct NamedColour {
  const char* name;
  uint32_t colour;  // 0x00BBGGRR
};

// No name is the beginning of another, so the order decides nothing.
constexpr NamedColour kNamedColours[] = {
    {"black", 0x000000},  {"maroon", 0x000080}, {"green", 0x008000}, {"olive", 0x008080},
    {"navy", 0x800000},   {"purple", 0x800080}, {"teal", 0x808000},  {"gray", 0x808080},
    {"silver", 0xC0C0C0}, {"red", 0x0000FF},    {"lime", 0x00FF00},  {"yellow", 0x00FFFF},
    {"blue", 0xFF0000},   {"fuchsia", 0xFF00FF}, {"aqua", 0xFFFF00}, {"white", 0xFFFFFF},
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

size_t ReadColorAt(const char* text, uint32_t* colour) {
  if (!text) return 0;
  if (text[0] == '#') {
    uint32_t rgb = 0;
    for (int i = 1; i <= 6; ++i) {
      int digit = HexValue(text[i]);
      if (digit < 0) return 0;
      rgb = rgb << 4 | static_cast<uint32_t>(digit);
    }
    // COLORREF order: red in the low byte.
    *colour = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
    return 7;
  }
  for (const NamedColour& entry : kNamedColours) {
    size_t length = strlen(entry.name);
    size_t i = 0;
    while (i < length && LowerAscii(text[i]) == entry.name[i]) ++i;
    if (i == length) {
      *colour = entry.colour;
      return length;
    }
  }
  return 0;
}

bool ParseColorName(const char* text, uint32_t* colour) {
  uint32_t found = 0;
  if (ReadColorAt(text, &found) == 0) return false;
  *colour = found;
  return true;
}

bool ColorToName(char* buffer, size_t size, uint32_t colour, bool byName) {
  if (byName) {
    for (const NamedColour& entry : kNamedColours) {
      if (entry.colour != colour) continue;
      size_t length = strlen(entry.name);
      if (length + 1 > size) break;
      memcpy(buffer, entry.name, length + 1);
      return true;
    }
  }
  if (size < 8) {
    if (size > 0) buffer[0] = '\0';
    return false;
  }
  snprintf(buffer, size, "#%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
           static_cast<unsigned>(colour >> 8 & 0xFF), static_cast<unsigned>(colour >> 16 & 0xFF));
  return true;
}
