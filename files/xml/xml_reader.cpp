#include "files/xml/xml_reader.h"

#include <algorithm>
#include <cstring>

#include "files/errors/file_errors.h"

namespace {

bool IsXmlWhitespace(uint8_t c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

bool IsNameByte(uint8_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

}  // namespace

void ThrowXmlError(uint8_t code) { throw int(code); }

void CXmlReader::Reset() {
  prefix[0] = name[0] = text[0] = 0;
  tag = XmlTagState{0, 0, kXmlEncodingUtf8, 1};
  pending = 0;
  pendingPrefix[0] = pendingName[0] = 0;
  pendingTag = tag;
  attributes.Clear();
  pendingAttributes.Clear();
  source.position = 0;
  source.filled = 0;
  interchangeText = nullptr;
}

void CXmlReader::SkipWhitespace() {
  uint8_t c = source.PeekByte();
  while (IsXmlWhitespace(c)) {
    if (c == '\r')
      ++tag.line;
    c = source.NextByte();
  }
}

bool CXmlReader::SkipDeclaration() {
  if (!source.MatchLiteral("<!", 2))
    return false;
  // The construct ends at the first ">", whatever it holds.
  uint8_t c = source.PeekByte();
  while (c != '>') {
    c = source.NextByte();
    if (c == 0)
      ThrowXmlError(kFileXmlUnexpectedElement);
  }
  if (source.NextByte() == 0)
    ThrowXmlError(kFileXmlUnexpectedElement);
  return true;
}

void CXmlReader::CollectName(char* out, bool allowQuestion, size_t* length) {
  size_t n = 0;
  uint8_t c = source.PeekByte();
  while (IsNameByte(c) || (allowQuestion && c == '?')) {
    if (n + 1 >= kXmlTextSize)
      ThrowXmlError(kFileXmlUnexpectedElement);
    out[n++] = char(c);
    c = source.NextByte();
    if (c == 0)
      ThrowXmlError(kFileXmlUnexpectedElement);
  }
  out[n] = 0;
  *length = n;
}

bool CXmlReader::ReadTag() {
  prefix[0] = name[0] = 0;
  tag.hasContent = tag.isEnd = 0;
  do SkipWhitespace();
  while (SkipDeclaration());
  uint8_t c = source.PeekByte();
  if (c == 0)
    return false;
  if (c != '<')
    ThrowXmlError(kFileXmlUnexpectedElement);
  source.NextByte();
  SkipWhitespace();
  if (source.PeekByte() == '/') {
    source.NextByte();
    SkipWhitespace();
    tag.isEnd = 1;
  } else {
    tag.hasContent = 1;
  }
  size_t length;
  CollectName(name, true, &length);
  if (source.PeekByte() == ':') {
    source.NextByte();
    std::memcpy(prefix, name, length + 1);
    CollectName(name, false, &length);
  }
  if (length == 0)
    ThrowXmlError(kFileXmlUnexpectedElement);
  SkipWhitespace();
  if (tag.hasContent) {
    // A tag is read only when none is pending, so the pending slot's
    // buffers are free to collect an attribute's names, the text buffer its
    // value.
    while (IsNameByte(source.PeekByte())) {
      char* attributePrefix = pendingPrefix;
      char* attributeName = pendingName;
      size_t prefixLength = 0;
      size_t nameLength;
      attributePrefix[0] = 0;
      CollectName(attributeName, false, &nameLength);
      if (source.PeekByte() == ':') {
        source.NextByte();
        std::memcpy(attributePrefix, attributeName, nameLength + 1);
        prefixLength = nameLength;
        CollectName(attributeName, false, &nameLength);
      }
      SkipWhitespace();
      if (source.PeekByte() != '=' || source.NextByte() == 0)
        ThrowXmlError(kFileXmlUnexpectedElement);
      SkipWhitespace();
      const uint8_t quote = source.PeekByte();
      if (quote != '"' && quote != '\'')
        ThrowXmlError(kFileXmlBadAttribute);
      uint8_t v = source.NextByte();
      if (v == 0)
        ThrowXmlError(kFileXmlBadAttribute);
      size_t valueLength = 0;
      while (v != quote) {
        if (v == 0 || valueLength + 1 >= kXmlTextSize)
          ThrowXmlError(kFileXmlBadAttribute);
        text[valueLength++] = char(v);
        v = source.NextByte();
      }
      text[valueLength] = 0;
      source.NextByte();
      SkipWhitespace();
      if (!attributes.Add(attributePrefix, prefixLength, attributeName, nameLength, text, valueLength))
        ThrowXmlError(kFileXmlBadAttribute);
    }
    text[0] = 0;
  }
  if (source.PeekByte() == '/') {
    source.NextByte();
    SkipWhitespace();
    tag.isEnd = 1;
  }
  if (source.PeekByte() == '?' && name[0] == '?') {
    source.NextByte();
    SkipWhitespace();
  }
  if (source.PeekByte() != '>')
    ThrowXmlError(kFileXmlUnexpectedElement);
  source.NextByte();
  return true;
}

void CXmlReader::ReadTextInto(char* out, size_t capacity, uint8_t* overflow) {
  const size_t limit = capacity - 1;
  size_t length = 0;
  out[0] = 0;
  if (overflow)
    *overflow = 0;
  for (;;) {
    bool whitespace = false;
    // The native files keep a run of blanks as one blank; in the files of
    // other programs every blank counts, as XML has it.
    do {
      if (!interchangeText && IsXmlWhitespace(source.PeekByte())) {
        whitespace = true;
        SkipWhitespace();
      }
    } while (SkipDeclaration());
    if (length >= limit) {
      if (!overflow)
        ThrowXmlError(kFileXmlBadData);
      *overflow = 1;
      break;
    }
    if (whitespace) {
      out[length++] = ' ';
      continue;
    }
    const uint8_t c = source.PeekByte();
    if (c == '<' || c == 0)
      break;
    uint8_t next;
    if (c == '\r') {
      // XML reads CR LF, and a CR alone, as one LF.
      ++tag.line;
      out[length++] = '\n';
      next = source.NextByte();
      if (next == '\n')
        next = source.NextByte();
    } else {
      out[length++] = char(c);
      next = source.NextByte();
    }
    if (next == 0)
      ThrowXmlError(kFileXmlBadData);
  }
  out[length] = 0;
}

bool CXmlReader::TagIs(const char* tagPrefix, const char* tagName) const {
  return std::strcmp(prefix, tagPrefix ? tagPrefix : "") == 0 && std::strcmp(name, tagName ? tagName : "") == 0;
}

void CXmlReader::PushBackTag() {
  std::strcpy(pendingPrefix, prefix);
  std::strcpy(pendingName, name);
  pendingTag = tag;
  pendingAttributes.Assign(attributes);
  pending = 1;
}

void CXmlReader::TakePendingTag() {
  std::strcpy(prefix, pendingPrefix);
  std::strcpy(name, pendingName);
  tag = pendingTag;
  attributes.Assign(pendingAttributes);
  pending = 0;
}

bool CXmlReader::FindElement(const char* wantPrefix, const char* wantName, uint8_t flags) {
  if (!(flags & (kXmlStartTag | kXmlEndTag)))
    flags |= kXmlStartTag | kXmlEndTag;
  if (pending) {
    TakePendingTag();
  } else {
    if (flags & kXmlClearAttributes)
      attributes.Clear();
    if (!ReadTag()) {
      if (flags & kXmlOptional)
        return false;
      ThrowXmlError(kFileXmlUnexpectedElement);
    }
  }
  bool match = (!wantName || !*wantName || std::strcmp(wantName, name) == 0) &&
               (!wantPrefix || !*wantPrefix || std::strcmp(wantPrefix, prefix) == 0);
  if (tag.hasContent && !(flags & kXmlStartTag))
    match = false;
  if (tag.isEnd && !(flags & kXmlEndTag))
    match = false;
  if (!match) {
    if (flags & kXmlOptional) {
      PushBackTag();
      return false;
    }
    ThrowXmlError(kFileXmlUnexpectedElement);
  }
  if (flags & kXmlPeek)
    PushBackTag();
  return true;
}

void CXmlReader::SkipElement(const char* skipPrefix, const char* skipName) {
  int depth = 0;
  // Each round passes at least one tag, and a document has finitely many.
  for (;;) {
    if (!pending) {
      ReadText(nullptr);
      if (SkipDeclaration())
        continue;
    }
    FindElement(nullptr, nullptr, kXmlStartTag | kXmlEndTag);
    if (TagIs(skipPrefix, skipName)) {
      if (tag.hasContent && !tag.isEnd)
        ++depth;
      else if (tag.isEnd && !tag.hasContent)
        --depth;
      if (depth <= 0)
        return;
    }
  }
}

bool CXmlReader::ReadElementTextInto(const char* wantPrefix, const char* wantName, uint8_t flags, int32_t maximum,
                                     char* out, size_t capacity, int32_t* length) {
  if (!FindElement(wantPrefix, wantName, flags))
    return false;
  // The end tag must close the element found, whatever name was asked for.
  char* foundPrefix = scratch;
  char* foundName = scratch + kXmlTextSize / 2;
  // A name too long for its half is cut; the cut name then matches no end
  // tag and the element is refused as unclosed.
  const size_t half = kXmlTextSize / 2;
  const size_t prefixLength = std::min(std::strlen(prefix), half - 1);
  const size_t nameLength = std::min(std::strlen(name), half - 1);
  std::memcpy(foundPrefix, prefix, prefixLength);
  foundPrefix[prefixLength] = 0;
  std::memcpy(foundName, name, nameLength);
  foundName[nameLength] = 0;
  out[0] = 0;
  *length = 0;
  if (tag.isEnd)
    return true;
  ReadTextInto(out, capacity, nullptr);
  *length = DecodeEntitiesIn(out, capacity);
  if (*length < 0 || *length > maximum)
    ThrowXmlError(kFileXmlBadData);
  FindElement(foundPrefix, foundName, kXmlEndTag);
  return true;
}

int32_t CXmlReader::DecodeAttributeText(int32_t maximum) {
  const char* value = AttributeValue();
  const size_t length = value ? std::strlen(value) : 0;
  if (length >= kXmlTextSize)
    return -1;
  std::memcpy(text, value ? value : "", length + 1);
  const int32_t decoded = DecodeEntities();
  return decoded > maximum ? -1 : decoded;
}
