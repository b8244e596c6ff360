#include "dialogs/printing/print_sheet_values.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "dialogs/controls/parsed_text.h"
#include "services/convert/number_list.h"
#include "services/convert/number_text.h"

namespace {

constexpr double kMillimetresPerInch = 25.3995;
constexpr int kMaxCopies = 65534;
constexpr int kMaxPerSheet = 10;
constexpr int kMinScale = 10;
constexpr int kMaxScale = 1000;
constexpr int kMaxListedPage = 16777215;
constexpr int kMaxRecordText = static_cast<int>(kPageTextSize) - 1;

// A field of the record, which may lack its NUL, into a text of the page.
template <size_t N>
void CopyField(const char (&field)[kPageTextSize], char (&out)[N]) {
  static_assert(N > kPageTextSize, "a page's text holds the whole field");
  std::memcpy(out, field, kPageTextSize);
  out[kPageTextSize] = '\0';
}

// A text of the page into a field of the record: at most 127 characters and
// always its NUL.
void StoreField(const char* text, char (&field)[kPageTextSize]) {
  std::memset(field, 0, kPageTextSize);
  std::memcpy(field, text, strnlen(text, kPageTextSize - 1));
}

template <size_t N>
void WriteInteger(int value, char (&out)[N]) {
  std::snprintf(out, N, "%d", value);
}

template <size_t N>
void WriteLength(double millimetres, const LengthUnit& unit, int decimals, char (&out)[N]) {
  if (FormatDouble(out, N, unit.decimalSeparator, MillimetresToShown(millimetres, unit), decimals) == 0) out[0] = '\0';
}

double ReadLength(const char* text, const LengthUnit& unit) {
  double shown = 0;
  ParseDouble(text, unit.decimalSeparator, &shown);
  return ShownToMillimetres(shown, unit);
}

int ReadInteger(const char* text) {
  int64_t value = 0;
  ParseIntegerText(text, &value);
  return static_cast<int>(value);
}

int AlignmentItem(uint8_t alignment, int shift) {
  if (alignment & (1 << shift)) return 0;
  if (alignment & (2 << shift)) return 1;
  if (alignment & (4 << shift)) return 2;
  return 0;
}

void Fail(PrintSheetFailure* failure, int controlId, unsigned messageId, int first = 0, int second = 0) {
  failure->controlId = controlId;
  failure->messageId = messageId;
  failure->first = first;
  failure->second = second;
  failure->text[0] = '\0';
}

// An integer field within its limits; any other text, a fraction or letters
// too, is refused with the limits.
bool CheckInteger(const char* text, int minimum, int maximum, int controlId, PrintSheetFailure* failure) {
  int32_t value = 0;
  if (ReadParsedInteger(text, minimum, maximum, &value) == kFieldValue) return true;
  Fail(failure, controlId, kPrintIntegerRangeMessage, minimum, maximum);
  return false;
}

// A length not below the printer's minimum; a negative one is below every
// minimum. Both refusals name the minimum.
bool CheckLength(const char* text, double minimumMillimetres, const LengthUnit& unit, int controlId,
                 PrintSheetFailure* failure) {
  double shown = 0;
  const bool number = ParseDouble(text, unit.decimalSeparator, &shown);
  if (number && ShownToMillimetres(shown, unit) >= minimumMillimetres) return true;
  Fail(failure, controlId, number ? kPrintMinimumMarginMessage : kPrintLengthNumberMessage);
  const double minimum = unit.imperial
                             ? std::trunc(minimumMillimetres * 1000 / kMillimetresPerInch + 0.5) / 1000
                             : minimumMillimetres / 10;
  FormatDouble(failure->text, sizeof failure->text, unit.decimalSeparator, minimum, -1);
  return false;
}

// The printable area's size in the fields' unit, for the message of lengths
// that leave no room: "19.7 x 28.4 cm", or 7.756" x 11.181" in inches.
void DescribePrintableArea(const PaperExtent& paper, const LengthUnit& unit, char* out, size_t size) {
  char width[kFormatDoubleCapacity];
  char height[kFormatDoubleCapacity];
  if (FormatDouble(width, sizeof width, unit.decimalSeparator, MillimetresToShown(paper.width, unit), -1) == 0 ||
      FormatDouble(height, sizeof height, unit.decimalSeparator, MillimetresToShown(paper.height, unit), -1) == 0) {
    out[0] = '\0';
    return;
  }
  std::snprintf(out, size, unit.imperial ? "%s\" x %s\"" : "%s x %s cm", width, height);
}

// Lengths already checked one by one, now together: the page frame keeps
// a positive size and its header and footer lines lie on the paper.
// Otherwise the field most likely mistyped is the one to focus: the larger
// of a pair.
bool CheckRoom(const PrintSheetValues& values, const LengthUnit& unit, const PaperExtent& paper,
               PrintSheetFailure* failure) {
  namespace ids = print_sheet_ids;
  const double left = ReadLength(values.marginLeft, unit);
  const double right = ReadLength(values.marginRight, unit);
  const double top = ReadLength(values.marginTop, unit);
  const double bottom = ReadLength(values.marginBottom, unit);
  int controlId = 0;
  // Written so that an infinite length (1e308 cm in millimetres) fails too.
  if (!(left + right < paper.width))
    controlId = left >= right ? ids::kMarginLeft : ids::kMarginRight;
  else if (!(top + bottom < paper.height))
    controlId = top >= bottom ? ids::kMarginTop : ids::kMarginBottom;
  else if (!(ReadLength(values.headerPosition, unit) < paper.height))
    controlId = ids::kHeaderPosition;
  else if (!(ReadLength(values.footerPosition, unit) < paper.height))
    controlId = ids::kFooterPosition;
  if (controlId == 0) return true;
  Fail(failure, controlId, kPrintNoRoomMessage);
  DescribePrintableArea(paper, unit, failure->text, sizeof failure->text);
  return false;
}

bool CheckList(const char* text, int maximum, int controlId, PrintSheetFailure* failure) {
  if (ParseNumberList(text, nullptr, 0, 1, maximum) < 0) {
    Fail(failure, controlId, kPrintInvalidValueMessage);
    return false;
  }
  if (std::strlen(text) > static_cast<size_t>(kMaxRecordText)) {
    Fail(failure, controlId, kPrintTooLongMessage, kMaxRecordText);
    return false;
  }
  return true;
}

}  // namespace

