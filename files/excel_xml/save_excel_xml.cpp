// The Excel 2003 XML Spreadsheet export: the document properties, the
// styles and one Worksheet per worksheet of the tree, in tree order.

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "core/cells/paged_array.h"
#include "core/styles/text_measurer.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_names.h"
#include "files/excel_xml/excel_text.h"
#include "files/excel_xml/excel_writer.h"
#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

constexpr int32_t kDefaultPixelsPerInch = 96;

constexpr char kWorkbookAttributes[] =
    "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
    "\txmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n"
    "\txmlns:x=\"urn:schemas-microsoft-com:office:excel\"\r\n"
    "\txmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
    "\txmlns:html=\"http://www.w3.org/TR/REC-html40\"";

void WriteDocumentProperties(CXmlReader* xml, const DocumentPropertyTexts& p) {
  xml->WriteElement("DocumentProperties", "xmlns=\"urn:schemas-microsoft-com:office:office\"", kXmlWriteStart, 1, 1);
  xml->WriteTextElement("Author", p.author, 2, 1);
  xml->WriteTextElement("LastAuthor", p.lastAuthor, 2, 1);
  xml->WriteTextElement("Created", p.created, 2, 1);
  xml->WriteTextElement("LastSaved", p.lastSaved, 2, 1);
  if (p.company[0])
    xml->WriteTextElement("Company", p.company, 2, 1);
  xml->WriteTextElement("Version", p.version, 2, 1);
  xml->WriteElement("DocumentProperties", nullptr, kXmlWriteEnd, 1, 1);
  xml->WriteElement("OfficeDocumentSettings", "xmlns=\"urn:schemas-microsoft-com:office:office\"", kXmlWriteStart, 1,
                    1);
  xml->WriteElement("DownloadComponents", nullptr, kXmlWriteEmpty, 2, 1);
  xml->WriteElement("LocationOfComponents", nullptr, kXmlWriteEmpty, 2, 1);
  xml->WriteElement("OfficeDocumentSettings", nullptr, kXmlWriteEnd, 1, 1);
}

// The active worksheet's place among the worksheets, counted from 0 as the
// format counts.
uint32_t ActiveSheetIndex(const CWorkBook& book) {
  uint32_t index = 0;
  for (const CTreeItem* item = book.firstItem; item; item = item->next) {
    if (!item->IsWorksheet())
      continue;
    if (item == book.activeWorksheet)
      return index;
    ++index;
  }
  return 0;
}

void WriteDocument(const ExcelWriter& out) {
  CXmlReader* xml = out.xml;
  CWorkBook* book = out.book;
  xml->WriteRaw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n");
  xml->WriteElement("Workbook", kWorkbookAttributes, kXmlWriteStart, 0, 1);
  WriteDocumentProperties(xml, book->documentProperties);
  xml->WriteElement("ExcelWorkbook", "xmlns=\"urn:schemas-microsoft-com:office:excel\"", kXmlWriteStart, 1, 1);
  char number[16];
  std::snprintf(number, sizeof number, "%u", unsigned(ActiveSheetIndex(*book)));
  xml->WriteTextElement("ActiveSheet", number, 2, 1);
  xml->WriteTextElement("ProtectStructure", "False", 2, 1);
  xml->WriteTextElement("ProtectWindows", "False", 2, 1);
  xml->WriteElement("ExcelWorkbook", nullptr, kXmlWriteEnd, 1, 1);
  WriteExcelStyles(out, 1);

  PagedArray written(kTreeItemNameSize);
  static thread_local char attribute[kXmlTextSize + 16];
  for (CTreeItem* item = book->firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    char name[kTreeItemNameSize];
    if (!TakeUniqueExcelName(&written, sheet->name, name))
      ThrowXmlError(kFileOutOfMemory);
    std::snprintf(attribute, sizeof attribute, "ss:Name=\"%s\"", ExcelEscaped(xml, name, std::strlen(name)));
    xml->WriteElement("Worksheet", attribute, kXmlWriteStart, 1, 1);
    WriteExcelTable(out, sheet, 2);
    WriteExcelWorksheetOptions(out, *sheet, sheet == book->activeWorksheet, 2);
    xml->WriteElement("Worksheet", nullptr, kXmlWriteEnd, 1, 1);
  }
  xml->WriteElement("Workbook", nullptr, kXmlWriteEnd, 0, 1);
}

}  // namespace

const char* ExcelEscaped(CXmlReader* xml, const char* text, size_t length) {
  if (xml->EscapeText(text, length) < 0)
    ThrowXmlError(kFileXmlBadData);
  return xml->text;
}

bool CWorkBook::SaveExcelXml(const TextMeasurer* screen) {
  error = 0;
  if (!bufferedFile.file) {
    error = kFileWriteError;
    return false;
  }
  FileStream stream;
  stream.Reset();
  stream.Attach(bufferedFile.file);
  std::unique_ptr<CXmlReader> writer(new (std::nothrow) CXmlReader);
  if (!writer) {
    error = kFileOutOfMemory;
    return false;
  }
  writer->Reset();
  writer->source.stream = &stream;
  writer->tag.encoding = kXmlEncodingUtf8;
  writer->interchangeText = &kExcelAnsiText;
  const ExcelWriter out{writer.get(), this, screen,
                        screen && screen->screenPixelsPerInchY > 0 ? screen->screenPixelsPerInchY
                                                                   : kDefaultPixelsPerInch};
  try {
    WriteDocument(out);
  } catch (int code) {
    error = uint8_t(code);
  } catch (const std::bad_alloc&) {
    error = kFileOutOfMemory;
  }
  if (stream.HasError())
    error = kFileWriteError;
  stream.ReleaseCrypto();
  return error == 0;
}
