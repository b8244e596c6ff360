#include "core/model/page_list.h"

#include <cstring>

// Records sit byte-aligned in the array's pages: they are copied, never cast.
bool PageList::Get(uint32_t i, PageRecord* page) const {
  const uint8_t* record = pages.At(i);
  if (!record)
    return false;
  std::memcpy(page, record, sizeof *page);
  return true;
}

bool PageList::Put(uint32_t i, const PageRecord& page) {
  uint8_t* record = pages.At(i);
  if (!record)
    return false;
  std::memcpy(record, &page, sizeof page);
  return true;
}
