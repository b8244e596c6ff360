#ifndef TALVERO_FILES_XML_SOURCE_H
#define TALVERO_FILES_XML_SOURCE_H

// The bytes an XML document is read from: a window over a file stream,
// refilled in large reads and slid by half when the read position reaches
// its end, so a document of any size is read in one pass with constant
// memory. The end of the data reads as the byte 0.

#include <cstddef>
#include <cstdint>

class FileStream;

constexpr uint32_t kXmlWindowSize = 65535;
constexpr uint32_t kXmlWindowSlide = 32767;

struct XmlSource {
  // Reads through FileStream::ReadGz (plain or gzip data) when gzip is set,
  // else through FileStream::Read. Also the stream the writer writes to.
  FileStream* stream = nullptr;
  bool gzip = false;
  uint32_t position = 0;
  uint32_t filled = 0;
  uint8_t window[kXmlWindowSize];

  uint8_t PeekByte();
  // Moves one byte on; the new current byte, 0 at the end of the data.
  uint8_t NextByte();
  // Whether the next n bytes equal text; the position is left where it was.
  bool MatchLiteral(const char* text, size_t n);
  // Writes through the stream's side that matches `gzip`.
  void Put(const void* bytes, size_t count);

 private:
  uint32_t ReadInto(uint32_t offset, uint32_t count);
};

#endif
