#include <cstring>

#include "files/errors/file_errors.h"
#include "files/xml/xml_reader.h"

size_t XmlUtf8ToText(const char* source, size_t length, char* out, size_t capacity) {
  const auto* in = reinterpret_cast<const uint8_t*>(source);
  size_t units = 0;
  size_t i = 0;
  while (i < length) {
    const uint8_t lead = in[i];
    uint32_t unit;
    if (lead < 0x80) {
      if (units >= capacity)
        return 0;
      unit = lead;
      i += 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      if (i + 1 >= length || units + 1 >= capacity)
        return 0;
      unit = (uint32_t(lead & 0x1F) << 6) | (in[i + 1] & 0x3F);
      i += 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      if (i + 2 >= length || units + 1 >= capacity)
        return 0;
      unit = (uint32_t(lead & 0x0F) << 12) | (uint32_t(in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F);
      i += 3;
    } else {
      return 0;
    }
    // Program text is single-byte: a character above 255 has no byte.
    if (unit > 255)
      return 0;
    out[units++] = char(unit);
  }
  return units;
}

size_t XmlTextToUtf8(const char* source, size_t length, char* out) {
  size_t n = 0;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = uint8_t(source[i]);
    if (c < 0x80) {
      if (n >= kXmlTextSize)
        return 0;
      out[n++] = char(c);
    } else {
      if (n + 1 >= kXmlTextSize)
        return 0;
      out[n++] = char(0xC0 | (c >> 6));
      out[n++] = char(0x80 | (c & 0x3F));
    }
  }
  return n;
}

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

// XML 1.0 has no control character but TAB, LF and CR, not even as a
// reference: other programs refuse a file holding one. Their texts neither
// carry one in nor out.
bool XmlCharacter(uint32_t c) { return c > 31 || c == '\t' || c == '\n' || c == '\r'; }

struct NamedEntity {
  const char* name;
  size_t length;
  char byte;
};

const NamedEntity kNamedEntities[] = {
    {"&nbsp;", 6, ' '}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''},
    {"&lt;", 4, '<'},   {"&gt;", 4, '>'},   {"&amp;", 5, '&'},
};

}  // namespace

int32_t CXmlReader::DecodeEntitiesIn(char* buffer, size_t capacity) {
  size_t length = std::strlen(buffer);
  if (tag.encoding == kXmlEncodingUtf8) {
    length = interchangeText ? XmlUtf8ToCodePage(*interchangeText, buffer, length, buffer)
                             : XmlUtf8ToText(buffer, length, buffer, capacity);
    buffer[length] = 0;
  }
  // A reference names a code point: any of Unicode's for the files of other
  // programs, one of the 256 single bytes for the native files.
  const int hexDigits = interchangeText ? 6 : 2;
  const int decimalDigits = interchangeText ? 7 : 3;
  const uint32_t largest = interchangeText ? 0x10FFFF : 255;
  // The control characters other programs' files cannot hold are left out
  // as they are read, so that a text reads as it will be written.
  const auto kept = [this](uint32_t value) { return !interchangeText || XmlCharacter(value); };
  size_t out = 0;
  size_t i = 0;
  while (i < length) {
    if (buffer[i] != '&') {
      if (kept(uint8_t(buffer[i])))
        buffer[out++] = buffer[i];
      ++i;
      continue;
    }
    if (buffer[i + 1] == '#') {
      size_t j = i + 2;
      uint32_t value = 0;
      if (buffer[j] == 'x') {
        ++j;
        for (int digits = 0; digits < hexDigits && IsHexDigit(buffer[j]); ++digits)
          value = value * 16 + HexValue(buffer[j++]);
      } else {
        for (int digits = 0; digits < decimalDigits && buffer[j] >= '0' && buffer[j] <= '9'; ++digits)
          value = value * 10 + uint32_t(buffer[j++] - '0');
      }
      if (buffer[j] != ';' || value > largest)
        return -1;
      if (kept(value))
        buffer[out++] = char(interchangeText ? interchangeText->encodeCodePoint(value) : value);
      i = j + 1;
      continue;
    }
    bool named = false;
    for (const NamedEntity& entity : kNamedEntities) {
      if (std::strncmp(buffer + i, entity.name, entity.length) == 0) {
        buffer[out++] = entity.byte;
        i += entity.length;
        named = true;
        break;
      }
    }
    if (!named)
      buffer[out++] = buffer[i++];
  }
  buffer[out] = 0;
  return int32_t(out);
}

