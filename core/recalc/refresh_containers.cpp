#include <cstring>

#include "core/model/chart_record.h"
#include "core/base/error_code.h"
#include "core/workbook/workbook.h"

namespace {

// Evaluates the chart's series formulas and loads their arrays into it.
// False with the workbook's error set when a series or the chart fails;
// the chains taken from the evaluator always go back to its pool.
bool RefreshChart(CWorkBook& workbook, CWorkSheet& sheet, ChartRecord& chart) {
  EvalState& state = workbook.evaluator;
  CellBlock* arrays[kChartMaxSeries] = {};
  uint16_t columnCounts[kChartMaxSeries] = {};
  uint32_t rowCounts[kChartMaxSeries] = {};
  const int used = chart.UsedSeriesCount();
  uint8_t failure = kWorkbookNoError;
  for (int i = 0; i < used && failure == kWorkbookNoError; ++i) {
    char text[kSeriesFormulaSize];
    std::memcpy(text, chart.series[i].dataArray, sizeof text);
    text[sizeof text - 1] = '\0';
    if (text[0] == '\0')
      continue;
    state.owner = &workbook;
    state.sheet = &sheet.cells;
    state.pending.Clear();
    const uint32_t kind = state.Evaluate(text, 0, 0);
    const EvalValue& result = state.operands[1];
    if (kind != kEvalArray || state.status != 0 || (result.error != kErrorNone && result.error != kErrorMemory)) {
      failure = kWorkbookChartNeedsArray;
    } else if (result.error == kErrorMemory) {
      failure = kWorkbookOutOfMemory;
    } else {
      arrays[i] = state.TakeSlotArray(1);
      columnCounts[i] = static_cast<uint16_t>(result.second.column + 1);
      rowCounts[i] = result.second.row + 1;
    }
  }
  bool ok = true;
  if (failure != kWorkbookNoError) {
    chart.error = failure;
    ok = false;
  } else if (!chart.LoadSeriesData(used > 0 ? arrays : nullptr, columnCounts, rowCounts,
                                   static_cast<uint32_t>(used))) {
    ok = false;
  }
  for (CellBlock* chain : arrays)
    if (chain)
      state.arrays.ReleaseChain(chain);
  if (!ok)
    workbook.error = chart.error;
  return ok;
}

bool RefreshContainerOn(CWorkBook& workbook, CWorkSheet& sheet, ContainerRecord& container) {
  bool ok = true;
  const int count = container.header.itemCount < kContainerMaxItems ? container.header.itemCount : kContainerMaxItems;
  for (int i = 0; i < count; ++i) {
    ContainerItem& item = container.items[i];
    if (item.kind == kItemChart && item.chart && !RefreshChart(workbook, sheet, *item.chart))
      ok = false;
  }
  return ok;
}

}  // namespace

bool CWorkBook::RefreshContainer(uint16_t id) {
  for (CTreeItem* item = firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    for (ContainerRecord* container = sheet->containers; container; container = container->next)
      if (container->header.id == id)
        return RefreshContainerOn(*this, *sheet, *container);
  }
  return true;
}

bool CWorkBook::RefreshAllContainers() {
  CellStore* const evaluatedSheet = evaluator.sheet;
  bool ok = true;
  for (CTreeItem* item = firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    for (ContainerRecord* container = sheet->containers; container; container = container->next)
      if (!RefreshContainerOn(*this, *sheet, *container))
        ok = false;
  }
  evaluator.sheet = evaluatedSheet;
  return ok;
}
