#ifndef TALVERO_CORE_PAGE_LIST_H
#define TALVERO_CORE_PAGE_LIST_H

// The pages of a workbook's last pagination: pagination fills it, printing
// and the print preview read it, and the callers free it afterwards. It is
// valid only for the worksheet and the print zoom of the last pagination.

#include <cstdint>

#include "core/cells/paged_array.h"

struct PageList {
  PagedArray32 pages;  // 32-byte page records, laid out by pagination
  uint8_t flag = 1;
  uint16_t scaleX = 100;  // percent
  uint16_t scaleY = 100;
};

#endif