int32_t CXmlReader::EscapeText(const char* input, size_t length, char previous) {
  size_t out = 0;
  bool afterBlank = previous == ' ';
  for (size_t i = 0; i < length; ++i) {
    if (out >= kXmlEscapeLimit)
      return -1;
    const uint8_t c = uint8_t(input[i]);
    if (interchangeText && !XmlCharacter(c))
      continue;
    const char* replacement = nullptr;
    char reference[6];
    switch (c) {
      case ' ':
        // Readers fold a run of whitespace into one blank; only the first
        // of a run may stand plain. The others are written as a character
        // reference, which every XML parser knows ("&nbsp;" is read too but
        // is no XML entity).
        replacement = afterBlank ? "&#32;" : " ";
        break;
      case '"': replacement = "&quot;"; break;
      case '&': replacement = "&amp;"; break;
      case '\'': replacement = "&apos;"; break;
      case '<': replacement = "&lt;"; break;
      case '>': replacement = "&gt;"; break;
      default:
        // NUL too: "&#00;" reads back as the byte it stands for, where a
        // NUL in the file would end the document.
        if (c <= 31) {
          reference[0] = '&';
          reference[1] = '#';
          reference[2] = char('0' + c / 10);
          reference[3] = char('0' + c % 10);
          reference[4] = ';';
          reference[5] = 0;
          replacement = reference;
        }
        break;
    }
    afterBlank = c == ' ';
    if (replacement) {
      const size_t n = std::strlen(replacement);
      std::memcpy(text + out, replacement, n);
      out += n;
    } else {
      text[out++] = char(c);
    }
  }
  text[out] = 0;
  if (tag.encoding == kXmlEncodingUtf8 && out > 0) {
    const size_t converted =
        interchangeText ? XmlCodePageToUtf8(*interchangeText, text, out, scratch) : XmlTextToUtf8(text, out, scratch);
    // A text that cannot be written whole is refused rather than written
    // empty: the save must not lose it without a word.
    if (converted == 0 || converted >= kXmlTextSize)
      return -1;
    std::memcpy(text, scratch, converted);
    out = converted;
    text[out] = 0;
  }
  return int32_t(out);
}

void CXmlReader::WriteRaw(const char* source_) { source.Put(source_, std::strlen(source_)); }

void CXmlReader::WriteElement(const char* elementName, const char* attributeText, int mode, int indent,
                              int lineBreaks) {
  static const char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
  for (; indent > 0; indent -= 16) source.Put(kTabs, size_t(indent < 16 ? indent : 16));
  if (mode & kXmlWriteStart) {
    source.Put("<", 1);
    WriteRaw(elementName);
    if (attributeText) {
      source.Put(" ", 1);
      WriteRaw(attributeText);
    }
    if (mode & kXmlWriteEnd)
      source.Put("/>", 2);
    else
      source.Put(">", 1);
  } else if (mode & kXmlWriteEnd) {
    source.Put("</", 2);
    WriteRaw(elementName);
    source.Put(">", 1);
  }
  for (; lineBreaks > 0; --lineBreaks) source.Put("\r\n", 2);
}

void CXmlReader::WriteText(const char* input, size_t length, bool escape) {
  if (!escape) {
    source.Put(input, length);
    return;
  }
  const int32_t escaped = EscapeText(input, length);
  if (escaped < 0)
    ThrowXmlError(kFileXmlBadData);
  source.Put(text, size_t(escaped));
}

void CXmlReader::WriteLongText(const char* input, size_t length) {
  // A byte escapes to at most six bytes, so no piece reaches the limit.
  constexpr size_t kPiece = kXmlEscapeLimit / 6;
  for (size_t done = 0; done < length;) {
    const size_t piece = length - done < kPiece ? length - done : kPiece;
    const int32_t escaped = EscapeText(input + done, piece, done ? input[done - 1] : 0);
    if (escaped < 0)
      ThrowXmlError(kFileXmlBadData);
    source.Put(text, size_t(escaped));
    done += piece;
  }
}

void CXmlReader::WriteTextElement(const char* elementName, const char* input, int indent, int lineBreaks) {
  WriteElement(elementName, nullptr, kXmlWriteStart, indent, 0);
  WriteText(input, std::strlen(input), true);
  WriteElement(elementName, nullptr, kXmlWriteEnd, 0, lineBreaks);
}
