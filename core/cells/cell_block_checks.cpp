#include "core/cells/cell_block_checks.h"

#include <cmath>

#include "core/base/error_code.h"

namespace {

// The error nibble of a type byte names one of the codes or none.
constexpr uint8_t kLargestCellError = kErrorCodeCount * kErrorCodeStep;

template <class T>
T Between(T value, T lowest, T highest) {
  return value < lowest ? lowest : value > highest ? highest : value;
}

}  // namespace

void CheckArrayExtent(uint32_t row, uint16_t column, uint16_t* columns, uint32_t* rows) {
  *columns = Between<uint16_t>(*columns, 1, uint16_t(kColumnCount - column));
  *rows = Between<uint32_t>(*rows, 1, kRowCount - row);
}

void CheckCellNumber(CellRecord* cell) {
  const bool number = cell->Kind() == kCellNumber;
  if (!number && (cell->Kind() != kCellFormula || cell->HasCachedText()))
    return;
  if (std::isfinite(number ? cell->Number() : cell->CachedNumber()))
    return;
  if (number)
    cell->SetNumber(0.0);
  else
    cell->SetCachedNumber(0.0);
  cell->SetType(static_cast<uint8_t>((cell->Type() & ~kCellErrorMask) | kErrorNum));
}

bool CheckCellBlock(uint8_t* bytes, uint32_t length, StoredOrder* order, uint16_t longestFormula) {
  for (uint32_t offset = 0; offset < length;) {
    const uint32_t left = length - offset;
    if (left < kTextCellHeadSize && left < kNumberCellSize)
      return false;
    CellRecord* cell = AsCellRecord(bytes + offset);
    const uint8_t kind = cell->Kind();
    if (kind != kCellText && kind != kCellNumber && kind != kCellFormula)
      return false;
    if (cell->ErrorCode() > kLargestCellError)
      return false;
    // The lengths that decide the size must lie inside the block before
    // the size is computed from them.
    const uint32_t headSize = kind == kCellText     ? kTextCellHeadSize
                              : kind == kCellNumber ? kNumberCellSize
                                                    : kFormulaCellHeadSize;
    if (headSize > left)
      return false;
    if (kind == kCellFormula) {
      if (cell->FormulaLength() > longestFormula)
        return false;
      if (cell->HasCachedText() && kFormulaCellHeadSize + cell->FormulaLength() + kCachedTextLengthSize > left)
        return false;
    }
    const uint32_t size = cell->Size();
    if (size == 0 || size > left)
      return false;
    const uint32_t row = cell->Row();
    const uint16_t column = cell->Column();
    if (row > kMaxRow || column > kMaxColumn)
      return false;
    if (order->any && (row < order->row || (row == order->row && column <= order->column)))
      return false;
    order->any = true;
    order->row = row;
    order->column = column;
    CheckCellNumber(cell);
    if (kind == kCellFormula) {
      cell->SetPending(0);
      cell->SetResultFlags(uint8_t(cell->ResultFlags() & (kResultCachedText | kResultCachedNumber | kResultArray)));
      cell->SetDependantColumn(0);
      cell->SetDependantRow(0);
      cell->SetDependantSheet(0);
      if (cell->ResultFlags() & kResultArray) {
        uint16_t columns = cell->ArrayColumns();
        uint32_t rows = cell->ArrayRows();
        CheckArrayExtent(row, column, &columns, &rows);
        cell->SetArrayColumns(columns);
        cell->SetArrayRows(rows);
      }
    }
    offset += size;
  }
  return true;
}
