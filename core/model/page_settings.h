#ifndef TALVERO_CORE_PAGE_SETTINGS_H
#define TALVERO_CORE_PAGE_SETTINGS_H

// How a worksheet is printed. Every worksheet owns one record; files and the
// automation server copy all 1152 bytes as they stand, so every offset and
// reserved byte is fixed and the record holds no pointer.

#include <cstddef>
#include <cstdint>

#include "core/styles/style_record.h"

constexpr size_t kPageTextSize = 128;  // NUL-terminated, at most 127 characters

// The largest numbers the lists of rows, columns and pages accept.
constexpr uint32_t kMaxPrintRowNumber = 2097152;
constexpr uint32_t kMaxPrintColumnNumber = 2047;
constexpr uint32_t kMaxPrintPageNumber = 2147483647;
// The largest first page number the native files keep: both write it as a
// 16-bit number and read 65,535 back as this.
constexpr uint16_t kMaxFirstPageNumber = 65534;

enum PrintRangeKind : uint8_t {
  kPrintAll = 0,
  kPrintSelectedCells = 1,
  kPrintContainer = 2,
  kPrintSelection = 3,  // resolved to 1 or 2 just before printing
  kPrintPageList = 4,
};

#pragma pack(push, 1)

// The selected cells for kPrintSelectedCells; rows and columns from 0. Each
// kind byte is 8 for whole columns, 1 for whole rows, 9 otherwise.
struct PrintSelectionRange {
  uint16_t firstColumn;
  uint8_t reserved1[2];
  uint32_t firstRow;
  uint8_t firstKind;
  uint8_t reserved2[3];
  uint16_t lastColumn;
  uint8_t reserved3[2];
  uint32_t lastRow;
  uint8_t lastKind;
};

// Lengths are millimetres.
struct PageSettings {
  uint8_t reserved1;
  char printerName[kPageTextSize];
  char sheetSizeName[kPageTextSize];  // the paper's form name
  uint8_t landscape;
  uint8_t reserved2[2];
  uint8_t printRangeKind;  // PrintRangeKind
  uint8_t reserved3[3];
  PrintSelectionRange selectionRange;
  uint8_t reserved4[3];
  uint16_t containerId;  // for kPrintContainer
  uint8_t fitToSheetSize;
  uint8_t reserved5;
  uint16_t scale;            // percent
  uint16_t firstPageNumber;
  char pages[kPageTextSize];            // page list text for kPrintPageList
  char excludedRows[kPageTextSize];     // row numbers from 1
  char excludedColumns[kPageTextSize];  // column numbers from 1
  uint16_t copies;
  uint8_t collate;
  uint8_t backToFrontOrder;
  uint8_t reserved6[4];
  double headerMargin;  // from the top edge of the paper
  double footerMargin;  // from the bottom edge of the paper
  char headerText[kPageTextSize];  // header and footer codes: "&" and a letter
  char footerText[kPageTextSize];
  FontRecord headerFont;  // of header and footer
  uint8_t headerColorSet;
  uint32_t headerColor;
  uint8_t onFirstPage;  // header and footer also on the first page
  uint8_t reserved7[3];
  double marginLeft;
  double marginRight;
  double marginTop;
  double marginBottom;
  uint8_t pagesPerSheetRows;
  uint8_t pagesPerSheetColumns;
  uint8_t alignment;  // of a page in its place on the sheet
  uint8_t reserved8[5];
  uint8_t rowHeadings;
  uint8_t columnHeadings;
  uint8_t reserved9[6];

  // Whether a row or column (from 0) is left out of print: its number (from
  // 1) lies in a pair of excludedRows or excludedColumns. False for an empty
  // or malformed list.
  bool IsRowExcluded(uint32_t row) const;
  bool IsColumnExcluded(uint32_t column) const;
  // Whether the page (from 0 in the split) is printed: always unless the
  // range kind is kPrintPageList, then when its number lies in `pages`.
  bool IsPageSelected(uint32_t page) const;
};

#pragma pack(pop)

static_assert(sizeof(PrintSelectionRange) == 21, "selection range is 21 bytes");
static_assert(offsetof(PrintSelectionRange, firstRow) == 4, "");
static_assert(offsetof(PrintSelectionRange, firstKind) == 8, "");
static_assert(offsetof(PrintSelectionRange, lastColumn) == 12, "");
static_assert(offsetof(PrintSelectionRange, lastRow) == 16, "");
static_assert(offsetof(PrintSelectionRange, lastKind) == 20, "");

static_assert(sizeof(PageSettings) == 1152, "page settings are 1152 bytes");
static_assert(offsetof(PageSettings, printerName) == 1, "");
static_assert(offsetof(PageSettings, sheetSizeName) == 129, "");
static_assert(offsetof(PageSettings, landscape) == 257, "");
static_assert(offsetof(PageSettings, printRangeKind) == 260, "");
static_assert(offsetof(PageSettings, selectionRange) == 264, "");
static_assert(offsetof(PageSettings, containerId) == 288, "");
static_assert(offsetof(PageSettings, fitToSheetSize) == 290, "");
static_assert(offsetof(PageSettings, scale) == 292, "");
static_assert(offsetof(PageSettings, firstPageNumber) == 294, "");
static_assert(offsetof(PageSettings, pages) == 296, "");
static_assert(offsetof(PageSettings, excludedRows) == 424, "");
static_assert(offsetof(PageSettings, excludedColumns) == 552, "");
static_assert(offsetof(PageSettings, copies) == 680, "");
static_assert(offsetof(PageSettings, collate) == 682, "");
static_assert(offsetof(PageSettings, backToFrontOrder) == 683, "");
static_assert(offsetof(PageSettings, headerMargin) == 688, "");
static_assert(offsetof(PageSettings, footerMargin) == 696, "");
static_assert(offsetof(PageSettings, headerText) == 704, "");
static_assert(offsetof(PageSettings, footerText) == 832, "");
static_assert(offsetof(PageSettings, headerFont) == 960, "");
static_assert(offsetof(PageSettings, headerColorSet) == 1095, "");
static_assert(offsetof(PageSettings, headerColor) == 1096, "");
static_assert(offsetof(PageSettings, onFirstPage) == 1100, "");
static_assert(offsetof(PageSettings, marginLeft) == 1104, "");
static_assert(offsetof(PageSettings, marginRight) == 1112, "");
static_assert(offsetof(PageSettings, marginTop) == 1120, "");
static_assert(offsetof(PageSettings, marginBottom) == 1128, "");
static_assert(offsetof(PageSettings, pagesPerSheetRows) == 1136, "");
static_assert(offsetof(PageSettings, pagesPerSheetColumns) == 1137, "");
static_assert(offsetof(PageSettings, alignment) == 1138, "");
static_assert(offsetof(PageSettings, rowHeadings) == 1144, "");
static_assert(offsetof(PageSettings, columnHeadings) == 1145, "");

// Clears all 1152 bytes, then sets the defaults of a new worksheet: portrait,
// whole worksheet, 100 percent from page 1, one copy, the header
// "&c Document: &f" and the footer "&c &p" in the window-text colour, also on
// the first page, one page per sheet, row and column headings.
void InitPageSettings(PageSettings* settings);
// Prints the rectangle of cells (rows and columns from 0): kind
// kPrintSelectedCells with the rectangle as its selection range, each kind
// byte telling whole rows, whole columns or any other rectangle.
void SelectPrintCells(PageSettings* settings, uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn,
                      uint32_t lastRow);

#endif
