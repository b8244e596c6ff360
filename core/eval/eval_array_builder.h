#ifndef TALVERO_CORE_EVAL_ARRAY_BUILDER_H
#define TALVERO_CORE_EVAL_ARRAY_BUILDER_H

// Builds the cells of one array value as a detached chain. Cells that come
// in storage order (row by row, left to right) and fit one block are
// written straight into a block of the builder's own, the chain that
// appending them to an empty store would make; past that, or out of order,
// they go into the store's own chain, which is set aside until the builder
// ends and given back then, so that an array can be built while another is
// half built in the same store. Each write is checked and the first failure
// sticks.

#include <cstdint>

#include "core/cells/cell_store.h"

class ArrayBuilder {
 public:
  // With elementsLeft, each cell written takes one from it, and a write
  // when it is 0 fails as if memory had run out.
  explicit ArrayBuilder(CellStore& store, uint32_t* elementsLeft = nullptr)
      : store_(store), elementsLeft_(elementsLeft) {}
  // Gives the store its own chain back; an unfinished array's cells go to
  // the store's pool.
  ~ArrayBuilder();
  ArrayBuilder(const ArrayBuilder&) = delete;
  ArrayBuilder& operator=(const ArrayBuilder&) = delete;

  // error is an ErrorCode byte kept in the cell's type byte.
  bool AddNumber(uint32_t column, uint32_t row, double value, uint8_t error);
  // AddNumber with error 0 for each element of a rectangle of columns x rows
  // cells from (firstColumn, firstRow), element (c, r) read from
  // values[r * stride + c]: row by row, appended in bulk. For a rectangle
  // that comes whole in storage order (full rows, or a single row).
  bool AddNumbers(uint32_t firstColumn, uint32_t firstRow, uint32_t columns, uint32_t rows, const double* values,
                  size_t stride) {
    // Most arrays of numbers are one such call into a fresh builder, with a
    // rectangle inside the grid, the budget and one block.
    const uint64_t cells = uint64_t(columns) * rows;
    if (!own_ && !inStore_ && !failed_ && !finished_ && cells != 0 && cells <= kBlockPayload / kNumberCellSize &&
        firstColumn + uint64_t(columns) - 1 <= kMaxColumn && firstRow + uint64_t(rows) - 1 <= kMaxRow &&
        (!elementsLeft_ || *elementsLeft_ >= cells))
      return AddFirstNumbers(firstColumn, firstRow, columns, rows, values, stride);
    return AddNumbersChecked(firstColumn, firstRow, columns, rows, values, stride);
  }
  bool AddText(uint32_t column, uint32_t row, const char* text, size_t length, uint8_t error);
  // A cell's value: a text or number cell as it is, a formula cell's cached
  // text or number, with the cell's error.
  bool AddCellValue(uint32_t column, uint32_t row, const CellRecord* cell);
  // A copy of a record at another position, whatever its kind.
  bool AddRecordCopy(uint32_t column, uint32_t row, const CellRecord* cell);

  bool Failed() const { return failed_; }
  // The chain of the cells written (null for none); the caller owns it.
  // Null as well after a failure, the cells then returned to the pool.
  CellBlock* Finish();

 private:
  bool Insert(const uint8_t* record);
  // Insert of a record whose size and storage key the caller knows.
  bool Place(const uint8_t* record, uint32_t size, uint64_t key);
  // Where a record of size bytes that sorts at key goes when the own block
  // has been opened and takes it, counted as written; null otherwise (Place
  // then takes it, with every check).
  uint8_t* OwnSlot(uint32_t size, uint64_t key) {
    if (!own_ || inStore_ || failed_ || finished_ || (elementsLeft_ && *elementsLeft_ == 0) ||
        (own_->used != 0 && key <= lastKey_) || size > uint32_t(kBlockPayload - own_->used))
      return nullptr;
    uint8_t* slot = own_->payload + own_->used;
    own_->used = static_cast<uint16_t>(own_->used + size);
    lastKey_ = key;
    if (elementsLeft_) --*elementsLeft_;
    return slot;
  }
  bool AddNumbersChecked(uint32_t firstColumn, uint32_t firstRow, uint32_t columns, uint32_t rows,
                         const double* values, size_t stride);
  bool InsertRun(const uint8_t* records, uint32_t bytes, uint32_t count);
  // AddNumbers into a builder that has written nothing yet, of a rectangle
  // inside the grid, the budget and one block: the block taken and filled
  // without the checks each later write needs.
  bool AddFirstNumbers(uint32_t firstColumn, uint32_t firstRow, uint32_t columns, uint32_t rows, const double* values,
                       size_t stride);
  // The free bytes at the end of the own block for records that begin
  // after the last one written, its first key at least firstKey; 0 once
  // the store's chain is in use or no block can be had (the build then
  // failed).
  uint32_t OwnBlockRoom(uint64_t firstKey);
  // Moves the own block's records into the store's chain, set aside
  // first, where every later record goes.
  bool UseStoreChain();

  CellStore& store_;
  CellBlock* saved_ = nullptr;
  CellBlock* own_ = nullptr;
  uint64_t lastKey_ = 0;
  CellCursor cursor_;
  uint32_t* elementsLeft_;
  bool failed_ = false;
  bool finished_ = false;
  bool inStore_ = false;
};

#endif
