#include "core/formula/pass_range_tables.h"

#include <cstdlib>

#include "core/cells/cell_store.h"

void PassRangeTables::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled)
    Drop();
}

void PassRangeTables::BeginPass() {
  Drop();
  inPass_ = true;
  passRequests_ = 0;
}

void PassRangeTables::EndPass() {
  Drop();
  inPass_ = false;
}

void PassRangeTables::Drop() {
  for (uint32_t i = 0; i < tableCount_; ++i) std::free(tables_[i].entries);
  std::free(tables_);
  tables_ = nullptr;
  tableCount_ = 0;
  entriesKept_ = 0;
}

PassRangeTables::Table* PassRangeTables::TableOf(CellStore* store, uint16_t column, uint32_t firstRow,
                                                 uint32_t lastRow) {
  if (!tables_) {
    tables_ = static_cast<Table*>(std::malloc(sizeof(Table) * kMaxTables));
    if (!tables_)
      return nullptr;
  }
  Table* stale = nullptr;
  for (uint32_t i = 0; i < tableCount_; ++i) {
    Table& table = tables_[i];
    if (table.store == store && table.column == column && table.firstRow == firstRow && table.lastRow == lastRow)
      return &table;
    if (!table.entries && table.usable && (!stale || table.lastUse < stale->lastUse))
      stale = &table;
  }
  Table* table = tableCount_ < kMaxTables ? &tables_[tableCount_++] : stale;
  if (table)
    *table = Table{store, firstRow, lastRow, column, 0, true, 0, 0, 0, nullptr, 0};
  return table;
}

bool PassRangeTables::Build(Table& table) {
  std::free(table.entries);
  entriesKept_ -= table.count;
  table.entries = nullptr;
  table.count = 0;
  if (++table.builds > kMaxBuilds || !fill_(table, maxEntries_ - entriesKept_)) {
    std::free(table.entries);
    table.entries = nullptr;
    table.count = 0;
    return table.usable = false;
  }
  table.changes = table.store->ChainChanges();
  entriesKept_ += table.count;
  ++buildCount_;
  return true;
}

const PassRangeTables::Table* PassRangeTables::Find(CellStore* store, uint16_t column, uint32_t firstRow,
                                                    uint32_t lastRow) {
  if (!enabled_ || !inPass_ || !store || firstRow > lastRow || lastRow - firstRow < minRows_ - 1)
    return nullptr;
  Table* table = TableOf(store, column, firstRow, lastRow);
  if (!table)
    return nullptr;
  table->lastUse = ++passRequests_;
  if (!table->usable || ++table->requests < kRequestsBeforeBuild)
    return nullptr;
  if ((!table->entries || table->changes != store->ChainChanges()) && !Build(*table))
    return nullptr;
  return table;
}
