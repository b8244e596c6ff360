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
  return FindStaleSpillAreaBefore(areas, count, store, firstColumn, lastColumn, firstRow, lastRow, kRowCount, 0);
}

SpillExtent* FindStaleSpillAreaBefore(SpillExtent* areas, uint32_t count, CellStore* store, uint32_t firstColumn,
                                      uint32_t lastColumn, uint32_t firstRow, uint32_t lastRow, uint32_t row,
                                      uint32_t column, bool anyState) {
  if (count == 0)
    return nullptr;
  const uint64_t before = uint64_t(row) << 16 | column;
  // Past the last area of store whose formula lies on a row up to lastRow.
  const SpillExtent* const end =
      std::upper_bound(areas, areas + count, std::make_pair(store, lastRow),
                       [](const std::pair<CellStore*, uint32_t>& key, const SpillExtent& area) {
                         if (key.first != area.store)
                           return StoreBefore(key.first, area.store);
                         return key.second < area.row;
                       });
  SpillExtent* found = nullptr;
  for (uint32_t i = uint32_t(end - areas); i-- > 0;) {
    SpillExtent& area = areas[i];
    if (area.store != store || area.reachRow < firstRow)
      break;
    if ((area.calculated && !anyState) || !Meets(area, firstColumn, lastColumn, firstRow, lastRow) ||
        (uint64_t(area.row) << 16 | area.column) >= before)
      continue;
    if (anyState) {
      found = &area;
      continue;
    }
    const CellRecord* formula = store->GetCell(area.row, area.column);
    if (formula && formula->IsFormula() && !(formula->ResultFlags() & kResultCalculated))
      found = &area;
    else
      area.calculated = 1;
  }
  return found;
}
