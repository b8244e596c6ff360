#ifndef TALVERO_BENCH_TOTAL_PASSES_H
#define TALVERO_BENCH_TOTAL_PASSES_H

// The passes of the benchmarks that time a total above its inputs against
// the same total below them: each pass timed after the same edit in both
// workbooks, and the totals compared bit for bit.

#include <cstdint>
#include <cstring>
#include <string>

#include "bench/cpu_seconds.h"
#include "bench/typed_cell.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

// Whether two total cells hold the same value, bit for bit.
inline bool SameTotalCells(const CellRecord* x, const CellRecord* y) {
  if (!x || !y || x->Type() != y->Type() || x->HasCachedText() != y->HasCachedText()) return false;
  const double numbers[2] = {x->CachedNumber(), y->CachedNumber()};
  return std::memcmp(&numbers[0], &numbers[1], sizeof(double)) == 0;
}

// The pass after typed is typed at (row, column), or after nothing, timed
// in milliseconds; the reference given the same edit and pass.
inline double TimedPass(CWorkBook& book, CWorkBook& reference, const char* typed, uint32_t row, uint16_t column,
                        bool* wrong) {
  const double start = CpuSeconds();
  if (typed) *wrong = !TypeCell(book, *book.activeWorksheet, typed, row, column) || *wrong;
  book.Recalculate(nullptr);
  const double seconds = CpuSeconds() - start;
  if (typed) *wrong = !TypeCell(reference, *reference.activeWorksheet, typed, row, column) || *wrong;
  reference.Recalculate(nullptr);
  return seconds * 1e3;
}

// A formula's text with its rows filled in: {n} the rows, {h} half of them,
// {2n} twice as many.
inline std::string Expand(const char* text, uint32_t rows) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (std::strncmp(p, "{n}", 3) == 0) {
      out += std::to_string(rows);
      p += 2;
    } else if (std::strncmp(p, "{h}", 3) == 0) {
      out += std::to_string(rows / 2);
      p += 2;
    } else if (std::strncmp(p, "{2n}", 4) == 0) {
      out += std::to_string(2 * uint64_t(rows));
      p += 3;
    } else {
      out += *p;
    }
  }
  return out;
}

// The total's row: the first above its inputs, the one after them below.
inline uint32_t TotalRow(bool above, uint32_t rows) { return above ? 0 : rows; }

#endif
