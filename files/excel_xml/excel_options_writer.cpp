// The WorksheetOptions element of the export: page setup, printing, view
// and the active cell.

#include <cstdio>
#include <cstring>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "files/excel_xml/excel_lengths.h"
#include "files/excel_xml/excel_writer.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr uint8_t kCentreHorizontally = 2;
constexpr uint8_t kCentreVertically = 16;

void WriteNumberElement(CXmlReader* xml, const char* name, uint32_t value, int depth) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", unsigned(value));
  xml->WriteTextElement(name, text, depth, 1);
}

void WriteHeaderText(const ExcelWriter& out, const char* name, const char (&field)[kPageTextSize], int depth) {
  char text[kPageTextSize];
  std::memcpy(text, field, sizeof text);
  text[kPageTextSize - 1] = 0;
  static thread_local char attribute[kXmlTextSize + 16];
  std::snprintf(attribute, sizeof attribute, "x:Data=\"%s\"", ExcelEscaped(out.xml, text, std::strlen(text)));
  out.xml->WriteElement(name, attribute, kXmlWriteEmpty, depth, 1);
}

void WritePageSetup(const ExcelWriter& out, const PageSettings& page, int depth) {
  CXmlReader* xml = out.xml;
  xml->WriteElement("PageSetup", nullptr, kXmlWriteStart, depth, 1);
  char layout[160];
  int used = 0;
  layout[0] = 0;
  if (page.landscape)
    used += std::snprintf(layout + used, sizeof layout - size_t(used), " x:Orientation=\"Landscape\"");
  if (page.alignment & kCentreHorizontally)
    used += std::snprintf(layout + used, sizeof layout - size_t(used), " x:CenterHorizontal=\"1\"");
  if (page.alignment & kCentreVertically)
    used += std::snprintf(layout + used, sizeof layout - size_t(used), " x:CenterVertical=\"1\"");
  if (page.firstPageNumber > 1)
    std::snprintf(layout + used, sizeof layout - size_t(used), " x:StartPageNumber=\"%u\"",
                  unsigned(page.firstPageNumber));
  if (layout[0])
    xml->WriteElement("Layout", layout + 1, kXmlWriteEmpty, depth + 1, 1);
  WriteHeaderText(out, "Header", page.headerText, depth + 1);
  WriteHeaderText(out, "Footer", page.footerText, depth + 1);
  char left[kExcelLengthTextSize], top[kExcelLengthTextSize], right[kExcelLengthTextSize],
      bottom[kExcelLengthTextSize];
  MillimetresToInchesText(page.marginLeft, left, sizeof left);
  MillimetresToInchesText(page.marginTop, top, sizeof top);
  MillimetresToInchesText(page.marginRight, right, sizeof right);
  MillimetresToInchesText(page.marginBottom, bottom, sizeof bottom);
  char margins[200];
  std::snprintf(margins, sizeof margins, "x:Left=\"%s\" x:Top=\"%s\" x:Right=\"%s\" x:Bottom=\"%s\"", left, top,
                right, bottom);
  xml->WriteElement("PageMargins", margins, kXmlWriteEmpty, depth + 1, 1);
  xml->WriteElement("PageSetup", nullptr, kXmlWriteEnd, depth, 1);
}

}  // namespace

void WriteExcelWorksheetOptions(const ExcelWriter& out, const CWorkSheet& sheet, bool selected, int depth) {
  CXmlReader* xml = out.xml;
  const PageSettings& page = sheet.pageSettings;
  WorksheetViewFormat viewFormat = sheet.viewFormat;
  const WorksheetViewState& view = *ViewStateOf(&viewFormat);
  xml->WriteElement("WorksheetOptions", "xmlns=\"urn:schemas-microsoft-com:office:excel\"", kXmlWriteStart, depth, 1);
  WritePageSetup(out, page, depth + 1);
  xml->WriteElement("Print", nullptr, kXmlWriteStart, depth + 1, 1);
  WriteNumberElement(xml, "Scale", page.scale, depth + 2);
  WriteNumberElement(xml, "NumberofCopies", page.copies, depth + 2);
  xml->WriteElement("Print", nullptr, kXmlWriteEnd, depth + 1, 1);
  if (!viewFormat.gridLines)
    xml->WriteElement("DoNotDisplayGridlines", nullptr, kXmlWriteEmpty, depth + 1, 1);
  if (!page.columnHeadings)
    xml->WriteElement("DoNotDisplayHeadings", nullptr, kXmlWriteEmpty, depth + 1, 1);
  // Rows and columns count from 0 in this format, as the program keeps them.
  if (view.topLeft.row)
    WriteNumberElement(xml, "TopRowVisible", view.topLeft.row, depth + 1);
  if (view.topLeft.column)
    WriteNumberElement(xml, "LeftColumnVisible", view.topLeft.column, depth + 1);
  if (selected)
    xml->WriteElement("Selected", nullptr, kXmlWriteEmpty, depth + 1, 1);
  xml->WriteElement("Panes", nullptr, kXmlWriteStart, depth + 1, 1);
  xml->WriteElement("Pane", nullptr, kXmlWriteStart, depth + 2, 1);
  WriteNumberElement(xml, "Number", 3, depth + 3);
  WriteNumberElement(xml, "ActiveRow", view.selection[0].row, depth + 3);
  WriteNumberElement(xml, "ActiveCol", view.selection[0].column, depth + 3);
  xml->WriteElement("Pane", nullptr, kXmlWriteEnd, depth + 2, 1);
  xml->WriteElement("Panes", nullptr, kXmlWriteEnd, depth + 1, 1);
  xml->WriteTextElement("ProtectObjects", "False", depth + 1, 1);
  xml->WriteTextElement("ProtectScenarios", "False", depth + 1, 1);
  xml->WriteElement("WorksheetOptions", nullptr, kXmlWriteEnd, depth, 1);
}
