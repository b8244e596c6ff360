#ifndef TALVERO_CORE_CELL_STORE_H
#define TALVERO_CORE_CELL_STORE_H

// The cells of a worksheet or of a temporary range (array values, undo copies,
// the clipboard, rows being reordered): CellRecords sorted by row and then
// column in a chain of blocks, with a pool of spare blocks and a page index
// that gives the first record of each row during read-only passes.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"
#include "core/cells/row_positions.h"

struct CellRecordTraits {
  static uint32_t Size(const uint8_t* record) { return AsCellRecord(record)->Size(); }
  static uint32_t Row(const uint8_t* record) { return AsCellRecord(record)->Row(); }
  static bool Absorb(uint8_t*, const uint8_t*) { return false; }
};

// The store's error byte, left by the last failed operation.
enum CellStoreError : uint8_t {
  kCellStoreNoError = 0,
  kCellStoreOutOfMemory = 1,
  // A record of no known kind, larger than a block, or outside the grid.
  kCellStoreBadRecord = 2,
  // Inserting rows or columns would push a cell off the grid.
  kCellStoreOffGrid = 3,
  // An empty or reversed span, or a store given as its own source or target.
  kCellStoreBadRange = 4,
};

// Page flag bits 1 and 2: the page holds formula cells of the current
// recalculation pass.
constexpr uint8_t kPageHasFormulas = 0x06;
// Page flag bit 3: a cell of the page, not indexed, was looked up in this
// pass.
constexpr uint8_t kPageLookedUp = 0x08;

class CellStore : public BlockStore {
 public:
  // The cell's record, or null. Starts at the cursor, else at the row's index
  // entry when its page is indexed, else at the cell's block (found through the
  // block directory); the cursor is left on the record (after it with
  // kCursorAfterRecord), or on the last record examined when there is none.
  CellRecord* FindCell(uint32_t row, uint16_t column, CellCursor* cursor);
  CellRecord* GetCell(uint32_t row, uint16_t column) { return FindCell(row, column, nullptr); }
  // Inserts a copy of a complete record, replacing the same cell's record.
  // The search starts at the cursor unless a record before it sorts at or
  // after the new one; then, as without a cursor, it starts at the row's
  // block. False when the record is malformed or larger than a block, or
  // when no block can be had; the cells are then unchanged (a block taken
  // before the failure may stay in the pool).
  bool InsertCell(const CellRecord* record, CellCursor* cursor);
  // InsertCell of a copy of record moved to the cell (row, column): a
  // record copied from another place keeps its value and drops its place.
  bool InsertCellAs(const CellRecord* record, uint32_t row, uint16_t column, CellCursor* cursor);
  // The same for the first record of an empty store, or one written right
  // after the one the last insert placed, at the end of the chain, when it
  // sorts after it and fits its block: it goes there without a search,
  // exactly where InsertCell would put it. Any other record takes
  // InsertCell's way. For chains written in ascending order (array values).
  bool AppendCell(const CellRecord* record, CellCursor* cursor);
  // A run of complete records laid back to back, each placed as AppendCell
  // would place it; those that fit the chain's last block go there in one
  // copy. The cursor is left as after the last record's AppendCell. False
  // as AppendCell, at the first record that fails (bytes not ending on a
  // record's end count as a malformed record).
  bool AppendCells(const uint8_t* records, uint32_t bytes, CellCursor* cursor);
  // An empty, unlinked block from the pool (else the heap) for a chain that
  // is filled outside the store and handed back through ReleaseChain or
  // Attach; null when out of memory.
  CellBlock* TakeDetachedBlock() { return TakeBlock(); }
  // Leaves the cursor on the first record at or after row, or at the end of
  // the chain (a null block when the store is empty), for a walk of the rows
  // from row on; the cursor's flags stay. The row index (the page index
  // during read-only passes, else the block directory) finds the place, so
  // the cost does not grow with the rows before it.
  void PositionAtRow(uint32_t row, CellCursor* cursor) const;
  // The first record of row at or after column, else the row's end (the
  // chain's next record, which may be named by a block's end); false when
  // the row's page is not indexed or the row holds no record. Rows asked
  // before are answered from the row position memo.
  bool PositionInRow(uint32_t row, uint16_t column, RecordPosition* at) const {
    if (rowPositions_.Allocated()) {
      const RowPositions& entry = rowPositions_.EntryOf(row);
      if (entry.row == row && entry.changes == chainChanges_ && entry.FindListed(column, at))
        return true;
    }
    return ListPositionInRow(row, column, at);
  }
  // PositionInRow's answer when the row position memo holds it already,
  // else false: for callers that keep the memo's misses out of line.
  bool ListedPositionInRow(uint32_t row, uint16_t column, RecordPosition* at) const {
    if (!rowPositions_.Allocated())
      return false;
    const RowPositions& entry = rowPositions_.EntryOf(row);
    return entry.row == row && entry.changes == chainChanges_ && entry.FindListed(column, at);
  }
  // The place of the cell (row, column) when the row position memo lists
  // it as the row's column-th record, as it lists every cell of a row
  // without gaps from its first column; false otherwise (the cell may
  // still exist). For walks that step down a rectangle's rows.
  bool ListedCellAt(uint32_t row, uint16_t column, RecordPosition* at) const {
    if (!rowPositions_.Allocated())
      return false;
    const RowPositions& entry = rowPositions_.EntryOf(row);
    if (entry.row != row || entry.changes != chainChanges_ || column >= entry.listed || entry.columns[column] != column)
      return false;
    *at = entry.PositionOf(column);
    return true;
  }
  // A cursor for a walk of the rows from firstRow on (NextInRange, Next),
  // positioned as by PositionAtRow and leaving each record behind. Every
  // walk of a rectangle starts here rather than at the first block.
  CellCursor StartRangeWalk(uint32_t firstRow) const {
    CellCursor walk;
    walk.flags = kCursorAfterRecord;
    walk.rows = this;
    PositionAtRow(firstRow, &walk);
    return walk;
  }

