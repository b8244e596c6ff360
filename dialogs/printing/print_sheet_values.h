#ifndef TALVERO_DIALOGS_PRINT_SHEET_VALUES_H
#define TALVERO_DIALOGS_PRINT_SHEET_VALUES_H

// What the print sheet's three pages show, as their controls hold it, and
// the plain rules between it and a worksheet's page settings: the record
// turned into texts and choices, each page's checks in order with the
// control to focus and the message to show, and the checked values stored
// back. Lengths are millimetres in the record and centimetres or inches in
// the fields.

#include <cstddef>
#include <cstdint>

#include "core/model/page_settings.h"
#include "services/convert/font_conversion.h"

// Control identifiers of the pages (their templates' ids).
namespace print_sheet_ids {
// General.
constexpr int kPrinterList = 215;
constexpr int kProperties = 1014;
constexpr int kLocation = 394;
constexpr int kJobs = 395;
constexpr int kComment = 396;
constexpr int kPrintToFile = 216;
constexpr int kRangeAll = 400;
constexpr int kRangeSelection = 189;
constexpr int kRangePages = 282;
constexpr int kPages = 205;
constexpr int kCopies = 257;
constexpr int kCopiesSpin = 369;
constexpr int kCollate = 218;
constexpr int kPicture = 399;
// Layout.
constexpr int kPaper = 215;
constexpr int kBin = 229;
constexpr int kPortrait = 400;
constexpr int kLandscape = 189;
constexpr int kSheetRows = 205;
constexpr int kSheetRowsSpin = 369;
constexpr int kSheetColumns = 257;
constexpr int kSheetColumnsSpin = 370;
constexpr int kMarginLeft = 405;
constexpr int kMarginLeftSpin = 1008;
constexpr int kMarginRight = 207;
constexpr int kMarginRightSpin = 1009;
constexpr int kMarginTop = 1006;
constexpr int kMarginTopSpin = 1010;
constexpr int kMarginBottom = 1005;
constexpr int kMarginBottomSpin = 1011;
constexpr int kHorizontalAlign = 1019;
constexpr int kVerticalAlign = 1021;
constexpr int kHeaderText = 259;
constexpr int kHeaderPosition = 406;
constexpr int kHeaderPositionSpin = 1012;
constexpr int kHeaderFont = 408;
constexpr int kFooterText = 208;
constexpr int kFooterPosition = 210;
constexpr int kFooterPositionSpin = 1013;
constexpr int kFirstUnitLabel = 394;
constexpr int kLastUnitLabel = 399;
// Content.
constexpr int kScaleChoice = 400;
constexpr int kFitChoice = 189;
constexpr int kScale = 205;
constexpr int kScaleSpin = 369;
constexpr int kOnFirstPage = 216;
constexpr int kFirstPage = 257;
constexpr int kFirstPageSpin = 370;
constexpr int kExcludedRows = 405;
constexpr int kExcludedColumns = 207;
constexpr int kColumnHeadings = 218;
constexpr int kRowHeadings = 1001;
}  // namespace print_sheet_ids

// Strings of the checks' messages.
constexpr unsigned kPrintIntegerRangeMessage = 130;  // "Please enter an integer between %1!d! and %2!d!."
constexpr unsigned kPrintTooLongMessage = 131;       // "Please enter no more than %1!d! characters."
constexpr unsigned kPrintMinimumMarginMessage = 132;  // "The minimum margin for the current printer is %1!s!."
constexpr unsigned kPrintInvalidValueMessage = 133;   // "Invalid value."
// "The margins, header and footer must leave room to print in the printable
// area, which measures %1!s!."
constexpr unsigned kPrintNoRoomMessage = 134;
// "Please enter a number not smaller than %1!s!, the minimum margin for the
// current printer."
constexpr unsigned kPrintLengthNumberMessage = 176;

// Room for a field's text: more than the record keeps, so that a text too
// long can still be read and refused.
constexpr size_t kPrintFieldCapacity = 256;
constexpr size_t kPrintNumberCapacity = 32;

struct PrintSheetValues {
  // General.
  int rangeChoice;  // 0 whole worksheet, 1 the selection, 2 the pages listed
  char pages[kPrintFieldCapacity];
  char copies[kPrintNumberCapacity];
  bool collate;
  // Layout.
  char paperName[kPrintFieldCapacity];
  bool landscape;
  char sheetRows[kPrintNumberCapacity];
  char sheetColumns[kPrintNumberCapacity];
  char marginLeft[kPrintNumberCapacity];
  char marginRight[kPrintNumberCapacity];
  char marginTop[kPrintNumberCapacity];
  char marginBottom[kPrintNumberCapacity];
  char headerPosition[kPrintNumberCapacity];
  char footerPosition[kPrintNumberCapacity];
  int horizontalItem;  // 0 left, 1 centre, 2 right
  int verticalItem;    // 0 top, 1 middle, 2 bottom
  char headerText[kPrintFieldCapacity];
  char footerText[kPrintFieldCapacity];
  LogFont headerFont;
  uint32_t headerColor;
  // Content.
  bool fitToPaper;
  char scale[kPrintNumberCapacity];
  bool onFirstPage;
  char firstPage[kPrintNumberCapacity];
  char excludedRows[kPrintFieldCapacity];
  char excludedColumns[kPrintFieldCapacity];
  bool columnHeadings;
  bool rowHeadings;
};

// How lengths are shown: centimetres, or inches in imperial mode, with the
// current decimal separator.
struct LengthUnit {
  bool imperial;
  char decimalSeparator;
};

// The record's lengths in the unit, and back; 1 inch is 25.3995 mm.
double MillimetresToShown(double millimetres, const LengthUnit& unit);
double ShownToMillimetres(double shown, const LengthUnit& unit);

void LoadPrintSheetValues(const PageSettings& settings, const LengthUnit& unit, PrintSheetValues* values);
// The values, checked, into the record; what the pages do not show stays.
void StorePrintSheetValues(const PrintSheetValues& values, const LengthUnit& unit, PageSettings* settings);

// A refused check: the control to focus and the message (0: only a beep),
// with its number arguments or its text argument.
struct PrintSheetFailure {
  int controlId;
  unsigned messageId;
  int first;
  int second;
  char text[kPrintNumberCapacity];
};

// The printer's unprintable edges, in millimetres.
struct PrinterMinimumMargins {
  double left;
  double top;
  double right;
  double bottom;
};

// The size in millimetres of the paper's printable area, by which the page
// frame measures: lengths across by its width, lengths down by its height.
struct PaperExtent {
  double width;
  double height;
};

// Each page's checks in their order; false with the first that fails. Every
// refusal names what its field takes. The Layout page's lengths must also
// leave room to print: the left and right margins less than the printable
// area's width together, the top and bottom margins less than its height,
// and the header and footer lines within it.
bool CheckGeneralPage(const PrintSheetValues& values, PrintSheetFailure* failure);
bool CheckLayoutPage(const PrintSheetValues& values, const LengthUnit& unit, const PrinterMinimumMargins& minimum,
                     const PaperExtent& paper, PrintSheetFailure* failure);
bool CheckContentPage(const PrintSheetValues& values, PrintSheetFailure* failure);

#endif
