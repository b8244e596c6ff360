#include "dialogs/statistics/cell_counts.h"

#include <cstdio>
#include <cstring>

#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/num_format_params.h"
#include "core/numfmt/number_format.h"
#include "core/workbook/worksheet.h"

const char* const kStatisticsColumnTitles[kStatisticsColumnCount] = {
    "Worksheet",     "Total cells",     "Text",           "Numbers",        "Formulas",
    "Text Formulas", "Number Formulas", "Array Formulas", "Error Formulas", "Containers"};

CellCounts CountCells(const CWorkSheet& sheet) {
  CellCounts counts = {};
  uint16_t firstColumn = 0, lastColumn = 0;
  uint32_t firstRow = 0, lastRow = 0;
  if (sheet.cells.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow)) {
    CellCursor walk;
    walk.flags = kCursorAfterRecord;
    sheet.cells.PositionAtRow(firstRow, &walk);
    while (const CellRecord* cell = walk.NextInRange(firstColumn, lastColumn, firstRow, lastRow)) {
      if (cell->IsText()) {
        ++counts.texts;
      } else if (cell->IsNumber()) {
        ++counts.numbers;
      } else if (cell->ErrorCode() != 0) {
        ++counts.errorFormulas;
      } else if ((cell->ResultFlags() & kResultArray) != 0) {
        ++counts.arrayFormulas;
      } else if (cell->HasCachedText()) {
        ++counts.textFormulas;
      } else {
        // A formula not calculated yet holds the number 0.
        ++counts.numberFormulas;
      }
    }
  }
  counts.formulas = counts.textFormulas + counts.numberFormulas + counts.arrayFormulas + counts.errorFormulas;
  counts.total = counts.texts + counts.numbers + counts.formulas;
  for (const ContainerRecord* c = sheet.containers; c != nullptr; c = c->next) ++counts.containers;
  return counts;
}

uint32_t CountOfColumn(const CellCounts& counts, int column) {
  const uint32_t values[kStatisticsColumnCount] = {0,
                                                   counts.total,
                                                   counts.texts,
                                                   counts.numbers,
                                                   counts.formulas,
                                                   counts.textFormulas,
                                                   counts.numberFormulas,
                                                   counts.arrayFormulas,
                                                   counts.errorFormulas,
                                                   counts.containers};
  return column > 0 && column < kStatisticsColumnCount ? values[column] : 0;
}

void FormatCount(uint32_t count, const RegionalSettings* separators, char* buffer, size_t size) {
  NumFormatOptions options;
  std::memset(&options, 0, sizeof options);
  options.number.grouping = 1;
  char code[kNumFormatCodeSize];
  if (!BuildFormatCode(kNumFormatGeneral, options, code, sizeof code, nullptr) ||
      !FormatNumberToString(count, code, buffer, size, separators))
    std::snprintf(buffer, size, "%u", static_cast<unsigned>(count));
}
