// The PageSettings element: how a worksheet is printed.

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_binary/record_checks.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_sheet_settings.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr int32_t kMaxPageText = int32_t(kPageTextSize - 1);
constexpr double kDefaultMargin = 1.5;
const char* const kPercent[] = {"%"};

const char* Bool(uint8_t flag) { return flag ? "1" : "0"; }

// A fixed text field, NUL-terminated whatever it holds.
template <size_t N>
void WriteField(CXmlReader* writer, const char* name, const char (&field)[N], int indent) {
  char text[N];
  std::memcpy(text, field, N);
  text[N - 1] = 0;
  writer->WriteTextElement(name, text, indent, 1);
}

// Margins are written exactly, so that a save does not move them.
struct Number {
  explicit Number(double value) { DoubleToExactText(value, text, sizeof text, nullptr); }
  char text[kExactDoubleTextCapacity];
};

void WriteScale(XmlAttributeText* text, const PageSettings& page, bool fit) {
  if (fit)
    text->Add("Scale=\"FitToSheetSize\"");
  else
    text->Add("Scale=\"%u%%\"", unsigned(page.scale));
  text->Add(" FirstPageNumber=\"%u\"", unsigned(page.firstPageNumber));
}

void WritePrintRange(CXmlReader* writer, const PageSettings& page) {
  writer->WriteElement("PrintRange", nullptr, kXmlWriteStart, 2, 1);
  XmlAttributeText text;
  if (page.printRangeKind == kPrintPageList) {
    WriteScale(&text, page, false);
    char pages[kPageTextSize];
    std::memcpy(pages, page.pages, sizeof pages);
    pages[kPageTextSize - 1] = 0;
    writer->WriteElement("Pages", text.Text(), kXmlWriteStart, 3, 0);
    writer->WriteText(pages, std::strlen(pages), true);
    writer->WriteElement("Pages", nullptr, kXmlWriteEnd, 0, 1);
  } else {
    // Kinds the program does not know print everything, as All says.
    const bool selection = page.printRangeKind >= kPrintSelectedCells && page.printRangeKind <= kPrintSelection;
    WriteScale(&text, page, page.fitToSheetSize != 0);
    writer->WriteElement(selection ? "Selection" : "All", text.Text(), kXmlWriteEmpty, 3, 1);
  }
  WriteField(writer, "ExcludedRows", page.excludedRows, 3);
  WriteField(writer, "ExcludedColumns", page.excludedColumns, 3);
  char copies[64];
  std::snprintf(copies, sizeof copies, "Collate=\"%s\" BackToFrontOrder=\"%s\"", Bool(page.collate),
                Bool(page.backToFrontOrder));
  writer->WriteElement("Copies", copies, kXmlWriteStart, 3, 0);
  std::snprintf(copies, sizeof copies, "%u", unsigned(page.copies));
  writer->WriteRaw(copies);
  writer->WriteElement("Copies", nullptr, kXmlWriteEnd, 0, 1);
  writer->WriteElement("PrintRange", nullptr, kXmlWriteEnd, 2, 1);
}

void WriteHeaders(CXmlReader* writer, const PageSettings& page) {
  char attributes[160];
  std::snprintf(attributes, sizeof attributes, "OnFirstPage=\"%s\"", Bool(page.onFirstPage));
  writer->WriteElement("Headers", attributes, kXmlWriteStart, 2, 1);
  std::snprintf(attributes, sizeof attributes, "Top=\"%s\" Bottom=\"%s\"", Number(page.headerMargin).text,
                Number(page.footerMargin).text);
  writer->WriteElement("Margins", attributes, kXmlWriteEmpty, 3, 1);
  WriteField(writer, "HeaderText", page.headerText, 3);
  WriteField(writer, "FooterText", page.footerText, 3);
  WriteXmlColorFont(writer, page.headerFont, page.headerColorSet, page.headerColor, 3);
  writer->WriteElement("Headers", nullptr, kXmlWriteEnd, 2, 1);
}

void WritePageLayout(CXmlReader* writer, const PageSettings& page) {
  writer->WriteElement("PageLayout", nullptr, kXmlWriteStart, 2, 1);
  char attributes[256];
  std::snprintf(attributes, sizeof attributes, "Left=\"%s\" Top=\"%s\" Right=\"%s\" Bottom=\"%s\"",
                Number(page.marginLeft).text, Number(page.marginTop).text, Number(page.marginRight).text,
                Number(page.marginBottom).text);
  writer->WriteElement("Margins", attributes, kXmlWriteEmpty, 3, 1);
  std::snprintf(attributes, sizeof attributes, "Columns=\"%u\" Rows=\"%u\"", unsigned(page.pagesPerSheetColumns),
                unsigned(page.pagesPerSheetRows));
  writer->WriteElement("PagesPerSheet", attributes, kXmlWriteEmpty, 3, 1);
  const uint8_t a = page.alignment;
  const char* horizontal = (a & 1) ? "Left" : (a & 2) ? "Center" : (a & 4) ? "Right" : "Left";
  const char* vertical = (a & 8) ? "Top" : (a & 16) ? "Center" : (a & 32) ? "Bottom" : "Top";
  std::snprintf(attributes, sizeof attributes, "HorizontalAlignment=\"%s\" VerticalAlignment=\"%s\"", horizontal,
                vertical);
  writer->WriteElement("Alignment", attributes, kXmlWriteEmpty, 3, 1);
  writer->WriteElement("PageLayout", nullptr, kXmlWriteEnd, 2, 1);
}

}  // namespace

