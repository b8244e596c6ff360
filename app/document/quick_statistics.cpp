#include "app/document/quick_statistics.h"

#include "core/base/bounded_text.h"
#include "core/formula/formula_ref_text.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "resources/resource_ids.h"
#include "view/grid_view/cell_from_text.h"

namespace {

struct QuickStatistic {
  uint32_t command;
  const char* formula;
};

const QuickStatistic kQuickStatistics[] = {
    {ID_STAT_SUM, "=sum(%s)"},
    {ID_STAT_MEAN, "=average(%s)"},
    {ID_STAT_COUNT, "=countA(%s)"},
    {ID_STAT_MIN, "=min(%s)"},
    {ID_STAT_MAX, "=max(%s)"},
    {ID_STAT_SUM_POSITIVE, "=sumIf(%s, \">0\",)"},
    {ID_STAT_SUM_NEGATIVE, "=sumIf(%s, \"<0\",)"},
    {ID_STAT_SUM_SQUARES, "=sumSq(%s)"},
    {ID_STAT_SUM_SQUARED_DEVIATIONS, "=devSq(%s)"},
    {ID_STAT_HARMONIC_MEAN, "=harMean(%s)"},
    {ID_STAT_GEOMETRIC_MEAN, "=geoMean(%s)"},
    {ID_STAT_COUNT_POSITIVE, "=countIf(%s, \">0\")"},
    {ID_STAT_COUNT_NEGATIVE, "=countIf(%s, \"<0\")"},
    {ID_STAT_MODE, "=mode(%s)"},
    {ID_STAT_QUARTILE_1, "=quartile(%s, 1)"},
    {ID_STAT_QUARTILE_2, "=quartile(%s, 2)"},
    {ID_STAT_QUARTILE_3, "=quartile(%s, 3)"},
    {ID_STAT_COUNT_ZEROS, "=countIf(%s, 0)"},
};

bool HoldsCell(const CellStore& cells, const CellRange& range) {
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  cells.PositionAtRow(range.firstRow, &walk);
  return walk.NextInRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow) != nullptr;
}

struct TargetWalk {
  EvalState* state;
  uint32_t command;
  CellRange selection;
  QuickStatisticsPlan plan;
  uint64_t next;
  uint64_t count;
  char text[kQualifiedRefCapacity * 2];
};

bool NextTarget(void* context, uint32_t* row, uint16_t* column, const char** text) {
  TargetWalk& walk = *static_cast<TargetWalk*>(context);
  if (walk.next >= walk.count) return false;
  const QuickStatisticTarget target = QuickStatisticTargetAt(walk.selection, walk.plan, walk.next++);
  *row = target.row;
  *column = target.column;
  // A formula that cannot be written leaves its cell empty, as an empty text
  // typed there would.
  if (!ComposeQuickStatistic(*walk.state, walk.command, target, walk.text, sizeof walk.text)) walk.text[0] = '\0';
  *text = walk.text;
  return true;
}

}  // namespace

const char* QuickStatisticTemplate(uint32_t command) {
  for (const QuickStatistic& statistic : kQuickStatistics)
    if (statistic.command == command) return statistic.formula;
  return nullptr;
}

QuickStatisticsPlan PlanQuickStatistics(const CWorkBook& book, const CellRange& s) {
  QuickStatisticsPlan plan = {false, false};
  CWorkSheet* sheet = book.activeWorksheet;
  if (sheet == nullptr) return plan;
  plan.rows = s.lastColumn > s.firstColumn &&
              !HoldsCell(sheet->cells, {s.lastColumn, s.firstRow, s.lastColumn, s.lastRow});
  plan.columns = s.lastRow > s.firstRow &&
                 !HoldsCell(sheet->cells, {s.firstColumn, s.lastRow, s.lastColumn, s.lastRow});
  return plan;
}

uint64_t QuickStatisticTargetCount(const CellRange& s, const QuickStatisticsPlan& plan) {
  const bool both = plan.rows && plan.columns;
  uint64_t count = both ? 1 : 0;
  if (plan.rows) count += s.lastRow - s.firstRow + (both ? 0u : 1u);
  if (plan.columns) count += s.lastColumn - s.firstColumn + (both ? 0u : 1u);
  return count;
}

QuickStatisticTarget QuickStatisticTargetAt(const CellRange& s, const QuickStatisticsPlan& plan, uint64_t index) {
  const bool both = plan.rows && plan.columns;
  const uint16_t valuesLastColumn = static_cast<uint16_t>(s.lastColumn - 1);
  const uint32_t valuesLastRow = s.lastRow - 1;
  if (plan.rows) {
    const uint64_t rows = s.lastRow - s.firstRow + (both ? 0u : 1u);
    if (index < rows) {
      const uint32_t row = static_cast<uint32_t>(s.firstRow + index);
      return {s.lastColumn, row, {s.firstColumn, row, valuesLastColumn, row}};
    }
    index -= rows;
  }
  if (plan.columns) {
    const uint64_t columns = s.lastColumn - s.firstColumn + (both ? 0u : 1u);
    if (index < columns) {
      const uint16_t column = static_cast<uint16_t>(s.firstColumn + index);
      return {column, s.lastRow, {column, s.firstRow, column, valuesLastRow}};
    }
  }
  return {s.lastColumn, s.lastRow, {s.firstColumn, s.firstRow, valuesLastColumn, valuesLastRow}};
}

bool ComposeQuickStatistic(EvalState& state, uint32_t command, const QuickStatisticTarget& target, char* text,
                           size_t size) {
  const char* formula = QuickStatisticTemplate(command);
  if (formula == nullptr || size == 0) return false;
  constexpr uint32_t kRelative = kRefCell | kRefRowRelative | kRefColumnRelative;
  EvalValue range{};
  range.first = RefCorner{target.source.firstColumn, target.source.firstRow, kRelative};
  range.second = RefCorner{target.source.lastColumn, target.source.lastRow, kRelative};
  // Relative references are written from the cell that holds the formula.
  const uint16_t column = state.column;
  const uint32_t row = state.row;
  state.column = target.column;
  state.row = target.row;
  char reference[kQualifiedRefCapacity];
  BoundedText referenceText(reference, sizeof reference);
  const bool written = FormatFormulaRef(state, nullptr, nullptr, range, referenceText, false, false);
  state.column = column;
  state.row = row;
  if (!written) return false;
  // Typed input reads arguments apart by the region's list separator.
  const char separator = CurrentRegionalSettings().listSeparator;
  BoundedText out(text, size);
  for (const char* c = formula; *c != '\0'; ++c) {
    if (c[0] == '%' && c[1] == 's') {
      out.Put(referenceText);
      ++c;
    } else {
      out.Put(*c == ',' ? separator : *c);
    }
  }
  return out.Finish();
}

uint8_t EnterQuickStatistics(CWorkBook* book, const TextMeasurer& measurer, uint32_t command,
                             const CellRange& selection, bool autoFormatting) {
  TargetWalk walk{};
  walk.state = &book->evaluator;
  walk.command = command;
  walk.selection = selection;
  walk.plan = PlanQuickStatistics(*book, selection);
  walk.count = QuickStatisticTargetCount(selection, walk.plan);
  if (walk.count == 0 || QuickStatisticTemplate(command) == nullptr) return kQuickStatisticsNothing;
  const UndoRange recorded = {selection.firstColumn, selection.firstRow, selection.lastColumn, selection.lastRow};
  if (!StoreCellTexts(book, measurer, recorded, CellTextSource{&NextTarget, &walk}, autoFormatting))
    return kQuickStatisticsFailed;
  return kQuickStatisticsWritten;
}
