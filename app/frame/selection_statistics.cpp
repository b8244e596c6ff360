#include "app/frame/selection_statistics.h"

#include <cfloat>
#include <cstdio>

#include "core/cells/cell_store.h"
#include "core/numfmt/double_to_text.h"

SelectionStatistics ComputeSelectionStatistics(const CellStore& store, uint16_t firstColumn,
                                               uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow) {
  // The maximum starts at the lowest double, not at the smallest positive
  // one, so that a selection of negative numbers shows its true maximum.
  SelectionStatistics s{0.0, DBL_MAX, -DBL_MAX, 0, 0};
  CellCursor walk = store.StartRangeWalk(firstRow);
  while (const CellRecord* cell = walk.NextInRange(firstColumn, lastColumn, firstRow, lastRow)) {
    if (cell->ErrorCode() != 0) continue;
    bool isNumber = false;
    double value = 0.0;
    if (cell->IsNumber()) {
      isNumber = true;
      value = cell->Number();
    } else if (cell->IsFormula() && !cell->HasCachedText()) {
      isNumber = true;
      value = cell->CachedNumber();
    }
    if (isNumber) {
      s.sum += value;
      if (value < s.minimum) s.minimum = value;
      if (value > s.maximum) s.maximum = value;
      ++s.numbers;
    } else {
      ++s.texts;
    }
  }
  if (s.numbers == 0) s.minimum = s.maximum = 0.0;
  return s;
}

void FormatSelectionStatus(const SelectionStatistics& statistics, const RegionalSettings* separators,
                           char* buffer, size_t size) {
  if (size == 0) return;
  if (statistics.numbers > 0) {
    char sum[kDoubleTextCapacity], minimum[kDoubleTextCapacity], maximum[kDoubleTextCapacity];
    DoubleToText(statistics.sum, sum, sizeof sum, separators);
    DoubleToText(statistics.minimum, minimum, sizeof minimum, separators);
    DoubleToText(statistics.maximum, maximum, sizeof maximum, separators);
    std::snprintf(buffer, size, "Sum=%s  Min=%s  Max=%s  Numbers: %u  Text: %u", sum, minimum, maximum,
                  static_cast<unsigned>(statistics.numbers), static_cast<unsigned>(statistics.texts));
  } else if (statistics.texts > 0) {
    std::snprintf(buffer, size, "Numbers: %u  Text: %u", 0u, static_cast<unsigned>(statistics.texts));
  } else {
    std::snprintf(buffer, size, "Ready");
  }
}
