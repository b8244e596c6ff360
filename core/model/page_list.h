#ifndef TALVERO_CORE_PAGE_LIST_H
#define TALVERO_CORE_PAGE_LIST_H

// The pages of a workbook's last pagination: pagination fills it, printing
// and the print preview read it, and the callers free it afterwards. It is
// valid only for the worksheet and the print zoom of the last pagination.

#include <cstddef>
#include <cstdint>

#include "core/cells/paged_array.h"

// One printed page: a rectangle of cells (or, for a printed container, the
// container's id) with its size in device pixels at the final print zoom.
struct PageRecord {
  uint16_t containerId;
  uint32_t firstRow;  // rows and columns from 0
  uint16_t firstColumn;
  uint32_t lastRow;
  uint16_t lastColumn;
  uint32_t width;
  uint32_t height;
  // Text of the page's rows runs on past its last column, so the next page
  // across is printed even where the print area ends.
  uint8_t continuesRight;
  uint8_t selected;
};
static_assert(sizeof(PageRecord) == 32, "a page record is 32 bytes");
static_assert(offsetof(PageRecord, firstRow) == 4, "");
static_assert(offsetof(PageRecord, firstColumn) == 8, "");
static_assert(offsetof(PageRecord, lastRow) == 12, "");
static_assert(offsetof(PageRecord, lastColumn) == 16, "");
static_assert(offsetof(PageRecord, width) == 20, "");
static_assert(offsetof(PageRecord, height) == 24, "");
static_assert(offsetof(PageRecord, continuesRight) == 28, "");
static_assert(offsetof(PageRecord, selected) == 29, "");

struct PageList {
  PagedArray32 pages;  // PageRecords
  uint8_t flag = 1;
  uint16_t scaleX = 100;  // percent
  uint16_t scaleY = 100;

  uint32_t Count() const { return pages.Count(); }
  // Page i copied out, or false past the end.
  bool Get(uint32_t i, PageRecord* page) const;
  bool Put(uint32_t i, const PageRecord& page);
  bool Append(const PageRecord& page) { return pages.Append(&page); }
};

#endif
