#ifndef TALVERO_APP_DOCUMENT_QUICK_STATISTICS_H
#define TALVERO_APP_DOCUMENT_QUICK_STATISTICS_H

// The quick-statistics commands: a formula over the selected numbers written
// into the empty last column of the selection (one per row), into its empty
// last row (one per column), or both, with the formula over the whole block
// in the corner.

#include <cstddef>
#include <cstdint>

#include "core/edit/reference_adjust.h"
#include "core/styles/text_measurer.h"

class CWorkBook;
class EvalState;

// The formula of a command, "%s" standing for the reference and "," between
// arguments; null for any other command.
const char* QuickStatisticTemplate(uint32_t command);

struct QuickStatisticsPlan {
  // A result per row in the last column: the selection spans more than one
  // column and its last column holds no cell in the selected rows.
  bool rows;
  // A result per column in the last row, likewise.
  bool columns;
};
QuickStatisticsPlan PlanQuickStatistics(const CWorkBook& book, const CellRange& selection);

// The result cells in order: the rows' (all but the last row when the
// columns have results too), the columns' (all but the last column when the
// rows have results too), then the corner when both have.
struct QuickStatisticTarget {
  uint16_t column;
  uint32_t row;
  CellRange source;
};
uint64_t QuickStatisticTargetCount(const CellRange& selection, const QuickStatisticsPlan& plan);
QuickStatisticTarget QuickStatisticTargetAt(const CellRange& selection, const QuickStatisticsPlan& plan,
                                            uint64_t index);

// The formula as a user would type it into the target cell: the command's
// template with the source as a relative reference in the current
// addressing style and the current list separator between arguments.
// False when it does not fit.
bool ComposeQuickStatistic(EvalState& state, uint32_t command, const QuickStatisticTarget& target, char* text,
                           size_t size);

enum QuickStatisticsOutcome : uint8_t {
  kQuickStatisticsWritten = 0,
  kQuickStatisticsNothing = 1,  // no empty last column or row
  kQuickStatisticsFailed = 2,   // the workbook's error says why
};

// Enters the command's formulas into the result cells of the active
// worksheet's selection as typed input, with one undo step of the
// selection. Failed when memory ran out: nothing is changed and no step is
// left, unless only the rows' heights could not be refitted.
uint8_t EnterQuickStatistics(CWorkBook* book, const TextMeasurer& measurer, uint32_t command,
                             const CellRange& selection, bool autoFormatting);

#endif
