#include "core/eval/eval_array_builder.h"

#include <cstring>

#include "core/base/result_check.h"

namespace {

// A value cell rebuilt from any cell fits a block, as the cell did.
constexpr size_t kRecordCapacity = kBlockPayload;

}  // namespace

ArrayBuilder::ArrayBuilder(CellStore& store, uint32_t* elementsLeft)
    : store_(store), saved_(store.FirstBlock()), elementsLeft_(elementsLeft) {
  store_.AttachChain(nullptr);
  cursor_.flags = kCursorAfterRecord;
}

ArrayBuilder::~ArrayBuilder() {
  if (!finished_) {
    CellBlock* cells = store_.FirstBlock();
    store_.AttachChain(nullptr);
    store_.ReleaseChain(cells);
  }
  store_.AttachChain(saved_);
}

bool ArrayBuilder::Insert(const uint8_t* record) {
  if (failed_ || finished_) return false;
  if (elementsLeft_ && *elementsLeft_ == 0) {
    failed_ = true;
    return false;
  }
  if (!store_.AppendCell(AsCellRecord(record), &cursor_)) failed_ = true;
  if (!failed_ && elementsLeft_) --*elementsLeft_;
  return !failed_;
}

bool ArrayBuilder::AddNumber(uint32_t column, uint32_t row, double value, uint8_t error) {
  // A non-finite element is a cell carrying "#NUM!".
  if (IsBadNumber(value)) {
    value = 0;
    if (error < kErrorNum) error = kErrorNum;
  }
  uint8_t record[kNumberCellSize];
  if (column > kMaxColumn || row > kMaxRow ||
      !BuildNumberCell(record, sizeof record, row, static_cast<uint16_t>(column), value,
                       static_cast<uint8_t>(error & kCellErrorMask))) {
    failed_ = true;
    return false;
  }
  return Insert(record);
}

bool ArrayBuilder::InsertRun(const uint8_t* records, uint32_t bytes, uint32_t count) {
  if (elementsLeft_ && *elementsLeft_ < count) {
    // The budget ends spent and the build failed, as adding one cell at a
    // time would leave them.
    *elementsLeft_ = 0;
    failed_ = true;
    return false;
  }
  if (!store_.AppendCells(records, bytes, &cursor_)) {
    failed_ = true;
    return false;
  }
  if (elementsLeft_) *elementsLeft_ -= count;
  return true;
}

bool ArrayBuilder::AddNumbers(uint32_t firstColumn, uint32_t firstRow, uint32_t columns, uint32_t rows,
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
        AddNumbers(firstColumn, firstRow, kMaxColumn + 1 - firstColumn, 1, values, stride);
      else
        AddNumbers(firstColumn, firstRow, columns, kMaxRow + 1 - firstRow, values, stride);
    }
    failed_ = true;
    return false;
  }
  constexpr uint32_t kChunkCells = 256;
  uint8_t chunk[kChunkCells * kNumberCellSize];
  uint32_t cells = 0;
  for (uint32_t r = 0; r < rows; ++r) {
    const double* row = values + r * stride;
    for (uint32_t c = 0; c < columns; ++c) {
      NumberCellLayout cell;
      cell.head.type = kCellNumber;
      cell.head.column = static_cast<uint16_t>(firstColumn + c);
      cell.head.row = firstRow + r;
      cell.value = row[c];
      // A non-finite element is a cell carrying "#NUM!", as AddNumber makes it.
      if (IsBadNumber(cell.value)) {
        cell.value = 0;
        cell.head.type = static_cast<uint8_t>(kCellNumber | (kErrorNum & kCellErrorMask));
      }
      std::memcpy(chunk + cells * kNumberCellSize, &cell, kNumberCellSize);
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
  CellBlock* cells = store_.FirstBlock();
  store_.AttachChain(nullptr);
  if (failed_) {
    store_.ReleaseChain(cells);
    return nullptr;
  }
  return cells;
}
