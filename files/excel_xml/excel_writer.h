#ifndef TALVERO_FILES_EXCEL_XML_WRITER_H
#define TALVERO_FILES_EXCEL_XML_WRITER_H

// The parts of the Excel 2003 XML export, each writing its elements at the
// depth given through the workbook's writer state. Failures throw the XML
// codes; CWorkBook::SaveExcelXml catches them.

#include <cstddef>
#include <cstdint>

class CWorkBook;
class CWorkSheet;
class CXmlReader;
struct TextMeasurer;

struct ExcelWriter {
  CXmlReader* xml;
  CWorkBook* book;
  const TextMeasurer* screen;  // null: the sizes the view last measured
  int32_t pixelsPerInch;
};

// The text escaped into the writer's text buffer; a text whose escaped form
// does not fit throws 60.
const char* ExcelEscaped(CXmlReader* xml, const char* text, size_t length);

// Every style of the workbook; a style of a predefined number-format
// category keeps the code written for it.
void WriteExcelStyles(const ExcelWriter& out, int depth);
void WriteExcelTable(const ExcelWriter& out, CWorkSheet* sheet, int depth);
// The options of a worksheet; `selected` marks the active one.
void WriteExcelWorksheetOptions(const ExcelWriter& out, const CWorkSheet& sheet, bool selected, int depth);

#endif
