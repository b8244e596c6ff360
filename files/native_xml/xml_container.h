#ifndef TALVERO_FILES_NATIVE_XML_CONTAINER_H
#define TALVERO_FILES_NATIVE_XML_CONTAINER_H

// The Container elements of a worksheet in the native XML workbook: the
// box's id and grid, its anchor, border, background and titles, and the
// charts it holds.

class CWorkBook;
class CWorkSheet;
class CXmlReader;
class ContainerRecord;

// Every container of the worksheet, in list order, at depth 1.
void WriteXmlContainers(CXmlReader* writer, const CWorkSheet& sheet);
void WriteXmlContainer(CXmlReader* writer, const ContainerRecord& container);

// The Container elements at the start of a worksheet, each into a new
// container added to the worksheet. A container whose id an earlier one
// of the workbook holds, or that no container may have, gets the smallest
// free id. Throws the XML codes on bad input.
void ReadXmlContainers(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet);
// The attributes and children of the current Container tag into a freshly
// initialised container; the caller reads the end tag.
void ReadXmlContainer(CXmlReader* reader, CWorkBook* book, ContainerRecord* container);

#endif
