#ifndef TALVERO_FILES_NATIVE_XML_SHEET_SETTINGS_H
#define TALVERO_FILES_NATIVE_XML_SHEET_SETTINGS_H

// The settings elements of a worksheet: GeneralSettings (background, zoom,
// grid, colours, scroll position, selection, frozen panes) and PageSettings
// (how it is printed). Readers look for their optional element and write
// into a new worksheet; they throw the XML codes on bad input.

class CWorkBook;
class CWorkSheet;
class CXmlReader;

void WriteXmlGeneralSettings(CXmlReader* writer, const CWorkSheet& sheet);
void ReadXmlGeneralSettings(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet);

void WriteXmlPageSettings(CXmlReader* writer, const CWorkSheet& sheet);
void ReadXmlPageSettings(CXmlReader* reader, CWorkSheet* sheet);

#endif