  // Each output is optional. First row and column, last row and column over
  // all records; false with all four 0 when the store holds no cell.
  bool GetUsedRange(uint16_t* firstColumn, uint16_t* lastColumn, uint32_t* firstRow, uint32_t* lastRow) const;
  // Deletes every cell of the rectangle, starting at the cursor. Deleting any
  // cell of a spilled array formula's result or the formula itself deletes
  // the formula and its whole result. The cursor is left at the start of the
  // deletion (null when that block was emptied).
  void DeleteRange(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, CellCursor* cursor,
                   bool free);
  // Renumber cells to make room; false with nothing changed when a cell would leave the grid.
  bool InsertRows(uint32_t firstRow, uint32_t lastRow);
  bool InsertColumns(uint16_t firstColumn, uint16_t lastColumn);
  // Delete the cells of the span (emptied blocks to the heap) and close the gap.
  void DeleteRows(uint32_t firstRow, uint32_t lastRow);
  void DeleteColumns(uint16_t firstColumn, uint16_t lastColumn);

  // Empties target, then copies the column span of source row
  // rowIndex[r - firstRow] into target as row r, for each r of the row span.
  // False after emptying target again when an insert fails.
  bool GatherRows(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, CellStore* target,
                  const uint32_t* rowIndex) const;
  // Deletes the destination rectangle (emptied blocks kept in the pool) and
  // tiles the source rectangle's cells of sourceChain over it, cutting the
  // tiles at the rectangle's edges. False when an insert fails (the cells
  // inserted so far stay). sourceChain must not belong to this store.
  bool CopyRangeToStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                        uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                        uint32_t sourceLastRow, const CellBlock* sourceChain);
  // The same without deleting first: positions the source leaves empty keep
  // the cells they hold.
  bool TileRangeFromStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                          uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                          uint32_t sourceLastRow, const CellBlock* sourceChain);
  // The same two from another store's cells, read from the source's first
  // row on.
  bool TileRangeFromStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                          uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                          uint32_t sourceLastRow, const CellStore& source);
  bool CopyRangeToStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                        uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                        uint32_t sourceLastRow, const CellStore& source);
  // Replaces this store's cells by a copy of source's, taking new blocks from
  // source's pool first. False (this store emptied) when a block cannot be had.
  bool CopyFrom(CellStore* source);

  // Indexes the first record of every row of one 1024-row page; false when
  // the index page cannot be allocated. Any later change of the store drops
  // the index.
  bool BuildPageIndex(uint32_t page, CellCursor* cursor);
  // Prepares a recalculation pass: every formula cell becomes uncalculated,
  // with no waiting dependant and a zero pending counter; the page flags are
  // cleared, then each page holding a formula is flagged kPageHasFormulas and
  // indexed. False when an index page cannot be allocated (the cells are
  // marked all the same). The same walk hands each array formula whose
  // result spills over more than one cell, and each spill value, to visit,
  // when given, in storage order.
  using SpillingFormulaVisit = void (*)(void* context, const CellRecord& formula);
  bool MarkFormulaCellsDirty(SpillingFormulaVisit visit = nullptr, void* context = nullptr);
  // Repacks the chain; emptied blocks go to the heap (free) or the pool.
  void Compact(bool free) { CompactRecords<CellRecordTraits>(free); }

  // Order, block fill, counts, links and page index; on failure a
  // description goes to message (when given).
  bool CheckInvariants(char* message = nullptr, size_t capacity = 0) const;

  uint8_t LastError() const { return lastError_; }

 private:
  // The source's chain from the block where row begins (no record before
  // that block lies in a rectangle that starts at row); false, with the
  // error, when the source is this store.
  bool SourceChainFromRow(const CellStore& source, uint32_t row, const CellBlock** chain);
  // PositionInRow beyond what the memo holds: lists the row further, or
  // begins its list at the row's first record.
  bool ListPositionInRow(uint32_t row, uint16_t column, RecordPosition* at) const;
  // FindCell past the memo: the row listed further, or a search.
  CellRecord* SearchCell(uint32_t row, uint16_t column, CellCursor* cursor);
  // A recalculation pass indexes the pages that hold formulas; another
  // page whose cells formulas look up (a table INDEX or a reference reads
  // row by row) is indexed at its second lookup, so that each further
  // lookup starts at its row rather than searching a block. Only while the
  // chain is as the pass found it: a store whose records move under the
  // pass would have its pages walked again and again. True when the page
  // is indexed now.
  bool IndexLookedUpPage(uint32_t page);
  // The cell (row, column) if it stands at the memo's place at (inside a
  // block), else null; the cursor, if given, is left there as FindCell leaves it.
  CellRecord* CellAtPosition(RecordPosition at, uint32_t row, uint16_t column, CellCursor* cursor);
  // FindCell's search, for the const walks as well.
  const CellRecord* Seek(uint32_t row, uint16_t column, CellCursor* cursor) const;
  // What every insert does once the record of size bytes is placed: the
  // free count, the remembered end, the cursor, and compaction when due.
  void FinishInsert(RecordPosition placed, uint32_t size, uint32_t row, uint16_t column, CellCursor* cursor);
  // A position from which a forward search for the place of (row, column)
  // cannot miss it: no record before it sorts at or after the cell.
  RecordPosition InsertSearchStart(uint32_t row, uint16_t column, const CellCursor* cursor) const;
  // The block where the cell's place is, or the block before it.
  CellBlock* BlockOfCell(uint32_t row, uint16_t column) const;
  // Whether a record of row placed at the insertion point at begins its row
  // (false when the row's page is not indexed).
  bool BeginsRowAt(RecordPosition at, uint32_t row) const;
  // After an insert that kept the index: the entries of the rows that begin
  // at the placed record or among the records after it up to the end of
  // block through, which are all the records the insert moved.
  void ReindexFrom(RecordPosition placed, const CellBlock* through, bool beginsRow);
  // The same for an insert that moved only the records after it in its own
  // block, by shift bytes: the entries of the later rows that begin there
  // move with them. False, with nothing changed, when the block's rows are
  // not known or too many to look at.
  bool ShiftRowStartsAfter(const CellBlock* block, uint32_t row, int32_t shift);
  // True when every record before at sorts below the cell.
  bool PrecedesCell(RecordPosition at, uint32_t row, uint16_t column) const;
  // The rectangles of a tiling copy; false with kCellStoreBadRange.
  bool TileRangesValid(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                       uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                       uint32_t sourceLastRow, const CellBlock* sourceChain);

  uint8_t lastError_ = kCellStoreNoError;
  // The position just after the record the last insert placed, with its
  // key, valid while no other change has come between: cells typed or
  // copied in order go on from there without a search.
  RecordPosition lastInsertEnd_ = {nullptr, 0};
  uint64_t lastInsertKey_ = 0;
  uint64_t lastInsertChanges_ = 0;
  // Where the last lookup without a cursor found its cell: a cell is often
  // looked up again before anything changes (recalculation reads its cell,
  // then stores the result and leaves the chain), or one further right in
  // the same row.
  RecordPosition lastFound_ = {nullptr, 0};
  uint64_t lastFoundKey_ = 0;
  uint64_t lastFoundChanges_ = 0;
  // Taken only by stores under recalculation, whose formulas read the rows
  // about them over and over.
  mutable RowPositionMemo rowPositions_;
};

