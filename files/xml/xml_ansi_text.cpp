// Texts of the files other programs exchange with us: UTF-8 in the file,
// a single-byte code page inside the program.

#include "files/xml/xml_reader.h"

size_t XmlUtf8ToCodePage(const XmlCodePage& codePage, const char* source, size_t length, char* out) {
  const auto* in = reinterpret_cast<const uint8_t*>(source);
  size_t units = 0;
  size_t i = 0;
  while (i < length) {
    const uint8_t lead = in[i];
    if (lead < 0x80) {
      out[units++] = char(lead);
      ++i;
      continue;
    }
    size_t following = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
                                                          : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                                                         : 0;
    uint32_t codePoint = lead & (0x3F >> following);
    size_t taken = 1;
    while (taken <= following && i + taken < length && (in[i + taken] & 0xC0) == 0x80)
      codePoint = (codePoint << 6) | (in[i + taken++] & 0x3F);
    // A malformed or cut sequence stands for one unknown character; the
    // bytes after its lead are read again as what they are.
    const bool whole = following > 0 && taken == following + 1;
    out[units++] = char(whole ? codePage.encodeCodePoint(codePoint) : '?');
    i += whole ? taken : 1;
  }
  return units;
}

size_t XmlCodePageToUtf8(const XmlCodePage& codePage, const char* source, size_t length, char* out) {
  size_t n = 0;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = uint8_t(source[i]);
    uint32_t codePoint = codePage.decodeByte(c);
    if (codePoint == 0)
      codePoint = c ? '?' : 0;
    if (codePoint < 0x80) {
      if (n >= kXmlTextSize)
        return 0;
      out[n++] = char(codePoint);
    } else if (codePoint < 0x800) {
      if (n + 1 >= kXmlTextSize)
        return 0;
      out[n++] = char(0xC0 | (codePoint >> 6));
      out[n++] = char(0x80 | (codePoint & 0x3F));
    } else {
      if (n + 2 >= kXmlTextSize)
        return 0;
      out[n++] = char(0xE0 | (codePoint >> 12));
      out[n++] = char(0x80 | ((codePoint >> 6) & 0x3F));
      out[n++] = char(0x80 | (codePoint & 0x3F));
    }
  }
  return n;
}