void WriteXmlPageSettings(CXmlReader* writer, const CWorkSheet& sheet) {
  // Values set beyond what the reader takes are written as the nearest it does.
  PageSettings page = sheet.pageSettings;
  CheckPageSettings(&page);
  writer->WriteElement("PageSettings", nullptr, kXmlWriteStart, 1, 1);
  writer->WriteElement("Printer", nullptr, kXmlWriteStart, 2, 1);
  WriteField(writer, "Name", page.printerName, 3);
  char landscape[24];
  std::snprintf(landscape, sizeof landscape, "Landscape=\"%s\"", Bool(page.landscape));
  char sheetSize[kPageTextSize];
  std::memcpy(sheetSize, page.sheetSizeName, sizeof sheetSize);
  sheetSize[kPageTextSize - 1] = 0;
  writer->WriteElement("SheetSize", landscape, kXmlWriteStart, 3, 0);
  writer->WriteText(sheetSize, std::strlen(sheetSize), true);
  writer->WriteElement("SheetSize", nullptr, kXmlWriteEnd, 0, 1);
  writer->WriteElement("Printer", nullptr, kXmlWriteEnd, 2, 1);
  WritePrintRange(writer, page);
  WriteHeaders(writer, page);
  WritePageLayout(writer, page);
  writer->WriteElement("RowHeadings", page.rowHeadings ? nullptr : "Visible=\"0\"", kXmlWriteEmpty, 2, 1);
  writer->WriteElement("ColumnHeadings", page.columnHeadings ? nullptr : "Visible=\"0\"", kXmlWriteEmpty, 2, 1);
  writer->WriteElement("PageSettings", nullptr, kXmlWriteEnd, 1, 2);
}

