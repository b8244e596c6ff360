#ifndef TALVERO_CORE_CELLS_CELL_STORE_PLACES_H
#define TALVERO_CORE_CELLS_CELL_STORE_PLACES_H

// For the cell store's own files: the key that orders cells (by row, then
// column), the record at an offset of a block, and whether bytes lie in a
// block's payload.

#include <cstdint>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"

inline uint64_t CellKey(uint32_t row, uint16_t column) { return (uint64_t(row) << 16) | column; }

inline uint64_t CellKey(const CellRecord* record) { return CellKey(record->Row(), record->Column()); }

inline CellRecord* RecordAt(CellBlock* block, uint32_t offset) { return AsCellRecord(block->payload + offset); }

inline const CellRecord* RecordAt(const CellBlock* block, uint32_t offset) {
  return AsCellRecord(block->payload + offset);
}

inline bool InsideBlock(const uint8_t* bytes, const CellBlock* block) {
  if (!block)
    return false;
  auto address = reinterpret_cast<uintptr_t>(bytes);
  auto payload = reinterpret_cast<uintptr_t>(block->payload);
  return address >= payload && address < payload + kBlockPayload;
}

#endif
