#include "app/document/page_settings_losses.h"

#include <cstdlib>
#include <cstring>

#include "core/model/page_settings.h"
#include "files/excel_xml/excel_lengths.h"

namespace {

// The alignment bits an Excel 2003 XML file writes as centring.
constexpr uint8_t kExcelCentring = 2 | 16;

struct SettingDifference {
  const char* name;
  bool (*differs)(const PageSettings& a, const PageSettings& b);
};

template <size_t N>
bool TextDiffers(const char (&a)[N], const char (&b)[N]) {
  return strncmp(a, b, N) != 0;
}

const SettingDifference kSettings[] = {
    {"printer", [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.printerName, b.printerName); }},
    {"paper",
     [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.sheetSizeName, b.sheetSizeName); }},
    {"orientation", [](const PageSettings& a, const PageSettings& b) { return a.landscape != b.landscape; }},
    {"print range",
     [](const PageSettings& a, const PageSettings& b) {
       return a.printRangeKind != b.printRangeKind || a.containerId != b.containerId ||
              std::memcmp(&a.selectionRange, &b.selectionRange, sizeof a.selectionRange) != 0 ||
              TextDiffers(a.pages, b.pages);
     }},
    {"fit to paper", [](const PageSettings& a, const PageSettings& b) { return a.fitToSheetSize != b.fitToSheetSize; }},
    {"scale", [](const PageSettings& a, const PageSettings& b) { return a.scale != b.scale; }},
    {"first page number",
     [](const PageSettings& a, const PageSettings& b) { return a.firstPageNumber != b.firstPageNumber; }},
    {"excluded rows",
     [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.excludedRows, b.excludedRows); }},
    {"excluded columns",
     [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.excludedColumns, b.excludedColumns); }},
    {"copies", [](const PageSettings& a, const PageSettings& b) { return a.copies != b.copies; }},
    {"collation",
     [](const PageSettings& a, const PageSettings& b) {
       return a.collate != b.collate || a.backToFrontOrder != b.backToFrontOrder;
     }},
    {"header", [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.headerText, b.headerText); }},
    {"footer", [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.footerText, b.footerText); }},
    {"header and footer font",
     [](const PageSettings& a, const PageSettings& b) {
       return std::memcmp(&a.headerFont, &b.headerFont, sizeof a.headerFont) != 0 ||
              a.headerColorSet != b.headerColorSet || (a.headerColorSet != 0 && a.headerColor != b.headerColor);
     }},
    {"header and footer on the first page",
     [](const PageSettings& a, const PageSettings& b) { return a.onFirstPage != b.onFirstPage; }},
    {"margins",
     [](const PageSettings& a, const PageSettings& b) {
       return a.marginLeft != b.marginLeft || a.marginRight != b.marginRight || a.marginTop != b.marginTop ||
              a.marginBottom != b.marginBottom;
     }},
    {"pages per sheet",
     [](const PageSettings& a, const PageSettings& b) {
       return a.pagesPerSheetRows != b.pagesPerSheetRows || a.pagesPerSheetColumns != b.pagesPerSheetColumns;
     }},
    {"headings",
     [](const PageSettings& a, const PageSettings& b) {
       return a.rowHeadings != b.rowHeadings || a.columnHeadings != b.columnHeadings;
     }},
    {"alignment", [](const PageSettings& a, const PageSettings& b) { return a.alignment != b.alignment; }},
};

// A margin as an Excel 2003 XML file gives it back: in inches to the
// thousandth.
double ExcelMargin(double millimetres) {
  char inches[kExcelLengthTextSize];
  MillimetresToInchesText(millimetres, inches, sizeof inches);
  return InchesToMillimetres(std::strtod(inches, nullptr));
}

template <typename T>
T Within(T value, T lowest, T highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

// The settings an Excel 2003 XML file gives back: a new worksheet's, with
// what the file writes read over them.
PageSettings ExcelGivesBack(const PageSettings& held, const PageSettings& fresh) {
  PageSettings back;
  std::memcpy(&back, &fresh, sizeof back);
  if (held.landscape != 0)
    back.landscape = 1;
  back.alignment = uint8_t(fresh.alignment | (held.alignment & kExcelCentring));
  if (held.firstPageNumber > 1)
    back.firstPageNumber = held.firstPageNumber;
  std::memcpy(back.headerText, held.headerText, sizeof back.headerText);
  std::memcpy(back.footerText, held.footerText, sizeof back.footerText);
  back.headerText[kPageTextSize - 1] = '\0';
  back.footerText[kPageTextSize - 1] = '\0';
  back.marginLeft = ExcelMargin(held.marginLeft);
  back.marginRight = ExcelMargin(held.marginRight);
  back.marginTop = ExcelMargin(held.marginTop);
  back.marginBottom = ExcelMargin(held.marginBottom);
  back.scale = Within<uint16_t>(held.scale, 10, 1000);
  back.copies = Within<uint16_t>(held.copies, 1, 65535);
  if (held.columnHeadings == 0) {
    back.rowHeadings = 0;
    back.columnHeadings = 0;
  }
  return back;
}

}  // namespace

std::string LostPageSettings(const PageSettings& held, bool excelXml) {
  PageSettings fresh;
  InitPageSettings(&fresh);
  const PageSettings back = excelXml ? ExcelGivesBack(held, fresh) : fresh;
  std::string lost;
  for (const SettingDifference& setting : kSettings) {
    if (!setting.differs(held, back))
      continue;
    if (!lost.empty())
      lost.append(", ");
    lost.append(setting.name);
  }
  // The file derives them from the top and bottom margins it keeps.
  if (!excelXml && (held.headerMargin != fresh.headerMargin || held.footerMargin != fresh.footerMargin))
    lost.append(lost.empty() ? "header and footer margins" : ", header and footer margins");
  return lost;
}
