#ifndef TALVERO_CORE_CELLS_ROW_POSITIONS_H
#define TALVERO_CORE_CELLS_ROW_POSITIONS_H

// Where the records of a few recently asked rows lie. The formulas of a row
// read the same few rows above them again and again, and each of those
// reads would otherwise walk its row from the row's first record to the
// column it wants. A row's records are listed as far as lookups have needed
// them; the list holds while the chain's change count stays what it was
// when the list was begun (a value rewritten in place moves no record).

#include <cstdint>
#include <cstdlib>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"

struct RowPositions {
  // The column of the entry that marks where the row ends: after every real one.
  static constexpr uint16_t kRowEnd = 0xFFFF;
  // An offset with this bit lies in the block after `first`; a row that
  // reaches a third block is listed no further.
  static constexpr uint16_t kInNextBlock = 0x8000;
  static constexpr uint16_t kOffsetMask = 0x7FFF;
  static_assert(kInNextBlock == 1u << 15 && kBlockPayload <= kOffsetMask, "the bit above a block's offsets");
  // Rows wider than this are listed up to here; lookups past it pass the
  // rest of the row record by record.
  static constexpr uint32_t kMaxListed = 30;
  static constexpr uint32_t kNoRow = 0xFFFFFFFF;

  uint64_t changes;  // the chain's change count the list belongs to
  // The block of the row's first record and, once listing reaches it, the
  // block after it.
  CellBlock* blocks[2];
  uint32_t row;
  uint16_t next;  // where listing goes on, with kInNextBlock
  uint8_t listed;
  uint16_t columns[kMaxListed];  // ascending; kRowEnd last once the row's end is known
  uint16_t offsets[kMaxListed];  // with kInNextBlock

  RecordPosition PositionOf(uint32_t i) const {
    const uint16_t offset = offsets[i];
    return {blocks[offset >> 15], static_cast<uint16_t>(offset & kOffsetMask)};
  }
  // The listed record at or after column, or the row's end when listed;
  // false when the list stops before column.
  bool FindListed(uint16_t column, RecordPosition* at) const {
    // In a row without gaps, column c is the c-th record.
    uint32_t i = column;
    if (i >= listed || columns[i] != column) {
      if (listed == 0 || columns[listed - 1u] < column)
        return false;
      i = 0;
      while (columns[i] < column) ++i;
    }
    *at = PositionOf(i);
    return true;
  }
};

// Starts a list of row, whose first record lies at start.
void BeginRowPositions(RowPositions& entry, uint32_t row, RecordPosition start, uint64_t changes);
// Goes on listing the entry's row from where its list stops, up to the first
// record at or after column; *at is left on that record, or on the row's
// end: the chain's next record, which may be named by a block's end. Past
// the list's capacity, a third block or a malformed record the row is
// passed without listing it.
void ListRowPositions(RowPositions& entry, uint16_t column, RecordPosition* at);
// The first record at or after column of row from at on, which must lie in
// row before that record: passed record by record.
RecordPosition PassRowBefore(RecordPosition at, uint32_t row, uint16_t column);

// The lists of kRows rows, a row kept where its number modulo kRows says.
// Allocated on first use, as a cache: a store that cannot have the memory
// goes without it.
class RowPositionMemo {
 public:
  static constexpr uint32_t kRows = 64;

  RowPositionMemo() = default;
  ~RowPositionMemo() { std::free(rows_); }
  RowPositionMemo(const RowPositionMemo&) = delete;
  RowPositionMemo& operator=(const RowPositionMemo&) = delete;

  bool Allocated() const { return rows_ != nullptr; }
  // Only once allocated.
  RowPositions& EntryOf(uint32_t row) const { return rows_[row % kRows]; }
  // False when the memory cannot be had.
  bool Allocate();

 private:
  RowPositions* rows_ = nullptr;
};

#endif
