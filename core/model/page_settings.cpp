#include "core/model/page_settings.h"

#include <cstring>

#include "core/base/range_list.h"
#include "core/base/scheme_colors.h"
#include "core/cells/cell_record.h"

void InitPageSettings(PageSettings* settings) {
  std::memset(settings, 0, sizeof *settings);
  settings->scale = 100;
  settings->firstPageNumber = 1;
  settings->copies = 1;
  settings->headerMargin = 12.7;
  settings->footerMargin = 20.32;
  std::strcpy(settings->headerText, "&c Document: &f");
  std::strcpy(settings->footerText, "&c &p");
  settings->headerColorSet = 1;
  settings->headerColor = GetSchemeColor(kSchemeWindowText);
  settings->onFirstPage = 1;
  settings->marginLeft = 12.7;
  settings->marginRight = 12.7;
  settings->marginTop = 20.32;
  settings->marginBottom = 27.939;
  settings->pagesPerSheetRows = 1;
  settings->pagesPerSheetColumns = 1;
  settings->rowHeadings = 1;
  settings->columnHeadings = 1;
}

void SelectPrintCells(PageSettings* settings, uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn,
                      uint32_t lastRow) {
  settings->printRangeKind = kPrintSelectedCells;
  PrintSelectionRange& range = settings->selectionRange;
  range.firstColumn = firstColumn;
  range.firstRow = firstRow;
  range.lastColumn = lastColumn;
  range.lastRow = lastRow;
  // 1 for whole rows, 8 for whole columns, 9 for any other rectangle.
  const bool wholeRows = firstColumn == 0 && lastColumn >= kMaxColumn;
  const bool wholeColumns = firstRow == 0 && lastRow >= kMaxRow;
  range.firstKind = range.lastKind = wholeRows && !wholeColumns ? 1 : wholeColumns && !wholeRows ? 8 : 9;
}

namespace {

// A stored text may lack its NUL; it is read as far as its field goes.
bool InList(const char (&field)[kPageTextSize], uint32_t number, uint32_t maximum) {
  char text[kPageTextSize + 1];
  std::memcpy(text, field, kPageTextSize);
  text[kPageTextSize] = '\0';
  return RangeListContains(text, number, 1, maximum);
}

}  // namespace

bool PageSettings::IsRowExcluded(uint32_t row) const {
  return row < kMaxPrintRowNumber && InList(excludedRows, row + 1, kMaxPrintRowNumber);
}

bool PageSettings::IsColumnExcluded(uint32_t column) const {
  return column < kMaxPrintColumnNumber && InList(excludedColumns, column + 1, kMaxPrintColumnNumber);
}

bool PageSettings::IsPageSelected(uint32_t page) const {
  if (printRangeKind != kPrintPageList)
    return true;
  return page < kMaxPrintPageNumber && InList(pages, page + 1, kMaxPrintPageNumber);
}
