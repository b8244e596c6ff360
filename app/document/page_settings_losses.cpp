#include "app/document/page_settings_losses.h"

#include <cstdlib>
#include <cstring>

#include "core/model/page_settings.h"
#include "files/excel_xml/excel_lengths.h"

namespace {

// The alignment bits an Excel 2003 XML file writes as centring.
constexpr uint8_t kExcelCentring = 2 | 16;

// What an Excel 2003 XML file does with a setting.
enum ExcelFate : uint8_t { kExcelLoses, kExcelKeeps, kExcelInInches };

struct SettingDifference {
  const char* name;
  bool (*differs)(const PageSettings& a, const PageSettings& b);
  ExcelFate excel;
};

template <size_t N>
bool TextDiffers(const char (&a)[N], const char (&b)[N]) {
  return strncmp(a, b, N) != 0;
}

const SettingDifference kSettings[] = {
    {"printer", [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.printerName, b.printerName); },
     kExcelLoses},
    {"paper",
     [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.sheetSizeName, b.sheetSizeName); },
     kExcelLoses},
    {"orientation", [](const PageSettings& a, const PageSettings& b) { return a.landscape != b.landscape; }, kExcelKeeps},
    {"print range",
     [](const PageSettings& a, const PageSettings& b) {
       return a.printRangeKind != b.printRangeKind || a.containerId != b.containerId ||
              std::memcmp(&a.selectionRange, &b.selectionRange, sizeof a.selectionRange) != 0 ||
              TextDiffers(a.pages, b.pages);
     },
     kExcelLoses},
    {"fit to paper", [](const PageSettings& a, const PageSettings& b) { return a.fitToSheetSize != b.fitToSheetSize; },
     kExcelLoses},
    {"scale", [](const PageSettings& a, const PageSettings& b) { return a.scale != b.scale; }, kExcelKeeps},
    {"first page number",
     [](const PageSettings& a, const PageSettings& b) { return a.firstPageNumber != b.firstPageNumber; }, kExcelKeeps},
    {"excluded rows",
     [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.excludedRows, b.excludedRows); },
     kExcelLoses},
    {"excluded columns",
     [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.excludedColumns, b.excludedColumns); },
     kExcelLoses},
    {"copies", [](const PageSettings& a, const PageSettings& b) { return a.copies != b.copies; }, kExcelKeeps},
    {"collation",
     [](const PageSettings& a, const PageSettings& b) {
       return a.collate != b.collate || a.backToFrontOrder != b.backToFrontOrder;
     },
     kExcelLoses},
    {"header", [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.headerText, b.headerText); },
     kExcelKeeps},
    {"footer", [](const PageSettings& a, const PageSettings& b) { return TextDiffers(a.footerText, b.footerText); },
     kExcelKeeps},
    {"header and footer font",
     [](const PageSettings& a, const PageSettings& b) {
       return std::memcmp(&a.headerFont, &b.headerFont, sizeof a.headerFont) != 0 ||
              a.headerColorSet != b.headerColorSet || (a.headerColorSet != 0 && a.headerColor != b.headerColor);
     },
     kExcelLoses},
    {"header and footer on the first page",
     [](const PageSettings& a, const PageSettings& b) { return a.onFirstPage != b.onFirstPage; },
     kExcelLoses},
    {"margins",
     [](const PageSettings& a, const PageSettings& b) {
       return a.marginLeft != b.marginLeft || a.marginRight != b.marginRight || a.marginTop != b.marginTop ||
              a.marginBottom != b.marginBottom;
     },
     kExcelInInches},
    {"pages per sheet",
     [](const PageSettings& a, const PageSettings& b) {
       return a.pagesPerSheetRows != b.pagesPerSheetRows || a.pagesPerSheetColumns != b.pagesPerSheetColumns;
     },
     kExcelLoses},
    {"headings",
     [](const PageSettings& a, const PageSettings& b) {
       return a.rowHeadings != b.rowHeadings || a.columnHeadings != b.columnHeadings;
     },
     kExcelKeeps},
};

// An Excel 2003 XML file gives margins in inches to the thousandth.
bool ExcelKeepsMargin(double millimetres) {
  char inches[kExcelLengthTextSize];
  MillimetresToInchesText(millimetres, inches, sizeof inches);
  return InchesToMillimetres(std::strtod(inches, nullptr)) == millimetres;
}

bool ExcelKeepsMargins(const PageSettings& held) {
  return ExcelKeepsMargin(held.marginLeft) && ExcelKeepsMargin(held.marginRight) &&
         ExcelKeepsMargin(held.marginTop) && ExcelKeepsMargin(held.marginBottom);
}

}  // namespace

std::string LostPageSettings(const PageSettings& held, bool excelXml) {
  PageSettings fresh;
  InitPageSettings(&fresh);
  std::string lost;
  const auto add = [&](const char* name) {
    if (!lost.empty())
      lost.append(", ");
    lost.append(name);
  };
  for (const SettingDifference& setting : kSettings) {
    if (!setting.differs(held, fresh))
      continue;
    if (!excelXml || setting.excel == kExcelLoses || (setting.excel == kExcelInInches && !ExcelKeepsMargins(held)))
      add(setting.name);
  }
  if (excelXml) {
    // Only the centring of the alignment is written; the row headings go
    // with the column headings.
    if ((held.alignment & ~kExcelCentring) != (fresh.alignment & ~kExcelCentring))
      add("alignment");
    if (held.rowHeadings != held.columnHeadings && held.columnHeadings != 0)
      add("headings");
  } else {
    if (held.alignment != fresh.alignment)
      add("alignment");
    if (held.headerMargin != fresh.headerMargin || held.footerMargin != fresh.footerMargin)
      add("header and footer margins");
  }
  return lost;
}
