#include "core/formula/column_cells.h"

#include <cstdlib>

#include "core/cells/cell_store.h"

bool ColumnCells::Fill(PassRangeTables::Table& table, uint32_t budget) {
  // One walk along the rows, the list grown as it goes: counting first
  // would read the store twice.
  CellCursor cursor = table.store->StartRangeWalk(table.firstRow);
  const uint16_t column = table.column;
  // Never null once built, though the column be empty.
  uint32_t capacity = 64 < budget ? 64 : budget;
  uint32_t count = 0;
  table.entries = std::malloc(sizeof(const CellRecord*) * (capacity ? capacity : 1));
  if (!table.entries)
    return false;
  const CellRecord** cells = static_cast<const CellRecord**>(table.entries);
  while (const CellRecord* cell = cursor.NextInRange(column, column, table.firstRow, table.lastRow)) {
    if (count == capacity) {
      if (capacity == budget)
        return false;
      const uint32_t grown = capacity > budget / 2 ? budget : capacity * 2;
      void* more = std::realloc(table.entries, sizeof *cells * grown);
      if (!more)
        return false;
      table.entries = more;
      cells = static_cast<const CellRecord**>(more);
      capacity = grown;
    }
    cells[count++] = cell;
  }
  table.count = count;
  return true;
}

bool ColumnCells::Cells(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow,
                        const CellRecord* const** first, const CellRecord* const** last) {
  const PassRangeTables::Table* table = tables_.Find(store, column, firstRow, lastRow);
  if (!table)
    return false;
  const CellRecord* const* begin = static_cast<const CellRecord* const*>(table->entries);
  *first = begin;
  *last = begin + table->count;
  return true;
}
