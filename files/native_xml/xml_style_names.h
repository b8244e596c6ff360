#ifndef TALVERO_FILES_NATIVE_XML_STYLE_NAMES_H
#define TALVERO_FILES_NATIVE_XML_STYLE_NAMES_H

// The words by which the native XML workbook names the codes of fonts,
// fills, lines, alignments and number-format options. Each table is written
// from its code and read back by exact, case-sensitive comparison.

#include <cstddef>
#include <cstdint>

class CXmlReader;

struct XmlNameTable {
  const char* const* names;  // by code; null where a code has no name
  size_t count;
};

extern const XmlNameTable kXmlLineStyleNames;
extern const XmlNameTable kXmlPatternNames;
extern const XmlNameTable kXmlFontFamilyNames;
extern const XmlNameTable kXmlFontWeightNames;
extern const XmlNameTable kXmlCharSetNames;
extern const XmlNameTable kXmlVerticalAlignmentNames;
extern const XmlNameTable kXmlHorizontalAlignmentNames;
extern const XmlNameTable kXmlSymbolPositionNames;
extern const XmlNameTable kXmlNegativeStyleNames;

// The word of a code, or null when the table has none for it.
const char* XmlNameOf(const XmlNameTable& table, uint32_t code);
// The code of a word; false when no entry has it.
bool XmlCodeOf(const XmlNameTable& table, const char* word, uint8_t* code);
// The code of the current attribute's value; any other word throws 58.
uint8_t ReadXmlName(CXmlReader* reader, const XmlNameTable& table);

#endif
