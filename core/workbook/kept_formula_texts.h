#ifndef TALVERO_CORE_WORKBOOK_KEPT_FORMULA_TEXTS_H
#define TALVERO_CORE_WORKBOOK_KEPT_FORMULA_TEXTS_H

// The formulas a tree edit rewrote so that they kept naming the same items,
// each with the text it reads now and the one it read before. Once the tree
// stands as it did, the edit's undo step gives each formula its other text
// back, letter for letter, and the same swap redoes it. A formula that no
// longer reads the text the step left in it is left alone.

#include <cstdint>
#include <string>
#include <vector>

class CellStore;

struct KeptFormulaText {
  // The worksheet's cells: compared with the workbook's, never read through,
  // as the worksheet may have left the workbook since.
  const CellStore* store;
  // 0 for a formula cell; else the container of a chart series.
  uint16_t containerId;
  uint16_t column;  // the cell's column, or the chart's item slot
  uint32_t row;     // the cell's row, or the series' index
  std::string present;
  std::string other;
};

using KeptFormulaTexts = std::vector<KeptFormulaText>;

#endif
