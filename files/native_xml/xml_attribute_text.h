#ifndef TALVERO_FILES_NATIVE_XML_ATTRIBUTE_TEXT_H
#define TALVERO_FILES_NATIVE_XML_ATTRIBUTE_TEXT_H

// The attribute text of one tag, put together piece by piece as the writers
// decide which attributes a record needs. Texts go in escaped; the buffer
// holds the longest escaped name the records carry with room to spare.

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "files/errors/file_errors.h"
#include "files/xml/xml_reader.h"

class XmlAttributeText {
 public:
  static constexpr size_t kCapacity = 4096;

  // Appends the formatted text; a text that would not fit is refused as an
  // escaping failure, never cut.
  void Add(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text_ + used_, kCapacity - used_, format, arguments);
    va_end(arguments);
    if (written < 0 || size_t(written) >= kCapacity - used_)
      ThrowXmlError(kFileXmlBadData);
    used_ += size_t(written);
  }
  // Appends format with value escaped in place of its one "%s".
  void AddEscaped(CXmlReader* writer, const char* format, const char* value) {
    if (writer->EscapeText(value, std::strlen(value)) < 0)
      ThrowXmlError(kFileXmlBadData);
    Add(format, writer->text);
  }
  // The text, or null when nothing was added (a tag without attributes).
  const char* Text() const { return used_ ? text_ : nullptr; }

 private:
  char text_[kCapacity] = {};
  size_t used_ = 0;
};

#endif
