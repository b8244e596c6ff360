#include "view/printing/print_exclusions.h"

#include <cstring>

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_viewport.h"

namespace {

int ReadList(const char (&field)[kPageTextSize], uint32_t maximum, RangePair* pairs) {
  char text[kPageTextSize + 1];
  std::memcpy(text, field, kPageTextSize);
  text[kPageTextSize] = '\0';
  const int count = ParseRangeList(text, pairs, kRangeListMaxPairs, 1, maximum);
  if (count < 0)
    return 0;  // a malformed list leaves nothing out
  return count < kRangeListMaxPairs ? count : kRangeListMaxPairs;
}

}  // namespace

PrintExclusions::PrintExclusions(const CWorkSheet* sheet) {
  const PageSettings& settings = sheet->pageSettings;
  rowPairs_ = ReadList(settings.excludedRows, kMaxPrintRowNumber, rows_);
  columnPairs_ = ReadList(settings.excludedColumns, kMaxPrintColumnNumber, columns_);
  const FrozenPanes panes = GetFrozenPanes(sheet);
  frozenRow_ = panes.row;
  frozenColumn_ = panes.column;
  frozenRowIndex_ = panes.frozenRow;
  frozenColumnIndex_ = panes.frozenColumn;
}

bool PrintExclusions::Contains(const RangePair* pairs, int count, uint32_t number) {
  for (int i = 0; i < count; ++i)
    if (number >= pairs[i].from && number <= pairs[i].to)
      return true;
  return false;
}
