#include "files/xml/xml_source.h"

#include <cstring>

#include "files/stream/file_stream.h"

uint32_t XmlSource::ReadInto(uint32_t offset, uint32_t count) {
  if (!stream || count == 0)
    return 0;
  return uint32_t(gzip ? stream->ReadGz(window + offset, count) : stream->Read(window + offset, count));
}

uint8_t XmlSource::PeekByte() {
  if (filled == 0)
    filled = ReadInto(0, kXmlWindowSize);
  return position < filled ? window[position] : 0;
}

uint8_t XmlSource::NextByte() {
  if (position + 1 == kXmlWindowSize) {
    // Half the window stays behind the position, so a literal compared
    // across the slide can still step back.
    std::memmove(window, window + kXmlWindowSlide, kXmlWindowSize - kXmlWindowSlide);
    position -= kXmlWindowSlide;
    filled -= kXmlWindowSlide;
  }
  if (position == filled) {
    filled += ReadInto(position, kXmlWindowSize - position);
  } else if (position + 1 == filled) {
    filled += ReadInto(filled, kXmlWindowSize - 1 - position);
    ++position;
  } else {
    ++position;
  }
  return position < filled ? window[position] : 0;
}

bool XmlSource::MatchLiteral(const char* text, size_t n) {
  if (n > kXmlWindowSize)
    return false;
  size_t advanced = 0;
  uint8_t current = PeekByte();
  while (advanced < n && current == uint8_t(text[advanced]) && current != 0) {
    current = NextByte();
    ++advanced;
  }
  position -= uint32_t(advanced);
  return advanced == n;
}

void XmlSource::Put(const void* bytes, size_t count) {
  if (!stream || count == 0)
    return;
  if (gzip)
    stream->WriteGz(bytes, count);
  else
    stream->Write(bytes, count);
}