namespace {

bool Has(CXmlReader* reader, const char* name) { return reader->FindAttribute(nullptr, name); }

template <size_t N>
void ReadField(CXmlReader* reader, const char* name, char (&field)[N], uint8_t flags = 0) {
  reader->ReadElementText(nullptr, name, flags, kMaxPageText);
  std::memset(field, 0, N);
  std::memcpy(field, reader->text, std::strlen(reader->text));
}

double ReadMargin(CXmlReader* reader, const char* name) {
  if (!Has(reader, name))
    return kDefaultMargin;
  double value = 0;
  reader->ParseDouble(&value, -1.7976931348623157e308, 1.7976931348623157e308, reader->AttributeValue());
  return value;
}

void ReadScale(CXmlReader* reader, PageSettings* page, bool fitAllowed) {
  uint16_t scale = 100;
  if (Has(reader, "Scale")) {
    if (fitAllowed && std::strcmp(reader->AttributeValue(), "FitToSheetSize") == 0)
      page->fitToSheetSize = 1;
    else
      reader->ParseUInt16Unit(&scale, kMinPrintScale, kMaxPrintScale, kPercent, 1, reader->AttributeValue());
  }
  page->scale = scale;
  uint16_t first = 1;
  if (Has(reader, "FirstPageNumber"))
    reader->ParseUInt16(&first, 1, kMaxFirstPageNumber, reader->AttributeValue());
  page->firstPageNumber = first;
}

void ReadPrinter(CXmlReader* reader, PageSettings* page) {
  if (!reader->FindElement(nullptr, "Printer", kXmlClearAttributes | kXmlStartTag | kXmlOptional))
    return;
  ReadField(reader, "Name", page->printerName);
  ReadField(reader, "SheetSize", page->sheetSizeName);
  if (Has(reader, "Landscape"))
    reader->ReadBool(&page->landscape, reader->AttributeValue());
  reader->FindElement(nullptr, "Printer", kXmlEndTag);
}

void ReadPrintRange(CXmlReader* reader, PageSettings* page) {
  if (!reader->FindElement(nullptr, "PrintRange", kXmlStartTag | kXmlOptional))
    return;
  const bool all = FindXmlEmptyElement(reader, "All");
  if (all || FindXmlEmptyElement(reader, "Selection")) {
    // A selection is resolved again when printing.
    page->printRangeKind = all ? kPrintAll : kPrintSelection;
    ReadScale(reader, page, true);
  } else if (reader->ReadElementText(nullptr, "Pages", kXmlClearAttributes | kXmlOptional, kMaxPageText)) {
    page->printRangeKind = kPrintPageList;
    std::memset(page->pages, 0, sizeof page->pages);
    std::memcpy(page->pages, reader->text, std::strlen(reader->text));
    ReadScale(reader, page, false);
  } else {
    ThrowXmlError(kFileXmlUnexpectedElement);
  }
  ReadField(reader, "ExcludedRows", page->excludedRows);
  ReadField(reader, "ExcludedColumns", page->excludedColumns);
  reader->ReadElementText(nullptr, "Copies", kXmlClearAttributes, kMaxPageText);
  uint16_t copies = 1;
  reader->ParseUInt16(&copies, 1, kMaxCopies, reader->text);
  page->copies = copies;
  if (Has(reader, "Collate"))
    reader->ReadBool(&page->collate, reader->AttributeValue());
  if (Has(reader, "BackToFrontOrder"))
    reader->ReadBool(&page->backToFrontOrder, reader->AttributeValue());
  reader->FindElement(nullptr, "PrintRange", kXmlEndTag);
}

void ReadHeaders(CXmlReader* reader, PageSettings* page) {
  if (!reader->FindElement(nullptr, "Headers", kXmlClearAttributes | kXmlStartTag | kXmlOptional))
    return;
  page->onFirstPage = 1;
  if (Has(reader, "OnFirstPage"))
    reader->ReadBool(&page->onFirstPage, reader->AttributeValue());
  if (!FindXmlEmptyElement(reader, "Margins"))
    ThrowXmlError(kFileXmlUnexpectedElement);
  page->headerMargin = ReadMargin(reader, "Top");
  page->footerMargin = ReadMargin(reader, "Bottom");
  ReadField(reader, "HeaderText", page->headerText, kXmlClearAttributes);
  ReadField(reader, "FooterText", page->footerText, kXmlClearAttributes);
  if (!FindXmlEmptyElement(reader, "Font"))
    ThrowXmlError(kFileXmlUnexpectedElement);
  uint32_t color = page->headerColor;  // the record is packed
  ReadXmlColorFont(reader, &page->headerFont, &page->headerColorSet, &color);
  page->headerColor = color;
  reader->FindElement(nullptr, "Headers", kXmlEndTag);
}

void ReadPageLayout(CXmlReader* reader, PageSettings* page) {
  if (!reader->FindElement(nullptr, "PageLayout", kXmlClearAttributes | kXmlStartTag | kXmlOptional))
    return;
  if (!FindXmlEmptyElement(reader, "Margins"))
    ThrowXmlError(kFileXmlUnexpectedElement);
  page->marginLeft = ReadMargin(reader, "Left");
  page->marginRight = ReadMargin(reader, "Right");
  page->marginTop = ReadMargin(reader, "Top");
  page->marginBottom = ReadMargin(reader, "Bottom");
  if (!FindXmlEmptyElement(reader, "PagesPerSheet"))
    ThrowXmlError(kFileXmlUnexpectedElement);
  page->pagesPerSheetColumns = 1;
  page->pagesPerSheetRows = 1;
  if (Has(reader, "Columns"))
    reader->ParseUInt8(&page->pagesPerSheetColumns, 1, kMaxPagesPerSheet, reader->AttributeValue());
  if (Has(reader, "Rows"))
    reader->ParseUInt8(&page->pagesPerSheetRows, 1, kMaxPagesPerSheet, reader->AttributeValue());
  if (!FindXmlEmptyElement(reader, "Alignment"))
    ThrowXmlError(kFileXmlUnexpectedElement);
  static const char* const kWords[2][3] = {{"Left", "Center", "Right"}, {"Top", "Center", "Bottom"}};
  static const char* const kNames[2] = {"HorizontalAlignment", "VerticalAlignment"};
  for (int axis = 0; axis < 2; ++axis) {
    if (!Has(reader, kNames[axis]))
      continue;
    int word = 0;
    while (word < 3 && std::strcmp(kWords[axis][word], reader->AttributeValue()) != 0) ++word;
    if (word == 3)
      ThrowXmlError(kFileXmlBadAttribute);
    page->alignment = uint8_t(page->alignment | (1u << (axis * 3 + word)));
  }
  reader->FindElement(nullptr, "PageLayout", kXmlEndTag);
}

void ReadHeadings(CXmlReader* reader, const char* name, uint8_t* visible) {
  if (FindXmlEmptyElement(reader, name) && Has(reader, "Visible"))
    reader->ReadBool(visible, reader->AttributeValue());
}

}  // namespace

void ReadXmlPageSettings(CXmlReader* reader, CWorkSheet* sheet) {
  if (!reader->FindElement(nullptr, "PageSettings", kXmlStartTag | kXmlOptional))
    return;
  PageSettings& page = sheet->pageSettings;
  ReadPrinter(reader, &page);
  ReadPrintRange(reader, &page);
  ReadHeaders(reader, &page);
  ReadPageLayout(reader, &page);
  ReadHeadings(reader, "RowHeadings", &page.rowHeadings);
  ReadHeadings(reader, "ColumnHeadings", &page.columnHeadings);
  reader->FindElement(nullptr, "PageSettings", kXmlEndTag);
}
