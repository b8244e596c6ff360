#include "core/eval/eval_array_builder.h"

#include <cstring>

#include "core/base/result_check.h"

namespace {

// A value cell rebuilt from any cell fits a block, as the cell did.
constexpr size_t kRecordCapacity = kBlockPayload;

// The order of records in a chain: by row, then by column.
uint64_t StorageKey(uint32_t row, uint32_t column) { return (uint64_t(row) << 16) | column; }

// The record of one number element at out; a non-finite element is a cell
// carrying "#NUM!", as AddNumber makes it.
void WriteNumberElement(uint8_t* out, uint32_t column, uint32_t row, double value) {
  NumberCellLayout cell;
  cell.head.type = kCellNumber;
  cell.head.column = static_cast<uint16_t>(column);
  cell.head.row = row;
  cell.value = value;
  if (IsBadNumber(value)) {
    cell.value = 0;
    cell.head.type = static_cast<uint8_t>(kCellNumber | (kErrorNum & kCellErrorMask));
  }
  std::memcpy(out, &cell, kNumberCellSize);
}

}  // namespace

ArrayBuilder::~ArrayBuilder() {
  if (own_) store_.ReleaseChain(own_);
  if (!inStore_) return;
  if (!finished_) {
    CellBlock* cells = store_.FirstBlock();
    store_.AttachChain(nullptr);
    store_.ReleaseChain(cells);
  }
  store_.AttachChain(saved_);
}

uint32_t ArrayBuilder::OwnBlockRoom(uint64_t firstKey) {
  if (inStore_) return 0;
  if (!own_) {
    own_ = store_.TakeDetachedBlock();
    if (!own_) failed_ = true;
    return own_ ? kBlockPayload : 0;
  }
  if (own_->used != 0 && firstKey <= lastKey_) return 0;
  return kBlockPayload - own_->used;
}

bool ArrayBuilder::UseStoreChain() {
  if (inStore_) return true;
  inStore_ = true;
  saved_ = store_.FirstBlock();
  store_.AttachChain(nullptr);
  cursor_.flags = kCursorAfterRecord;
  if (!own_) return true;
  CellBlock* own = own_;
  own_ = nullptr;
  // Appended as they would have been one by one, so that the chain is the
  // one the store's own appends make.
  const bool moved = own->used == 0 || store_.AppendCells(own->payload, own->used, &cursor_);
  store_.ReleaseChain(own);
  return moved;
}

bool ArrayBuilder::Insert(const uint8_t* record) {
  const CellRecord* cell = AsCellRecord(record);
  return Place(record, cell->Size(), StorageKey(cell->Row(), cell->Column()));
}

bool ArrayBuilder::Place(const uint8_t* record, uint32_t size, uint64_t key) {
  if (failed_ || finished_) return false;
  if (elementsLeft_ && *elementsLeft_ == 0) {
    failed_ = true;
    return false;
  }
  const uint32_t room = OwnBlockRoom(key);
  if (failed_) return false;
  if (size != 0 && size <= room) {
    std::memcpy(own_->payload + own_->used, record, size);
    own_->used = static_cast<uint16_t>(own_->used + size);
    lastKey_ = key;
  } else if (!UseStoreChain() || !store_.AppendCell(AsCellRecord(record), &cursor_)) {
    failed_ = true;
    return false;
  }
  if (elementsLeft_) --*elementsLeft_;
  return true;
}

bool ArrayBuilder::AddNumber(uint32_t column, uint32_t row, double value, uint8_t error) {
  // A non-finite element is a cell carrying "#NUM!".
  if (IsBadNumber(value)) {
    value = 0;
    if (error < kErrorNum) error = kErrorNum;
  }
  if (column > kMaxColumn || row > kMaxRow) {
    failed_ = true;
    return false;
  }
  NumberCellLayout cell;
  cell.head.type = static_cast<uint8_t>(kCellNumber | (error & kCellErrorMask));
  cell.head.column = static_cast<uint16_t>(column);
  cell.head.row = row;
  cell.value = value;
  const uint64_t key = StorageKey(row, column);
  if (uint8_t* slot = OwnSlot(kNumberCellSize, key)) {
    std::memcpy(slot, &cell, kNumberCellSize);
    return true;
  }
  uint8_t record[kNumberCellSize];
  std::memcpy(record, &cell, sizeof record);
  return Place(record, kNumberCellSize, key);
}

bool ArrayBuilder::InsertRun(const uint8_t* records, uint32_t bytes, uint32_t count) {
  if (elementsLeft_ && *elementsLeft_ < count) {
    // The budget ends spent and the build failed, as adding one cell at a
    // time would leave them.
    *elementsLeft_ = 0;
    failed_ = true;
    return false;
  }
  if (!UseStoreChain() || !store_.AppendCells(records, bytes, &cursor_)) {
    failed_ = true;
    return false;
  }
  if (elementsLeft_) *elementsLeft_ -= count;
  return true;
}

bool ArrayBuilder::AddFirstNumbers(uint32_t firstColumn, uint32_t firstRow, uint32_t columns, uint32_t rows,
                                   const double* values, size_t stride) {
  own_ = store_.TakeDetachedBlock();
  if (!own_) {
    failed_ = true;
    return false;
  }
  uint8_t* out = own_->payload;
  if (columns == 1) {
    for (uint32_t r = 0; r < rows; ++r, out += kNumberCellSize)
      WriteNumberElement(out, firstColumn, firstRow + r, values[r * stride]);
  } else {
    for (uint32_t r = 0; r < rows; ++r) {
      const double* row = values + r * stride;
      for (uint32_t c = 0; c < columns; ++c, out += kNumberCellSize)
        WriteNumberElement(out, firstColumn + c, firstRow + r, row[c]);
    }
  }
  const uint32_t cells = columns * rows;
  own_->used = static_cast<uint16_t>(cells * kNumberCellSize);
  lastKey_ = StorageKey(firstRow + rows - 1, firstColumn + columns - 1);
  if (elementsLeft_) *elementsLeft_ -= cells;
  return true;
}

