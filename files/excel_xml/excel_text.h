#ifndef TALVERO_FILES_EXCEL_XML_TEXT_H
#define TALVERO_FILES_EXCEL_XML_TEXT_H

// The code page through which the texts of Excel 2003 XML files become the
// program's text and back: the ANSI code page, as for text files.

#include "files/xml/xml_reader.h"

extern const XmlCodePage kExcelAnsiText;

#endif