double MillimetresToShown(double millimetres, const LengthUnit& unit) {
  return unit.imperial ? std::trunc(millimetres * 1000 / kMillimetresPerInch + 0.5) / 1000 : millimetres / 10;
}

double ShownToMillimetres(double shown, const LengthUnit& unit) {
  // Kept to a ten-thousandth of a millimetre, so that one inch is stored as
  // the 25.3995 mm it stands for.
  return unit.imperial ? std::trunc(shown * 10000 * kMillimetresPerInch + 0.5) / 10000 : shown * 10;
}

void LoadPrintSheetValues(const PageSettings& settings, const LengthUnit& unit, PrintSheetValues* values) {
  std::memset(values, 0, sizeof *values);
  const uint8_t kind = settings.printRangeKind;
  values->rangeChoice = kind == kPrintAll ? 0 : kind == kPrintPageList ? 2 : 1;
  CopyField(settings.pages, values->pages);
  CopyField(settings.excludedRows, values->excludedRows);
  CopyField(settings.excludedColumns, values->excludedColumns);
  CopyField(settings.headerText, values->headerText);
  CopyField(settings.footerText, values->footerText);
  CopyField(settings.sheetSizeName, values->paperName);
  values->fitToPaper = settings.fitToSheetSize == 1;
  WriteInteger(settings.scale, values->scale);
  WriteInteger(settings.firstPageNumber, values->firstPage);
  WriteInteger(settings.copies, values->copies);
  values->collate = settings.collate == 1;
  values->onFirstPage = settings.onFirstPage == 1;
  values->rowHeadings = settings.rowHeadings == 1;
  values->columnHeadings = settings.columnHeadings == 1;
  WriteLength(settings.marginLeft, unit, 2, values->marginLeft);
  WriteLength(settings.marginRight, unit, 2, values->marginRight);
  WriteLength(settings.marginTop, unit, 2, values->marginTop);
  WriteLength(settings.marginBottom, unit, 2, values->marginBottom);
  WriteLength(settings.headerMargin, unit, 1, values->headerPosition);
  WriteLength(settings.footerMargin, unit, 1, values->footerPosition);
  values->horizontalItem = AlignmentItem(settings.alignment, 0);
  values->verticalItem = AlignmentItem(settings.alignment, 3);
  WriteInteger(settings.pagesPerSheetRows, values->sheetRows);
  WriteInteger(settings.pagesPerSheetColumns, values->sheetColumns);
  FontRecordToLogFont(settings.headerFont, &values->headerFont);
  values->headerColor = settings.headerColor;
  values->landscape = settings.landscape != 0;
}

