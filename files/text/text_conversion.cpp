#include "files/text/text_conversion.h"

#include <cstdint>

#include "files/text/code_pages.h"

size_t Utf8ToAnsi(const char* text, size_t length, char* out) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
  const uint8_t* end = p + length;
  size_t count = 0;
  while (p < end && count < kConvertedUnits) {
    uint32_t unit = *p;
    if (unit >= 0xC2 && unit <= 0xDF) {
      if (end - p < 2) break;
      unit = (unit & 0x1F) << 6 | (p[1] & 0x3F);
      p += 2;
    } else if (unit >= 0xE0 && unit <= 0xEF) {
      if (end - p < 3) break;
      unit = (unit & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
      p += 3;
    } else if (unit >= 0x80) {
      break;
    } else {
      ++p;
    }
    out[count++] = static_cast<char>(EncodeCodePageUnit(kCodePageAnsi, static_cast<uint16_t>(unit)));
  }
  return count;
}

size_t AnsiToUtf8(const char* text, size_t length, char* out) {
  if (length > kConvertedUnits) length = kConvertedUnits;
  size_t count = 0;
  for (size_t i = 0; i < length; ++i) {
    const uint16_t unit = DecodeCodePageByte(kCodePageAnsi, static_cast<uint8_t>(text[i]));
    if (unit < 0x80) {
      out[count++] = static_cast<char>(unit);
    } else if (unit < 0x800) {
      out[count++] = static_cast<char>(0xC0 | unit >> 6);
      out[count++] = static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      out[count++] = static_cast<char>(0xE0 | unit >> 12);
      out[count++] = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
      out[count++] = static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  return count;
}

void OemToAnsiInPlace(char* text, size_t length) {
  const uint16_t oem = OemCodePage();
  for (size_t i = 0; i < length; ++i)
    text[i] = static_cast<char>(EncodeCodePageUnit(kCodePageAnsi, DecodeCodePageByte(oem, static_cast<uint8_t>(text[i]))));
}

void AnsiToOemInPlace(char* text, size_t length) {
  const uint16_t oem = OemCodePage();
  for (size_t i = 0; i < length; ++i)
    text[i] = static_cast<char>(EncodeCodePageUnit(oem, DecodeCodePageByte(kCodePageAnsi, static_cast<uint8_t>(text[i]))));
}
