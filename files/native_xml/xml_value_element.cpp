#include "files/native_xml/xml_value_element.h"

#include <cstdio>

#include "files/native_xml/xml_element_reading.h"
#include "files/xml/xml_reader.h"

void WriteXmlValueElement(CXmlReader* writer, const char* name, long long value, int depth) {
  char number[24];
  std::snprintf(number, sizeof number, "%lld", value);
  writer->WriteElement(name, nullptr, kXmlWriteStart, depth, 0);
  writer->WriteRaw(number);
  writer->WriteElement(name, nullptr, kXmlWriteEnd, 0, 1);
}

uint32_t ReadXmlUnsignedElement(CXmlReader* reader, const char* name, uint32_t lowest, uint32_t highest) {
  ReadXmlTextElement(reader, name, false, int32_t(kXmlTextSize - 1));
  uint32_t value = 0;
  reader->ParseUInt32(&value, lowest, highest, nullptr);
  return value;
}

int32_t ReadXmlSignedElement(CXmlReader* reader, const char* name, int32_t lowest, int32_t highest) {
  ReadXmlTextElement(reader, name, false, int32_t(kXmlTextSize - 1));
  int32_t value = 0;
  reader->ParseInt32(&value, lowest, highest, nullptr);
  return value;
}