void StorePrintSheetValues(const PrintSheetValues& values, const LengthUnit& unit, PageSettings* settings) {
  if (values.rangeChoice == 0) {
    settings->printRangeKind = kPrintAll;
  } else if (values.rangeChoice == 1) {
    settings->printRangeKind = kPrintSelection;
  } else {
    settings->printRangeKind = kPrintPageList;
    StoreField(values.pages, settings->pages);
  }
  StoreField(values.excludedRows, settings->excludedRows);
  StoreField(values.excludedColumns, settings->excludedColumns);
  StoreField(values.headerText, settings->headerText);
  StoreField(values.footerText, settings->footerText);
  StoreField(values.paperName, settings->sheetSizeName);
  if (values.fitToPaper) {
    settings->fitToSheetSize = 1;
  } else {
    settings->fitToSheetSize = 0;
    settings->scale = static_cast<uint16_t>(ReadInteger(values.scale));
  }
  // The check refused what the files cannot keep; this only guards the cast.
  const int firstPage = ReadInteger(values.firstPage);
  settings->firstPageNumber =
      static_cast<uint16_t>(firstPage < 1 ? 1 : firstPage < kMaxFirstPageNumber ? firstPage : kMaxFirstPageNumber);
  settings->copies = static_cast<uint16_t>(ReadInteger(values.copies));
  settings->collate = values.collate ? 1 : 0;
  settings->backToFrontOrder = 0;
  settings->marginLeft = ReadLength(values.marginLeft, unit);
  settings->marginRight = ReadLength(values.marginRight, unit);
  settings->marginTop = ReadLength(values.marginTop, unit);
  settings->marginBottom = ReadLength(values.marginBottom, unit);
  settings->headerMargin = ReadLength(values.headerPosition, unit);
  settings->footerMargin = ReadLength(values.footerPosition, unit);
  const uint8_t horizontal = static_cast<uint8_t>(1 << (values.horizontalItem >= 0 && values.horizontalItem < 3
                                                             ? values.horizontalItem
                                                             : 0));
  const uint8_t vertical = static_cast<uint8_t>(8 << (values.verticalItem >= 0 && values.verticalItem < 3
                                                          ? values.verticalItem
                                                          : 0));
  settings->alignment = static_cast<uint8_t>(horizontal | vertical);
  settings->pagesPerSheetColumns = static_cast<uint8_t>(ReadInteger(values.sheetColumns));
  settings->pagesPerSheetRows = static_cast<uint8_t>(ReadInteger(values.sheetRows));
  LogFontToFontRecord(&settings->headerFont, values.headerFont);
  settings->headerColor = values.headerColor;
  settings->headerColorSet = 1;
  settings->onFirstPage = values.onFirstPage ? 1 : 0;
  settings->rowHeadings = values.rowHeadings ? 1 : 0;
  settings->columnHeadings = values.columnHeadings ? 1 : 0;
  settings->landscape = values.landscape ? 1 : 0;
}

bool CheckGeneralPage(const PrintSheetValues& values, PrintSheetFailure* failure) {
  if (values.pages[0] != '\0' && ParseNumberList(values.pages, nullptr, 0, 1, kMaxListedPage) < 0) {
    Fail(failure, print_sheet_ids::kPages, kPrintIntegerRangeMessage, 1, kMaxListedPage);
    return false;
  }
  return CheckInteger(values.copies, 1, kMaxCopies, print_sheet_ids::kCopies, failure);
}

bool CheckLayoutPage(const PrintSheetValues& values, const LengthUnit& unit, const PrinterMinimumMargins& minimum,
                     const PaperExtent& paper, PrintSheetFailure* failure) {
  namespace ids = print_sheet_ids;
  if (std::strlen(values.headerText) > static_cast<size_t>(kMaxRecordText)) {
    Fail(failure, ids::kHeaderText, kPrintTooLongMessage, kMaxRecordText);
    return false;
  }
  return CheckInteger(values.sheetRows, 1, kMaxPerSheet, ids::kSheetRows, failure) &&
         CheckInteger(values.sheetColumns, 1, kMaxPerSheet, ids::kSheetColumns, failure) &&
         CheckLength(values.marginLeft, minimum.left, unit, ids::kMarginLeft, failure) &&
         CheckLength(values.marginRight, minimum.right, unit, ids::kMarginRight, failure) &&
         CheckLength(values.marginTop, minimum.top, unit, ids::kMarginTop, failure) &&
         CheckLength(values.marginBottom, minimum.bottom, unit, ids::kMarginBottom, failure) &&
         CheckLength(values.headerPosition, minimum.top, unit, ids::kHeaderPosition, failure) &&
         CheckLength(values.footerPosition, minimum.bottom, unit, ids::kFooterPosition, failure) &&
         CheckRoom(values, unit, paper, failure);
}

bool CheckContentPage(const PrintSheetValues& values, PrintSheetFailure* failure) {
  namespace ids = print_sheet_ids;
  return CheckInteger(values.scale, kMinScale, kMaxScale, ids::kScale, failure) &&
         CheckInteger(values.firstPage, 1, kMaxFirstPageNumber, ids::kFirstPage, failure) &&
         CheckList(values.excludedRows, static_cast<int>(kMaxPrintRowNumber), ids::kExcludedRows, failure) &&
         CheckList(values.excludedColumns, static_cast<int>(kMaxPrintColumnNumber), ids::kExcludedColumns, failure);
}
