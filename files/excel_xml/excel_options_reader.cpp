// The WorksheetOptions element of the import: page setup, printing, view
// and selection.

#include <cmath>
#include <cstring>

#include "core/formula/formula_ref_text.h"
#include "core/model/worksheet_view_state.h"
#include "core/styles/default_sizes.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_lengths.h"
#include "files/excel_xml/excel_reader.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr uint8_t kCentreHorizontally = 2;
constexpr uint8_t kCentreVertically = 16;
constexpr double kLargestMargin = 1000;  // inches

// The text of the element whose tag was read last, for a number.
const char* ElementText(CXmlReader* xml) {
  static thread_local char text[64];
  ReadExcelText(xml, text, sizeof text - 1);
  return text;
}

uint32_t ReadUInt(CXmlReader* xml, uint32_t lowest, uint32_t highest) {
  uint32_t value = 0;
  xml->ParseUInt32(&value, lowest, highest, ElementText(xml));
  return value;
}

void ReadLayout(CXmlReader* xml, PageSettings* page) {
  if (const char* value = ExcelAttribute(xml, "Orientation")) {
    if (!std::strcmp(value, "Landscape"))
      page->landscape = 1;
    else if (!std::strcmp(value, "Portrait"))
      page->landscape = 0;
  }
  if (const char* value = ExcelAttribute(xml, "CenterHorizontal"))
    page->alignment = uint8_t(!std::strcmp(value, "1") ? page->alignment | kCentreHorizontally
                                                       : page->alignment & ~kCentreHorizontally);
  if (const char* value = ExcelAttribute(xml, "CenterVertical"))
    page->alignment = uint8_t(!std::strcmp(value, "1") ? page->alignment | kCentreVertically
                                                       : page->alignment & ~kCentreVertically);
  if (const char* value = ExcelAttribute(xml, "StartPageNumber")) {
    uint16_t first = 1;
    xml->ParseUInt16(&first, 1, kMaxFirstPageNumber, value);
    page->firstPageNumber = first;
  }
}

bool ReadMargin(CXmlReader* xml, const char* name, double* millimetres) {
  const char* value = ExcelAttribute(xml, name);
  if (!value)
    return false;
  double inches = 0;
  xml->ParseDouble(&inches, 0, kLargestMargin, value);
  *millimetres = InchesToMillimetres(inches);
  return true;
}

void ReadPageMargins(const ExcelReader& in, CWorkSheet* sheet) {
  CXmlReader* xml = in.xml;
  PageSettings& page = sheet->pageSettings;
  // The record is packed: its doubles are written as values, never through
  // a pointer.
  double margin = 0;
  if (ReadMargin(xml, "Left", &margin))
    page.marginLeft = margin;
  if (ReadMargin(xml, "Right", &margin))
    page.marginRight = margin;
  // The header and footer stand two default rows inside the margins.
  const uint16_t rowHeight =
      in.screen ? GetDefaultRowHeight(&sheet->format, *in.screen) : sheet->format.defaultRowHeight;
  const double twoRows = PixelsToMillimetres(2u * rowHeight, in.pixelsPerInch);
  if (ReadMargin(xml, "Top", &margin)) {
    page.marginTop = margin;
    page.headerMargin = margin - twoRows < 0 ? 0 : margin - twoRows;
  }
  if (ReadMargin(xml, "Bottom", &margin)) {
    page.marginBottom = margin;
    page.footerMargin = margin - twoRows;
  }
}

void ReadPageSetup(const ExcelReader& in, CWorkSheet* sheet) {
  CXmlReader* xml = in.xml;
  PageSettings& page = sheet->pageSettings;
  static const char* const kOrder[] = {"Layout", "Header", "Footer", "PageMargins"};
  int reached = -1;
  while (NextExcelChild(xml)) {
    int child = -1;
    for (int i = 0; i < 4; ++i)
      if (!std::strcmp(xml->name, kOrder[i]))
        child = i;
    if (child > reached) {
      reached = child;
      switch (child) {
        case 0:
          ReadLayout(xml, &page);
          break;
        case 1:
          ReadExcelAttributeText(xml, "Data", page.headerText, sizeof page.headerText);
          break;
        case 2:
          ReadExcelAttributeText(xml, "Data", page.footerText, sizeof page.footerText);
          break;
        default:
          ReadPageMargins(in, sheet);
          break;
      }
    }
    SkipExcelElement(xml);
  }
}

void ReadPrint(CXmlReader* xml, PageSettings* page) {
  while (NextExcelChild(xml)) {
    if (!std::strcmp(xml->name, "Scale")) {
      double scale = 0;
      xml->ParseDouble(&scale, -1.7976931348623157e308, 1.7976931348623157e308, ElementText(xml));
      page->scale = uint16_t(scale < 10 ? 10 : scale > 1000 ? 1000 : std::trunc(scale));
    } else if (!std::strcmp(xml->name, "NumberofCopies")) {
      const uint32_t copies = ReadUInt(xml, 0, 0xFFFFFFFF);
      page->copies = uint16_t(copies < 1 ? 1 : copies > 65535 ? 65535 : copies);
    } else {
      SkipExcelElement(xml);
    }
  }
}

