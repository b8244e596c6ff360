#include "core/styles/sheet_format_rows.h"

#include <cstring>

void MoveRowRecords(RowTable& table, uint32_t from, uint32_t to, uint32_t count) {
  if (from == to || count == 0)
    return;
  const uint32_t perPage = table.RecordsPerPage();
  // Stretches that lie within one page on both sides; moving down the table
  // copies from the end so that no record is overwritten before it is read.
  if (to > from) {
    uint32_t fromEnd = from + count;
    uint32_t toEnd = to + count;
    while (count) {
      uint32_t stretch = count;
      if (stretch > (fromEnd - 1) % perPage + 1)
        stretch = (fromEnd - 1) % perPage + 1;
      if (stretch > (toEnd - 1) % perPage + 1)
        stretch = (toEnd - 1) % perPage + 1;
      uint16_t* target = table.At(toEnd - stretch);
      const uint16_t* source = table.At(fromEnd - stretch);
      if (!target || !source)
        return;
      std::memmove(target, source, stretch * sizeof(uint16_t));
      fromEnd -= stretch;
      toEnd -= stretch;
      count -= stretch;
    }
  } else {
    while (count) {
      uint32_t stretch = count;
      if (stretch > perPage - from % perPage)
        stretch = perPage - from % perPage;
      if (stretch > perPage - to % perPage)
        stretch = perPage - to % perPage;
      uint16_t* target = table.At(to);
      const uint16_t* source = table.At(from);
      if (!target || !source)
        return;
      std::memmove(target, source, stretch * sizeof(uint16_t));
      from += stretch;
      to += stretch;
      count -= stretch;
    }
  }
}

uint16_t RowRecordReader::Next() {
  if (next_ >= table_.Count()) {
    ++next_;
    return 0;
  }
  if (left_ == 0) {
    const uint32_t perPage = table_.RecordsPerPage();
    stretch_ = table_.At(next_);
    if (!stretch_) {
      ++next_;
      return 0;
    }
    left_ = perPage - next_ % perPage;
    if (left_ > table_.Count() - next_)
      left_ = table_.Count() - next_;
  }
  ++next_;
  --left_;
  return *stretch_++;
}