// The record at a place inside a block (not at a block's end).
inline const CellRecord* RecordAtPosition(RecordPosition at) { return AsCellRecord(at.block->payload + at.offset); }
// The record at a place, null where the place is a block's end.
inline const CellRecord* RecordAtPlace(RecordPosition at) {
  return at.offset < at.block->used ? RecordAtPosition(at) : nullptr;
}
// The records of one block, for walks that pass them one by one in locals:
// At(offset) for offsets below end, each record's size on to the next.
struct BlockRecords {
  explicit BlockRecords(const CellBlock* block) : bytes(block->payload), end(block->used) {}
  const CellRecord* At(uint32_t offset) const { return AsCellRecord(bytes + offset); }
  const uint8_t* bytes;
  uint32_t end;
};
// Each record of a store in storage order, from the first record of row
// fromRow on (all of them by default), handed to visit(record), which
// returns false to stop the walk: for passes over a whole store (saving
// it), and for the store's own renumbering, which alone changes records in
// place (a store that is not const hands them out mutable). A malformed
// record (no size) ends the walk rather than looping on it.
template <class Store, class Visit>
void ForEachRecord(Store& store, Visit visit, uint32_t fromRow = 0) {
  static_assert(std::is_base_of_v<CellStore, std::remove_const_t<Store>>, "a walk of a cell store");
  using Record = std::conditional_t<std::is_const_v<Store>, const CellRecord, CellRecord>;
  CellCursor from;
  if (fromRow == 0)
    from.block = store.FirstBlock();
  else
    store.PositionAtRow(fromRow, &from);
  for (CellBlock* block = from.block; block; block = block->next) {
    const uint32_t end = block->used;
    for (uint32_t offset = block == from.block ? from.offset : 0; offset < end;) {
      Record* record = AsCellRecord(block->payload + offset);
      const uint32_t size = record->Size();
      if (size == 0 || !visit(*record)) return;
      offset += size;
    }
  }
}
// The record under a cursor; null without a block or at a block's end.
inline const CellRecord* RecordUnderCursor(const CellCursor& cursor) {
  return cursor.block ? RecordAtPlace({cursor.block, cursor.offset}) : nullptr;
}