// A selection given as R1C1 text: one corner, or two joined by ":".
void ReadRangeSelection(const ExcelReader& in, WorksheetViewState* view) {
  char text[kQualifiedRefCapacity];
  ReadExcelText(in.xml, text, sizeof text - 1);
  EvalState& evaluator = in.book->evaluator;
  evaluator.column = 0;
  evaluator.row = 0;
  RefCorner corners[2];
  const char* end = text;
  uint32_t flags[2] = {};
  flags[0] = ParseR1C1Reference(evaluator, end, &corners[0], &end);
  if (!flags[0] || (flags[0] & kRefOutsideGrid))
    return;
  corners[1] = corners[0];
  flags[1] = flags[0];
  if (*end == ':') {
    flags[1] = ParseR1C1Reference(evaluator, end + 1, &corners[1], &end);
    if (!flags[1] || (flags[1] & kRefOutsideGrid) || (flags[1] & kRefCell) != (flags[0] & kRefCell))
      return;
  }
  if (*end)
    return;
  for (int i = 0; i < 2; ++i) {
    // Whole rows and whole columns reach over the grid.
    if (!(flags[i] & kRefHasColumn))
      corners[i].column = i ? kMaxColumn : 0;
    if (!(flags[i] & kRefHasRow))
      corners[i].row = i ? kMaxRow : 0;
    view->selection[i].column = uint16_t(corners[i].column);
    view->selection[i].row = corners[i].row;
  }
}

void ReadPanes(const ExcelReader& in, WorksheetViewState* view) {
  CXmlReader* xml = in.xml;
  while (NextExcelChild(xml)) {
    if (std::strcmp(xml->name, "Pane") || !ExcelTagHasContent(xml)) {
      SkipExcelElement(xml);
      continue;
    }
    while (NextExcelChild(xml)) {
      // Rows and columns count from 0 in this format.
      if (!std::strcmp(xml->name, "ActiveRow")) {
        const uint32_t row = ReadUInt(xml, 0, kMaxRow);
        view->selection[0].row = view->selection[1].row = row;
        view->selection[0].flags |= kCornerRowGiven;
        view->selection[1].flags |= kCornerRowGiven;
      } else if (!std::strcmp(xml->name, "ActiveCol")) {
        const uint16_t column = uint16_t(ReadUInt(xml, 0, kMaxColumn));
        view->selection[0].column = view->selection[1].column = column;
        view->selection[0].flags |= kCornerColumnGiven;
        view->selection[1].flags |= kCornerColumnGiven;
      } else if (!std::strcmp(xml->name, "RangeSelection")) {
        ReadRangeSelection(in, view);
      } else {
        SkipExcelElement(xml);
      }
    }
  }
}

}  // namespace

void ReadExcelWorksheetOptions(const ExcelReader& in, CWorkSheet* sheet) {
  CXmlReader* xml = in.xml;
  if (!ExcelTagHasContent(xml))
    return;
  WorksheetViewState* view = ViewStateOf(&sheet->viewFormat);
  while (NextExcelChild(xml)) {
    const char* name = xml->name;
    if (!std::strcmp(name, "PageSetup") && ExcelTagHasContent(xml)) {
      ReadPageSetup(in, sheet);
    } else if (!std::strcmp(name, "Print") && ExcelTagHasContent(xml)) {
      ReadPrint(xml, &sheet->pageSettings);
    } else if (!std::strcmp(name, "DoNotDisplayGridlines")) {
      sheet->viewFormat.gridLines = 0;
      SkipExcelElement(xml);
    } else if (!std::strcmp(name, "DoNotDisplayHeadings")) {
      sheet->pageSettings.rowHeadings = 0;
      sheet->pageSettings.columnHeadings = 0;
      SkipExcelElement(xml);
    } else if (!std::strcmp(name, "TopRowVisible")) {
      view->topLeft.row = ReadUInt(xml, 0, kMaxRow);
      view->topLeft.flags = kCornerRowGiven | kCornerColumnGiven;
    } else if (!std::strcmp(name, "LeftColumnVisible")) {
      view->topLeft.column = uint16_t(ReadUInt(xml, 0, kMaxColumn));
      view->topLeft.flags = kCornerRowGiven | kCornerColumnGiven;
    } else if (!std::strcmp(name, "Panes") && ExcelTagHasContent(xml)) {
      ReadPanes(in, view);
    } else {
      SkipExcelElement(xml);
    }
  }
}
