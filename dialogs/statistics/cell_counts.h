#ifndef TALVERO_DIALOGS_CELL_COUNTS_H
#define TALVERO_DIALOGS_CELL_COUNTS_H

// What the statistics dialog shows of a worksheet: its cells by kind, its
// formulas by their results, and its containers, each count as the general
// number format with thousands separators writes it.

#include <cstddef>
#include <cstdint>

class CWorkSheet;
struct RegionalSettings;

struct CellCounts {
  uint32_t total;  // texts + numbers + formulas
  uint32_t texts;
  uint32_t numbers;
  uint32_t formulas;  // the four kinds of formulas below together
  uint32_t textFormulas;
  uint32_t numberFormulas;
  uint32_t arrayFormulas;
  uint32_t errorFormulas;
  uint32_t containers;
};

// A formula counts once: as an error formula when it holds an error, else as
// an array formula, else by its text or number result.
CellCounts CountCells(const CWorkSheet& sheet);

// The statistics list's ten columns: the worksheet's path, then the counts
// in the order of CellCounts.
constexpr int kStatisticsColumnCount = 10;
extern const char* const kStatisticsColumnTitles[kStatisticsColumnCount];
// The count shown in list column 1 to 9.
uint32_t CountOfColumn(const CellCounts& counts, int column);

// The count in the separators' general number format with thousands
// separators ("12,345").
void FormatCount(uint32_t count, const RegionalSettings* separators, char* buffer, size_t size);

#endif
