#include "files/native_xml/xml_element_reading.h"

#include <cstring>

#include "files/errors/file_errors.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

bool OpenXmlElement(CXmlReader* reader, const char* name, bool optional) {
  const uint8_t flags = kXmlClearAttributes | kXmlStartTag | kXmlEndTag | (optional ? kXmlOptional : 0);
  if (!reader->FindElement(nullptr, name, flags))
    return false;
  // Both tag kinds were asked for so that an empty element matches; an end
  // tag of the same name is no opening.
  if (!reader->tag.hasContent) {
    if (!optional)
      ThrowXmlError(kFileXmlUnexpectedElement);
    reader->PushBackTag();
    return false;
  }
  return true;
}

bool IsEmptyXmlElement(const CXmlReader* reader) { return reader->tag.isEnd != 0; }

void CloseXmlElement(CXmlReader* reader, const char* name) { reader->FindElement(nullptr, name, kXmlEndTag); }

bool ReadXmlTextElement(CXmlReader* reader, const char* name, bool optional, int32_t maximum) {
  if (!OpenXmlElement(reader, name, optional))
    return false;
  if (IsEmptyXmlElement(reader)) {
    reader->text[0] = 0;
    return true;
  }
  reader->ReadText(nullptr);
  const int32_t length = reader->DecodeEntities();
  if (length < 0 || length > maximum)
    ThrowXmlError(kFileXmlBadData);
  // The text stays in the text buffer; the end tag is read into the name
  // buffers only.
  CloseXmlElement(reader, name);
  return true;
}

bool ReadXmlTextElementInto(CXmlReader* reader, const char* name, bool optional, char* out, size_t size) {
  if (!ReadXmlTextElement(reader, name, optional, int32_t(size - 1)))
    return false;
  std::memcpy(out, reader->text, std::strlen(reader->text) + 1);
  return true;
}

namespace {

template <class Record, class ReadAttributes>
void ReadRequiredElement(CXmlReader* reader, const char* name, Record* record, ReadAttributes read) {
  OpenXmlElement(reader, name, false);
  read(reader, record);
  if (!IsEmptyXmlElement(reader))
    CloseXmlElement(reader, name);
}

}  // namespace

void ReadXmlFontElement(CXmlReader* reader, ColorFontRecord* font) {
  ReadRequiredElement(reader, "Font", font, [](CXmlReader* r, ColorFontRecord* f) { ReadXmlColorFont(r, f); });
}

void ReadXmlFillPatternElement(CXmlReader* reader, FillRecord* fill) {
  ReadRequiredElement(reader, "FillPattern", fill, ReadXmlFillPattern);
}

void ReadXmlLineElement(CXmlReader* reader, const char* elementName, BorderLine* line) {
  ReadRequiredElement(reader, elementName, line, ReadXmlLine);
}
