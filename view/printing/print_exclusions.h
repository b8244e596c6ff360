#ifndef TALVERO_VIEW_PRINT_EXCLUSIONS_H
#define TALVERO_VIEW_PRINT_EXCLUSIONS_H

// The rows and columns a page leaves out of its run of rows and columns,
// read once per pagination or page rather than once per row: those the page
// settings exclude (as PageSettings::IsRowExcluded and IsColumnExcluded
// answer), and the frozen row and column, which every page prints ahead of
// its own rows and columns and must not print a second time.

#include <cstdint>

#include "core/base/range_list.h"
#include "core/model/page_settings.h"

class CWorkSheet;

class PrintExclusions {
 public:
  explicit PrintExclusions(const CWorkSheet* sheet);

  bool Row(uint32_t row) const { return (frozenRow_ && row == frozenRowIndex_) || Contains(rows_, rowPairs_, row + 1); }
  bool Column(uint32_t column) const {
    return (frozenColumn_ && column == frozenColumnIndex_) || Contains(columns_, columnPairs_, column + 1);
  }

 private:
  static bool Contains(const RangePair* pairs, int count, uint32_t number);

  RangePair rows_[kRangeListMaxPairs];
  RangePair columns_[kRangeListMaxPairs];
  int rowPairs_ = 0;
  int columnPairs_ = 0;
  bool frozenRow_ = false;
  bool frozenColumn_ = false;
  uint32_t frozenRowIndex_ = 0;
  uint32_t frozenColumnIndex_ = 0;
};

#endif