bool ArrayBuilder::AddNumbersChecked(uint32_t firstColumn, uint32_t firstRow, uint32_t columns, uint32_t rows,
                                     const double* values, size_t stride) {
  if (failed_ || finished_) return false;
  if (columns == 0 || rows == 0) return true;
  // One cell costs less through the single append.
  if (columns == 1 && rows == 1) return AddNumber(firstColumn, firstRow, values[0], 0);
  const bool columnsOff = uint64_t(firstColumn) + columns - 1 > kMaxColumn;
  if (columnsOff || uint64_t(firstRow) + rows - 1 > kMaxRow) {
    // As one cell at a time: the cells before the first off the grid go
    // in, then the build fails.
    if (firstColumn <= kMaxColumn && firstRow <= kMaxRow) {
      if (columnsOff)
        AddNumbersChecked(firstColumn, firstRow, kMaxColumn + 1 - firstColumn, 1, values, stride);
      else
        AddNumbersChecked(firstColumn, firstRow, columns, kMaxRow + 1 - firstRow, values, stride);
    }
    failed_ = true;
    return false;
  }
  const uint64_t cellCount = uint64_t(columns) * rows;
  const uint32_t room = OwnBlockRoom(StorageKey(firstRow, firstColumn));
  if (failed_) return false;
  if (cellCount * kNumberCellSize <= room) {
    if (elementsLeft_ && *elementsLeft_ < cellCount) {
      *elementsLeft_ = 0;
      failed_ = true;
      return false;
    }
    uint8_t* out = own_->payload + own_->used;
    for (uint32_t r = 0; r < rows; ++r) {
      const double* row = values + r * stride;
      for (uint32_t c = 0; c < columns; ++c, out += kNumberCellSize) {
        WriteNumberElement(out, firstColumn + c, firstRow + r, row[c]);
      }
    }
    own_->used = static_cast<uint16_t>(own_->used + cellCount * kNumberCellSize);
    lastKey_ = StorageKey(firstRow + rows - 1, firstColumn + columns - 1);
    if (elementsLeft_) *elementsLeft_ -= uint32_t(cellCount);
    return true;
  }
  constexpr uint32_t kChunkCells = 256;
  uint8_t chunk[kChunkCells * kNumberCellSize];
  uint32_t cells = 0;
  for (uint32_t r = 0; r < rows; ++r) {
    const double* row = values + r * stride;
    for (uint32_t c = 0; c < columns; ++c) {
      WriteNumberElement(chunk + cells * kNumberCellSize, firstColumn + c, firstRow + r, row[c]);
      if (++cells == kChunkCells) {
        if (!InsertRun(chunk, cells * kNumberCellSize, cells)) return false;
        cells = 0;
      }
    }
  }
  return cells == 0 || InsertRun(chunk, cells * kNumberCellSize, cells);
}

bool ArrayBuilder::AddText(uint32_t column, uint32_t row, const char* text, size_t length, uint8_t error) {
  uint8_t record[kRecordCapacity];
  if (column > kMaxColumn || row > kMaxRow || length > kRecordCapacity - kTextCellHeadSize ||
      !BuildTextCell(record, sizeof record, row, static_cast<uint16_t>(column), text,
                     static_cast<uint16_t>(length), static_cast<uint8_t>(error & kCellErrorMask))) {
    failed_ = true;
    return false;
  }
  return Insert(record);
}

bool ArrayBuilder::AddCellValue(uint32_t column, uint32_t row, const CellRecord* cell) {
  const uint8_t error = cell->ErrorCode();
  if (cell->IsText()) return AddText(column, row, cell->Text(), cell->TextLength(), error);
  if (cell->IsNumber()) return AddNumber(column, row, cell->Number(), error);
  if (cell->IsFormula()) {
    if (cell->HasCachedText())
      return AddText(column, row, cell->CachedText(), cell->CachedTextLength(), error);
    return AddNumber(column, row, cell->CachedNumber(), error);
  }
  failed_ = true;
  return false;
}

bool ArrayBuilder::AddRecordCopy(uint32_t column, uint32_t row, const CellRecord* cell) {
  uint8_t record[kRecordCapacity];
  const uint32_t size = cell->Size();
  if (column > kMaxColumn || row > kMaxRow || size == 0 || size > sizeof record) {
    failed_ = true;
    return false;
  }
  std::memcpy(record, cell->Bytes(), size);
  AsCellRecord(record)->SetColumn(static_cast<uint16_t>(column));
  AsCellRecord(record)->SetRow(row);
  return Insert(record);
}

CellBlock* ArrayBuilder::Finish() {
  if (finished_) return nullptr;
  finished_ = true;
  CellBlock* cells = own_;
  own_ = nullptr;
  if (inStore_) {
    cells = store_.FirstBlock();
    store_.AttachChain(nullptr);
  }
  if (failed_ || (cells && cells->used == 0)) {
    store_.ReleaseChain(cells);
    return nullptr;
  }
  return cells;
}
