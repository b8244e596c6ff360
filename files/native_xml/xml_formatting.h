#ifndef TALVERO_FILES_NATIVE_XML_FORMATTING_H
#define TALVERO_FILES_NATIVE_XML_FORMATTING_H

// The Formatting element of a worksheet: column widths and styles, row
// heights and the style runs of each row. Sizes a worksheet would take
// anyway (the default column width and row height, the automatic row
// height) are left out.

#include <cstdint>

class CWorkBook;
class CWorkSheet;
class CXmlReader;

// The default sizes against which columns and rows are left out; 0 for a
// size not known (then only empty sizes are left out).
struct XmlDefaultSizes {
  uint16_t columnWidth;
  uint16_t rowHeight;
};

void WriteXmlFormatting(CXmlReader* writer, const CWorkSheet& sheet, const XmlDefaultSizes& defaults);
// An optional Formatting element into a new worksheet's format.
void ReadXmlFormatting(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet);

#endif
