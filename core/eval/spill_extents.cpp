#include "core/eval/spill_extents.h"

#include <algorithm>
#include <functional>

namespace {

// Worksheets are told apart by their stores only: the order among them
// does not matter, only that each one's areas lie together.
bool StoreBefore(const CellStore* a, const CellStore* b) { return std::less<const CellStore*>()(a, b); }

bool AreaBefore(const SpillExtent& a, const SpillExtent& b) {
  if (a.store != b.store)
    return StoreBefore(a.store, b.store);
  if (a.row != b.row)
    return a.row < b.row;
  return a.column < b.column;
}

bool Meets(const SpillExtent& area, uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow) {
  return lastRow >= area.row && firstRow <= area.lastRow && lastColumn >= area.column && firstColumn <= area.lastColumn;
}

}  // namespace

void OrderSpillExtents(SpillExtent* areas, uint32_t count, uint32_t* firstColumn, uint32_t* lastColumn) {
  // Recalculation lists a worksheet's areas in storage order already.
  if (!std::is_sorted(areas, areas + count, AreaBefore))
    std::sort(areas, areas + count, AreaBefore);
  *firstColumn = 1;
  *lastColumn = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const bool continues = i > 0 && areas[i - 1].store == areas[i].store;
    areas[i].reachRow = continues ? std::max(areas[i - 1].reachRow, areas[i].lastRow) : areas[i].lastRow;
    *firstColumn = i == 0 ? areas[i].column : std::min<uint32_t>(*firstColumn, areas[i].column);
    *lastColumn = i == 0 ? areas[i].lastColumn : std::max<uint32_t>(*lastColumn, areas[i].lastColumn);
  }
}

SpillExtent* FindStaleSpillArea(SpillExtent* areas, uint32_t count, CellStore* store, uint32_t firstColumn,
                                uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow) {
  SpillExtent* stale = nullptr;
  FindEarlierSpillAreas(areas, count, store, firstColumn, lastColumn, firstRow, lastRow, kRowCount, 0, &stale,
                        nullptr, nullptr);
  return stale;
}

void FindEarlierSpillAreas(SpillExtent* areas, uint32_t count, CellStore* store, uint32_t firstColumn,
                           uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow, uint32_t row, uint32_t column,
                           SpillExtent** stale, SpillExtent** any, uint32_t* hint) {
  *stale = nullptr;
  if (any)
    *any = nullptr;
  if (count == 0)
    return;
  const uint64_t before = uint64_t(row) << 16 | column;
  // Past the last area of store whose formula lies on a row up to lastRow.
  const auto keyBefore = [](const std::pair<CellStore*, uint32_t>& key, const SpillExtent& area) {
    if (key.first != area.store)
      return StoreBefore(key.first, area.store);
    return key.second < area.row;
  };
  const std::pair<CellStore*, uint32_t> key(store, lastRow);
  uint32_t end = 0;
  // A pass asks in storage order: the answer is usually at the last one or
  // a step past it.
  if (hint && *hint <= count && (*hint == 0 || !keyBefore(key, areas[*hint - 1])) &&
      (*hint == count || keyBefore(key, areas[*hint])))
    end = *hint;
  else if (hint && *hint < count && !keyBefore(key, areas[*hint]) &&
           (*hint + 1 == count || keyBefore(key, areas[*hint + 1])))
    end = *hint + 1;
  else
    end = uint32_t(std::upper_bound(areas, areas + count, key, keyBefore) - areas);
  if (hint)
    *hint = end;
  for (uint32_t i = end; i-- > 0;) {
    SpillExtent& area = areas[i];
    if (area.store != store || area.reachRow < firstRow)
      break;
    if (!Meets(area, firstColumn, lastColumn, firstRow, lastRow) || (uint64_t(area.row) << 16 | area.column) >= before)
      continue;
    if (any)
      *any = &area;
    if (area.calculated)
      continue;
    const CellRecord* formula = store->GetCell(area.row, area.column);
    if (formula && formula->IsFormula() && !(formula->ResultFlags() & kResultCalculated))
      *stale = &area;
    else
      area.calculated = 1;
  }
}