// CellCursor::NextInRange, answered in place when the cursor stands on a
// cell of the rectangle, as it does for most calls of a walk: the same
// record, and the cursor left where NextInRange leaves it.
inline CellRecord* NextCellInRange(CellCursor& cursor, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                   uint32_t lastRow) {
  CellBlock* block = cursor.block;
  if (block && cursor.offset < block->used) {
    CellRecord* record = AsCellRecord(block->payload + cursor.offset);
    const uint32_t row = record->Row();
    const uint16_t column = record->Column();
    if (row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn) {
      // A malformed record (no size) is left to NextInRange, which ends the walk there.
      const uint32_t size = record->Size();
      if (size != 0) {
        if (cursor.flags & kCursorAfterRecord)
          cursor.offset = static_cast<uint16_t>(cursor.offset + size);
        return record;
      }
    }
  }
  return cursor.NextInRange(firstColumn, lastColumn, firstRow, lastRow);
}

// The next record from the cursor on that keep(record) accepts, the cursor
// left after it; null at the end of the chain, the cursor then at its end.
// Records passed over cost their size alone: for passes over a whole store
// that stop at a few of its records.
template <class Keep>
CellRecord* NextRecordWhere(CellCursor& cursor, Keep keep) {
  CellBlock* block = cursor.block;
  if (!block)
    return nullptr;
  uint32_t offset = cursor.offset;
  for (;;) {
    const uint32_t used = block->used;
    while (offset < used) {
      CellRecord* record = AsCellRecord(block->payload + offset);
      const uint32_t size = record->Size();
      if (size == 0)
        break;  // a malformed record ends its block's walk rather than looping
      offset += size;
      if (keep(*record)) {
        cursor.block = block;
        cursor.offset = static_cast<uint16_t>(offset);
        return record;
      }
    }
    if (!block->next) {
      cursor.block = block;
      cursor.offset = static_cast<uint16_t>(used);
      return nullptr;
    }
    block = block->next;
    offset = 0;
    BlockStore::CountBlockStep();
  }
}

// StartRangeWalk over cells that are either a store's or a detached chain's
// (an array value's, walked from its head).
inline CellCursor StartRangeWalk(const CellStore* store, CellBlock* chain, uint32_t firstRow) {
  if (store)
    return store->StartRangeWalk(firstRow);
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = chain;
  return walk;
}

// The evaluator's array store: array values live as chains in this store,
// and the chains of the values on the evaluator's stack are kept here.
constexpr uint32_t kMaxSavedChains = 50;

class ArrayStore : public CellStore {
 public:
  ArrayStore() = default;
  ~ArrayStore() { ReleaseSavedChains(); }

  // False when the stack is full.
  bool PushChain(CellBlock* chain);
  // Null when the stack is empty.
  CellBlock* PopChain();
  uint32_t SavedCount() const { return savedCount_; }
  // Every saved chain's blocks onto the pool.
  void ReleaseSavedChains();

 private:
  CellBlock* savedChains_[kMaxSavedChains] = {};
  uint32_t savedCount_ = 0;
};

#endif
