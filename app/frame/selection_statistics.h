#ifndef TALVERO_APP_FRAME_SELECTION_STATISTICS_H
#define TALVERO_APP_FRAME_SELECTION_STATISTICS_H

// What the status bar says about the selected cells: the sum, minimum and
// maximum of their numbers and how many numbers and texts they hold.

#include <cstddef>
#include <cstdint>

class CellStore;
struct RegionalSettings;

struct SelectionStatistics {
  double sum;
  double minimum;  // 0 when there is no number
  double maximum;  // 0 when there is no number
  uint32_t numbers;
  uint32_t texts;
};

// Cells carrying an error code are left out. Numbers and formulas with a
// numeric result count as numbers, texts and formulas with a text result as
// texts.
SelectionStatistics ComputeSelectionStatistics(const CellStore& store, uint16_t firstColumn,
                                               uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow);

// Room for any text FormatSelectionStatus writes, with its NUL.
constexpr size_t kSelectionStatusCapacity = 160;

// The first status pane's text: the sum, minimum, maximum and counts when
// there are numbers, the counts alone for texts only, else "Ready". The
// numbers are written with the separators given (null: generic).
void FormatSelectionStatus(const SelectionStatistics& statistics, const RegionalSettings* separators,
                           char* buffer, size_t size);

#endif
