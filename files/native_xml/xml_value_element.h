#ifndef TALVERO_FILES_NATIVE_XML_VALUE_ELEMENT_H
#define TALVERO_FILES_NATIVE_XML_VALUE_ELEMENT_H

// Elements whose text is one number, as chart options and light settings
// are kept: <ViewWidth>100</ViewWidth> on a line of its own.

#include <cstdint>

class CXmlReader;

void WriteXmlValueElement(CXmlReader* writer, const char* name, long long value, int depth);
// A required value element read as a whole number in lowest..highest
// (60 otherwise).
uint32_t ReadXmlUnsignedElement(CXmlReader* reader, const char* name, uint32_t lowest, uint32_t highest);
int32_t ReadXmlSignedElement(CXmlReader* reader, const char* name, int32_t lowest, int32_t highest);

#endif
