#ifndef TALVERO_FILES_NATIVE_XML_CELLS_H
#define TALVERO_FILES_NATIVE_XML_CELLS_H

// The Cells element of a worksheet in the native XML workbook: every cell
// with its value, or its formula and cached result, one line per row.

class CWorkBook;
class CWorkSheet;
class CXmlReader;

void WriteXmlCells(CXmlReader* writer, const CWorkSheet& sheet);
// Reads an optional Cells element into the worksheet's (empty) cell store;
// throws the XML codes on bad input.
void ReadXmlCells(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet);

#endif
