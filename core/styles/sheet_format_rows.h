#ifndef TALVERO_CORE_SHEET_FORMAT_ROWS_H
#define TALVERO_CORE_SHEET_FORMAT_ROWS_H

// Walks and moves over a row table a page's stretch of records at a time, so
// that passes over millions of rows cost one lookup per page, with or
// without the table's page table.

#include <cstdint>

#include "core/cells/row_table.h"

// The table's records of first..last (cut at the table's end), as
// visit(row, records, count) over stretches that lie within one page.
template <class Table, class Visit>
void ForEachRowStretch(Table& table, uint32_t first, uint32_t last, Visit visit) {
  const uint32_t count = table.Count();
  if (count == 0 || first >= count)
    return;
  if (last >= count)
    last = count - 1;
  const uint32_t perPage = table.RecordsPerPage();
  for (uint32_t row = first; row <= last;) {
    uint32_t stretch = perPage - row % perPage;
    if (stretch > last - row + 1)
      stretch = last - row + 1;
    auto* records = table.At(row);
    if (!records)
      return;
    visit(row, records, stretch);
    row += stretch;
  }
}

// Moves count records from index from to index to; both spans lie inside the table.
void MoveRowRecords(RowTable& table, uint32_t from, uint32_t to, uint32_t count);

// Reads a table's records in order, giving 0 past its end.
class RowRecordReader {
 public:
  explicit RowRecordReader(const RowTable& table) : table_(table) {}
  void Restart() {
    next_ = 0;
    left_ = 0;
  }
  uint16_t Next();

 private:
  const RowTable& table_;
  uint32_t next_ = 0;
  const uint16_t* stretch_ = nullptr;
  uint32_t left_ = 0;
};

#endif
